#include "platform/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vx::fs {
namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    root_ = tmp_.path();
    SetDataRoot(root_);
    SetCurrentDrive(QLatin1Char('C'));
  }
  void TearDown() override { SetDataRoot(QString()); }

  void Touch(const QString& rel, const QByteArray& content = "x") {
    const QString p = root_ + QLatin1Char('/') + rel;
    QDir().mkpath(p.left(p.lastIndexOf(QLatin1Char('/'))));
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }

  QTemporaryDir tmp_;
  QString root_;
};

TEST_F(PathsTest, WindowsPathsAreRecognised) {
  EXPECT_TRUE(IsWindowsPath("C:\\Programmi\\tolmo\\x.mdb"));
  EXPECT_TRUE(IsWindowsPath("c:/a/b"));
  EXPECT_TRUE(IsWindowsPath("D:"));
  EXPECT_TRUE(IsWindowsPath("\\varu\\dati.mdb"));
  EXPECT_FALSE(IsWindowsPath("/home/x/C/a"));
  EXPECT_FALSE(IsWindowsPath("relative/file.txt"));
  EXPECT_FALSE(IsWindowsPath("C:file"));
  EXPECT_EQ(HostPath("/home/x/a.txt"), "/home/x/a.txt");
}

TEST_F(PathsTest, ComponentsMatchWithoutRegardToCase) {
  Touch("C/Programmi/Tolmo/x.mdb");
  EXPECT_EQ(HostPath("c:\\PROGRAMMI\\tolmo\\X.MDB"), root_ + "/C/Programmi/Tolmo/x.mdb");
  EXPECT_EQ(HostPath("C:\\programmi\\TOLMO\\"), root_ + "/C/Programmi/Tolmo/");
  EXPECT_EQ(HostPath("C:/Programmi//./Tolmo/x.mdb"), root_ + "/C/Programmi/Tolmo/x.mdb");
  // The tail that does not exist keeps its spelling.
  EXPECT_EQ(HostPath("C:\\programmi\\Nuova\\Sotto\\A.txt"),
            root_ + "/C/Programmi/Nuova/Sotto/A.txt");
  // A drive that does not exist yet is upper case.
  EXPECT_EQ(HostPath("e:\\dati"), root_ + "/E/dati");
  EXPECT_EQ(HostPath("C:"), root_ + "/C");
  // Without a letter, the current drive.
  SetCurrentDrive(QLatin1Char('d'));
  EXPECT_EQ(CurrentDrive(), QLatin1Char('D'));
  EXPECT_EQ(HostPath("\\varu\\x"), root_ + "/D/varu/x");
}

TEST_F(PathsTest, ParentStepsStayInsideTheDrive) {
  Touch("C/a/f.txt");
  EXPECT_EQ(HostPath("C:\\A\\..\\..\\..\\a\\F.TXT"), root_ + "/C/a/f.txt");
}

TEST_F(PathsTest, OnlyDrivePathsStayingInsideTheRootMapForStoredData) {
  Touch("C/dati/f.mdb");
  QTemporaryDir outside;
  ASSERT_TRUE(QFile::link(outside.path(), root_ + "/C/fuori"));
  EXPECT_EQ(DriveHostPath("c:\\DATI\\f.mdb"), root_ + "/C/dati/f.mdb");
  EXPECT_EQ(DriveHostPath("C:\\dati\\nuovo\\g.mdb"), root_ + "/C/dati/nuovo/g.mdb");
  for (const char* refused :
       {"/etc/f.mdb", "../x/dati.mdb", "dati.mdb", "C:\\fuori\\f.mdb", "C:\\fuori\\a\\b.mdb"}) {
    EXPECT_FALSE(DriveHostPath(QString::fromUtf8(refused))) << refused;
  }
}

TEST_F(PathsTest, ExactSpellingWinsOverOtherCase) {
  Touch("C/dati/Listino.txt", "1");
  Touch("C/dati/listino.txt", "2");
  EXPECT_EQ(HostPath("C:\\DATI\\listino.txt"), root_ + "/C/dati/listino.txt");
  EXPECT_EQ(HostPath("C:\\DATI\\Listino.txt"), root_ + "/C/dati/Listino.txt");
}

