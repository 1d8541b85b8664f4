#include "platform/db/recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "platform/db/jet_tokens.h"
#include "platform/db/jet_translate.h"
#include "platform/db/jet_types.h"
#include "platform/db/recordset_impl.h"

namespace vx::db {

namespace {

// Finalizes a statement prepared for one use.
struct StmtGuard {
  sqlite3_stmt* stmt = nullptr;
  ~StmtGuard() { sqlite3_finalize(stmt); }
};

bool StartsWithSelect(const QString& sql) {
  return sql.size() > 6 && sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive) &&
         !sql[6].isLetterOrNumber() && sql[6] != QLatin1Char('_');
}

// A SELECT text up to the end of its FROM clause: without the WHERE, ORDER BY or any other
// clause that follows it at the top level.
QString UpToFromClause(const QString& sql) {
  static const QStringList kNext = {
      QStringLiteral("where"),  QStringLiteral("group"),     QStringLiteral("having"),
      QStringLiteral("window"), QStringLiteral("order"),     QStringLiteral("limit"),
      QStringLiteral("union"),  QStringLiteral("intersect"), QStringLiteral("except")};
  int depth = 0;
  bool from = false;
  qsizetype at = 0;
  for (const jet::Token& t : jet::Tokenize(sql)) {
    if (t.isOp(QLatin1String("("))) ++depth;
    if (t.isOp(QLatin1String(")"))) --depth;
    if (depth == 0 && t.kind == jet::Tok::Word) {
      if (t.isWord(QLatin1String("from"))) from = true;
      if (from && kNext.contains(t.text, Qt::CaseInsensitive)) return sql.left(at);
    }
    at += t.text.size();
  }
  return sql;
}

}  // namespace

