// The databases as the product ships them: every table with its base columns (the columns
// the schema upgrade adds are left to it), the indexes the program seeks on and those its
// look-ups need, and the shipped rows.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace vx::db {
class Database;
}

namespace vx::data {

struct ColumnSpec {
  QString name;
  QString type;  // Jet type word with its size: "text(13)", "single", "long", "Date", "memo"
};

struct TableSpec {
  QString name;
  std::vector<ColumnSpec> columns;
};

struct IndexSpec {
  QString name;
  QString table;
  QStringList columns;
  bool unique = false;
};

struct DatabaseSpec {
  std::vector<TableSpec> tables;
  std::vector<IndexSpec> indexes;
};

// Main database dizizOrezav.mdb: commessi, utenti, fornitori, eanconv, articoli, listi01
// and the store's own EAN links codean.
const DatabaseSpec& MainDatabaseSpec();
// Store database client.mdb: inizio, stampanti.
const DatabaseSpec& StoreDatabaseSpec();
// A supplier's dati.mdb: the catalogue (articolo, codean, gruppi, listini), the order
// tables (clienti, testa, movimenti) and the Wi-Fi terminal's table ordine.
const DatabaseSpec& SupplierDatabaseSpec();

// The Jet data-definition texts of a table and an index.
QString CreateTableSql(const TableSpec& table);
QString CreateIndexSql(const IndexSpec& index);

// Creates an empty database file at a host path (with its folder); DbError when the file
// already exists or cannot be created.
void CreateEmptyDatabaseFile(const QString& hostPath);

// Creates the file at hostPath and makes the tables and indexes of the spec in it; returns
// the open database.
std::shared_ptr<db::Database> CreateDatabase(const QString& hostPath, const DatabaseSpec& spec);

// Each makes the shipped database at hostPath, with its shipped rows:
// - main: operator 1 "AMMINISTRATORE" (password "admin", which must be typed) and the row
//   of store 1 in utenti (price list "01", label size 75);
// - store: the inizio row of store 1 with accounting year 0 (the current year);
// - supplier: the "01" row of listini.
std::shared_ptr<db::Database> CreateMainDatabase(const QString& hostPath, const QString& storeName);
std::shared_ptr<db::Database> CreateStoreDatabase(const QString& hostPath,
                                                  const QString& storeName);
std::shared_ptr<db::Database> CreateSupplierDatabase(const QString& hostPath);

}  // namespace vx::data
