#include "platform/sys/processes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>

namespace vx::sys {

namespace {

QString LastComponent(QString path) {
  path = path.trimmed();
  const int cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return path.mid(cut + 1);
}

QString ProcessName(const QString& dir) {
  QFile cmdline(dir + QStringLiteral("/cmdline"));
  if (cmdline.open(QIODevice::ReadOnly)) {
    const QByteArray all = cmdline.readAll();
    const QString argv0 = QString::fromLocal8Bit(all.left(all.indexOf('\0')));
    if (!argv0.isEmpty()) return LastComponent(argv0);
  }
  QFile comm(dir + QStringLiteral("/comm"));
  if (comm.open(QIODevice::ReadOnly)) return QString::fromLocal8Bit(comm.readAll()).trimmed();
  return {};
}

}  // namespace

std::vector<ProcessInfo> UserProcesses() {
  std::vector<ProcessInfo> out;
  const uid_t me = getuid();
  const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
  for (const QString& entry : entries) {
    bool ok = false;
    const qint64 pid = entry.toLongLong(&ok);
    if (!ok || pid <= 0) continue;
    const QString dir = QStringLiteral("/proc/") + entry;
    struct stat st {};
    if (::stat(QFile::encodeName(dir).constData(), &st) != 0 || st.st_uid != me) continue;
    ProcessInfo info{pid, ProcessName(dir)};
    if (!info.name.isEmpty()) out.push_back(std::move(info));
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.pid < b.pid; });
  return out;
}

std::vector<ProcessInfo> ProgramProcesses() {
  std::vector<ProcessInfo> out = UserProcesses();
  std::erase_if(out, [](const ProcessInfo& p) {
    return !p.name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
  });
  return out;
}

bool StopProcess(qint64 pid) {
  if (pid <= 0) return false;
  return ::kill(pid_t(pid), SIGTERM) == 0;
}

ProcessList::ProcessList(Source source, Stopper stopper)
    : source_(std::move(source)), stopper_(std::move(stopper)) {}

void ProcessList::Refresh() {
  list_ = source_ ? source_() : std::vector<ProcessInfo>{};
  selected_ = -1;
}

bool ProcessList::Select(int i) {
  if (i < 1 || i > Count()) {
    selected_ = -1;
    return false;
  }
  selected_ = i - 1;
  return true;
}

QString ProcessList::SelectedName() const {
  return selected_ >= 0 ? list_[selected_].name : QString();
}

qint64 ProcessList::SelectedPid() const { return selected_ >= 0 ? list_[selected_].pid : 0; }

bool ProcessList::Kill() {
  // Never this program itself, whatever its name happens to contain.
  if (pidToKill_ <= 0 || pidToKill_ == qint64(getpid()) || !stopper_) return false;
  return stopper_(pidToKill_);
}

}  // namespace vx::sys
