// Whether a database may have changed since the last look, cheaply enough to ask at every
// move of a record set.
//
// - Writes through the shared connection: SQLite's count of changed rows, and the
//   connection's count of rollbacks and schema changes (which undo without counting).
// - Commits of other connections and processes: the file change counter in the database
//   header, which every commit moves in rollback-journal mode, read without a lock (one read
//   of the file, where PRAGMA data_version costs a lock of the file). When it moved, PRAGMA
//   data_version, which does not move for the shared connection's own commits, tells whether
//   the commit was another's. A file without the counter (empty, or in WAL mode) is asked
//   PRAGMA data_version at every look.
// - While the connection holds a lock of the file, the pager's data version stands for the
//   counter: no read of the file at all.
// - Schema changes: the header's schema cookie, read with the counter, is handed to the
//   database, which forgets its cached table layout when it moved (and so counts an undo).
//
// The header is read without a lock: it holds only for programs on this machine. Over a
// network share a client's cache may serve a stale header for a while, and a change made
// through another machine is seen late.
#pragma once

#include <QtGlobal>
#include <cstdint>

#include "platform/db/database.h"

struct sqlite3_file;

namespace vx::db {

class ChangeWatch {
 public:
  // Takes the first look.
  explicit ChangeWatch(Database& db);

  // True when anything may have changed since the last look; takes a new look.
  bool Changed();

  // The caller's own write, just made, changed `rows` rows: when nothing else changed since
  // the last look, the next look does not count it.
  void AcceptOwnWrite(int rows);

  // The file's schema version: the header's schema cookie, else PRAGMA schema_version (a
  // file without a header yet, or in WAL mode).
  static qint64 SchemaVersion(Database& db);

 private:
  struct Header {
    quint32 counter = 0, schema = 0;
  };
  // The change counter and schema cookie; false when the header does not hold them.
  static bool ReadHeader(sqlite3_file* file, Header& out);
  static sqlite3_file* MainFile(Database& db);
  bool PagerVersion(unsigned int& version) const;
  qint64 DataVersion();

  Database& db_;
  sqlite3_file* file_ = nullptr;
  qint64 changes_ = 0, undos_ = 0, version_ = 0;
  quint32 counter_ = 0;
  bool hasCounter_ = false;
  unsigned int pager_ = 0;
  bool hasPager_ = false;
};

}  // namespace vx::db