Recordset::Recordset(std::shared_ptr<Database> db, QString source, RecordsetType type)
    : d_(std::make_unique<Impl>()), db_(std::move(db)), source_(std::move(source)) {
  d_->type = type;
  QString sql;
  bool rowSelect = true;
  if (type == RecordsetType::Table) {
    QString table = source_.trimmed();
    if (table.startsWith(QLatin1Char('[')) && table.endsWith(QLatin1Char(']'))) {
      table = table.mid(1, table.size() - 2);
    }
    if (!db_->HasTable(table)) {
      throw DbError(
          QStringLiteral("La tabella '%1' non esiste nel database '%2'").arg(table, db_->path()));
    }
    sql = QStringLiteral("SELECT * FROM ") + jet::QuoteName(table);
  } else {
    const std::vector<jet::Token> tokens = jet::Tokenize(source_);
    sql = db_->TranslateText(source_).trimmed();
    rowSelect = jet::IsRowSelect(tokens);
  }

  sqlite3* h = db_->handle();
  StmtGuard guard;
  bool withRowid = false;
  if (rowSelect && StartsWithSelect(sql)) {
    // The rowid of each row, so that the row can be read again and written. A text over
    // several tables makes the rowid ambiguous: such a set is read-only.
    const QString withId = QStringLiteral("SELECT rowid AS vx_rowid_,") + sql.mid(6);
    const QByteArray injected = withId.toUtf8();
    if (sqlite3_prepare_v2(h, injected.constData(), static_cast<int>(injected.size()), &guard.stmt,
                           nullptr) == SQLITE_OK &&
        guard.stmt && sqlite3_column_table_name(guard.stmt, 0)) {
      withRowid = true;
      d_->base = QString::fromUtf8(sqlite3_column_table_name(guard.stmt, 0));
      d_->head = UpToFromClause(withId);
    } else {
      sqlite3_finalize(guard.stmt);
      guard.stmt = nullptr;
    }
  }
  if (!guard.stmt) {
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(h, utf8.constData(), static_cast<int>(utf8.size()), &guard.stmt,
                           nullptr) != SQLITE_OK) {
      db_->Fail(QStringLiteral("Errore nel testo SQL"), source_);
    }
    if (!guard.stmt) throw DbError(QStringLiteral("Testo SQL vuoto per il record set"));
  }
  d_->updatable = withRowid;
  if (withRowid) {
    // The first look, before the rows are read: a change after it is seen at the next one.
    // A look refused (the file locked by another program) is the opening's failure.
    try {
      d_->watch = std::make_unique<ChangeWatch>(*db_);
    } catch (const DbError&) {
      db_->Fail(QStringLiteral("Errore nella lettura del record set"), source_);
    }
  }

  // The first row before the fields: SQLite prepares the text again as it runs when the schema
  // changed since (through another connection), and the fields are the columns it then has.
  int rc = sqlite3_step(guard.stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    db_->Fail(QStringLiteral("Errore nella lettura del record set"), source_);
  }
  const int first = withRowid ? 1 : 0;
  const int columns = sqlite3_column_count(guard.stmt);
  for (int c = first; c < columns; ++c) {
    RecordsetField f;
    f.name = QString::fromUtf8(sqlite3_column_name(guard.stmt, c));
    const char* origin = sqlite3_column_origin_name(guard.stmt, c);
    const char* decl = sqlite3_column_decltype(guard.stmt, c);
    if (decl) f.type = JetTypeFromDeclared(QString::fromUtf8(decl));
    const QString originName = origin ? QString::fromUtf8(origin) : QString();
    // A field without alias is named as the table names its column.
    if (origin && f.name.compare(originName, Qt::CaseInsensitive) == 0) f.name = originName;
    f.origin = d_->OriginOf(guard.stmt, c);  // none when the set is read-only: no base
    d_->fields.push_back(f);
  }
  for (size_t k = 0; k < d_->fields.size(); ++k) {
    RecordsetField& f = d_->fields[k];
    f.column = static_cast<int>(k);
    for (size_t j = 0; j < k && !f.origin.isEmpty(); ++j) {
      if (d_->fields[j].origin.compare(f.origin, Qt::CaseInsensitive) == 0) {
        f.column = static_cast<int>(j);
        break;
      }
    }
  }
  const size_t n = d_->fields.size();
  d_->rows = RowStore(static_cast<int>(n));

  // Every value of every row, as the opening query gives them.
  std::vector<int> opening(n);
  for (size_t k = 0; k < n; ++k) opening[k] = first + static_cast<int>(k);
  for (; rc == SQLITE_ROW; rc = sqlite3_step(guard.stmt)) {
    d_->rows.Write(d_->rows.AddRow(), guard.stmt, opening);
    if (withRowid) d_->rowids.push_back(sqlite3_column_int64(guard.stmt, 0));
    ++d_->count;
  }
  if (rc != SQLITE_DONE) db_->Fail(QStringLiteral("Errore nella lettura del record set"), source_);
  d_->deleted.assign(d_->count, 0);
  if (withRowid) {
    d_->readAt.assign(d_->count, d_->generation);
    d_->gone.assign(d_->count, 0);
  }
  MoveFirst();
}

Recordset::~Recordset() = default;

// --- rows and position -------------------------------------------------------------------

namespace {

[[noreturn]] void NoCurrent(const QString& source) {
  throw DbError(QStringLiteral("Nessun record corrente nel record set '%1'").arg(source));
}

}  // namespace

// Whether row `i` is there, with its values as they are now (read again when the database
// may have changed since they were read; the last look decides). Rows that must be read
// again are read in a batch from `i` on, in the `step` direction of the walk.
bool Recordset::Load(long i, int step) {
  Impl& d = *d_;
  if (i < 0 || i >= d.count || d.deleted[i]) return false;
  if (!d.updatable) return true;
  if (d.readAt[i] != d.generation) ReadAgain(i, step);
  return !d.gone[i];
}

