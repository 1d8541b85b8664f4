// A local FTP server for the length of a test: Debian's pyftpdlib serving one folder to one
// account on a free loopback port.
//
//   LocalFtpServer server;
//   VX_REQUIRE_TOOL(!LocalFtpServer::Python().isEmpty(), "python3-pyftpdlib");
//   ASSERT_TRUE(server.Start(folder, "utente", "parola")) << server.error().toStdString();
#pragma once

#include <QProcess>
#include <QString>

// A loopback port nobody listens on at the moment of asking.
int FreeLoopbackPort();

class LocalFtpServer {
 public:
  LocalFtpServer() = default;
  ~LocalFtpServer();
  LocalFtpServer(const LocalFtpServer&) = delete;
  LocalFtpServer& operator=(const LocalFtpServer&) = delete;

  // The system's Python when it carries pyftpdlib, else "".
  static QString Python();

  // Starts serving and waits until the server answers; false with the reason in error().
  bool Start(const QString& folder, const QString& user, const QString& password);
  int port() const { return port_; }
  QString error() const { return error_; }
  // Everything the server has logged so far.
  QString Log();
  // The logins so far, by the server's log, once at least `atLeast` are logged or 10 s have
  // passed (the server also logs the bare connections by which Start sees it answer).
  int Logins(int atLeast = 0);

 private:
  QProcess process_;
  int port_ = 0;
  QString error_;
  QString log_;
};
