// The running processes of the current user, read from /proc, and stopping one by its id.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace vx::sys {

struct ProcessInfo {
  qint64 pid = 0;
  // The program's name: the last component of the first argument (a Windows path counts
  // up to its last backslash), else the kernel's name of the process.
  QString name;
};

// The current user's processes, in the order of their ids; this process included.
std::vector<ProcessInfo> UserProcesses();

// The current user's processes whose program name ends in ".exe" without regard to case:
// the Windows programs of the data drive, as the store's own machine would list them.
std::vector<ProcessInfo> ProgramProcesses();

// Asks the process to end (SIGTERM) without waiting for it; false when it cannot be sent.
bool StopProcess(qint64 pid);

// The process list that the main window's closing walks: refresh, count, select entry i
// (from 1), the selected entry's name and id, the id to stop, stop it.
class ProcessList {
 public:
  using Source = std::function<std::vector<ProcessInfo>()>;
  using Stopper = std::function<bool(qint64)>;
  explicit ProcessList(Source source = ProgramProcesses, Stopper stopper = StopProcess);

  void Refresh();
  int Count() const { return int(list_.size()); }
  // Selects entry i, 1 to Count(); false (and nothing selected) outside that range.
  bool Select(int i);
  QString SelectedName() const;
  qint64 SelectedPid() const;
  void SetPidToKill(qint64 pid) { pidToKill_ = pid; }
  // Stops the process set by SetPidToKill; false when there is none or it cannot be stopped.
  bool Kill();

 private:
  Source source_;
  Stopper stopper_;
  std::vector<ProcessInfo> list_;
  int selected_ = -1;
  qint64 pidToKill_ = 0;
};

}  // namespace vx::sys
