#include "platform/db/database.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QHash>
#include <atomic>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/db/change_watch.h"
#include "platform/db/jet_sql.h"
#include "platform/db/jet_tokens.h"
#include "platform/db/jet_translate.h"
#include "platform/db/jet_types.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"

namespace vx::db {

namespace {

struct QStringHasher {
  size_t operator()(const QString& s) const noexcept { return qHash(s); }
};

// One connection per database file, by canonical host path. Recursive: a connection that
// fails while being opened is let go with the lock held.
std::recursive_mutex& RegistryMutex() {
  static std::recursive_mutex m;
  return m;
}
std::unordered_map<QString, std::weak_ptr<Database>, QStringHasher>& Registry() {
  static std::unordered_map<QString, std::weak_ptr<Database>, QStringHasher> r;
  return r;
}

constexpr size_t kMaxCachedStatements = 400;
constexpr size_t kMaxCachedTranslations = 400;
constexpr int kBusyTimeoutMs = 5000;

std::atomic<int> g_writeTransactions{0};

std::vector<std::function<void()>>& EndedCallbacks() {
  static std::vector<std::function<void()>> callbacks;
  return callbacks;
}

void WriteTransactionOpened() { ++g_writeTransactions; }
void WriteTransactionClosed() {
  if (--g_writeTransactions == 0) {
    for (const auto& callback : EndedCallbacks()) callback();
  }
}

}  // namespace

DbErrorKind ErrorKindOf(int sqliteResult) {
  switch (sqliteResult & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DbErrorKind::InUse;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return DbErrorKind::ReadOnly;
    case SQLITE_FULL:
      return DbErrorKind::DiskFull;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return DbErrorKind::Damaged;
    case SQLITE_CANTOPEN:
      return DbErrorKind::Missing;
    default:
      return DbErrorKind::Other;
  }
}

namespace {

// SQLite's message for the connection, with the unknown-name error said in the program's
// words, naming the column.
QString ErrorText(sqlite3* db) {
  const QString raw = QString::fromUtf8(sqlite3_errmsg(db));
  static const QLatin1String kNoColumn("no such column: ");
  if (raw.startsWith(kNoColumn)) {
    return QStringLiteral("il campo '%1' non esiste").arg(raw.mid(kNoColumn.size()));
  }
  return raw;
}

// An error of the engine on the database at path: the sentence of a common kind, else what
// failed where; the technical text is the engine's and the statement's.
DbError EngineError(DbErrorKind kind, const QString& path, const QString& what,
                    const QString& engineText, const QString& sql) {
  QString technical = engineText;
  if (!sql.isEmpty()) technical += QStringLiteral(" [SQL: %1]").arg(sql);
  if (kind == DbErrorKind::Other) {
    return DbError(kind,
                   {QStringLiteral("%1 nel database '%2'.").arg(what, path), QString(), technical});
  }
  return DbError(kind, path, technical);
}

// A database that could not be opened, with SQLite's result and text.
DbError OpenError(int rc, const QString& path, const QString& engineText) {
  const DbErrorKind kind = ErrorKindOf(rc);
  if (kind == DbErrorKind::Other) {
    return DbError(kind, {QStringLiteral("Impossibile aprire il database '%1'.").arg(path),
                          QString(), engineText});
  }
  return DbError(kind, path, engineText);
}

bool IsSchemaText(const QString& sql) {
  const QString head = sql.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
  return head == QLatin1String("create") || head == QLatin1String("alter") ||
         head == QLatin1String("drop");
}

}  // namespace

struct Database::Translation {
  QString sql;
  // The column each ? writes, when it is a whole value of an INSERT or UPDATE.
  std::vector<std::optional<std::pair<JetType, QString>>> params;
};

namespace {

// The tables a DML text names (after FROM, JOIN, UPDATE, INTO).
QStringList TablesNamed(const std::vector<jet::Token>& tokens) {
  const std::vector<jet::Token> t = jet::Significant(tokens);
  QStringList out;
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    const bool from = t[i].isWord(QLatin1String("from"));
    if (!(from || t[i].isWord(QLatin1String("join")) || t[i].isWord(QLatin1String("update")) ||
          t[i].isWord(QLatin1String("into")))) {
      continue;
    }
    for (size_t j = i + 1; j < t.size() && t[j].isName(); j += 2) {
      if (!out.contains(t[j].name(), Qt::CaseInsensitive)) out << t[j].name();
      if (!from || j + 2 >= t.size() || !t[j + 1].isOp(QLatin1String(","))) break;
    }
  }
  return out;
}

std::optional<Variant> LiteralValue(const std::vector<jet::Token>& t) {
  using jet::Tok;
  auto number = [](const QString& text, bool negative) {
    const bool real =
        text.contains(QLatin1Char('.')) || text.contains(QLatin1Char('e'), Qt::CaseInsensitive);
    if (real) return Variant(negative ? -text.toDouble() : text.toDouble());
    return Variant(negative ? -text.toLongLong() : text.toLongLong());
  };
  if (t.size() == 1) {
    switch (t[0].kind) {
      case Tok::String:
        return Variant(t[0].value);
      case Tok::Number:
        return number(t[0].text, false);
      case Tok::Date:
        return Variant::fromDayNumber(jet::JetDateLiteral(t[0].value));
      case Tok::Word:
        if (t[0].isWord(QLatin1String("null"))) return Variant::null();
        if (t[0].isWord(QLatin1String("true"))) return Variant(true);
        if (t[0].isWord(QLatin1String("false"))) return Variant(false);
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }
  if (t.size() == 2 && t[1].kind == Tok::Number &&
      (t[0].isOp(QLatin1String("-")) || t[0].isOp(QLatin1String("+")))) {
    return number(t[1].text, t[0].isOp(QLatin1String("-")));
  }
  return std::nullopt;
}

// A value as the tokens of its SQL literal.
std::vector<jet::Token> ValueTokens(const Variant& v) {
  using jet::Tok;
  switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
      return {{Tok::Word, QStringLiteral("NULL"), {}}};
    case Variant::Type::Integer:
      return {{Tok::Number, QString::number(v.toLong()), {}}};
    case Variant::Type::Text:
      return {{Tok::String, jet::QuoteText(v.str()), v.str()}};
    default: {
      QString text = QString::number(v.toDouble(), 'g', 17);
      if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
        text += QLatin1String(".0");
      return {{Tok::Number, text, {}}};
    }
  }
}

}  // namespace

