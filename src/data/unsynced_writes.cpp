#include "data/unsynced_writes.h"

#include <sqlite3.h>

#include <QByteArray>

namespace vx::data {

UnsyncedWrites::UnsyncedWrites(std::shared_ptr<db::Database> database) : db_(std::move(database)) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_->handle(), "PRAGMA synchronous", -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW) {
    previous_ = sqlite3_column_int(st, 0);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db_->handle(), "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
}

UnsyncedWrites::~UnsyncedWrites() {
  const QByteArray sql = "PRAGMA synchronous = " + QByteArray::number(previous_);
  sqlite3_exec(db_->handle(), sql.constData(), nullptr, nullptr, nullptr);
}

}  // namespace vx::data
