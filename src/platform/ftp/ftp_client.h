// The FTP session of the software update: connect, change the remote folder, get a file,
// disconnect. Each step answers success or failure with the reason.
#pragma once

#include <QString>
#include <memory>

namespace vx::ftp {

struct FtpResult {
  bool ok = false;
  QString error;  // the reason, for the operator, when !ok
  explicit operator bool() const { return ok; }
};

class FtpClient {
 public:
  FtpClient();
  ~FtpClient();
  FtpClient(const FtpClient&) = delete;
  FtpClient& operator=(const FtpClient&) = delete;

  // Logs in and checks that the server answers; the remote folder is the login folder.
  FtpResult Connect(const QString& host, const QString& user, const QString& password,
                    int port = 21);
  // An absolute folder ("/a/b") or one below the current folder ("b"); ".." goes up. The
  // current folder changes only when the server accepts the new one.
  FtpResult ChangeDir(const QString& folder);
  QString CurrentDir() const { return dir_; }
  // Downloads a file of the current folder to a local path (a partial file is removed).
  FtpResult Get(const QString& remoteName, const QString& localPath);
  void Disconnect();
  bool IsConnected() const { return connected_; }

  // Seconds allowed for connecting (and for a stalled transfer).
  void SetTimeout(int seconds) { timeout_ = seconds; }

 private:
  QString Url(const QString& folder, const QString& file = {}) const;
  FtpResult Check(const QString& folder);
  // The easy handle reset and set up for a transfer from url, its error text into detail.
  void* Begin(const QString& url, char* detail);  // a CURL*

  struct Handle;
  std::unique_ptr<Handle> h_;
  QString host_, user_, password_;
  int port_ = 21;
  QString dir_;  // "" is the login folder; otherwise a path from it or from the root
  bool connected_ = false;
  int timeout_ = 15;
};

}  // namespace vx::ftp
