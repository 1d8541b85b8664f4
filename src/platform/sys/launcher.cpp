#include "platform/sys/launcher.h"

#include <QFileInfo>
#include <QProcess>

#include "platform/paths.h"

namespace vx::sys {

StartResult StartDetached(const QString& windowsPath, const QStringList& args, WindowState) {
  StartResult result;
  const QString path = windowsPath.trimmed();
  if (path.isEmpty()) {
    result.reason = QStringLiteral("Nessun programma indicato.");
    return result;
  }
  const QString host = fs::HostPath(path);
  const QFileInfo info(host);
  if (!info.exists()) {
    result.reason = QStringLiteral("Il programma %1 non esiste.").arg(path);
  } else if (info.isDir() || !info.isExecutable()) {
    result.reason = QStringLiteral("Il programma %1 non è eseguibile.").arg(path);
  } else if (!QProcess::startDetached(host, args, info.absolutePath(), &result.pid)) {
    result.reason = QStringLiteral("Impossibile avviare il programma %1.").arg(path);
  } else {
    result.ok = true;
  }
  return result;
}

}  // namespace vx::sys
