#include "data/paths_db.h"

namespace vx::data {

namespace {
QString Letter(const QString& drive) { return drive.left(1); }
}  // namespace

QString MainDatabasePath(const QString& drive) {
  return Letter(drive) + QStringLiteral(":\\Programmi\\tolmo\\dizizOrezav.mdb");
}

QString ProgramFolder(const QString& drive) {
  return Letter(drive) + QStringLiteral(":\\Programmi\\tolmo");
}

QString StoreFolder(const QString& drive) { return Letter(drive) + QStringLiteral(":\\pelko"); }

QString StoreDatabasePath(const QString& drive) {
  return StoreFolder(drive) + QStringLiteral("\\client.mdb");
}

QString RootStoreDatabasePath(const QString& drive) {
  return Letter(drive) + QStringLiteral(":\\client.mdb");
}

QString StoreRecordFilePath(const QString& drive) {
  return Letter(drive) + QStringLiteral(":\\tolmodati.txt");
}

QString LogFilePath(const QString& drive) {
  return Letter(drive) + QStringLiteral(":\\programmi\\tolmo\\log_tolmo.txt");
}

}  // namespace vx::data
