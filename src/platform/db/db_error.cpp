// The operator's sentence of a database error, said once for every error of the layer.
#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "platform/db/database.h"
#include "platform/paths.h"

namespace vx::db {

namespace {

// The folder part of a Windows or host path; "" when it names none.
QString FolderOf(const QString& path) {
  const qsizetype cut =
      std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
  return cut > 0 ? path.left(cut) : QString();
}

// For Missing it names the folder when that is what is missing. Empty for Other.
QString ErrorSentence(DbErrorKind kind, const QString& path) {
  const QString named = path.isEmpty() ? QString() : QStringLiteral(" '%1'").arg(path);
  switch (kind) {
    case DbErrorKind::InUse:
      return QStringLiteral("Il database%1 è in uso da un altro programma.").arg(named);
    case DbErrorKind::ReadOnly:
      return QStringLiteral("Il database%1 è di sola lettura.").arg(named);
    case DbErrorKind::DiskFull:
      return QStringLiteral("Disco pieno: non c'è più spazio per scrivere nel database%1.")
          .arg(named);
    case DbErrorKind::Damaged:
      return QStringLiteral("Il file%1 non è un database o è danneggiato.").arg(named);
    case DbErrorKind::Missing: {
      const QString folder = FolderOf(path);
      const QFileInfo host(fs::HostPath(path));
      if (!folder.isEmpty() && !host.absoluteDir().exists()) {
        return QStringLiteral("La cartella '%1' non esiste.").arg(folder);
      }
      // SQLite says the same of a file it may not open.
      if (!path.isEmpty() && host.isFile()) {
        return QStringLiteral("Il file%1 non si può aprire: accesso negato.").arg(named);
      }
      return QStringLiteral("Il file%1 non esiste.").arg(named);
    }
    case DbErrorKind::Other:
      break;
  }
  return QString();
}

}  // namespace

QString DbError::Compose(DbErrorKind kind, const QString& path, const QString& technical) {
  const QString sentence = ErrorSentence(kind, path);
  if (sentence.isEmpty()) return technical;
  if (technical.isEmpty()) return sentence;
  return sentence + QStringLiteral(" Dettaglio tecnico: ") + technical;
}

QString CannotOpenText(const QString& path, const DbError& e) {
  return QStringLiteral("Impossibile aprire il database %1 (%2)").arg(path, e.message());
}

}  // namespace vx::db
