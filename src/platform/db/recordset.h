// A record set as the program's code walks it.
//
// Dynaset (from an SQL text): the rows are fixed when it opens; a row changed through another
// record set or another connection or process shows its new values when the record set moves
// onto it (the values read by the opening query serve while the database has not changed
// since), the fields the query computes computed again; rows deleted elsewhere are passed over;
// rows added through AddNew/Update are appended and found by a later FindFirst; a column
// selected under an alias is written to its source column. The set's own write that deletes
// other rows through a REPLACE conflict of the table counts as a change like any other.
// Table mode (from a table name): Index and Seek "=" on one key value, NoMatch.
//
// A schema change (through this connection or another program): a set opened afterwards has
// the table's fields as they are now; a set open across it reads its rows again by the names of
// its fields and the columns they read (a column the table gains under an alias's name is not
// the alias), or raises DbError naming a field the table no longer has at its next move, or at
// an Update while on a row, which then writes nothing.
//
// What the watch for changes assumes:
// - It reads the database header without a lock, which holds only when the programs that write
//   the same files run on this machine: over a network share a client's cache can serve a
//   stale header for seconds, and a change made meanwhile is seen late.
// - Rows are known by their rowid. Another program's VACUUM renumbers the rowids of a table
//   without an INTEGER PRIMARY KEY (no table the program ships has one), and so does a delete
//   followed by an insert, which reuses the last rowid: a set open across either may show a
//   new row in an old row's place. The windows find their rows by key.
//
// Fields are named without regard to case. Values written are conformed to the column's
// Jet type (single precision, whole numbers rounded half to even, text(n) refused when
// longer, Italian number text, dates); a value that cannot be stored raises DbError naming
// the field and the value.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/db/database.h"

namespace vx::db {

class Recordset {
 public:
  ~Recordset();

  // Position. EOF and BOF are spelled Eof()/Bof(): EOF is a C macro.
  bool Eof() const;
  bool Bof() const;
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrevious();
  // Rows of the record set, those added through it included, those deleted through it not.
  long RecordCount() const;
  // The current row's position from 0 among the rows RecordCount counts: a row deleted
  // through the set moves those after it up by one. -1 when there is none (at BOF or EOF, or
  // on the row just deleted).
  long AbsolutePosition() const;

  // Jet criteria text ("codcommesso = 1", "vedovo = '800...'", "desart like '*PASTA*'").
  // FindFirst searches from the first row, FindNext from the row after the current one;
  // on no match the position stays and NoMatch() is true.
  bool FindFirst(const QString& criteria);
  bool FindNext(const QString& criteria);
  bool NoMatch() const { return noMatch_; }

  // Table mode only.
  void SetIndex(const QString& indexName);
  bool Seek(const QString& op, const Variant& key);  // op is "="

  // Editing: AddNew or Edit, set fields, Update; CancelUpdate drops the pending values.
  void AddNew();
  void Edit();
  void Update();
  void CancelUpdate();
  void Delete();  // the current row; the position stays on the deleted row until a move

  // The rows from the current one to the last, as MoveNext walks them, with one look at the
  // database for them all: `row` gets each row's fields in order, in a vector it may move
  // from, and must not change the database. The set is at EOF afterwards. For filling a grid
  // or a list from a set at the speed of its opening query.
  void ReadToEnd(const std::function<void(std::vector<Variant>& values)>& row);

  // Fields of the current row (or of the pending AddNew/Edit). By index inside loops: a name
  // is looked up once, an index not at all.
  Variant Field(const QString& name) const;
  Variant Field(int index) const;
  void SetField(const QString& name, const Variant& value);
  int FieldCount() const;
  QString FieldName(int index) const;
  int FieldIndex(const QString& name) const;  // -1 when absent

  // rs("desart") reads; rs("desart") = v writes (during AddNew/Edit).
  class FieldRef {
   public:
    FieldRef(Recordset& rs, QString name) : rs_(rs), name_(std::move(name)) {}
    operator Variant() const { return rs_.Field(name_); }
    Variant value() const { return rs_.Field(name_); }
    FieldRef& operator=(const Variant& v) {
      rs_.SetField(name_, v);
      return *this;
    }

   private:
    Recordset& rs_;
    QString name_;
  };
  FieldRef operator()(const QString& name) { return FieldRef(*this, name); }
  Variant operator()(const QString& name) const { return Field(name); }

  Database& database() const { return *db_; }
  const QString& source() const { return source_; }

 private:
  friend class Database;
  Recordset(std::shared_ptr<Database> db, QString source, RecordsetType type);
  bool Load(long index, int step);
  void ReadAgain(long index, int step);
  bool Find(const QString& criteria, long from);
  bool MatchingPositions(const QString& criteria, long from, long& found);
  void RequireUpdatable() const;
  struct Impl;
  std::unique_ptr<Impl> d_;
  std::shared_ptr<Database> db_;
  QString source_;
  bool noMatch_ = false;
};

}  // namespace vx::db
