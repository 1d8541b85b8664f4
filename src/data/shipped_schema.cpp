#include "data/shipped_schema.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <memory>

#include "data/unsynced_writes.h"
#include "platform/db/database.h"

namespace vx::data {

namespace {

std::vector<ColumnSpec> Numbered(const QString& stem, int from, int to, const QString& type) {
  std::vector<ColumnSpec> cols;
  for (int i = from; i <= to; ++i) cols.push_back({stem + QString::number(i), type});
  return cols;
}

void Append(std::vector<ColumnSpec>& to, const std::vector<ColumnSpec>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

TableSpec Articoli() {
  // The comparison table, one row per EAN; the slot 4 columns, promo1 to promo4, tipoart,
  // sequenza and ns come with the upgrade.
  TableSpec t{"articoli",
              {{"vedovo", "text(13)"},
               {"desart", "text(100)"},
               {"umart", "text(10)"},
               {"ivart", "text(2)"},
               {"imballo", "int"}}};
  Append(t.columns, Numbered("forn", 1, 3, "int"));
  // A new row reads 0 in the costs that no load has written.
  Append(t.columns, Numbered("costo", 1, 3, "single default 0"));
  // Sel and Colli1 to Colli3 are spelled as the grid heads them (a heading is the column's
  // name as the table defines it).
  Append(t.columns, Numbered("Colli", 1, 3, "int"));
  Append(t.columns, {{"Sel", "text(1)"},
                     {"diff12", "single"},
                     {"diff23", "single"},
                     {"diff31", "single"},
                     {"quaco", "single"},
                     {"umco", "text(10)"}});
  return t;
}

DatabaseSpec MakeMainSpec() {
  DatabaseSpec s;
  s.tables.push_back({"commessi",
                      {{"codcommesso", "long"},
                       {"dsccommesso", "text(50)"},
                       {"password", "text(20)"},
                       {"auto_start", "text(1)"}}});
  s.tables.push_back(
      {"utenti", {{"codutente", "long"},    {"dscutente", "text(50)"},  {"codfis", "text(16)"},
                  {"piva", "text(11)"},     {"indirizzo", "text(50)"},  {"cap", "text(5)"},
                  {"località", "text(20)"}, {"pr", "text(2)"},          {"attività", "text(20)"},
                  {"note", "memo"},         {"codlis", "text(2)"},      {"telefono1", "text(255)"},
                  {"fax", "text(255)"},     {"banca", "text(255)"},     {"iban", "text(50)"},
                  {"abi", "text(255)"},     {"cab", "text(255)"},       {"tipocassa", "text(1)"},
                  {"tiposta", "text(1)"},   {"filecasse", "text(255)"}, {"fileuni", "text(1)"},
                  {"margsini", "int"},      {"margsup", "int"},         {"codrepa", "int"},
                  {"ncr", "text(4)"},       {"nrpos", "long"},          {"Fid_Card", "text(7)"},
                  {"Fid_Rep", "int"},       {"calpv", "text(1)"},       {"fbiz", "int"},
                  {"trxbilplu", "int"},     {"affil", "int"},           {"dimeti", "int"},
                  {"cin", "text(1)"},       {"filevendi", "text(255)"}, {"termscad", "int"},
                  {"aggrt", "text(1)"},     {"noart", "text(1)"},       {"zeri", "text(1)"},
                  {"arropv", "text(1)"},    {"artico", "text(1)"},      {"chiusura", "text(1)"},
                  {"quacopv", "text(1)"},   {"dx8", "text(10)"},        {"dx7p", "text(10)"},
                  {"tx8", "text(10)"},      {"Flag_CF", "text(1)"}}});
  s.tables.push_back({"fornitori",
                      {{"codice", "long"},
                       {"descr", "text(30)"},
                       {"percorso", "text(255)"},
                       {"perce", "single"}}});
  s.tables.push_back(
      {"eanconv",
       {{"codfor", "long"}, {"ean", "text(13)"}, {"fatconv", "int"}, {"azione", "text(1)"}}});
  s.tables.push_back(Articoli());
  s.tables.push_back({"listi01", {{"codart", "long"}, {"cobart", "single"}}});
  s.tables.push_back({"codean", {{"codare", "long"}, {"eanare", "text(13)"}}});

  s.indexes = {
      {"codcommesso", "commessi", {"codcommesso"}, true},
      {"codutente", "utenti", {"codutente"}, true},
      {"codice", "fornitori", {"codice"}, false},
      {"ean", "eanconv", {"ean", "codfor"}, false},
      {"vedovo", "articoli", {"vedovo"}, false},
      {"desart", "articoli", {"desart"}, false},
      {"codart", "listi01", {"codart"}, false},
      {"eanare", "codean", {"eanare"}, false},
      {"codare", "codean", {"codare"}, false},
  };
  return s;
}

DatabaseSpec MakeStoreSpec() {
  DatabaseSpec s;
  // codope and operatore come with the upgrade.
  s.tables.push_back(
      {"inizio", {{"codute", "long"}, {"desute", "text(50)"}, {"annox", "int"}, {"annoy", "int"}}});
  s.tables.push_back({"stampanti", {{"codice", "int"}, {"descrizione", "text(255)"}}});
  s.indexes = {{"codute", "inizio", {"codute"}, false}};
  return s;
}

DatabaseSpec MakeSupplierSpec() {
  DatabaseSpec s;
  s.tables.push_back(
      {"articolo", {{"codart", "long"},     {"ea1art", "text(13)"}, {"desart", "text(100)"},
                    {"przart", "single"},   {"ivart", "text(2)"},   {"imbart", "int"},
                    {"umart", "text(10)"},  {"desgru", "text(30)"}, {"dessot", "text(30)"},
                    {"codrep", "long"},     {"tipges", "text(1)"},  {"tipart", "text(1)"},
                    {"colli", "int"},       {"przoff", "single"},   {"data1", "Date"},
                    {"data2", "Date"},      {"przpub", "single"},   {"codafo", "text(9)"},
                    {"fl3art", "text(2)"},  {"desfor", "text(35)"}, {"stato", "text(1)"},
                    {"marchio", "text(20)"}}});
  s.tables.push_back({"codean", {{"codare", "long"}, {"eanare", "text(13)"}}});
  s.tables.push_back({"gruppi", {{"codice", "long"}, {"descrizione", "text(30)"}}});
  s.tables.push_back(
      {"listini", {{"codlis", "text(2)"}, {"note", "memo"}, {"datafine", "text(20)"}}});
  s.tables.push_back(
      {"clienti", {{"codcliente", "long"}, {"dsccliente", "text(50)"}, {"listino", "text(10)"}}});
  s.tables.push_back({"testa",
                      {{"anno", "int"},
                       {"numero", "long"},
                       {"dataor", "Date"},
                       {"cliente", "long"},
                       {"dsccliente", "text(35)"},
                       {"codsede", "int"},
                       {"dscsede", "text(35)"},
                       {"codlis", "text(10)"},
                       {"fl3ts", "text(1)"}}});
  // descrizione holds 31 characters for an article the catalogue lacks.
  s.tables.push_back({"movimenti",
                      {{"bannoc", "int"},
                       {"bnumer", "long"},
                       {"bns", "int"},
                       {"articoli", "long"},
                       {"descrizione", "text(50)"},
                       {"prezzo", "double"},
                       {"unitaM", "text(5)"},
                       {"imballo", "int"},
                       {"quantita", "double"},
                       {"iva", "text(2)"},
                       {"eanrig", "text(13)"},
                       {"colli", "double"},
                       {"totrig", "double"},
                       {"desfor", "text(35)"},
                       {"desgru", "text(30)"}}});
  s.tables.push_back({"ordine", {{"eanrig", "text(13)"}, {"colli", "double"}}});
  s.indexes = {
      {"codart", "articolo", {"codart"}, false},
      {"eanare", "codean", {"eanare"}, false},
      {"codare", "codean", {"codare"}, false},
      {"codice", "gruppi", {"codice"}, false},
      {"codlis", "listini", {"codlis"}, false},
      {"codcliente", "clienti", {"codcliente"}, false},
      {"annonumero", "testa", {"anno", "numero"}, false},
      {"righe", "movimenti", {"bannoc", "bnumer", "bns"}, false},
  };
  return s;
}

void Insert(db::Database& database, const QString& table, const QStringList& columns,
            const std::vector<Variant>& values) {
  QStringList bracketed, marks;
  for (const auto& c : columns) {
    bracketed << QLatin1Char('[') + c + QLatin1Char(']');
    marks << QStringLiteral("?");
  }
  database.Execute(QStringLiteral("insert into [%1] (%2) values (%3)")
                       .arg(table, bracketed.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                   values);
}

}  // namespace

const DatabaseSpec& MainDatabaseSpec() {
  static const DatabaseSpec spec = MakeMainSpec();
  return spec;
}

const DatabaseSpec& StoreDatabaseSpec() {
  static const DatabaseSpec spec = MakeStoreSpec();
  return spec;
}

const DatabaseSpec& SupplierDatabaseSpec() {
  static const DatabaseSpec spec = MakeSupplierSpec();
  return spec;
}

QString CreateTableSql(const TableSpec& table) {
  QStringList cols;
  for (const auto& c : table.columns) cols << QStringLiteral("[%1] %2").arg(c.name, c.type);
  return QStringLiteral("create table [%1] (%2)").arg(table.name, cols.join(QStringLiteral(", ")));
}

QString CreateIndexSql(const IndexSpec& index) {
  QStringList cols;
  for (const auto& c : index.columns) cols << QLatin1Char('[') + c + QLatin1Char(']');
  return QStringLiteral("create %1index [%2] on [%3] (%4)")
      .arg(index.unique ? QStringLiteral("unique ") : QString(), index.name, index.table,
           cols.join(QStringLiteral(", ")));
}

void CreateEmptyDatabaseFile(const QString& hostPath) {
  const QFileInfo info(hostPath);
  if (info.exists()) {
    throw db::DbError(QStringLiteral("Il file %1 esiste già.").arg(hostPath));
  }
  if (!QDir().mkpath(info.absolutePath())) {
    throw db::DbError(
        QStringLiteral("Impossibile creare la cartella %1.").arg(info.absolutePath()));
  }
  sqlite3* handle = nullptr;
  const QByteArray name = QFile::encodeName(hostPath);
  const int rc = sqlite3_open_v2(name.constData(), &handle,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // An empty file is not written until something is stored: set the page format now so
  // that the file exists on disk as a database.
  int rc2 = rc == SQLITE_OK ? sqlite3_exec(handle, "PRAGMA user_version = 0; VACUUM;", nullptr,
                                           nullptr, nullptr)
                            : rc;
  const QString reason = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString();
  sqlite3_close(handle);
  if (rc != SQLITE_OK || rc2 != SQLITE_OK || !QFileInfo::exists(hostPath)) {
    throw db::DbError(QStringLiteral("Impossibile creare l'archivio %1: %2").arg(hostPath, reason));
  }
}

std::shared_ptr<db::Database> CreateDatabase(const QString& hostPath, const DatabaseSpec& spec) {
  CreateEmptyDatabaseFile(hostPath);
  auto database = db::Database::Open(hostPath);
  UnsyncedWrites unsynced(database);
  db::Transaction tx(*database);
  for (const auto& t : spec.tables) database->Execute(CreateTableSql(t));
  for (const auto& i : spec.indexes) database->Execute(CreateIndexSql(i));
  tx.Commit();
  return database;
}

std::shared_ptr<db::Database> CreateMainDatabase(const QString& hostPath,
                                                 const QString& storeName) {
  auto database = CreateDatabase(hostPath, MainDatabaseSpec());
  UnsyncedWrites unsynced(database);
  db::Transaction tx(*database);
  Insert(*database, "commessi", {"codcommesso", "dsccommesso", "password", "auto_start"},
         {1, "AMMINISTRATORE", "admin", "N"});
  Insert(*database, "utenti",
         {"codutente", "dscutente", "codlis", "tipocassa", "fileuni", "ncr", "nrpos", "Fid_Card",
          "Fid_Rep", "calpv", "fbiz", "trxbilplu", "affil", "dimeti", "margsini", "margsup",
          "codrepa"},
         {1, storeName.left(50), "01", " ", " ", "", 1, "0000000", 0, "N", 0, 0, 0, 75, 0, 0, 0});
  tx.Commit();
  return database;
}

std::shared_ptr<db::Database> CreateStoreDatabase(const QString& hostPath,
                                                  const QString& storeName) {
  auto database = CreateDatabase(hostPath, StoreDatabaseSpec());
  UnsyncedWrites unsynced(database);
  Insert(*database, "inizio", {"codute", "desute", "annox", "annoy"},
         {1, storeName.left(50), 0, 0});
  return database;
}

std::shared_ptr<db::Database> CreateSupplierDatabase(const QString& hostPath) {
  auto database = CreateDatabase(hostPath, SupplierDatabaseSpec());
  UnsyncedWrites unsynced(database);
  Insert(*database, "listini", {"codlis", "note", "datafine"}, {"01", "", ""});
  return database;
}

}  // namespace vx::data