struct Database::Cache {
  struct Entry {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
  };
  std::unordered_map<QString, Entry, QStringHasher> statements;
  std::unordered_map<QString, Translation, QStringHasher> translations;
  QHash<QString, QHash<QString, QString>> columnTypes;  // lower table -> lower column -> type
  QString key;                                          // in the registry
};

Database::Translation Database::Translate(const QString& jetSql) {
  Translation tr;
  std::vector<jet::Token> tokens = jet::Tokenize(jetSql);
  if (auto ddl = jet::TranslateDdl(tokens)) {
    tr.sql = ddl->join(QLatin1String(";\n"));
    return tr;
  }
  const QStringList tables = TablesNamed(tokens);
  jet::ExprOptions options;
  if (!tables.isEmpty()) {
    options.columnType = [this, tables](const QString& name) {
      for (const QString& table : tables) {
        const QString declared = ColumnType(table, name);
        if (!declared.isEmpty()) return JetTypeFromDeclared(declared);
      }
      return JetType{};
    };
  }
  const std::vector<jet::WriteTarget> targets = jet::FindWriteTargets(tokens);
  if (!targets.empty()) {
    std::vector<int> ordinal(tokens.size(), -1);
    int params = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
      if (tokens[i].kind == jet::Tok::Param) ordinal[i] = params++;
    }
    tr.params.resize(params);
    // From the last, so that the earlier ranges stay where they are.
    for (auto w = targets.rbegin(); w != targets.rend(); ++w) {
      QString column = w->column;
      if (column.isEmpty()) {
        const std::vector<FieldDef> fields = Fields(w->table);
        if (w->position < 0 || w->position >= static_cast<int>(fields.size())) continue;
        column = fields[w->position].name;
      }
      const QString declared = ColumnType(w->table, column);
      const JetType type = JetTypeFromDeclared(declared);
      if (type.kind == JetKind::Unknown) continue;  // an unknown column: SQLite names it
      std::vector<jet::Token> expr(tokens.begin() + w->begin, tokens.begin() + w->end);
      const std::vector<jet::Token> sig = jet::Significant(expr);
      if (sig.empty()) continue;
      std::vector<jet::Token> replaced;
      if (sig.size() == 1 && sig[0].kind == jet::Tok::Param) {
        qsizetype at = w->begin;
        while (tokens[at].kind != jet::Tok::Param) ++at;
        tr.params[ordinal[at]] = std::make_pair(type, column);
        continue;
      }
      if (const auto literal = LiteralValue(sig)) {
        replaced = ValueTokens(ConformForWrite(*literal, type, column));
      } else {
        replaced = {{jet::Tok::Word, QStringLiteral("jet_fit"), {}},
                    {jet::Tok::Op, QStringLiteral("("), {}}};
        // The expression as written: its blanks keep words apart ("a = 0 and b = 0").
        replaced.insert(replaced.end(), expr.begin(), expr.end());
        replaced.push_back({jet::Tok::Op, QStringLiteral(","), {}});
        replaced.push_back({jet::Tok::String, jet::QuoteText(declared), declared});
        replaced.push_back({jet::Tok::Op, QStringLiteral(","), {}});
        replaced.push_back({jet::Tok::String, jet::QuoteText(column), column});
        replaced.push_back({jet::Tok::Op, QStringLiteral(")"), {}});
      }
      replaced.insert(replaced.begin(), {jet::Tok::Space, QStringLiteral(" "), {}});
      replaced.push_back({jet::Tok::Space, QStringLiteral(" "), {}});
      tokens.erase(tokens.begin() + w->begin, tokens.begin() + w->end);
      tokens.insert(tokens.begin() + w->begin, replaced.begin(), replaced.end());
    }
  }
  tr.sql = jet::TranslateDml(tokens, options);
  return tr;
}

