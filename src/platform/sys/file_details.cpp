#include "platform/sys/file_details.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <iterator>

namespace vx::sys {

namespace {

QString Stamp(const QDateTime& t) {
  return t.isValid() ? t.toString(QStringLiteral("dd/MM/yyyy hh:mm")) : QString();
}

// Sizes as a folder view shows them: whole kilobytes, rounded up.
QString SizeText(const QFileInfo& f) {
  if (f.isDir()) return {};
  const qint64 kb = (f.size() + 1023) / 1024;
  return QLocale(QLocale::Italian, QLocale::Italy).toString(kb) + QStringLiteral(" KB");
}

QString TypeText(const QFileInfo& f) {
  if (f.isDir()) return QStringLiteral("Cartella di file");
  const QString suffix = f.suffix().toUpper();
  if (suffix == QLatin1String("EXE")) return QStringLiteral("Applicazione");
  return suffix.isEmpty() ? QStringLiteral("File") : QStringLiteral("File ") + suffix;
}

QString Attributes(const QFileInfo& f) {
  QString a;
  if (!f.isWritable()) a += QLatin1Char('R');
  if (f.isHidden()) a += QLatin1Char('H');
  if (f.isDir()) a += QLatin1Char('D');
  if (f.isFile()) a += QLatin1Char('A');
  return a;
}

}  // namespace

std::vector<std::pair<QString, QString>> FileDetails(const QString& hostFolder,
                                                     const QString& name) {
  std::vector<std::pair<QString, QString>> out;
  const QDir dir(hostFolder);
  if (hostFolder.isEmpty() || !dir.exists()) return out;
  const QFileInfoList items =
      dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDir::Name | QDir::IgnoreCase);
  const QString wanted = name.toLower();
  for (const QFileInfo& f : items) {
    if (f.fileName().toLower() != wanted) continue;
    const std::pair<QString, QString> columns[] = {
        {QStringLiteral("Nome"), f.fileName()},
        {QStringLiteral("Dimensione"), SizeText(f)},
        {QStringLiteral("Tipo"), TypeText(f)},
        {QStringLiteral("Ultima modifica"), Stamp(f.lastModified())},
        {QStringLiteral("Data creazione"), Stamp(f.birthTime())},
        {QStringLiteral("Ultimo accesso"), Stamp(f.lastRead())},
        {QStringLiteral("Attributi"), Attributes(f)},
    };
    // Every titled column is listed, an empty text included, so that positions hold.
    out.assign(std::begin(columns), std::end(columns));
    break;
  }
  return out;
}

}  // namespace vx::sys
