// Another program on the same files: a child process running this same test program, which
// runs one entry registered with CHILD_ENTRY instead of the tests and exits with its result.
// The entry reads what it needs from the environment variables its parent gives.
//
//   CHILD_ENTRY(WriteSlotOne) { ...; return 0; }
//   auto child = StartChild("WriteSlotOne", {{"VX_ROOT", root}});
//   ASSERT_TRUE(child->waitForFinished(60000));
#pragma once

#include <QProcess>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

struct ChildEntry {
  ChildEntry(const char* name, int (*run)());
};

#define CHILD_ENTRY(name)                                               \
  static int name##ChildEntry();                                        \
  static const ChildEntry name##Registration(#name, &name##ChildEntry); \
  static int name##ChildEntry()

std::unique_ptr<QProcess> StartChild(const QString& entry,
                                     const std::vector<std::pair<QString, QString>>& environment);

// In the child: runs the entry its parent named and gives its exit code; -1 in a test run.
int RunChildEntryIfAsked();
