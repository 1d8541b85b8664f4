#include "platform/sys/launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/sys/batch.h"

namespace vx::sys {

namespace {

// The folder a batch starts in, named as the caller named the batch.
QString FolderOf(const QString& path) {
  const qsizetype cut =
      std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
  if (cut < 0) return QStringLiteral(".");
  // "C:\x.bat" starts in "C:\", "/x.bat" in "/".
  return path.left(cut == 0 || (cut == 2 && path[1] == QLatin1Char(':')) ? cut + 1 : cut);
}

StartResult StartBatch(const QString& path, const QString& host, const QFileInfo& info) {
  StartResult result;
  // A batch that is no regular file of a batch's size, or is damaged, is not run.
  QString why;
  const std::optional<QStringList> lines = fs::ReadTextLines(host, fs::kMaxBatchBytes, &why);
  if (!lines) {
    result.reason = QStringLiteral("il file batch %1.").arg(why);
    return result;
  }
  const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
  if (terminal.isEmpty()) {
    result.reason = QStringLiteral(
        "nessun terminale per eseguire il file batch (manca il programma x-terminal-emulator).");
    return result;
  }
  const QString script =
      BatchShellScript(*lines, fs::IsWindowsPath(path) ? FolderOf(path) : info.absolutePath());
  const QStringList args{QStringLiteral("-e"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                         script, info.fileName()};
  if (!QProcess::startDetached(terminal, args, info.absolutePath(), &result.pid)) {
    result.reason = QStringLiteral("il terminale per il file batch non si avvia.");
  } else {
    result.ok = true;
  }
  return result;
}

}  // namespace

StartResult StartDetached(const QString& windowsPath, const QStringList& args, WindowState) {
  StartResult result;
  const QString path = windowsPath.trimmed();
  if (path.isEmpty()) {
    result.reason = QStringLiteral("nessun programma indicato.");
    return result;
  }
  const QString host = fs::HostPath(path);
  const QFileInfo info(host);
  if (!info.exists()) {
    result.reason = QStringLiteral("il file non esiste.");
  } else if (!info.isDir() && IsBatchFile(path)) {
    return StartBatch(path, host, info);
  } else if (info.isDir() || !info.isExecutable()) {
    result.reason = QStringLiteral("il file non è eseguibile.");
  } else if (!QProcess::startDetached(host, args, info.absolutePath(), &result.pid)) {
    result.reason = QStringLiteral("il sistema non lo avvia.");
  } else {
    result.ok = true;
  }
  return result;
}

}  // namespace vx::sys