QString Database::TranslateText(const QString& jetSql) {
  CheckSchema();
  return Translate(jetSql).sql;
}

const Database::Translation& Database::Translated(const QString& jetSql) {
  CheckSchema();
  auto& memo = cache_->translations;
  auto it = memo.find(jetSql);
  if (it == memo.end()) {
    if (memo.size() >= kMaxCachedTranslations) memo.clear();
    it = memo.emplace(jetSql, Translate(jetSql)).first;
  }
  return it->second;
}

Database::Database(QString path, QString host, sqlite3* db)
    : path_(std::move(path)), host_(std::move(host)), db_(db), cache_(std::make_unique<Cache>()) {}

Database::~Database() {
  if (depth_ > 0) WriteTransactionClosed();  // SQLite rolls it back on closing
  for (auto& [text, entry] : cache_->statements) sqlite3_finalize(entry.stmt);
  sqlite3_close_v2(db_);
  std::lock_guard lock(RegistryMutex());
  auto it = Registry().find(cache_->key);
  if (it != Registry().end() && it->second.expired()) Registry().erase(it);
}

std::shared_ptr<Database> Database::Open(const QString& path) {
  const QString host = fs::HostPath(path);
  const QFileInfo info(host);
  if (path.trimmed().isEmpty() || !info.exists() || !info.isFile()) {
    throw DbError(DbErrorKind::Missing, path,
                  QStringLiteral("percorso sul computer: %1").arg(host));
  }
  const QString key = info.canonicalFilePath();
  std::lock_guard lock(RegistryMutex());
  auto& registry = Registry();
  if (auto it = registry.find(key); it != registry.end()) {
    if (auto shared = it->second.lock()) return shared;
  }
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(host.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    const QString why =
        raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close_v2(raw);
    throw OpenError(rc, path, why);
  }
  std::shared_ptr<Database> db(new Database(path, host, raw));
  db->cache_->key = key;
  sqlite3_extended_result_codes(raw, 1);
  // A double-quoted word is a name, never a text: an unknown name is an error. Jet's
  // double-quoted texts are turned into single-quoted ones by the translation.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  sqlite3_rollback_hook(
      raw, [](void* self) { ++static_cast<Database*>(self)->undos_; }, db.get());
  // Rollback journal, so that a file copy of an idle database is whole. This also reads the
  // header: a file that is no database fails here.
  char* err = nullptr;
  if (const int prc = sqlite3_exec(raw, "PRAGMA journal_mode=DELETE", nullptr, nullptr, &err);
      prc != SQLITE_OK) {
    const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(raw));
    sqlite3_free(err);
    // `db` owns the connection now and closes it as the error leaves.
    throw OpenError(prc, path, why);
  }
  RegisterJetFunctions(raw);
  registry[key] = db;
  return db;
}

