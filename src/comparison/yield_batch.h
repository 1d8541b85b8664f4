// Pacing of the comparison's long loops: the rows written between two yields go into one
// transaction, committed before the loop yields to the event queue, so other windows never
// see a transaction open while they run. The loop yields about ten times a second, not
// after every row: a commit waits for the disk, and each batch writes the pages it touched
// twice (journal and file), so committing more often costs far more than the rows; a tenth
// of a second still answers the operator without a felt delay. Where the disk is slow the
// interval grows to three times the last commit (up to a quarter of a second), so that
// waiting for the disk never takes more than about a quarter of the run.
//
// While the batch lives, the written database's page cache is raised to kCacheKiB: a batch
// dirties pages all over the table, and a cache smaller than they are makes SQLite spill
// them (a journal sync) in the middle of each transaction and read them back from the file.
#pragma once

#include <QElapsedTimer>
#include <memory>
#include <optional>
#include <vector>

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

class YieldBatch {
 public:
  static constexpr qint64 kMinIntervalMs = 100;
  static constexpr qint64 kMaxIntervalMs = 250;
  static constexpr int kCacheKiB = 64 * 1024;

  // Opens the first transaction.
  YieldBatch(db::Database& db, common::ProgressSink& sink);
  // Rolls back what is still open (only after an error: Finish() commits).
  ~YieldBatch();
  YieldBatch(const YieldBatch&) = delete;
  YieldBatch& operator=(const YieldBatch&) = delete;

  // A database the loop reads row by row (a supplier's catalogue): it is read inside the
  // batch's transactions too, so that a lookup does not take and drop the file's lock each
  // time, and it is released at every yield like the written one.
  void AddReader(std::shared_ptr<db::Database> db);

  // Whether the next RowDone() is due to commit and yield: a loop that reads through an open
  // statement finishes with it first, so that the yield leaves no lock held.
  bool Due() const { return timer_.elapsed() >= intervalMs_; }
  // After each row: when the interval has passed, commit, yield and open the next one.
  // True when it yielded (other handlers may have changed the database meanwhile).
  bool RowDone();
  // Commits what is open; no yield. When the commit fails, the destructor rolls back.
  void Finish();

 private:
  void Begin();
  struct Reader {
    std::shared_ptr<db::Database> db;
    bool open = false;
  };
  db::Database& db_;
  std::optional<int> savedCacheSize_;  // the connection's cache_size, when the batch raised it
  std::vector<Reader> readers_;
  common::ProgressSink& sink_;
  QElapsedTimer timer_;
  qint64 intervalMs_ = kMinIntervalMs;
  bool open_ = false;
};

}  // namespace vx::comparison
