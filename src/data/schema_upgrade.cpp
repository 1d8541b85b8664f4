#include "data/schema_upgrade.h"

#include <memory>

namespace vx::data {

namespace {

constexpr int kClientListSize = 50;
constexpr int kMainListSize = 150;

// Names are compared trimmed of blanks (only blanks, as the legacy Trim does) and in
// lower case.
QString Key(const QString& name) {
  qsizetype from = 0, to = name.size();
  while (from < to && name[from] == QLatin1Char(' ')) ++from;
  while (to > from && name[to - 1] == QLatin1Char(' ')) --to;
  return name.mid(from, to - from).toLower();
}

// What the upgrade was doing when the cause met it; the file and the statement are named
// where the cause does not name them already.
QString UpgradeContext(const QString& path, const QString& sql, const db::DbError& cause) {
  QString context = cause.sentence().contains(path)
                        ? QStringLiteral("Aggiornamento dell'archivio non riuscito.")
                        : QStringLiteral("Aggiornamento dell'archivio %1 non riuscito.").arg(path);
  if (!sql.isEmpty() && !cause.message().contains(sql)) {
    context += QStringLiteral(" Istruzione: %1.").arg(sql);
  }
  return context;
}

void Run(db::Database& database, const QString& path, const QString& sql) {
  try {
    database.Execute(sql);
  } catch (const db::DbError& e) {
    throw UpgradeError(path, sql, e);
  }
}

std::vector<db::TableDef> Defs(db::Database& database, const QString& path) {
  try {
    return database.TableDefs();
  } catch (const db::DbError& e) {
    throw UpgradeError(path, QString(), e);
  }
}

bool HasTable(const std::vector<db::TableDef>& defs, const QString& key) {
  for (const auto& t : defs) {
    if (Key(t.name) == key) return true;
  }
  return false;
}

const db::TableDef* FindTable(const std::vector<db::TableDef>& defs, const QString& key) {
  for (const auto& t : defs) {
    if (Key(t.name) == key) return &t;
  }
  return nullptr;
}

std::vector<UpgradeEntry> Sized(std::vector<UpgradeEntry> filled, int size) {
  filled.resize(size);
  return filled;
}

}  // namespace

UpgradeError::UpgradeError(const QString& path, const QString& sql, const db::DbError& cause)
    : db::DbError(UpgradeContext(path, sql, cause), cause), path_(path), sql_(sql) {}

std::vector<UpgradeEntry> ClientUpgradeEntries() {
  return Sized({{"inizio", "codope", "int", ""}, {"inizio", "operatore", "text", "(50)"}},
               kClientListSize);
}

std::vector<UpgradeEntry> MainUpgradeEntries() {
  std::vector<UpgradeEntry> e = {
      {"fornitori", "programma", "text", "(50)"},
      {"fornitori", "flagconv", "text", "(1)"},
      {"fornitori", "flagdes", "text", "(1)"},
      {"fornitori", "programma", "text", "(50)"},
      {"fornitori", "codfor", "int", ""},
      {"fornitori", "programma", "single", ""},
      {"articoli", "tipoart", "text", "(1)"},
      {"articoli", "sequenza", "int", ""},
      {"fornitori", "creazioneordine", "int", ""},
      {"articoli", "forn4", "int", ""},
      {"articoli", "colli4", "int", ""},
      {"articoli", "costo4", "single", ""},
      {"articoli", "diff14", "single", ""},
      {"articoli", "diff24", "single", ""},
      {"articoli", "diff34", "single", ""},
      {"articoli", "promo1", "text", "(1)"},
      {"articoli", "promo2", "text", "(1)"},
      {"articoli", "promo3", "text", "(1)"},
      {"articoli", "promo4", "text", "(1)"},
      {"articoli", "ns", "long", ""},
      {"eanconv", "desart", "text", "(100)"},
      {"eanconv", "eanalternativo", "text", "(13)"},
      {"eanconv", "eanalternativo2", "text", "(13)"},
      {"eanconv", "eanalternativo3", "text", "(13)"},
      {"eanconv", "eanalternativo4", "text", "(13)"},
      {"eanconv", "eanalternativo4", "text", "(13)"},
      {"eanconv", "fatconv2", "int", ""},
      {"eanconv", "fatconv3", "int", ""},
      {"eanconv", "fatconv4", "int", ""},
      {"eanconv", "azione2", "text", "(1)"},
      {"eanconv", "azione3", "text", "(1)"},
      {"eanconv", "azione4", "text", "(1)"},
      {"eanconv", "fdest", "int", ""},
      {"utenti", "ultimadata", "Date", ""},
  };
  for (int i = 0; i <= 8; ++i) {
    e.push_back({"fornitori", QStringLiteral("posiz%1").arg(i), "text", "(1)"});
  }
  for (int i = 1; i <= 3; ++i) {
    e.push_back({"fornitori", QStringLiteral("opera%1").arg(i), "text", "(1)"});
  }
  for (int i = 1; i <= 3; ++i) {
    e.push_back({"fornitori", QStringLiteral("val%1").arg(i), "single", ""});
  }
  e.push_back({"eanconv", "eansostitutivo", "text", "(13)"});
  return Sized(std::move(e), kMainListSize);
}

void UpgradeSchema(const QString& path, const std::vector<UpgradeEntry>& entries) {
  std::shared_ptr<db::Database> database;
  try {
    database = db::Database::Open(path);
  } catch (const db::DbError& e) {
    throw UpgradeError(path, QString(), e);
  }

  // Pass A: tables. A missing table is created with the entry's column only.
  std::vector<db::TableDef> defs = Defs(*database, path);
  for (const auto& entry : entries) {
    if (entry.tabella.isEmpty()) continue;
    if (HasTable(defs, Key(entry.tabella))) continue;
    Run(*database, path,
        QStringLiteral("create table [") + entry.tabella + QStringLiteral("] ([") + entry.campo +
            QStringLiteral("] ") + entry.tipo + entry.dimensione + QStringLiteral(") "));
    defs = Defs(*database, path);
  }

  // Pass B: columns. The table's fields are read again after each addition, so that a
  // repeated entry further down finds the new column.
  for (const auto& entry : entries) {
    if (entry.tabella.isEmpty()) continue;
    const db::TableDef* table = FindTable(defs, Key(entry.tabella));
    if (!table) continue;
    const QString column = Key(entry.campo);
    bool found = false;
    for (const auto& field : table->fields) {
      if (Key(field.name) == column) {
        found = true;
        break;
      }
    }
    if (found) continue;
    QString sql = QStringLiteral("alter table ") + entry.tabella + QStringLiteral(" add [") +
                  entry.campo + QStringLiteral("] ") + entry.tipo;
    if (!entry.dimensione.isEmpty()) sql += entry.dimensione;
    Run(*database, path, sql);
    defs = Defs(*database, path);
  }
}

void inserisco_nuovi_campi_client(const QString& percorso_client) {
  UpgradeSchema(percorso_client, ClientUpgradeEntries());
}

void inserisco_nuovi_campi_bancaean(const QString& percorso_db) {
  UpgradeSchema(percorso_db, MainUpgradeEntries());
}

}  // namespace vx::data
