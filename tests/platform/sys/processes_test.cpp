#include "platform/sys/processes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>

using namespace vx::sys;

namespace {

TEST(UserProcessesTest, ListsThisProcessByItsExecutableName) {
  const auto list = UserProcesses();
  const auto self = std::find_if(list.begin(), list.end(),
                                 [](const ProcessInfo& p) { return p.pid == getpid(); });
  ASSERT_NE(self, list.end());
  EXPECT_EQ(self->name, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                             [](const auto& a, const auto& b) { return a.pid < b.pid; }));
}

TEST(ProcessListTest, EntriesAreSelectedFromOne) {
  ProcessList list([] { return std::vector<ProcessInfo>{{11, "varu.exe"}, {12, "bash"}}; });
  EXPECT_EQ(list.Count(), 0);
  list.Refresh();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Select(1));
  EXPECT_EQ(list.SelectedName(), "varu.exe");
  EXPECT_EQ(list.SelectedPid(), 11);
  EXPECT_TRUE(list.Select(2));
  EXPECT_EQ(list.SelectedPid(), 12);
  EXPECT_FALSE(list.Select(3));
  EXPECT_EQ(list.SelectedPid(), 0);
  EXPECT_EQ(list.SelectedName(), "");
  EXPECT_FALSE(list.Select(0));
}

TEST(ProcessListTest, KillStopsOnlyTheIdHandedToIt) {
  std::vector<qint64> stopped;
  ProcessList list(
      [] {
        return std::vector<ProcessInfo>{{41, "sda.exe"}};
      },
      [&](qint64 pid) {
        stopped.push_back(pid);
        return true;
      });
  list.Refresh();
  EXPECT_FALSE(list.Kill());  // no id handed over yet
  list.Select(1);
  list.SetPidToKill(list.SelectedPid());
  EXPECT_TRUE(list.Kill());
  list.SetPidToKill(getpid());
  EXPECT_FALSE(list.Kill());  // never this program
  EXPECT_EQ(stopped, std::vector<qint64>{41});
}

TEST(StopProcessTest, RefusesIdsThatNameNoProcess) {
  EXPECT_FALSE(StopProcess(0));
  EXPECT_FALSE(StopProcess(-1));
}

}  // namespace
