#include "platform/db/change_watch.h"

#include <sqlite3.h>

namespace vx::db {

ChangeWatch::ChangeWatch(Database& db) : db_(db), file_(MainFile(db)) {
  // The header first: a schema change it shows counts as an undo already taken in.
  Header header;
  hasCounter_ = ReadHeader(file_, header);
  counter_ = header.counter;
  if (hasCounter_) db_.NoteSchemaVersion(header.schema);
  changes_ = sqlite3_total_changes64(db_.handle());
  undos_ = db_.undoCount();
  version_ = DataVersion();
}

// The main file's handle lives as long as the connection, which outlives the watch.
sqlite3_file* ChangeWatch::MainFile(Database& db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK) {
    return nullptr;
  }
  return file;
}

bool ChangeWatch::Changed() {
  bool changed = false;
  const qint64 changes = sqlite3_total_changes64(db_.handle());
  const qint64 undos = db_.undoCount();
  if (changes != changes_ || undos != undos_) {
    changes_ = changes;
    undos_ = undos;
    changed = true;
  }
  // While the connection holds a lock of the file (in a transaction, or while a statement
  // runs), no other can commit; a commit made before the lock was taken was seen by the
  // pager as it took the lock, which moved its data version. So, with a lock held and the
  // pager's version where it was at a look before, nothing was committed since. (The version
  // is taken before the file is read, and only where it can serve.)
  if (hasCounter_ && sqlite3_txn_state(db_.handle(), "main") != SQLITE_TXN_NONE) {
    unsigned int pager = 0;
    const bool hasPager = PagerVersion(pager);
    if (hasPager && hasPager_ && pager == pager_) return changed;
    pager_ = pager;
    hasPager_ = hasPager;
  }
  // The counter is read before data_version: a commit between the two moves the counter
  // again and is seen at the next look.
  Header header;
  const bool hasCounter = ReadHeader(file_, header);
  if (hasCounter && hasCounter_ && header.counter == counter_) return changed;
  const qint64 version = DataVersion();
  if (version != version_) {
    version_ = version;
    changed = true;
  }
  counter_ = header.counter;
  hasCounter_ = hasCounter;
  // A schema change, of this connection or another's: the schema cookie read with the
  // counter (asked of SQLite only without a header, after a change).
  if ((hasCounter || changed) &&
      db_.NoteSchemaVersion(hasCounter ? header.schema : SchemaVersion(db_))) {
    undos_ = db_.undoCount();
    changed = true;
  }
  return changed;
}

// The pager's data version: moved by every commit the pager makes or finds on taking a lock.
bool ChangeWatch::PagerVersion(unsigned int& version) const {
  return sqlite3_file_control(db_.handle(), "main", SQLITE_FCNTL_DATA_VERSION, &version) ==
         SQLITE_OK;
}

void ChangeWatch::AcceptOwnWrite(int rows) {
  const qint64 changes = sqlite3_total_changes64(db_.handle());
  if (changes - changes_ == rows && db_.undoCount() == undos_) changes_ = changes;
}

// The file change counter (bytes 24 to 27 of the header) and schema cookie (bytes 40 to 43);
// false when the file has no header yet or is in WAL mode (bytes 18 and 19 are 2), where
// commits do not move them.
bool ChangeWatch::ReadHeader(sqlite3_file* file, Header& out) {
  if (!file || !file->pMethods) return false;
  unsigned char header[26];
  if (file->pMethods->xRead(file, header, sizeof header, 18) != SQLITE_OK) return false;
  if (header[0] != 1 || header[1] != 1) return false;
  auto word = [&](int at) {
    return quint32(header[at]) << 24 | quint32(header[at + 1]) << 16 |
           quint32(header[at + 2]) << 8 | quint32(header[at + 3]);
  };
  out.counter = word(24 - 18);
  out.schema = word(40 - 18);
  return true;
}

qint64 ChangeWatch::SchemaVersion(Database& db) {
  Header header;
  if (ReadHeader(MainFile(db), header)) return header.schema;
  Statement st = db.PrepareNative(QStringLiteral("PRAGMA main.schema_version"));
  const qint64 version = st.Step() ? sqlite3_column_int64(st.handle(), 0) : 0;
  st.Reset();
  return version;
}

qint64 ChangeWatch::DataVersion() {
  Statement st = db_.PrepareNative(QStringLiteral("PRAGMA main.data_version"));
  const qint64 version = st.Step() ? sqlite3_column_int64(st.handle(), 0) : 0;
  st.Reset();
  return version;
}

}  // namespace vx::db
