// The state of a record set, shared by the files that implement it.
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/db/change_watch.h"
#include "platform/db/database.h"
#include "platform/db/jet_types.h"
#include "platform/db/recordset.h"
#include "platform/db/row_store.h"

namespace vx::db {

struct RecordsetField {
  QString name;
  QString origin;  // the column of the base table; empty when the field cannot be written
  JetType type;
  int column = -1;  // the first field with the same origin: one write per column
};

struct QStringHash {
  size_t operator()(const QString& s) const noexcept { return qHash(s); }
};

// A statement that reads rows of an updatable set: the rowid, then the set's select list over
// its FROM clause (Impl::head), so that a computed field is computed again with its row.
// Its columns are matched to the fields by name and origin whenever SQLite has prepared it
// (again): a schema change never shifts a value into another field.
struct RowRead {
  Statement stmt;
  std::vector<int> columns;  // per field
  int prepared = -1;         // the statement's count of preparations when they were matched
};

// A criteria text with its literals taken out, translated and prepared once.
struct CriteriaShape {
  bool mappable = true;  // false: the criteria name a field that is no column of the table
  RowRead select;        // <head> WHERE <criteria>
};

// The values of every row are kept from the opening query (or from the last reading of the
// row). An updatable set looks at the database at each move: while nothing has changed since
// a row's values were read, they are the row as it is now; once anything may have changed,
// each row is read again, in batches along the walk, when the set comes onto it: every field,
// those the query computes included.
struct Recordset::Impl {
  RecordsetType type = RecordsetType::Dynaset;
  bool updatable = false;
  QString base;  // the table rows are read from and written to
  std::vector<RecordsetField> fields;
  std::unordered_map<QString, int, QStringHash> fieldIndexOf;  // by the name as asked for

  long count = 0;               // rows of the set, those deleted through it included
  RowStore rows;                // the values, by position
  std::vector<qint64> rowids;   // updatable sets
  std::vector<char> deleted;    // deleted through this set
  std::vector<long> deletedAt;  // their positions, in order
  long deletedCount = 0;
  // "SELECT rowid AS vx_rowid_, <select list> FROM <from clause>": the opening query without
  // its WHERE and ORDER BY, for reading rows again.
  QString head;

  // Updatable sets: what has changed since the values were read.
  std::unique_ptr<ChangeWatch> watch;
  quint32 generation = 1;       // advanced whenever the database may have changed
  std::vector<quint32> readAt;  // the generation each row's values were read at; 0: unread
  std::vector<char> gone;       // not found at that reading: deleted elsewhere
  int batch = 1;                // rows to read at once; doubles while the reads pay off

  long pos = -1;
  bool bof = true, eof = true;
  // Where the current row's fields start among its kept values, found when first asked for.
  std::vector<quint32> currentOffsets;
  bool offsetsKnown = false;

  enum class Mode { None, Edit, AddNew } mode = Mode::None;
  std::vector<Variant> pending;        // the values set, as Field() gives them back
  std::vector<Variant> pendingStored;  // as they are written
  std::vector<char> dirty;

  QStringList indexColumns;

  // Statements held while the set lives (each is reset after every use).
  std::array<RowRead, 7> reads;  // rows read again by rowid: 1, 2, 4, ... 64 at once
  std::vector<int> insertFields, updateFields;
  Statement insert, update;
  // Per field, the affinity of its column, for the values the set's own UPDATE leaves in the
  // row; nullopt where the row is read back instead (a key column, a table with computed
  // columns; every field where the query computes one). Worked out at the first UPDATE.
  std::vector<std::optional<Affinity>> writeAffinity;
  std::vector<char> writeNotNull;
  qint64 writeAffinityUndos = 0;  // the connection's undo count when they were worked out
  // Whether the table declares a REPLACE conflict, so that the set's own write may delete
  // other rows without counting them; worked out at the first write, again after an undo.
  std::optional<bool> writeMayDelete;
  qint64 writeMayDeleteUndos = 0;
  std::vector<Variant> keptWritten;  // KeepWritten's room, kept between calls
  std::vector<const Variant*> keptValues;
  std::unordered_map<QString, CriteriaShape, QStringHash> shapes;

