#include "platform/sys/launcher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "support/temp_data_root.h"

using vx::sys::StartDetached;

namespace {

TEST(StartDetachedTest, SaysWhyAProgramCannotStart) {
  TempDataRoot root;
  root.WriteFile("C/Fornitori/notes.txt", "x");
  const auto empty = StartDetached("  ");
  EXPECT_FALSE(empty.ok);
  EXPECT_FALSE(empty.reason.isEmpty());

  const auto missing = StartDetached("C:\\Fornitori\\varu.exe");
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.reason.contains("C:\\Fornitori\\varu.exe"));
  EXPECT_TRUE(missing.reason.contains("non esiste"));

  const auto plain = StartDetached("C:\\Fornitori\\notes.txt");
  EXPECT_FALSE(plain.ok);
  EXPECT_TRUE(plain.reason.contains("non è eseguibile"));

  const auto folder = StartDetached("C:\\Fornitori");
  EXPECT_FALSE(folder.ok);
}

TEST(StartDetachedTest, StartsTheMappedProgramInItsOwnFolder) {
  TempDataRoot root;
  // The program leaves a mark in its working folder with its argument.
  const QString script =
      root.WriteFile("C/Fornitori/Ordini.exe", "#!/bin/sh\necho \"$1\" > started.txt\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  const auto r =
      StartDetached("c:\\fornitori\\ORDINI.EXE", {"ciao"}, vx::sys::WindowState::Maximized);
  ASSERT_TRUE(r.ok) << r.reason.toStdString();
  EXPECT_TRUE(r.reason.isEmpty());
  EXPECT_GT(r.pid, 0);

  QFile mark(root.root() + "/C/Fornitori/started.txt");
  const QDeadlineTimer deadline(10000);
  while (!(mark.exists() && mark.size() > 0) && !deadline.hasExpired()) QThread::msleep(20);
  ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
  EXPECT_EQ(mark.readAll().trimmed(), "ciao");
}

}  // namespace
