// The database layer: SQLite files used the way the program's Jet-era code expects.
//
// - A database is opened by path (a Windows path is mapped onto the data root); opening
//   never creates a file. The process keeps one connection per file, shared by every user.
// - SQL texts are written in Jet's dialect and translated (see jet_sql.h).
// - Errors of any kind are DbError, with a message that names the path, the SQL text, the
//   field or the value concerned; one whose cause is common (in use, read-only, disk full,
//   damaged, missing) starts with the operator's sentence of it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/variant.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vx::db {

// What kind of failure an error is, for the windows that answer some of them apart. OffDrive:
// the data-drive rule refused the path (see Database::OpenOnDrive).
enum class DbErrorKind { Other, InUse, ReadOnly, DiskFull, Damaged, Missing, OffDrive };

// The parts of an error's text: the operator's sentence of what happened; the same said of a
// file already named ("è in uso da un altro programma"), empty where there is no such short
// form; and the technical text, empty where there is none.
struct DbErrorText {
  QString sentence;
  QString reason;
  QString technical;
};

// A sentence, then " Dettaglio tecnico: " and the technical text when there is one.
QString WithDetail(const QString& sentence, const QString& technical);

class DbError : public std::runtime_error {
 public:
  // An error said in one text, with no technical part.
  explicit DbError(const QString& message, DbErrorKind kind = DbErrorKind::Other)
      : DbError(kind, DbErrorText{message, QString(), QString()}) {}
  // The operator's sentence of the kind for the file at path (a Windows or host path, "" when
  // not known) first, "Il database 'C:\\x.mdb' è in uso da un altro programma.", then the
  // technical text. A failure of kind Other is said by the technical text alone.
  DbError(DbErrorKind kind, const QString& path, const QString& technical);
  DbError(DbErrorKind kind, DbErrorText text);
  // The cause met by a step, told with the step's words (`context`) before the cause's
  // sentence; the kind, the short form and the technical text stay the cause's, so that
  // wrapping again repeats neither the sentence nor the detail.
  DbError(const QString& context, const DbError& cause);

  QString message() const { return QString::fromUtf8(what()); }
  DbErrorKind kind() const { return kind_; }
  const QString& sentence() const { return text_.sentence; }
  const QString& reason() const { return text_.reason; }
  const QString& technical() const { return text_.technical; }

 private:
  DbErrorKind kind_;
  DbErrorText text_;
};

// The kind of an SQLite result code (primary or extended).
DbErrorKind ErrorKindOf(int sqliteResult);

// The words of a supplier's database that could not be opened (the data-drive rule refused
// it, or the open failed), naming the file once: "Impossibile aprire il database <path>: il
// file non è un database o è danneggiato. Dettaglio tecnico: file is not a database".
QString CannotOpenText(const QString& path, const DbError& e);
// Words that name a file and what was done with it (`about`) followed by the error's short
// form and its detail: "Errore nell'archivio C:\x.mdb: è in uso da un altro programma.
// Dettaglio tecnico: database is locked". Empty for an error without a short form.
QString FileErrorText(const QString& about, const DbError& e);

// One quoting helper for values that must go into an SQL text.
// Quote("l'ape") is "'l''ape'". LikeLiteral gives the text to put between the quotes of a
// Jet LIKE pattern so that it matches itself: the metacharacters "*", "?", "#" and "[" are
// escaped and quotes doubled ("desart like '*" & LikeLiteral(t) & "*'").
QString Quote(const QString& text);
QString LikeLiteral(const QString& text);
// As LikeLiteral, but "*", "?" and "#" (one digit) stay wildcards: the operator's search text
// with its wildcards, every other character ("[", "]", "%", "_", the quote) matching itself.
QString LikeWildcardLiteral(const QString& text);

struct FieldDef {
  QString name;
  QString declaredType;  // as declared: "TEXT(13)", "SINGLE", "INT", "DATE", ...
};

struct TableDef {
  QString name;
  std::vector<FieldDef> fields;
};

class Recordset;
class Statement;

enum class RecordsetType { Dynaset, Table };

class Database : public std::enable_shared_from_this<Database> {
 public:
  // The shared connection for the file; DbError naming the path when it does not exist or
  // cannot be opened.
  static std::shared_ptr<Database> Open(const QString& path);
  // As Open, for a path read from the stored data: only a drive path ("C:\\...", "\\...")
  // that stays inside the data root is opened. Any other path, or one with a link on the way
  // that leads out of the root, is a DbError of kind OffDrive naming it and that link, and
  // nothing is read.
  static std::shared_ptr<Database> OpenOnDrive(const QString& path);
  ~Database();

