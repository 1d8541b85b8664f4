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

// The sentence of the kind for the file at path, and its short form for a text that has
// named the file already. For Missing it names the folder when that is what is missing.
// Empty for Other and OffDrive, whose words the failing step gives.
DbErrorText KindText(DbErrorKind kind, const QString& path) {
  const QString named = path.isEmpty() ? QString() : QStringLiteral(" '%1'").arg(path);
  switch (kind) {
    case DbErrorKind::InUse:
      return {QStringLiteral("Il database%1 è in uso da un altro programma.").arg(named),
              QStringLiteral("è in uso da un altro programma"),
              {}};
    case DbErrorKind::ReadOnly:
      return {QStringLiteral("Il database%1 è di sola lettura.").arg(named),
              QStringLiteral("è di sola lettura"),
              {}};
    case DbErrorKind::DiskFull:
      return {
          QStringLiteral("Disco pieno: non c'è più spazio per scrivere nel database%1.").arg(named),
          QStringLiteral("il disco è pieno"),
          {}};
    case DbErrorKind::Damaged:
      return {QStringLiteral("Il file%1 non è un database o è danneggiato.").arg(named),
              QStringLiteral("il file non è un database o è danneggiato"),
              {}};
    case DbErrorKind::Missing: {
      const QString folder = FolderOf(path);
      const QFileInfo host(fs::HostPath(path));
      if (!folder.isEmpty() && !host.absoluteDir().exists()) {
        const QString reason = QStringLiteral("la cartella '%1' non esiste").arg(folder);
        return {QStringLiteral("La cartella '%1' non esiste.").arg(folder), reason, {}};
      }
      // SQLite says the same of a file it may not open.
      if (!path.isEmpty() && host.isFile()) {
        return {QStringLiteral("Il file%1 non si può aprire: accesso negato.").arg(named),
                QStringLiteral("accesso negato"),
                {}};
      }
      return {QStringLiteral("Il file%1 non esiste.").arg(named),
              QStringLiteral("il file non esiste"),
              {}};
    }
    case DbErrorKind::Other:
    case DbErrorKind::OffDrive:
      break;
  }
  return {};
}

}  // namespace

QString WithDetail(const QString& sentence, const QString& technical) {
  if (technical.isEmpty()) return sentence;
  if (sentence.isEmpty()) return technical;
  return sentence + QStringLiteral(" Dettaglio tecnico: ") + technical;
}

DbError::DbError(DbErrorKind kind, DbErrorText text)
    : std::runtime_error(WithDetail(text.sentence, text.technical).toStdString()),
      kind_(kind),
      text_(std::move(text)) {}

DbError::DbError(DbErrorKind kind, const QString& path, const QString& technical)
    : DbError(kind, [&] {
        DbErrorText text = KindText(kind, path);
        // Without a sentence of its kind, the technical text says what happened.
        if (text.sentence.isEmpty()) return DbErrorText{technical, QString(), QString()};
        text.technical = technical;
        return text;
      }()) {}

DbError::DbError(const QString& context, const DbError& cause)
    : DbError(cause.kind(), DbErrorText{context.isEmpty() || cause.sentence().isEmpty()
                                            ? context + cause.sentence()
                                            : context + QLatin1Char(' ') + cause.sentence(),
                                        cause.reason(), cause.technical()}) {}

QString FileErrorText(const QString& about, const DbError& e) {
  if (e.reason().isEmpty()) return QString();
  return WithDetail(about + QStringLiteral(": ") + e.reason() + QLatin1Char('.'), e.technical());
}

QString CannotOpenText(const QString& path, const DbError& e) {
  const QString opening = QStringLiteral("Impossibile aprire il database %1").arg(path);
  if (QString text = FileErrorText(opening, e); !text.isEmpty()) return text;
  // A cause without a short form: its own words are the detail.
  return WithDetail(opening + QLatin1Char('.'),
                    e.technical().isEmpty() ? e.sentence() : e.technical());
}

}  // namespace vx::db
