// The command line of the program and its tools, read strictly: an option it does not know,
// a missing value or a word that is no option stops it with a message, never silently.
#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace vx {

// Parses args (the program's name first) with the parser's options. Returns nothing when the
// program may go on; otherwise the exit code it must end with: 0 after printing the help
// (--help), 2 after printing on the error stream what is wrong.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& args);

}  // namespace vx
