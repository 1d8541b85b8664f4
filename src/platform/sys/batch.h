// Batch files (.bat) as the programs of the data drive write them, run on this machine by
// the POSIX shell: each line of the batch becomes a few lines of shell script.
//
// The subset understood (names without regard to case, a leading "@" ignored):
//   ECHO text         prints the text; "ECHO." prints an empty line; "ECHO", "ECHO OFF" and
//                     "ECHO ON" print nothing (commands are never echoed here)
//   PAUSE             "Premere un tasto per continuare . . ." and waits for one key
//   CD folder         (also CHDIR, with or without /D) changes the current folder: a Windows
//                     path mapped onto the data root, or one below the current folder; a
//                     folder that does not exist is reported and the batch goes on
//   program args...   any other first word: the program (a Windows path, or a name in the
//                     current folder, ".exe" tried after a name without extension) runs in
//                     the current folder and the batch waits for it; every argument that is
//                     a Windows path is mapped onto the data root, the others pass as they
//                     are; double quotes group words. A program that is not there is
//                     reported, named as the batch writes it, and the batch goes on.
//   REM ..., :label, empty lines    nothing
// Any other line (another built-in command of the Windows command language, a drive change,
// a line with redirection, pipes or command chaining) is printed as not run.
#pragma once

#include <QString>
#include <QStringList>

namespace vx::sys {

// The shell script for the batch's lines, starting in folder (the batch's own folder: a
// Windows path, or a host path).
QString BatchShellScript(const QStringList& lines, const QString& folder);

// True for a path naming a batch file (".bat", without regard to case).
bool IsBatchFile(const QString& path);

}  // namespace vx::sys
