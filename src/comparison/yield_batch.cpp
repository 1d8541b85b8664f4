#include "comparison/yield_batch.h"

#include <algorithm>

#include "platform/db/database.h"

namespace vx::comparison {

namespace {

// The value of an integer PRAGMA.
int PragmaInt(db::Database& db, const char* name) {
  db::Statement st = db.PrepareNative(QStringLiteral("PRAGMA %1").arg(QLatin1String(name)));
  const int value = st.Step() ? static_cast<int>(st.Column(0).toLong()) : 0;
  st.Reset();
  return value;
}

void SetCacheSize(db::Database& db, int size) {
  db.PrepareNative(QStringLiteral("PRAGMA cache_size = %1").arg(size)).Run();
}

}  // namespace

YieldBatch::YieldBatch(db::Database& db, common::ProgressSink& sink) : db_(db), sink_(sink) {
  // cache_size counts pages when positive, KiB when negative.
  const int current = PragmaInt(db_, "cache_size");
  const qint64 currentKiB =
      current < 0 ? -qint64(current) : qint64(current) * PragmaInt(db_, "page_size") / 1024;
  if (currentKiB < kCacheKiB) {
    SetCacheSize(db_, -kCacheKiB);
    savedCacheSize_ = current;
  }
  Begin();
  timer_.start();
}

YieldBatch::~YieldBatch() {
  // Only after an error: Finish() leaves nothing open.
  try {
    if (open_) db_.Rollback();
  } catch (...) {
    // Nothing more can be done from a destructor; the connection reports the next error.
  }
  for (Reader& r : readers_) {
    try {
      if (r.open) r.db->Rollback();
    } catch (...) {
    }
  }
  try {
    if (savedCacheSize_) SetCacheSize(db_, *savedCacheSize_);
  } catch (...) {
  }
}

void YieldBatch::AddReader(std::shared_ptr<db::Database> db) {
  if (db.get() == &db_) return;
  for (const Reader& r : readers_) {
    if (r.db == db) return;
  }
  readers_.push_back({std::move(db), false});
  if (open_) {
    readers_.back().db->BeginTrans();
    readers_.back().open = true;
  }
}

void YieldBatch::Begin() {
  db_.BeginTrans();
  open_ = true;
  for (Reader& r : readers_) {
    r.db->BeginTrans();
    r.open = true;
  }
}

bool YieldBatch::RowDone() {
  if (!Due()) return false;
  QElapsedTimer commit;
  commit.start();
  Finish();
  intervalMs_ = std::clamp(3 * commit.elapsed(), kMinIntervalMs, kMaxIntervalMs);
  sink_.Yield();
  Begin();
  timer_.restart();
  return true;
}

void YieldBatch::Finish() {
  if (open_) {
    db_.CommitTrans();
    open_ = false;
  }
  // Nothing was written through the readers: ending their transactions only drops the locks.
  for (Reader& r : readers_) {
    if (!r.open) continue;
    r.db->CommitTrans();
    r.open = false;
  }
}

}  // namespace vx::comparison
