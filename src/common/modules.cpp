#include "common/modules.h"

#include <unistd.h>

#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/sys/file_details.h"
#include "platform/sys/processes.h"

namespace vx::common {

void mod_termina_processo(const QString& name) {
  if (name.isEmpty()) return;
  const QString wanted = name.toLower();
  const qint64 self = getpid();
  for (const sys::ProcessInfo& p : sys::UserProcesses()) {
    // This program is never among the processes it stops.
    if (p.pid == self) continue;
    if (p.name.toLower().endsWith(wanted)) sys::StopProcess(p.pid);
  }
}

QString mod_aggiungi_barra(const Variant& path) {
  const QString text = path.str();
  return text.endsWith(QLatin1Char('\\')) ? text : text + QLatin1Char('\\');
}

std::vector<std::pair<QString, QString>> mod_dettagli_file(const QString& folder,
                                                           const QString& name) {
  if (folder.trimmed().isEmpty()) return {};
  return sys::FileDetails(fs::HostPath(folder), name);
}

qint32 mod_indice_stampante(const QString& deviceName) {
  const QStringList printers = print::Printers();
  const QString wanted = deviceName.toUpper();
  for (int i = 0; i < printers.size(); ++i) {
    if (printers[i].toUpper() == wanted) return i;
  }
  return 0;
}

}  // namespace vx::common
