#include "platform/db/backup.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/db/database.h"
#include "platform/paths.h"

namespace vx::db {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Closes the connection when the scope ends.
struct Connection {
  sqlite3* db = nullptr;
  ~Connection() { sqlite3_close_v2(db); }
  QString Error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
  DbErrorKind Kind() const { return ErrorKindOf(sqlite3_extended_errcode(db)); }
};

}  // namespace

void BackupDatabase(const QString& source, const QString& target) {
  const QString from = fs::HostPath(source);
  const QString to = fs::HostPath(target);
  const QFileInfo fromInfo(from);
  const QFileInfo toInfo(to);
  if (!fromInfo.isFile()) {
    throw DbError(DbErrorKind::Missing, source,
                  QStringLiteral("l'archivio %1 non esiste").arg(source));
  }
  if (!toInfo.absoluteDir().exists()) {
    throw DbError(DbErrorKind::Missing, target,
                  QStringLiteral("la cartella di %1 non esiste").arg(target));
  }
  if (toInfo.isDir()) throw DbError(QStringLiteral("%1 è una cartella").arg(target));
  if (toInfo.exists() && toInfo.canonicalFilePath() == fromInfo.canonicalFilePath()) {
    throw DbError(QStringLiteral("%1 è l'archivio stesso").arg(target));
  }

  QTemporaryFile temp(toInfo.absoluteDir().filePath(toInfo.fileName() + QStringLiteral(".XXXXXX")));
  if (!temp.open()) {
    throw DbError(QStringLiteral("impossibile scrivere nella cartella di %1: %2")
                      .arg(target, temp.errorString()));
  }
  temp.close();
  const QString tempPath = temp.fileName();
  {
    Connection in, out;
    if (sqlite3_open_v2(from.toUtf8().constData(), &in.db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
      throw DbError(in.Kind(), source,
                    QStringLiteral("impossibile leggere %1: %2").arg(source, in.Error()));
    }
    sqlite3_busy_timeout(in.db, kBusyTimeoutMs);
    if (sqlite3_open_v2(tempPath.toUtf8().constData(), &out.db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
      throw DbError(out.Kind(), target,
                    QStringLiteral("impossibile scrivere %1: %2").arg(target, out.Error()));
    }
    sqlite3_backup* backup = sqlite3_backup_init(out.db, "main", in.db, "main");
    if (!backup) {
      throw DbError(out.Kind(), target, QStringLiteral("copia di %1: %2").arg(source, out.Error()));
    }
    const int step = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE) {
      // A full disk or a read-only file is the copy's; busy or damaged is the archive's.
      const DbErrorKind kind = ErrorKindOf(step);
      const bool ofCopy = kind == DbErrorKind::DiskFull || kind == DbErrorKind::ReadOnly;
      throw DbError(
          kind, ofCopy ? target : source,
          QStringLiteral("copia di %1: %2").arg(source, QString::fromUtf8(sqlite3_errstr(step))));
    }
  }
  QFile::setPermissions(tempPath, fromInfo.permissions());
  if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(to).constData()) !=
      0) {
    throw DbError(QStringLiteral("impossibile sostituire %1: %2")
                      .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
  }
  temp.setAutoRemove(false);  // the file now has the target's name
}

}  // namespace vx::db
