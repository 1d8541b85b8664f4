#include "platform/db/datacontrol.h"

namespace vx::db {

void DataControl::Refresh() {
  rs_.reset();
  db_ = Database::Open(DatabaseName);
  rs_ = db_->OpenRecordset(RecordSource);
  emit refreshed();
}

}  // namespace vx::db
