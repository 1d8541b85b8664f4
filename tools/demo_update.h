// What the demo drive needs to try the software update: a stand-in for the RAR archiver's
// command line that the update's batch file calls.
#pragma once

#include <QChar>
#include <QString>

namespace vx::tools {

// Writes the executable stand-in at <drive>:\Programmi\winrar\rar under root: "rar e -o+
// ARCHIVE" extracts every file of the archive, without its folders, into the current folder,
// replacing files of the same name. It unpacks with bsdtar (Debian's libarchive-tools), which
// reads RAR as well as zip, 7z and tar archives. Returns the line for the setup's report.
QString WriteDemoArchiver(const QString& root, QChar drive);

}  // namespace vx::tools
