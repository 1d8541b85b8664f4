// The FTP client against a server started on loopback for the test.
#include "platform/ftp/ftp_client.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/ftp_server.h"
#include "support/requirements.h"

using vx::ftp::FtpClient;

namespace {

class FtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VX_REQUIRE_TOOL(!LocalFtpServer::Python().isEmpty(), "python3-pyftpdlib");
    QDir(served.path()).mkpath("update/bin");
    QFile f(served.path() + "/update/aggiorna.bat");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("copy a b\r\nexit\r\n");
    f.close();
    ASSERT_TRUE(server.Start(served.path(), "negozio", "s3gr3t0")) << server.error().toStdString();
    port = server.port();
  }
  QTemporaryDir served;
  QTemporaryDir local;
  LocalFtpServer server;
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
  const auto r = ftp.Connect("127.0.0.1", "u", "p", FreeLoopbackPort());
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains("127.0.0.1")) << r.error.toStdString();
  EXPECT_FALSE(ftp.ChangeDir("x").ok);
}

}  // namespace
