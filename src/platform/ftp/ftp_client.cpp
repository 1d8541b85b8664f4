#include "platform/ftp/ftp_client.h"

#include <curl/curl.h>

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace vx::ftp {

struct FtpClient::Handle {
  CURL* curl = nullptr;
  Handle() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
    curl = curl_easy_init();
  }
  ~Handle() {
    if (curl) curl_easy_cleanup(curl);
  }
};

namespace {

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

size_t WriteToFile(char* data, size_t size, size_t count, void* target) {
  auto* file = static_cast<QSaveFile*>(target);
  const qint64 n = qint64(size * count);
  return file->write(data, n) == n ? size_t(n) : 0;
}

QString Escape(CURL* curl, const QString& part) {
  const QByteArray utf8 = part.toUtf8();
  char* escaped = curl_easy_escape(curl, utf8.constData(), int(utf8.size()));
  const QString out = QString::fromUtf8(escaped);
  curl_free(escaped);
  return out;
}

// What went wrong, in the operator's words.
QString ReasonOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return QStringLiteral("il nome del server è sconosciuto");
    case CURLE_COULDNT_CONNECT:
      return QStringLiteral("il server non risponde o rifiuta il collegamento");
    case CURLE_OPERATION_TIMEDOUT:
      return QStringLiteral("il server non ha risposto in tempo");
    case CURLE_LOGIN_DENIED:
      return QStringLiteral("il server non accetta il nome utente o la password");
    case CURLE_REMOTE_ACCESS_DENIED:
      return QStringLiteral("la cartella non esiste sul server o l'accesso è negato");
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
      return QStringLiteral("il file non esiste sul server");
    case CURLE_WRITE_ERROR:
      return QStringLiteral("impossibile scrivere il file scaricato");
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
      return QStringLiteral("il collegamento si è interrotto");
    default:
      return QStringLiteral("il server FTP ha risposto con un errore");
  }
}

// The reason in Italian after what failed (when said), libcurl's text after it.
FtpResult Failure(const QString& what, CURLcode code, const char* detail) {
  const QString technical =
      QString::fromUtf8(detail && *detail ? detail : curl_easy_strerror(code));
  const QString reason = ReasonOf(code) + QStringLiteral(". Dettaglio tecnico: ") + technical;
  return FtpResult{false, what.isEmpty() ? reason : what + QStringLiteral(": ") + reason};
}

}  // namespace

FtpClient::FtpClient() : h_(std::make_unique<Handle>()) {}

FtpClient::~FtpClient() = default;

QString FtpClient::Url(const QString& folder, const QString& file) const {
  // ftp://host:port/ is the login folder; a leading "%2F" makes a path absolute.
  QString url = QStringLiteral("ftp://%1:%2/").arg(host_).arg(port_);
  QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  if (folder.startsWith(QLatin1Char('/'))) url += QStringLiteral("%2F");
  for (const QString& p : parts) url += Escape(h_->curl, p) + QLatin1Char('/');
  if (!file.isEmpty()) url += Escape(h_->curl, file);
  return url;
}

CURL* FtpClient::Begin(const QString& url, char* detail) {
  // libcurl keeps its own copies of the texts given to it.
  CURL* c = h_->curl;
  curl_easy_reset(c);
  curl_easy_setopt(c, CURLOPT_URL, url.toUtf8().constData());
  curl_easy_setopt(c, CURLOPT_USERNAME, user_.toUtf8().constData());
  curl_easy_setopt(c, CURLOPT_PASSWORD, password_.toUtf8().constData());
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(timeout_));
  curl_easy_setopt(c, CURLOPT_FTP_RESPONSE_TIMEOUT, long(timeout_));
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
  return c;
}

FtpResult FtpClient::Check(const QString& folder) {
  char detail[CURL_ERROR_SIZE] = {};
  CURL* c = Begin(Url(folder), detail);
  // A listing of the folder: it proves the login and that the folder exists.
  curl_easy_setopt(c, CURLOPT_DIRLISTONLY, 1L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Discard);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  const CURLcode code = curl_easy_perform(c);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  if (code != CURLE_OK) {
    // The login folder has no name of its own.
    const QString what = folder.isEmpty() ? QString() : QStringLiteral("Cartella '%1'").arg(folder);
    return Failure(what, code, detail);
  }
  return FtpResult{true, {}};
}

FtpResult FtpClient::Connect(const QString& host, const QString& user, const QString& password,
                             int port) {
  Disconnect();
  if (!h_->curl) return FtpResult{false, QStringLiteral("FTP non disponibile")};
  if (host.trimmed().isEmpty()) return FtpResult{false, QStringLiteral("Server FTP non indicato")};
  host_ = host.trimmed();
  user_ = user;
  password_ = password;
  port_ = port;
  dir_.clear();
  FtpResult r = Check(dir_);
  if (!r.ok) {
    r.error = QStringLiteral("Connessione a %1 non riuscita: %2").arg(host_, r.error);
    return r;
  }
  connected_ = true;
  return r;
}

FtpResult FtpClient::ChangeDir(const QString& folder) {
  if (!connected_) return FtpResult{false, QStringLiteral("Non connesso al server FTP")};
  QString target;
  if (folder.startsWith(QLatin1Char('/'))) {
    target = folder;
  } else {
    QStringList parts = dir_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& p : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
      if (p == QLatin1String("..")) {
        if (!parts.isEmpty()) parts.removeLast();
      } else if (p != QLatin1String(".")) {
        parts << p;
      }
    }
    target = (dir_.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString()) +
             parts.join(QLatin1Char('/'));
  }
  const FtpResult r = Check(target);
  if (r.ok) dir_ = target;
  return r;
}

FtpResult FtpClient::Get(const QString& remoteName, const QString& localPath) {
  if (!connected_) return FtpResult{false, QStringLiteral("Non connesso al server FTP")};
  // Written beside the target and moved into place only when complete.
  QSaveFile file(localPath);
  if (!file.open(QIODevice::WriteOnly)) {
    return FtpResult{
        false, QStringLiteral("Impossibile scrivere %1: %2").arg(localPath, file.errorString())};
  }
  char detail[CURL_ERROR_SIZE] = {};
  CURL* c = Begin(Url(dir_, remoteName), detail);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(timeout_));
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &file);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  const CURLcode code = curl_easy_perform(c);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
  if (code != CURLE_OK) {
    file.cancelWriting();
    return Failure(QStringLiteral("Scaricamento di %1 non riuscito").arg(remoteName), code, detail);
  }
  if (!file.commit()) {
    return FtpResult{
        false, QStringLiteral("Impossibile scrivere %1: %2").arg(localPath, file.errorString())};
  }
  return FtpResult{true, {}};
}

void FtpClient::Disconnect() {
  if (h_->curl && connected_) {
    // Dropping the easy handle's connection cache closes the session.
    curl_easy_cleanup(h_->curl);
    h_->curl = curl_easy_init();
  }
  connected_ = false;
  dir_.clear();
}

}  // namespace vx::ftp
