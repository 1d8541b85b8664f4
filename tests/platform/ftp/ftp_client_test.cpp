// The FTP client against a server started on loopback for the test.
#include "platform/ftp/ftp_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "support/requirements.h"

using vx::ftp::FtpClient;

namespace {

// A port nobody listens on at the moment of asking.
int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(s);
  return ntohs(a.sin_port);
}

bool Answers(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

// The system's Python, which carries Debian's pyftpdlib.
QString PythonWithFtpServer() {
  for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
    QProcess p;
    p.start(python, {"-c", "import pyftpdlib"});
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
      return python;
  }
  return {};
}

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString python = PythonWithFtpServer();
    VX_REQUIRE_TOOL(!python.isEmpty(), "python3-pyftpdlib");
    QDir(served.path()).mkpath("update/bin");
    QFile f(served.path() + "/update/aggiorna.bat");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("copy a b\r\nexit\r\n");
    f.close();
    port = FreePort();
    server.start(python, {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", QString::number(port), "-d",
                          served.path(), "-u", "negozio", "-P", "s3gr3t0"});
    ASSERT_TRUE(server.waitForStarted(10000));
    const QDeadlineTimer deadline(20000);
    while (!Answers(port) && !deadline.hasExpired()) QThread::msleep(50);
    ASSERT_TRUE(Answers(port)) << server.readAllStandardError().toStdString();
  }
  void TearDown() override {
    if (server.state() != QProcess::NotRunning) {
      server.kill();
      server.waitForFinished(10000);
    }
  }
  QTemporaryDir served;
  QTemporaryDir local;
  QProcess server;
  int port = 0;
};

TEST_F(FtpClientTest, GetsAFileFromARemoteFolder) {
  FtpClient ftp;
  const auto connected = ftp.Connect("127.0.0.1", "negozio", "s3gr3t0", port);
  ASSERT_TRUE(connected.ok) << connected.error.toStdString();
  ASSERT_TRUE(ftp.ChangeDir("update").ok);
  EXPECT_EQ(ftp.CurrentDir(), "update");
  const QString target = local.filePath("aggiorna.bat");
  const auto got = ftp.Get("aggiorna.bat", target);
  ASSERT_TRUE(got.ok) << got.error.toStdString();
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "copy a b\r\nexit\r\n");  // byte for byte
  ftp.Disconnect();
  EXPECT_FALSE(ftp.IsConnected());
  EXPECT_FALSE(ftp.Get("aggiorna.bat", target).ok);
}

TEST_F(FtpClientTest, MissingFolderOrFileFailsWithAReasonAndLeavesNoFile) {
  FtpClient ftp;
  ASSERT_TRUE(ftp.Connect("127.0.0.1", "negozio", "s3gr3t0", port).ok);
  ASSERT_TRUE(ftp.ChangeDir("/update").ok);
  const auto badDir = ftp.ChangeDir("nessuna");
  EXPECT_FALSE(badDir.ok);
  EXPECT_FALSE(badDir.error.isEmpty());
  EXPECT_EQ(ftp.CurrentDir(), "/update");
  ASSERT_TRUE(ftp.ChangeDir("bin").ok);
  ASSERT_TRUE(ftp.ChangeDir("..").ok);
  EXPECT_EQ(ftp.CurrentDir(), "/update");

  const QString target = local.filePath("manca.exe");
  const auto missing = ftp.Get("manca.exe", target);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.error.contains("manca.exe")) << missing.error.toStdString();
  EXPECT_FALSE(QFile::exists(target));
}

TEST_F(FtpClientTest, WrongPasswordIsRefused) {
  FtpClient ftp;
  const auto r = ftp.Connect("127.0.0.1", "negozio", "sbagliata", port);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_FALSE(ftp.IsConnected());
}

TEST(FtpConnectTest, AClosedPortFailsWithAReason) {
  FtpClient ftp;
  ftp.SetTimeout(5);
  const auto r = ftp.Connect("127.0.0.1", "u", "p", FreePort());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains("127.0.0.1")) << r.error.toStdString();
  EXPECT_FALSE(ftp.ChangeDir("x").ok);
}

}  // namespace
