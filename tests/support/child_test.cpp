#include "support/child_test.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcessEnvironment>

std::unique_ptr<QProcess> StartChildTest(
    const QString& test, const std::vector<std::pair<QString, QString>>& environment) {
  auto child = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : environment) env.insert(name, value);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child->setProcessEnvironment(env);
  child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child->start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=") + test,
                QStringLiteral("--gtest_also_run_disabled_tests")});
  EXPECT_TRUE(child->waitForStarted(10000)) << test.toStdString();
  return child;
}

QString ChildValue(const char* name) {
  const QString value = qEnvironmentVariable(name);
  EXPECT_FALSE(value.isEmpty()) << name << " is not set: run only as a child test";
  return value;
}
