#include "platform/db/datacontrol.h"

namespace vx::db {

void DataControl::Refresh() {
  rs_.reset();
  db_ = OnDataDrive ? Database::OpenOnDrive(DatabaseName) : Database::Open(DatabaseName);
  rs_ = db_->OpenRecordset(RecordSource);
  emit refreshed();
}

}  // namespace vx::db
