// The demo drive's stand-in archiver, run as the update's batch file runs it.
#include "demo_update.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/requirements.h"

namespace vx::tools {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(manca)");
}

TEST(DemoArchiverTest, ExtractsEveryFileWithoutItsFoldersReplacingOldOnes) {
  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("bsdtar").isEmpty(), "bsdtar (libarchive-tools)");
  QTemporaryDir root;
  WriteDemoArchiver(root.path(), 'C');
  const QString rar = root.path() + "/C/Programmi/winrar/rar";
  ASSERT_TRUE(QFileInfo(rar).isExecutable());

  // A zip with a nested folder, named as the update names its archive.
  const QString content = root.path() + "/contenuto";
  Write(content + "/vantorelix.exe", "nuovo programma");
  Write(content + "/lib/libfoo.so", "libreria");
  const QString program = root.path() + "/C/Programmi/tolmo";
  QDir().mkpath(program);
  QProcess pack;
  pack.start("bsdtar", {"-a", "-c", "-f", program + "/pacchetto.zip", "-C", content, "."});
  ASSERT_TRUE(pack.waitForFinished(20000) && pack.exitCode() == 0)
      << pack.readAllStandardError().toStdString();
  ASSERT_TRUE(QFile::rename(program + "/pacchetto.zip", program + "/vantorelix.rar"));
  Write(program + "/vantorelix.exe", "vecchio programma");

  QProcess run;
  run.setWorkingDirectory(program);
  run.start(rar, {"e", "-o+", program + "/vantorelix.rar"});
  ASSERT_TRUE(run.waitForFinished(20000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_EQ(Read(program + "/vantorelix.exe"), "nuovo programma");
  EXPECT_EQ(Read(program + "/libfoo.so"), "libreria");
  EXPECT_FALSE(QFileInfo::exists(program + "/lib"));
  EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"libfoo.so", "vantorelix.exe", "vantorelix.rar"}));

  // Anything but the update's command line is refused.
  QProcess wrong;
  wrong.setWorkingDirectory(program);
  wrong.start(rar, {"x", program + "/vantorelix.rar"});
  ASSERT_TRUE(wrong.waitForFinished(20000));
  EXPECT_NE(wrong.exitCode(), 0);
}

}  // namespace
}  // namespace vx::tools