  const QString& path() const { return path_; }      // as the caller named it
  const QString& hostPath() const { return host_; }  // on this machine

  // Runs a Jet SQL text (DML or DDL); returns the number of rows changed.
  int Execute(const QString& jetSql);
  // Runs an SQL text with ? placeholders bound to the values. Literals and values written by
  // INSERT ... VALUES and UPDATE ... SET are fitted to their columns as a record set's write
  // fits them (ConformForWrite), with the same errors.
  int Execute(const QString& jetSql, const std::vector<Variant>& params);

  // A Jet SQL text or, with RecordsetType::Table, a table name.
  std::unique_ptr<Recordset> OpenRecordset(const QString& source,
                                           RecordsetType type = RecordsetType::Dynaset);

  // A prepared statement on a Jet SQL text with ? placeholders, cached per text.
  Statement Prepare(const QString& jetSql);

  // Table definitions with their fields, read afresh at each call (the "refresh").
  std::vector<TableDef> TableDefs();
  std::vector<FieldDef> Fields(const QString& table);  // empty when there is no such table
  bool HasTable(const QString& table);

  // Transactions nest: the outermost is a transaction, inner ones are savepoints.
  void BeginTrans();
  void CommitTrans();
  void Rollback();
  int transactionDepth() const { return depth_; }

  sqlite3* handle() const { return db_; }

  // A prepared statement on a text already in SQLite's dialect, cached per text.
  Statement PrepareNative(const QString& sqliteSql);
  // DbError with SQLite's message for the connection, the path and the SQL text concerned;
  // its kind from the result code rc, or from the connection's last one when rc is 0.
  [[noreturn]] void Fail(const QString& what, const QString& sql, int rc = 0) const;

  // Declared type of a column (upper case, "" when unknown); cached per table, forgotten
  // when the schema changes, through this connection or another (see CheckSchema).
  QString ColumnType(const QString& table, const QString& column);
  void ForgetSchema();
  // Forgets the cached layout when the file's schema version moved since it was last seen
  // (read from the header without a lock, as the change watch reads it; not again inside a
  // transaction). NoteSchemaVersion takes a version read elsewhere and tells whether it moved.
  void CheckSchema();
  bool NoteSchemaVersion(qint64 version);

  // Rollbacks and schema changes through this connection so far: after one, values read
  // before may no longer hold although the count of changed rows did not move.
  qint64 undoCount() const { return undos_; }

 private:
  Database(QString path, QString host, sqlite3* db);
  // A Jet text in SQLite's dialect, with the values it writes fitted to their columns.
  struct Translation;
  const Translation& Translated(const QString& jetSql);
  Translation Translate(const QString& jetSql);
  QString TranslateText(const QString& jetSql);
  QString path_, host_;
  sqlite3* db_ = nullptr;
  int depth_ = 0;
  qint64 undos_ = 0;
  qint64 schemaVersion_ = -1;  // -1: not seen yet
  struct Cache;
  std::unique_ptr<Cache> cache_;
  friend class Recordset;
  friend class Statement;
};

// Write transactions open in the process, over every database (outermost ones only). While
// any is open, yields let no user input run (see ui::DoEvents).
int OpenWriteTransactions();
// Called each time the count above falls back to 0.
void OnWriteTransactionsEnded(std::function<void()> callback);

// Commits at Commit(), rolls back when destroyed before that.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) { db_.BeginTrans(); }
  ~Transaction();
  void Commit();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

 private:
  Database& db_;
  bool done_ = false;
};

// A prepared statement; values are bound by position from 1 and conformed to nothing:
// the caller binds what the column should hold.
class Statement {
 public:
  Statement();
  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) noexcept;
  ~Statement();

  Statement& Bind(int index, const Variant& v);
  Statement& Reset();               // ready to run again, bindings kept
  bool Step();                      // true while a row is there
  int Run();                        // steps to the end, returns the rows changed, resets
  Variant Column(int index) const;  // from 0
  int ColumnCount() const;
  sqlite3_stmt* handle() const { return stmt_; }

 private:
  friend class Database;
  Statement(std::shared_ptr<Database> db, sqlite3_stmt* stmt, QString sql, bool* inUse);
  void Release();
  // The Jet types of the result columns, worked out from their declared types once rather
  // than at every read; kept while the declared type stays the same text.
  struct ColumnTypes;
  mutable std::unique_ptr<ColumnTypes> types_;
  std::shared_ptr<Database> db_;
  sqlite3_stmt* stmt_ = nullptr;  // owned by the database's cache, unless inUse_ is null
  QString sql_;
  bool* inUse_ = nullptr;  // the cache entry's mark, cleared when this lets go
};

}  // namespace vx::db
