#include <sqlite3.h>

#include <QByteArray>
#include <cstring>
#include <vector>

#include "platform/db/database.h"
#include "platform/db/jet_types.h"

namespace vx::db {

struct Statement::ColumnTypes {
  struct Entry {
    QByteArray declared;
    JetType type;
    bool known = false;
  };
  std::vector<Entry> columns;
};

Statement::Statement(std::shared_ptr<Database> db, sqlite3_stmt* stmt, QString sql, bool* inUse)
    : db_(std::move(db)), stmt_(stmt), sql_(std::move(sql)), inUse_(inUse) {}

Statement::Statement(Statement&& o) noexcept
    : types_(std::move(o.types_)),
      db_(std::move(o.db_)),
      stmt_(o.stmt_),
      sql_(std::move(o.sql_)),
      inUse_(o.inUse_) {
  o.stmt_ = nullptr;
  o.inUse_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept {
  if (this != &o) {
    Release();
    types_ = std::move(o.types_);
    db_ = std::move(o.db_);
    stmt_ = o.stmt_;
    sql_ = std::move(o.sql_);
    inUse_ = o.inUse_;
    o.stmt_ = nullptr;
    o.inUse_ = nullptr;
  }
  return *this;
}

Statement::Statement() = default;

Statement::~Statement() { Release(); }

void Statement::Release() {
  if (!stmt_) return;
  if (inUse_) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    *inUse_ = false;
  } else {
    sqlite3_finalize(stmt_);
  }
  stmt_ = nullptr;
  inUse_ = nullptr;
  types_.reset();
}

Statement& Statement::Bind(int index, const Variant& v) {
  if (!stmt_) throw DbError(QStringLiteral("Istruzione SQL non preparata"));
  BindVariant(stmt_, index, v);
  return *this;
}

Statement& Statement::Reset() {
  if (stmt_) sqlite3_reset(stmt_);
  return *this;
}

bool Statement::Step() {
  if (!stmt_) throw DbError(QStringLiteral("Istruzione SQL non preparata"));
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  db_->Fail(QStringLiteral("Errore nell'esecuzione"), sql_, rc);
}

int Statement::Run() {
  while (Step()) {
  }
  const int changed = sqlite3_stmt_readonly(stmt_) ? 0 : sqlite3_changes(db_->handle());
  sqlite3_reset(stmt_);
  return changed;
}

Variant Statement::Column(int index) const {
  const char* decl = sqlite3_column_decltype(stmt_, index);
  const Variant stored = StoredValue(stmt_, index);
  if (!decl) return stored;
  // A statement prepared again after a schema change may declare another type: the cached
  // one serves only while the declared text is the same.
  if (!types_) types_ = std::make_unique<ColumnTypes>();
  if (index >= static_cast<int>(types_->columns.size())) types_->columns.resize(index + 1);
  ColumnTypes::Entry& e = types_->columns[index];
  if (!e.known || std::strcmp(e.declared.constData(), decl) != 0) {
    e.declared = QByteArray(decl);
    e.type = JetTypeFromDeclared(QString::fromUtf8(decl));
    e.known = true;
  }
  return TypedFromStorage(stored, e.type);
}

int Statement::ColumnCount() const { return stmt_ ? sqlite3_column_count(stmt_) : 0; }

}  // namespace vx::db