std::shared_ptr<Database> Database::OpenOnDrive(const QString& path) {
  const QString trimmed = path.trimmed();
  if (!fs::IsWindowsPath(trimmed)) {
    const QString reason =
        QStringLiteral("non è un percorso del disco dei dati (come C:\\cartella\\file.mdb)");
    throw DbError(
        DbErrorKind::OffDrive,
        {QStringLiteral("Il percorso '%1' %2: il database non viene aperto.").arg(path, reason),
         reason, QString()});
  }
  if (const std::optional<fs::LinkOut> out = fs::LinkOutOfRoot(trimmed)) {
    const QString reason =
        out->last
            ? QStringLiteral("il file è un collegamento che porta fuori dal disco dei dati")
            : QStringLiteral("il collegamento %1 porta fuori dal disco dei dati").arg(out->link);
    throw DbError(DbErrorKind::OffDrive,
                  {QStringLiteral("Il database '%1' non viene aperto: %2.").arg(path, reason),
                   reason, QStringLiteral("destinazione del collegamento: %1").arg(out->target)});
  }
  return Open(trimmed);
}

int OpenWriteTransactions() { return g_writeTransactions.load(); }

void OnWriteTransactionsEnded(std::function<void()> callback) {
  EndedCallbacks().push_back(std::move(callback));
}

void Database::Fail(const QString& what, const QString& sql, int rc) const {
  throw EngineError(ErrorKindOf(rc != 0 ? rc : sqlite3_extended_errcode(db_)), path_, what,
                    ErrorText(db_), sql);
}

int Database::Execute(const QString& jetSql) {
  const QString sql = TranslateText(jetSql);
  const QByteArray utf8 = sql.toUtf8();
  const char* next = utf8.constData();
  const char* end = next + utf8.size();
  int changed = 0;
  while (next < end) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, next, static_cast<int>(end - next), &stmt, &tail) != SQLITE_OK) {
      Fail(QStringLiteral("Errore nel testo SQL"), jetSql);
    }
    next = tail;
    if (!stmt) continue;  // blanks or a lone semicolon
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      const QString message = ErrorText(db_);
      sqlite3_finalize(stmt);
      throw EngineError(ErrorKindOf(rc), path_, QStringLiteral("Errore nell'esecuzione"), message,
                        jetSql);
    }
    if (!sqlite3_stmt_readonly(stmt)) changed += sqlite3_changes(db_);
    sqlite3_finalize(stmt);
  }
  if (IsSchemaText(sql)) ForgetSchema();
  return changed;
}

int Database::Execute(const QString& jetSql, const std::vector<Variant>& params) {
  const Translation& tr = Translated(jetSql);
  Statement stmt = PrepareNative(tr.sql);
  for (size_t i = 0; i < params.size(); ++i) {
    const int index = static_cast<int>(i) + 1;
    if (i < tr.params.size() && tr.params[i]) {
      const auto& [type, column] = *tr.params[i];
      stmt.Bind(index, ConformForWrite(params[i], type, column));
    } else {
      stmt.Bind(index, params[i]);
    }
  }
  const int changed = stmt.Run();
  if (IsSchemaText(jetSql)) ForgetSchema();
  return changed;
}

Statement Database::Prepare(const QString& jetSql) { return PrepareNative(Translated(jetSql).sql); }

Statement Database::PrepareNative(const QString& sql) {
  auto& statements = cache_->statements;
  auto it = statements.find(sql);
  if (it != statements.end() && !it->second.inUse) {
    it->second.inUse = true;
    return Statement(shared_from_this(), it->second.stmt, sql, &it->second.inUse);
  }
  const QByteArray utf8 = sql.toUtf8();
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, utf8.constData(), static_cast<int>(utf8.size()),
                         SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
    Fail(QStringLiteral("Errore nel testo SQL"), sql);
  }
  if (!stmt) throw DbError(QStringLiteral("Testo SQL vuoto nel database '%1'").arg(path_));
  if (it != statements.end()) {
    // The cached one is busy (a statement run inside another's loop): this one is private.
    return Statement(shared_from_this(), stmt, sql, nullptr);
  }
  if (statements.size() >= kMaxCachedStatements) {
    for (auto e = statements.begin(); e != statements.end();) {
      if (e->second.inUse) {
        ++e;
      } else {
        sqlite3_finalize(e->second.stmt);
        e = statements.erase(e);
      }
    }
  }
  auto& entry = statements[sql];
  entry.stmt = stmt;
  entry.inUse = true;
  return Statement(shared_from_this(), stmt, sql, &entry.inUse);
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& source, RecordsetType type) {
  return std::unique_ptr<Recordset>(new Recordset(shared_from_this(), source, type));
}