  // The position of each rowid, made when first needed.
  std::unordered_map<qint64, long> positionOf;
  bool positionsKnown = false;

  // The positions matching the last criteria, while nothing has changed since.
  QString foundCriteria;
  qint64 foundChanges = -1;
  quint32 foundGeneration = 0;
  long foundCount = -1;
  std::vector<long> foundPositions;

  // After the set's own UPDATE of the `changed` fields of the current row, with nothing else
  // changed since its values were read: keeps the values written as the row's, as the table
  // now holds them. False (nothing kept) where it cannot tell them without reading the row.
  bool KeepWritten(Database& db, const std::vector<int>& changed);

  // Advances the generation when the database may have changed since the last look.
  void Look() {
    if (watch && watch->Changed()) {
      ++generation;
      batch = 1;
    }
  }

  // Makes `i` the current row.
  void SetCurrent(long i) {
    pos = i;
    bof = eof = false;
    ForgetCurrent();
  }
  void ForgetCurrent() { offsetsKnown = false; }

  Variant CurrentValue(int k) {
    if (!offsetsKnown) {
      rows.FieldOffsets(pos, currentOffsets);
      offsetsKnown = true;
    }
    return rows.Value(pos, currentOffsets[k], fields[k].type);
  }

  // Every value of row `i`, which has values.
  void RowValues(long i, std::vector<Variant>& out) const {
    rows.FieldOffsets(i, rowOffsets);
    out.resize(fields.size());
    for (size_t k = 0; k < fields.size(); ++k) {
      out[k] = rows.Value(i, rowOffsets[k], fields[k].type);
    }
  }
  // RowValues' offsets, kept so that a walk over many rows allocates them once.
  mutable std::vector<quint32> rowOffsets;

  // Row `i`'s values from a read statement's current row, as they are at this generation.
  void Store(long i, RowRead& read) {
    MatchColumns(read);
    rows.Write(i, read.stmt.handle(), read.columns);
    readAt[i] = generation;
    gone[i] = 0;
    if (i == pos) ForgetCurrent();
  }
  // Matches the statement's columns to the fields once it has run (SQLite prepares it again
  // after a schema change); DbError naming a field whose column is no longer there.
  void MatchColumns(RowRead& read) {
    const int prepared = sqlite3_stmt_status(read.stmt.handle(), SQLITE_STMTSTATUS_REPREPARE, 0);
    if (prepared != read.prepared) MatchColumnsAgain(read, prepared);
  }
  void MatchColumnsAgain(RowRead& read, int prepared);
  // The error of field k, whose column the table no longer has.
  DbError FieldGone(size_t k) const;
  // Throws FieldGone for the first field whose column the base table no longer has: what a
  // statement on the set's select list that failed meant, once the table changed.
  void RequireColumns(Database& db) const;
  // The column of the base table that column `c` of a statement reads, as a field's origin;
  // empty where it reads none (an expression, another table).
  QString OriginOf(sqlite3_stmt* stmt, int c) const;

  // Whether the set's own write on the table may delete rows it does not count.
  bool WriteMayDelete(Database& db);

  const std::unordered_map<qint64, long>& Positions() {
    if (!positionsKnown) {
      positionOf.reserve(count);
      for (long i = 0; i < count; ++i) positionOf.emplace(rowids[i], i);
      positionsKnown = true;
    }
    return positionOf;
  }

  // The position of row `i` among the rows not deleted through the set.
  long Remaining(long i) const {
    return i - long(std::lower_bound(deletedAt.begin(), deletedAt.end(), i) - deletedAt.begin());
  }

  void Append(qint64 rowid) {
    rowids.push_back(rowid);
    deleted.push_back(0);
    readAt.push_back(0);
    gone.push_back(0);
    rows.AddRow();
    if (positionsKnown) positionOf[rowid] = count;
    ++count;
  }
};

}  // namespace vx::db
