// The state of a record set, shared by the files that implement it.
#pragma once

#include <QString>
#include <QStringList>
#include <unordered_map>
#include <vector>

#include "platform/db/database.h"
#include "platform/db/jet_types.h"
#include "platform/db/recordset.h"

namespace vx::db {

struct RecordsetField {
  QString name;
  QString origin;  // the column of the base table; empty when the field cannot be written
  JetType type;
  int readIndex = -1;  // column of the row read, for fields of the base table
  int slot = -1;       // index among the values kept from the opening, for the others
  int column = -1;     // the first field with the same origin: one write per column
};

struct QStringHash {
  size_t operator()(const QString& s) const noexcept { return qHash(s); }
};

// A criteria text with its literals taken out, translated and prepared once.
struct CriteriaShape {
  bool mappable = true;  // false: the criteria name a field that is no column of the table
  Statement select;      // SELECT rowid, <read columns> FROM base WHERE <criteria>
};

struct Recordset::Impl {
  RecordsetType type = RecordsetType::Dynaset;
  bool updatable = false;
  QString base;  // the table rows are read from and written to
  std::vector<RecordsetField> fields;
  int slotCount = 0;

  long count = 0;               // rows of the set, those deleted through it included
  std::vector<qint64> rowids;   // updatable sets
  std::vector<Variant> stored;  // count * slotCount
  std::vector<char> deleted;    // deleted through this set
  long deletedCount = 0;
  std::unordered_map<qint64, long> positionOf;
  QString readSql;
  QString readList;  // the read columns, joined

  long pos = -1;
  bool bof = true, eof = true;
  std::vector<Variant> current;

  enum class Mode { None, Edit, AddNew } mode = Mode::None;
  std::vector<Variant> pending;        // as Field() gives them back
  std::vector<Variant> pendingStored;  // as they are written
  std::vector<char> dirty;

  QStringList indexColumns;

  // Statements held while the set lives (each is reset after every use).
  Statement read;  // readSql
  std::vector<int> insertFields, updateFields;
  Statement insert, update;
  std::unordered_map<QString, CriteriaShape, QStringHash> shapes;

  // The positions matching the last criteria, while nothing has changed since.
  QString foundCriteria;
  qint64 foundChanges = -1;
  long foundCount = -1;
  std::vector<long> foundPositions;

  // The values of row `i` from a statement whose column `first` onwards are the read columns.
  void Fill(sqlite3_stmt* stmt, int first, long i, std::vector<Variant>& out) const {
    out.resize(fields.size());
    for (size_t k = 0; k < fields.size(); ++k) {
      const RecordsetField& f = fields[k];
      out[k] = f.readIndex >= 0 ? TypedFromStorage(StoredValue(stmt, first + f.readIndex), f.type)
                                : stored[i * slotCount + f.slot];
    }
  }

  void Append(qint64 rowid) {
    rowids.push_back(rowid);
    deleted.push_back(0);
    stored.resize(stored.size() + slotCount, Variant::null());
    positionOf[rowid] = count++;
  }
};

}  // namespace vx::db