std::vector<FieldDef> Database::Fields(const QString& table) {
  std::vector<FieldDef> out;
  Statement stmt = PrepareNative(QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
  stmt.Bind(1, Variant(table.trimmed()));
  while (stmt.Step()) out.push_back({stmt.Column(0).str(), stmt.Column(1).str()});
  return out;
}

std::vector<TableDef> Database::TableDefs() {
  QStringList names;
  {
    Statement stmt = PrepareNative(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' "
        "ESCAPE '!' ORDER BY name"));
    while (stmt.Step()) names << stmt.Column(0).str();
  }
  std::vector<TableDef> out;
  for (const QString& name : names) out.push_back({name, Fields(name)});
  return out;
}

bool Database::HasTable(const QString& table) {
  Statement stmt = PrepareNative(QStringLiteral(
      "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
  stmt.Bind(1, Variant(table.trimmed()));
  return stmt.Step();
}

QString Database::ColumnType(const QString& table, const QString& column) {
  const QString t = table.toLower();
  auto it = cache_->columnTypes.find(t);
  if (it == cache_->columnTypes.end()) {
    QHash<QString, QString> types;
    for (const FieldDef& f : Fields(table))
      types.insert(f.name.toLower(), f.declaredType.toUpper());
    it = cache_->columnTypes.insert(t, types);
  }
  return it->value(column.toLower());
}

void Database::ForgetSchema() {
  ++undos_;
  cache_->columnTypes.clear();
  cache_->translations.clear();  // they hold values fitted to the columns as they were
}

void Database::CheckSchema() {
  // Inside a transaction of ours no other connection writes: checked as it began.
  if (depth_ == 0) NoteSchemaVersion(ChangeWatch::SchemaVersion(*this));
}

bool Database::NoteSchemaVersion(qint64 version) {
  if (version == schemaVersion_) return false;
  const bool moved = schemaVersion_ >= 0;
  schemaVersion_ = version;
  if (moved) ForgetSchema();
  return moved;
}

void Database::BeginTrans() {
  const QString sql = depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                                  : QStringLiteral("SAVEPOINT vx_%1").arg(depth_);
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail(QStringLiteral("Impossibile iniziare la transazione"), sql);
  }
  CheckSchema();
  if (depth_ == 0) WriteTransactionOpened();
  ++depth_;
}

void Database::CommitTrans() {
  if (depth_ == 0) {
    throw DbError(QStringLiteral("Conferma senza transazione aperta nel database '%1'").arg(path_));
  }
  const QString sql =
      depth_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE vx_%1").arg(depth_ - 1);
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail(QStringLiteral("Impossibile confermare la transazione"), sql);
  }
  if (--depth_ == 0) WriteTransactionClosed();
}

void Database::Rollback() {
  if (depth_ == 0) {
    throw DbError(
        QStringLiteral("Annullamento senza transazione aperta nel database '%1'").arg(path_));
  }
  const QString sql = depth_ == 1
                          ? QStringLiteral("ROLLBACK")
                          : QStringLiteral("ROLLBACK TO vx_%1; RELEASE vx_%1").arg(depth_ - 1);
  const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
  if (--depth_ == 0) WriteTransactionClosed();
  // An outer rollback that finds the transaction already gone (SQLite ends it by itself after
  // some I/O errors) has reached its end all the same.
  const bool gone = depth_ == 0 && sqlite3_get_autocommit(db_) != 0;
  if (rc != SQLITE_OK && !gone) Fail(QStringLiteral("Impossibile annullare la transazione"), sql);
  ForgetSchema();  // a rolled back DDL leaves the schema as it was
}

Transaction::~Transaction() {
  if (done_) return;
  try {
    db_.Rollback();
  } catch (const DbError& e) {
    qWarning("%s", e.what());  // a destructor cannot throw; the failure is still reported
  }
}

void Transaction::Commit() {
  db_.CommitTrans();
  done_ = true;
}

}  // namespace vx::db
