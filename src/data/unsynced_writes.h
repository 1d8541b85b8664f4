// While alive, the database's connection hands its writes to the system without waiting for
// the disk. Only for making new files, whose loss in a crash costs nothing but a rerun.
#pragma once

#include <memory>

#include "platform/db/database.h"

namespace vx::data {

class UnsyncedWrites {
 public:
  explicit UnsyncedWrites(std::shared_ptr<db::Database> database);
  ~UnsyncedWrites();
  UnsyncedWrites(const UnsyncedWrites&) = delete;
  UnsyncedWrites& operator=(const UnsyncedWrites&) = delete;

  db::Database& database() const { return *db_; }

 private:
  std::shared_ptr<db::Database> db_;
  int previous_ = 2;  // FULL
};

}  // namespace vx::data
