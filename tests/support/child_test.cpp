#include "support/child_test.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <cstdio>
#include <map>
#include <string>

namespace {

const char* const kEntryVariable = "VX_CHILD_ENTRY";

std::map<std::string, int (*)()>& Entries() {
  static std::map<std::string, int (*)()> entries;
  return entries;
}

}  // namespace

ChildEntry::ChildEntry(const char* name, int (*run)()) { Entries()[name] = run; }

std::unique_ptr<QProcess> StartChild(const QString& entry,
                                     const std::vector<std::pair<QString, QString>>& environment) {
  auto child = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : environment) env.insert(name, value);
  env.insert(QString::fromLatin1(kEntryVariable), entry);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child->setProcessEnvironment(env);
  child->setProcessChannelMode(QProcess::ForwardedChannels);
  child->start(QCoreApplication::applicationFilePath(), {});
  EXPECT_TRUE(child->waitForStarted(10000)) << entry.toStdString();
  return child;
}

int RunChildEntryIfAsked() {
  const QByteArray name = qgetenv(kEntryVariable);
  if (name.isEmpty()) return -1;
  const auto it = Entries().find(name.toStdString());
  if (it == Entries().end()) {
    std::fprintf(stderr, "no child entry %s\n", name.constData());
    return 2;
  }
  return it->second();
}