TEST_F(PathsTest, DriveLettersAndFolders) {
  EXPECT_TRUE(DriveLetters().isEmpty());
  EXPECT_TRUE(CreateFolder("d:\\uno\\due"));
  EXPECT_TRUE(CreateFolder("C:\\"));
  QDir(root_).mkdir("not-a-drive");
  QDir(root_).mkdir("7");
  Touch("F", "a file, not a drive");
  EXPECT_EQ(DriveLetters(), QStringList({"C", "D"}));
  EXPECT_TRUE(IsFolder("D:\\UNO\\Due"));
  EXPECT_TRUE(Exists("D:\\uno"));
  EXPECT_FALSE(Exists("D:\\tre"));
  EXPECT_TRUE(CreateFolder("D:\\UNO\\DUE\\tre"));  // reuses the existing spelling
  EXPECT_TRUE(QDir(root_ + "/D/uno/due/tre").exists());
}

TEST_F(PathsTest, CopyOverwritesAndDeleteRemoves) {
  Touch("C/a/src.txt", "nuovo");
  Touch("C/a/dst.txt", "vecchio contenuto");
  EXPECT_TRUE(CopyFile("C:\\A\\SRC.TXT", "c:\\a\\DST.txt"));
  QFile f(root_ + "/C/a/dst.txt");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "nuovo");
  f.close();
  // Onto itself: the content stays.
  EXPECT_TRUE(CopyFile("C:\\a\\src.txt", "C:\\A\\src.TXT"));
  EXPECT_EQ(QFile(root_ + "/C/a/src.txt").size(), 5);
  EXPECT_FALSE(CopyFile("C:\\a\\missing.txt", "C:\\a\\x.txt"));
  EXPECT_FALSE(CopyFile("C:\\a\\src.txt", "C:\\a"));                 // a folder is no file name
  EXPECT_TRUE(CopyFile(root_ + "/C/a/src.txt", "C:\\a\\host.txt"));  // host path in
  EXPECT_TRUE(Exists("C:\\a\\HOST.TXT"));

  EXPECT_TRUE(DeleteFile("C:\\A\\DST.TXT"));
  EXPECT_FALSE(Exists("C:\\a\\dst.txt"));
  EXPECT_FALSE(DeleteFile("C:\\a\\dst.txt"));
  EXPECT_FALSE(DeleteFile("C:\\a"));  // folders are not deleted
  EXPECT_TRUE(DeleteFile("C:\\a\\*.TXT"));
  EXPECT_TRUE(ListFolder("C:\\a").isEmpty());
  EXPECT_FALSE(DeleteFile("C:\\a\\*.txt"));
}

TEST_F(PathsTest, ListFolderByDosPattern) {
  for (const char* n : {"b.TXT", "a.txt", "C.txt", "Abc.dat", "readme", "a1.txt", "a12.txt"}) {
    Touch(QStringLiteral("C/in/") + n);
  }
  QDir(root_).mkpath("C/in/sub.txt");  // folders are not listed
  EXPECT_EQ(ListFolder("C:\\IN"),
            QStringList({"a.txt", "a1.txt", "a12.txt", "Abc.dat", "b.TXT", "C.txt", "readme"}));
  EXPECT_EQ(ListFolder("C:\\in", "*.*"), ListFolder("C:\\in", "*"));
  EXPECT_EQ(ListFolder("C:\\in", "*.txt"),
            QStringList({"a.txt", "a1.txt", "a12.txt", "b.TXT", "C.txt"}));
  EXPECT_EQ(ListFolder("C:\\in", "A?.TXT"), QStringList({"a1.txt"}));
  EXPECT_EQ(ListFolder("C:\\in", "a*"), QStringList({"a.txt", "a1.txt", "a12.txt", "Abc.dat"}));
  EXPECT_EQ(ListFolder("C:\\in", "*e*"), QStringList({"readme"}));
  EXPECT_EQ(ListFolder("C:\\in", "zzz*"), QStringList());
  EXPECT_EQ(ListFolder("C:\\missing"), QStringList());
}

TEST_F(PathsTest, EnvironmentAndDefaultRoot) {
  SetDataRoot(QString());
  const QByteArray saved = qgetenv("VANTORELIX_DATA_ROOT");
  qputenv("VANTORELIX_DATA_ROOT", root_.toUtf8());
  EXPECT_EQ(DataRoot(), QDir::cleanPath(root_));
  qunsetenv("VANTORELIX_DATA_ROOT");
  EXPECT_EQ(DataRoot(), QDir::homePath() + "/.local/share/vantorelix");
  if (!saved.isEmpty()) qputenv("VANTORELIX_DATA_ROOT", saved);
}

}  // namespace
}  // namespace vx::fs
