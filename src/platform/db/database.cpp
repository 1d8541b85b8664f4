#include "platform/db/database.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <QHash>
#include <mutex>
#include <unordered_map>

#include "platform/db/jet_sql.h"
#include "platform/db/jet_tokens.h"
#include "platform/db/jet_translate.h"
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

bool IsSchemaText(const QString& sql) {
  const QString head = sql.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
  return head == QLatin1String("create") || head == QLatin1String("alter") ||
         head == QLatin1String("drop");
}

}  // namespace

struct Database::Cache {
  struct Entry {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
  };
  std::unordered_map<QString, Entry, QStringHasher> statements;
  std::unordered_map<QString, QString, QStringHasher> translations;  // Jet text -> SQLite text
  QHash<QString, QHash<QString, QString>> columnTypes;  // lower table -> lower column -> type
  QString key;                                          // in the registry
};

Database::Database(QString path, QString host, sqlite3* db)
    : path_(std::move(path)), host_(std::move(host)), db_(db), cache_(std::make_unique<Cache>()) {}

Database::~Database() {
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
    throw DbError(QStringLiteral("Il database '%1' non esiste (%2)").arg(path, host));
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
    throw DbError(
        QStringLiteral("Impossibile aprire il database '%1' (%2): %3").arg(path, host, why));
  }
  std::shared_ptr<Database> db(new Database(path, host, raw));
  db->cache_->key = key;
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  // Rollback journal, so that a file copy of an idle database is whole. This also reads the
  // header: a file that is no database fails here.
  char* err = nullptr;
  if (sqlite3_exec(raw, "PRAGMA journal_mode=DELETE", nullptr, nullptr, &err) != SQLITE_OK) {
    const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(raw));
    sqlite3_free(err);
    throw DbError(
        QStringLiteral("Impossibile aprire il database '%1' (%2): %3").arg(path, host, why));
  }
  RegisterJetFunctions(raw);
  registry[key] = db;
  return db;
}

void Database::Fail(const QString& what, const QString& sql) const {
  QString message = QStringLiteral("%1 nel database '%2': %3")
                        .arg(what, path_, QString::fromUtf8(sqlite3_errmsg(db_)));
  if (!sql.isEmpty()) message += QStringLiteral(" [SQL: %1]").arg(sql);
  throw DbError(message);
}

int Database::Execute(const QString& jetSql) {
  const QString sql = TranslateJetSql(jetSql);
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
      const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
      sqlite3_finalize(stmt);
      throw DbError(QStringLiteral("Errore nell'esecuzione nel database '%1': %2 [SQL: %3]")
                        .arg(path_, message, jetSql));
    }
    if (!sqlite3_stmt_readonly(stmt)) changed += sqlite3_changes(db_);
    sqlite3_finalize(stmt);
  }
  if (IsSchemaText(sql)) ForgetSchema();
  return changed;
}

int Database::Execute(const QString& jetSql, const std::vector<Variant>& params) {
  Statement stmt = Prepare(jetSql);
  for (size_t i = 0; i < params.size(); ++i) stmt.Bind(static_cast<int>(i) + 1, params[i]);
  const int changed = stmt.Run();
  if (IsSchemaText(jetSql)) ForgetSchema();
  return changed;
}

Statement Database::Prepare(const QString& jetSql) {
  auto& memo = cache_->translations;
  auto it = memo.find(jetSql);
  if (it == memo.end()) {
    if (memo.size() >= kMaxCachedTranslations) memo.clear();
    it = memo.emplace(jetSql, TranslateJetSql(jetSql)).first;
  }
  return PrepareNative(it->second);
}

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

void Database::ForgetSchema() { cache_->columnTypes.clear(); }

void Database::BeginTrans() {
  const QString sql = depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                                  : QStringLiteral("SAVEPOINT vx_%1").arg(depth_);
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail(QStringLiteral("Impossibile iniziare la transazione"), sql);
  }
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
  --depth_;
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
  --depth_;
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
