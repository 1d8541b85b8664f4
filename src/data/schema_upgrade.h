// The table-driven schema upgrade run at every start on the store and the main database:
// each entry names a table, a column, a Jet type word and a size text; a missing table is
// created with the entry's column, a missing column is added. Names match without regard
// to case and to leading or trailing blanks; an existing table or column is never changed.
#pragma once

#include <QString>
#include <vector>

#include "platform/db/database.h"

namespace vx::data {

struct UpgradeEntry {
  QString tabella;
  QString campo;
  QString tipo;
  QString dimensione;  // "(50)" or empty
};

// A failed upgrade: the database could not be opened, or the engine refused a
// data-definition text. The message names the path and, where there is one, the text, then
// the cause's own sentence; the kind and the technical text are the cause's (a database in
// use, damaged, ...).
class UpgradeError : public db::DbError {
 public:
  UpgradeError(const QString& path, const QString& sql, const db::DbError& cause);
  const QString& path() const { return path_; }
  const QString& sql() const { return sql_; }  // empty when opening failed

 private:
  QString path_, sql_;
};

// The store database's list (room for 50 entries, 2 filled) and the main database's list
// (room for 150 entries, 50 filled), indexed from 0; the unfilled entries are empty.
std::vector<UpgradeEntry> ClientUpgradeEntries();
std::vector<UpgradeEntry> MainUpgradeEntries();

// Runs the upgrade of the list on the database at path (a Windows or a host path).
// Throws UpgradeError.
void UpgradeSchema(const QString& path, const std::vector<UpgradeEntry>& entries);

// The two upgrades under the names the login window calls them by.
void inserisco_nuovi_campi_client(const QString& percorso_client);
void inserisco_nuovi_campi_bancaean(const QString& percorso_db);

}  // namespace vx::data
