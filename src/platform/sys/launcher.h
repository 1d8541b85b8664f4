// Starting another program detached, from the Windows path the data gives for it.
#pragma once

#include <QString>
#include <QStringList>

namespace vx::sys {

// How the program asks for the new window to appear; a program started here manages its
// own window, so the state is passed on only as a wish.
enum class WindowState { Normal, Minimized, Maximized };

struct StartResult {
  bool ok = false;
  // Why it could not start, for the operator after the program's name (which it does not
  // repeat); empty on success.
  QString reason;
  qint64 pid = 0;
};

// Maps the path onto the data root (paths.h) and starts the program in its own folder
// without waiting for it.
//
// A batch file (".bat", batch.h for the lines it may hold) is read as it stands and run by
// the shell in the desktop's terminal, Debian's "x-terminal-emulator -e", started in the
// batch's folder; the file itself is never changed. Without a terminal on PATH the start
// fails with the reason. The arguments are not passed to a batch (its lines use none).
StartResult StartDetached(const QString& windowsPath, const QStringList& args = {},
                          WindowState state = WindowState::Normal);

}  // namespace vx::sys
