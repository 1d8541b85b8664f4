// A stand-in for the desktop's terminal (x-terminal-emulator) first on PATH for the length
// of a test. It runs the command given after "-e" with the test's keys as its input and
// records the folder it was started in and the command's output; the test waits for the
// run to end. Made absent, PATH holds no terminal at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <optional>

class StandInTerminal {
 public:
  enum class Presence { Present, Absent };
  explicit StandInTerminal(const QByteArray& keys = "\n\n\n\n",
                           Presence presence = Presence::Present);
  ~StandInTerminal();  // PATH as it was
  StandInTerminal(const StandInTerminal&) = delete;
  StandInTerminal& operator=(const StandInTerminal&) = delete;

  // The command's output once it ended (waiting up to 20 s), nullopt when no run ended.
  std::optional<QString> WaitForOutput() const;
  // True when the terminal was started (at once, without waiting).
  bool Started() const;
  // The folder the terminal was started in.
  QString StartFolder() const;

 private:
  QString File(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir_;
  QByteArray previousPath_;
};

// Writes an executable shell script (folders made) and returns its path.
QString WriteScript(const QString& path, const QByteArray& body);
