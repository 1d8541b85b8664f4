#include "platform/sys/batch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include "platform/paths.h"

namespace vx::sys {

namespace {

// A text as one word of the shell, taken literally.
QString Sh(const QString& text) {
  QString out = text;
  out.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString Say(const QString& text) { return QStringLiteral("printf '%s\\n' ") + Sh(text); }

// The built-in commands of the Windows command language that the subset does not run.
bool IsOtherBuiltIn(const QString& word) {
  static const QSet<QString> words = {
      "ASSOC", "BREAK", "CALL",   "CLS",      "COLOR",  "COPY",     "DATE",  "DEL",
      "DIR",   "ERASE", "EXIT",   "ENDLOCAL", "FOR",    "FTYPE",    "GOTO",  "IF",
      "MD",    "MKDIR", "MOVE",   "MKLINK",   "PATH",   "POPD",     "PUSHD", "PROMPT",
      "RD",    "REN",   "RENAME", "RMDIR",    "SET",    "SETLOCAL", "SHIFT", "START",
      "TIME",  "TITLE", "TYPE",   "VER",      "VERIFY", "VOL"};
  return words.contains(word.toUpper());
}

// Redirection, pipes and command chaining outside double quotes.
bool HasOperators(const QString& line) {
  bool quoted = false;
  for (const QChar c : line) {
    if (c == QLatin1Char('"')) quoted = !quoted;
    if (!quoted && (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('|') ||
                    c == QLatin1Char('&'))) {
      return true;
    }
  }
  return false;
}

// Words split at blanks and tabs; double quotes group words and are dropped.
QStringList Words(const QString& line) {
  QStringList words;
  QString word;
  bool quoted = false, any = false;
  for (const QChar c : line) {
    if (c == QLatin1Char('"')) {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
      if (any) words << word;
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words << word;
  return words;
}

// A name taken in a folder; both may be Windows paths or host paths.
QString Join(const QString& folder, const QString& name) {
  if (fs::IsWindowsPath(name) || name.startsWith(QLatin1Char('/'))) return name;
  if (fs::IsWindowsPath(folder)) {
    QString windowsName = name;
    windowsName.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return folder.endsWith(QLatin1Char('\\')) ? folder + windowsName
                                              : folder + QLatin1Char('\\') + windowsName;
  }
  return folder + QLatin1Char('/') + name;
}

QString Host(const QString& path) { return QDir::cleanPath(fs::HostPath(path)); }

class Translator {
 public:
  explicit Translator(const QString& folder) : folder_(folder) {}

  QString Run(const QStringList& lines) {
    out_ << QStringLiteral("cd %1 || exit 1").arg(Sh(Host(folder_)))
         << QStringLiteral("vx_pausa() {")
         << QStringLiteral("  printf '%s' %1")
                .arg(Sh(QStringLiteral("Premere un tasto per continuare . . . ")))
         << QStringLiteral("  if [ -t 0 ]; then") << QStringLiteral("    vx_tty=$(stty -g)")
         << QStringLiteral("    stty -icanon -echo min 1 time 0")
         << QStringLiteral("    dd bs=1 count=1 >/dev/null 2>&1")
         << QStringLiteral("    stty \"$vx_tty\"") << QStringLiteral("  else")
         << QStringLiteral("    dd bs=1 count=1 >/dev/null 2>&1") << QStringLiteral("  fi")
         << QStringLiteral("  printf '\\n'") << QStringLiteral("}");
    for (const QString& line : lines) Line(line);
    out_ << QStringLiteral("exit 0");
    return out_.join(QLatin1Char('\n')) + QLatin1Char('\n');
  }

 private:
  void Line(const QString& raw) {
    QString line = raw.trimmed();
    while (line.startsWith(QLatin1Char('@'))) line = line.mid(1).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(':'))) return;
    const QString upper = line.toUpper();
    if (upper == QLatin1String("REM") || upper.startsWith(QLatin1String("REM "))) return;
    if (HasOperators(line)) return NotRun(raw);
    if (upper.startsWith(QLatin1String("ECHO")) && Echo(line)) return;

    const QStringList words = Words(line);
    if (words.isEmpty()) return;
    const QString command = words.first().toUpper();
    if (command == QLatin1String("PAUSE") && words.size() == 1) {
      out_ << QStringLiteral("vx_pausa");
    } else if (command == QLatin1String("CD") || command == QLatin1String("CHDIR")) {
      ChangeFolder(words.mid(1), raw);
    } else if (IsOtherBuiltIn(command) ||
               (words.first().size() == 2 && words.first()[1] == QLatin1Char(':'))) {
      NotRun(raw);
    } else {
      Program(words);
    }
  }

  // ECHO and its forms; false when the word only begins with ECHO (a program's name).
  bool Echo(const QString& line) {
    if (line.size() == 4) return true;  // shows the echo state: nothing to show here
    const QChar next = line[4];
    if (next == QLatin1Char(' ') || next == QLatin1Char('\t')) {
      const QString text = line.mid(5);
      const QString state = text.trimmed().toUpper();
      if (state != QLatin1String("OFF") && state != QLatin1String("ON")) out_ << Say(text);
      return true;
    }
    if (next == QLatin1Char('.') || next == QLatin1Char(':')) {
      out_ << Say(line.mid(5));
      return true;
    }
    return false;
  }

  void ChangeFolder(QStringList args, const QString& raw) {
    if (!args.isEmpty() && args.first().compare(QLatin1String("/d"), Qt::CaseInsensitive) == 0) {
      args.removeFirst();
    }
    if (args.isEmpty()) return NotRun(raw);
    const QString target = Join(folder_, args.join(QLatin1Char(' ')));
    const QString host = Host(target);
    out_ << QStringLiteral("if ! cd %1 2>/dev/null; then %2; fi")
                .arg(Sh(host), Say(QStringLiteral("Impossibile trovare il percorso specificato: ") +
                                   args.join(QLatin1Char(' '))));
    if (QFileInfo(host).isDir()) folder_ = target;
  }

  void Program(const QStringList& words) {
    const QString written = words.first();
    QString host = Host(Join(folder_, written));
    const QString name = written.mid(
        std::max(written.lastIndexOf(QLatin1Char('\\')), written.lastIndexOf(QLatin1Char('/'))) +
        1);
    if (!QFileInfo::exists(host) && !name.contains(QLatin1Char('.'))) {
      const QString exe = Host(Join(folder_, written + QStringLiteral(".exe")));
      if (QFileInfo::exists(exe)) host = exe;
    }
    QStringList call{Sh(host)};
    for (const QString& arg : words.mid(1)) {
      call << Sh(fs::IsWindowsPath(arg) ? Host(arg) : arg);
    }
    out_ << QStringLiteral(
                "if [ -f %1 ] && [ -x %1 ]; then %2; elif [ -e %1 ]; then %3; else %4; fi")
                .arg(Sh(host), call.join(QLatin1Char(' ')),
                     Say(QStringLiteral("Il programma %1 non è eseguibile.").arg(written)),
                     Say(QStringLiteral("Programma non trovato: %1").arg(written)));
  }

  void NotRun(const QString& raw) {
    out_ << Say(QStringLiteral("Comando non eseguito: ") + raw.trimmed());
  }

  QString folder_;  // the current folder as the batch names it
  QStringList out_;
};

}  // namespace

QString BatchShellScript(const QStringList& lines, const QString& folder) {
  return Translator(folder).Run(lines);
}

bool IsBatchFile(const QString& path) {
  return path.trimmed().endsWith(QLatin1String(".bat"), Qt::CaseInsensitive);
}

}  // namespace vx::sys
