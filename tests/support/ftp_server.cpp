#include "support/ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QThread>

namespace {

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

}  // namespace

int FreeLoopbackPort() {
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

LocalFtpServer::~LocalFtpServer() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(10000);
  }
}

QString LocalFtpServer::Python() {
  static const QString found = [] {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
      QProcess p;
      p.start(python, {"-c", "import pyftpdlib"});
      if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return python;
    }
    return QString();
  }();
  return found;
}

bool LocalFtpServer::Start(const QString& folder, const QString& user, const QString& password) {
  const QString python = Python();
  if (python.isEmpty()) {
    error_ = QStringLiteral("python3-pyftpdlib is not installed");
    return false;
  }
  port_ = FreeLoopbackPort();
  process_.setProcessChannelMode(QProcess::MergedChannels);
  process_.start(python, {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", QString::number(port_), "-d",
                          folder, "-u", user, "-P", password});
  if (!process_.waitForStarted(10000)) {
    error_ = QStringLiteral("the FTP server did not start: ") + process_.errorString();
    return false;
  }
  const QDeadlineTimer deadline(20000);
  while (!Answers(port_) && !deadline.hasExpired()) QThread::msleep(50);
  if (!Answers(port_)) {
    error_ = QStringLiteral("the FTP server does not answer: ") + Log();
    return false;
  }
  return true;
}

QString LocalFtpServer::Log() {
  process_.waitForReadyRead(100);
  log_ += QString::fromUtf8(process_.readAll());
  return log_;
}

int LocalFtpServer::Logins(int atLeast) {
  const QDeadlineTimer deadline(10000);
  int n = int(Log().count(QStringLiteral("logged in.")));
  while (n < atLeast && !deadline.hasExpired()) {
    QThread::msleep(20);
    n = int(Log().count(QStringLiteral("logged in.")));
  }
  return n;
}
