// The data control: a database name and a record source; Refresh opens the record set that
// bound lists and grids read.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/db/recordset.h"

namespace vx::db {

class DataControl : public QObject {
  Q_OBJECT
 public:
  explicit DataControl(QObject* parent = nullptr) : QObject(parent) {}

  QString DatabaseName;
  QString RecordSource;
  QString Connect = QStringLiteral("Access 2000;");
  // DatabaseName is a path read from the stored data (a supplier's database): Refresh opens
  // it by the data-drive rule (Database::OpenOnDrive) and refuses any path off the drive.
  bool OnDataDrive = false;

  // Opens DatabaseName and runs RecordSource afresh; emits refreshed(). DbError on failure
  // (the previous record set is then gone and Recordset() is null).
  void Refresh();
  Recordset* recordset() const { return rs_.get(); }
  // The open database (null before the first Refresh).
  std::shared_ptr<Database> database() const { return db_; }

 signals:
  void refreshed();

 private:
  std::shared_ptr<Database> db_;
  std::unique_ptr<Recordset> rs_;
};

}  // namespace vx::db