void Recordset::ReadAgain(long i, int step) {
  Impl& d = *d_;
  // Stale rows among the next ones from `i` on; the current row only when it is the one asked for,
  // so that a row stays as the set showed it until the set moves.
  std::vector<long> batch{i};
  for (long j = i + step, k = 1; k < d.batch && j >= 0 && j < d.count; j += step, ++k) {
    if (!d.deleted[j] && d.readAt[j] != d.generation && j != d.pos) batch.push_back(j);
  }
  size_t marks = 1, size = 0;
  while (marks < batch.size()) marks *= 2, ++size;
  RowRead& read = d.reads[size];
  if (!read.stmt.handle()) {
    QString sql = d.head;
    if (marks == 1) {
      sql += QStringLiteral(" WHERE rowid = ?1");
    } else {
      QStringList list;
      for (size_t m = 1; m <= marks; ++m) list << QLatin1Char('?') + QString::number(m);
      sql += QStringLiteral(" WHERE rowid IN (") + list.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    read.stmt = db_->PrepareNative(sql);
  }
  sqlite3_stmt* stmt = read.stmt.handle();
  for (size_t m = 0; m < marks; ++m) {
    if (m < batch.size()) {
      sqlite3_bind_int64(stmt, int(m) + 1, d.rowids[batch[m]]);
    } else {
      sqlite3_bind_null(stmt, int(m) + 1);
    }
  }
  for (long j : batch) d.gone[j] = 1;  // until found
  try {
    while (read.stmt.Step()) {
      const qint64 rowid = sqlite3_column_int64(stmt, 0);
      for (long j : batch) {
        if (d.rowids[j] == rowid) d.Store(j, read);
      }
    }
  } catch (...) {
    for (long j : batch) d.gone[j] = 0;
    read.stmt.Reset();
    throw;
  }
  read.stmt.Reset();
  for (long j : batch) d.readAt[j] = d.generation;
  d.batch = std::min(d.batch * 2, 64);
}

QString Recordset::Impl::OriginOf(sqlite3_stmt* stmt, int c) const {
  const char* table = sqlite3_column_table_name(stmt, c);
  const char* origin = sqlite3_column_origin_name(stmt, c);
  if (!table || !origin || base.compare(QString::fromUtf8(table), Qt::CaseInsensitive) != 0) {
    return QString();
  }
  return QString::fromUtf8(origin);
}

DbError Recordset::Impl::FieldGone(size_t k) const {
  return DbError(QStringLiteral("Il campo '%1' non è più nella tabella '%2', la cui struttura "
                                "è cambiata: il record set va aperto di nuovo")
                     .arg(fields[k].name, base));
}

void Recordset::Impl::RequireColumns(Database& db) const {
  Statement info = db.PrepareNative(QStringLiteral("SELECT name FROM pragma_table_xinfo(?1)"));
  info.Bind(1, Variant(base));
  QStringList columns;
  while (info.Step()) columns << info.Column(0).str();
  for (size_t k = 0; k < fields.size(); ++k) {
    if (!fields[k].origin.isEmpty() && !columns.contains(fields[k].origin, Qt::CaseInsensitive)) {
      throw FieldGone(k);
    }
  }
}

void Recordset::Impl::MatchColumnsAgain(RowRead& read, int prepared) {
  sqlite3_stmt* stmt = read.stmt.handle();
  const int columns = sqlite3_column_count(stmt);
  std::vector<char> taken(columns, 0);
  read.columns.assign(fields.size(), -1);
  for (size_t k = 0; k < fields.size(); ++k) {
    int& c = read.columns[k];
    // The column of the field's name that reads the field's origin: one the table gained under
    // an alias's name (through "*") is not the alias.
    for (int i = 1; i < columns && c < 0; ++i) {
      if (!taken[i] &&
          fields[k].name.compare(QString::fromUtf8(sqlite3_column_name(stmt, i)),
                                 Qt::CaseInsensitive) == 0 &&
          fields[k].origin.compare(OriginOf(stmt, i), Qt::CaseInsensitive) == 0) {
        c = i;
        taken[i] = 1;
      }
    }
    if (c < 0) throw FieldGone(k);
  }
  read.prepared = prepared;
}

bool Recordset::Eof() const { return d_->eof; }
bool Recordset::Bof() const { return d_->bof; }
long Recordset::RecordCount() const { return d_->count - d_->deletedCount; }
long Recordset::AbsolutePosition() const {
  return d_->bof || d_->eof || d_->deleted[d_->pos] ? -1 : d_->Remaining(d_->pos);
}

void Recordset::MoveFirst() {
  CancelUpdate();
  d_->Look();
  for (long i = 0; i < d_->count; ++i) {
    if (Load(i, 1)) {
      d_->SetCurrent(i);
      return;
    }
  }
  d_->pos = d_->count;
  d_->bof = d_->eof = true;
}

void Recordset::MoveLast() {
  CancelUpdate();
  d_->Look();
  for (long i = d_->count - 1; i >= 0; --i) {
    if (Load(i, -1)) {
      d_->SetCurrent(i);
      return;
    }
  }
  d_->pos = -1;
  d_->bof = d_->eof = true;
}

void Recordset::MoveNext() {
  if (d_->eof) NoCurrent(source_);
  CancelUpdate();
  d_->Look();
  for (long i = d_->bof ? 0 : d_->pos + 1; i < d_->count; ++i) {
    if (Load(i, 1)) {
      d_->SetCurrent(i);
      return;
    }
  }
  d_->pos = d_->count;
  d_->eof = true;
  d_->bof = false;
}

void Recordset::MovePrevious() {
  if (d_->bof) NoCurrent(source_);
  CancelUpdate();
  d_->Look();
  for (long i = d_->eof ? d_->count - 1 : d_->pos - 1; i >= 0; --i) {
    if (Load(i, -1)) {
      d_->SetCurrent(i);
      return;
    }
  }
  d_->pos = -1;
  d_->bof = true;
  d_->eof = false;
}

void Recordset::ReadToEnd(const std::function<void(std::vector<Variant>& values)>& row) {
  if (d_->eof) return;
  CancelUpdate();
  d_->Look();
  std::vector<Variant> values;
  // The current row as the set shows it, as a walk would give it; the next ones as they are.
  long i = d_->bof ? 0 : d_->pos;
  if (!d_->bof && !d_->deleted[i]) {
    d_->RowValues(i++, values);
    row(values);
  }
  for (; i < d_->count; ++i) {
    if (!Load(i, 1)) continue;
    d_->SetCurrent(i);
    d_->RowValues(i, values);
    row(values);
  }
  d_->pos = d_->count;
  d_->eof = true;
  d_->bof = false;
}

// --- fields ------------------------------------------------------------------------------

int Recordset::FieldCount() const { return static_cast<int>(d_->fields.size()); }

QString Recordset::FieldName(int index) const {
  if (index < 0 || index >= FieldCount()) {
    throw DbError(
        QStringLiteral("Campo numero %1 inesistente nel record set '%2'").arg(index).arg(source_));
  }
  return d_->fields[index].name;
}

int Recordset::FieldIndex(const QString& name) const {
  // Loops name the same fields row after row: each name as written is looked up once.
  auto& known = d_->fieldIndexOf;
  if (const auto it = known.find(name); it != known.end()) return it->second;
  const QString n = name.trimmed();
  int index = -1;
  for (size_t k = 0; k < d_->fields.size() && index < 0; ++k) {
    if (d_->fields[k].name.compare(n, Qt::CaseInsensitive) == 0) index = static_cast<int>(k);
  }
  if (known.size() >= 256) known.clear();
  known.emplace(name, index);
  return index;
}

Variant Recordset::Field(const QString& name) const {
  const int k = FieldIndex(name);
  if (k < 0) {
    throw DbError(QStringLiteral("Campo '%1' inesistente nel record set '%2'").arg(name, source_));
  }
  return Field(k);
}

Variant Recordset::Field(int index) const {
  if (index < 0 || index >= static_cast<int>(d_->fields.size())) FieldName(index);  // raises
  // During an Edit the fields not set are the row's.
  if (d_->mode == Impl::Mode::AddNew || (d_->mode == Impl::Mode::Edit && d_->dirty[index])) {
    return d_->pending[index];
  }
  if (d_->bof || d_->eof) NoCurrent(source_);
  if (d_->deleted[d_->pos]) {
    throw DbError(QStringLiteral("Il record corrente di '%1' è stato eliminato").arg(source_));
  }
  return d_->CurrentValue(index);
}

void Recordset::SetField(const QString& name, const Variant& value) {
  const int k = FieldIndex(name);
  if (k < 0) {
    throw DbError(QStringLiteral("Campo '%1' inesistente nel record set '%2'").arg(name, source_));
  }
  if (d_->mode == Impl::Mode::None) {
    throw DbError(QStringLiteral("Il campo '%1' si modifica solo dopo AddNew o Edit").arg(name));
  }
  const RecordsetField& f = d_->fields[k];
  if (f.origin.isEmpty()) {
    throw DbError(QStringLiteral("Il campo '%1' non è aggiornabile").arg(f.name));
  }
  const Variant stored = ConformForWrite(value, f.type, f.name);
  d_->pendingStored[k] = stored;
  d_->pending[k] = TypedFromStorage(stored, f.type);
  d_->dirty[k] = 1;
}

// --- editing -----------------------------------------------------------------------------

void Recordset::RequireUpdatable() const {
  if (!d_->updatable) {
    throw DbError(QStringLiteral("Il record set '%1' non è aggiornabile").arg(source_));
  }
}

void Recordset::AddNew() {
  RequireUpdatable();
  CancelUpdate();
  const size_t n = d_->fields.size();
  d_->pending.assign(n, Variant::null());
  d_->pendingStored.assign(n, Variant::null());
  d_->dirty.assign(n, 0);
  d_->mode = Impl::Mode::AddNew;
}

void Recordset::Edit() {
  RequireUpdatable();
  CancelUpdate();
  if (d_->bof || d_->eof || d_->deleted[d_->pos]) NoCurrent(source_);
  d_->Look();
  if (!Load(d_->pos, 1)) {
    throw DbError(QStringLiteral("Il record corrente di '%1' è stato eliminato").arg(source_));
  }
  d_->pending.assign(d_->fields.size(), Variant::null());
  d_->pendingStored.assign(d_->fields.size(), Variant::null());
  d_->dirty.assign(d_->fields.size(), 0);
  d_->mode = Impl::Mode::Edit;
}

void Recordset::CancelUpdate() {
  d_->mode = Impl::Mode::None;
  d_->pending.clear();
  d_->pendingStored.clear();
  d_->dirty.clear();
}

void Recordset::Update() {
  if (d_->mode == Impl::Mode::None) {
    throw DbError(QStringLiteral("Update senza AddNew o Edit nel record set '%1'").arg(source_));
  }
  // The changed fields, one per column of the table (the last value set wins).
  std::vector<int> changed;
  for (int k = 0; k < FieldCount(); ++k) {
    if (!d_->dirty[k]) continue;
    auto same = std::find_if(changed.begin(), changed.end(),
                             [&](int j) { return d_->fields[j].column == d_->fields[k].column; });
    if (same != changed.end()) {
      *same = k;
    } else {
      changed.push_back(k);
    }
  }
  // A look before the write, so that the write alone is taken as the set's own; unless it may
  // have deleted rows without counting them, when the next look takes it as any change.
  d_->Look();
  // The current row is read back after the write once anything changed since it was read: it
  // is read before, so that a field the table no longer has fails the Update before it writes.
  // The edit is then dropped, as when the row is read back.
  if (!d_->bof && !d_->eof) {
    try {
      Load(d_->pos, 1);
    } catch (const DbError&) {
      CancelUpdate();
      throw;
    }
  }
  const bool mayDelete = d_->WriteMayDelete(*db_);
  const bool edited = d_->mode == Impl::Mode::Edit && !changed.empty();
  // Whether the row's kept values were the table's up to the write.
  const bool fresh = edited && d_->readAt[d_->pos] == d_->generation;
  if (d_->mode == Impl::Mode::AddNew) {
    if (!d_->insert.handle() || changed != d_->insertFields) {
      const QString table = jet::QuoteName(d_->base);
      QString sql;
      if (changed.empty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
      } else {
        QStringList names, marks;
        for (size_t i = 0; i < changed.size(); ++i) {
          names << jet::QuoteName(d_->fields[changed[i]].origin);
          marks << QLatin1Char('?') + QString::number(i + 1);
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
      }
      d_->insert = db_->PrepareNative(sql);
      d_->insertFields = changed;
    }
    for (size_t i = 0; i < changed.size(); ++i) {
      BindVariant(d_->insert.handle(), static_cast<int>(i) + 1, d_->pendingStored[changed[i]]);
    }
    const int inserted = d_->insert.Run();
    if (!mayDelete) d_->watch->AcceptOwnWrite(inserted);
    d_->Append(sqlite3_last_insert_rowid(db_->handle()));
  } else if (edited) {
    if (!d_->update.handle() || changed != d_->updateFields) {
      QStringList sets;
      for (size_t i = 0; i < changed.size(); ++i) {
        sets << jet::QuoteName(d_->fields[changed[i]].origin) + QStringLiteral(" = ?") +
                    QString::number(i + 1);
      }
      d_->update =
          db_->PrepareNative(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                 .arg(jet::QuoteName(d_->base), sets.join(QLatin1String(", ")))
                                 .arg(changed.size() + 1));
      d_->updateFields = changed;
    }
    for (size_t i = 0; i < changed.size(); ++i) {
      BindVariant(d_->update.handle(), static_cast<int>(i) + 1, d_->pendingStored[changed[i]]);
    }
    sqlite3_bind_int64(d_->update.handle(), static_cast<int>(changed.size()) + 1,
                       d_->rowids[d_->pos]);
    const int updated = d_->update.Run();
    if (updated == 0) {
      CancelUpdate();
      throw DbError(
          QStringLiteral("Il record corrente di '%1' è stato eliminato da un altro utente")
              .arg(source_));
    }
    if (!mayDelete) d_->watch->AcceptOwnWrite(updated);
  }
  // The current row stays the one before AddNew, as it is now. After an Edit it holds what
  // was written, unless anything else changed meanwhile: then it is read back as the table
  // holds it.
  const quint32 generation = d_->generation;
  d_->Look();
  if (edited && !(fresh && d_->generation == generation && d_->KeepWritten(*db_, changed))) {
    d_->readAt[d_->pos] = 0;
  }
  CancelUpdate();
  if (!d_->bof && !d_->eof) Load(d_->pos, 1);
}

// --- the values the set's own UPDATE leaves -----------------------------------------------

bool Recordset::Impl::KeepWritten(Database& db, const std::vector<int>& changed) {
  // Worked out again after a schema change through the connection (which counts as an undo).
  if (writeAffinity.empty() || writeAffinityUndos != db.undoCount()) {
    writeAffinityUndos = db.undoCount();
    struct Column {
      Affinity affinity;
      bool key, notNull;
    };
    std::unordered_map<QString, Column, QStringHash> columns;  // by the name in lower case
    bool computed = false;
    Statement info = db.PrepareNative(
        QStringLiteral("SELECT name, type, pk, hidden, \"notnull\" FROM pragma_table_xinfo(?1)"));
    info.Bind(1, Variant(base));
    while (info.Step()) {
      const qint64 hidden = info.Column(3).toLong();
      // Generated columns follow the others.
      if (hidden == 2 || hidden == 3) computed = true;
      columns[info.Column(0).str().toLower()] = {AffinityOf(info.Column(1).str()),
                                                 info.Column(2).toLong() != 0,
                                                 info.Column(4).toLong() != 0};
    }
    writeAffinity.assign(fields.size(), std::nullopt);
    writeNotNull.assign(fields.size(), 0);
    // A field the query computes may depend on the columns written.
    for (const RecordsetField& f : fields) computed = computed || f.origin.isEmpty();
    for (size_t k = 0; k < fields.size() && !computed; ++k) {
      const auto it = columns.find(fields[k].origin.toLower());
      // A key column may be the rowid itself.
      if (it == columns.end() || it->second.key) continue;
      writeAffinity[k] = it->second.affinity;
      writeNotNull[k] = it->second.notNull;
    }
  }
  std::vector<Variant>& written = keptWritten;
  written.resize(changed.size());
  for (size_t j = 0; j < changed.size(); ++j) {
    const int k = changed[j];
    if (!writeAffinity[k]) return false;
    // Null into a NOT NULL column may have been replaced by the column's default.
    if (writeNotNull[k] && pendingStored[k].isNull()) return false;
    std::optional<Variant> stored = StoredAfterWrite(pendingStored[k], *writeAffinity[k]);
    if (!stored) return false;
    written[j] = std::move(*stored);
  }
  // Every field of a written column (one column may be selected under two names) takes its
  // value; the others keep theirs.
  std::vector<const Variant*>& values = keptValues;
  values.assign(fields.size(), nullptr);
  for (size_t k = 0; k < fields.size(); ++k) {
    for (size_t j = 0; j < changed.size(); ++j) {
      if (fields[changed[j]].column == fields[k].column) values[k] = &written[j];
    }
  }
  rows.Write(pos, values);
  readAt[pos] = generation;
  gone[pos] = 0;
  ForgetCurrent();
  return true;
}

void Recordset::Delete() {
  RequireUpdatable();
  CancelUpdate();
  if (d_->bof || d_->eof || d_->deleted[d_->pos]) NoCurrent(source_);
  Statement del = db_->PrepareNative(
      QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(jet::QuoteName(d_->base)));
  sqlite3_bind_int64(del.handle(), 1, d_->rowids[d_->pos]);
  d_->Look();
  d_->watch->AcceptOwnWrite(del.Run());
  d_->deleted[d_->pos] = 1;
  d_->deletedAt.insert(std::upper_bound(d_->deletedAt.begin(), d_->deletedAt.end(), d_->pos),
                       d_->pos);
  ++d_->deletedCount;
}

bool Recordset::Impl::WriteMayDelete(Database& db) {
  if (writeMayDelete && writeMayDeleteUndos == db.undoCount()) return *writeMayDelete;
  writeMayDeleteUndos = db.undoCount();
  bool mayDelete = false;
  Statement table = db.PrepareNative(QStringLiteral(
      "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
  table.Bind(1, Variant(base));
  if (table.Step()) {
    // ON CONFLICT REPLACE of a UNIQUE or PRIMARY KEY constraint deletes the rows in the way
    // (an index cannot declare it); that of NOT NULL writes the column's default instead.
    try {
      const std::vector<jet::Token> t = jet::Significant(jet::Tokenize(table.Column(0).str()));
      for (size_t i = 0; i + 1 < t.size() && !mayDelete; ++i) {
        mayDelete = t[i].isWord(QLatin1String("conflict")) &&
                    t[i + 1].isWord(QLatin1String("replace")) &&
                    !(i >= 3 && t[i - 3].isWord(QLatin1String("not")) &&
                      t[i - 2].isWord(QLatin1String("null")));
      }
    } catch (const DbError&) {
      mayDelete = true;  // a text our reading does not follow: taken as one that may
    }
  }
  writeMayDelete = mayDelete;
  return mayDelete;
}

}  // namespace vx::db
