// The table-driven schema upgrade on real database files.
#include "data/schema_upgrade.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "data/shipped_schema.h"
#include "platform/db/recordset.h"

namespace vx::data {
namespace {

using db::Database;

class SchemaUpgradeTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // A database holding only the tables of the given DDL texts.
  QString Make(const QString& name, const QStringList& ddl) {
    const QString path = Path(name);
    CreateEmptyDatabaseFile(path);
    auto database = Database::Open(path);
    for (const auto& sql : ddl) database->Execute(sql);
    return path;
  }

  static QStringList FieldNames(const QString& path, const QString& table) {
    QStringList names;
    for (const auto& f : Database::Open(path)->Fields(table)) names << f.name;
    return names;
  }

  static QString FieldType(const QString& path, const QString& table, const QString& field) {
    for (const auto& f : Database::Open(path)->Fields(table)) {
      if (f.name.compare(field, Qt::CaseInsensitive) == 0) return f.declaredType;
    }
    return QString();
  }

  // The whole schema as SQLite keeps it, to see that nothing changed.
  static QStringList SchemaText(const QString& path) {
    auto database = Database::Open(path);
    QStringList out;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(database->handle(), "select sql from sqlite_master order by name", -1, &st,
                       nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(st, 0);
      out << QString::fromUtf8(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(st);
    return out;
  }

  QTemporaryDir dir_;
};

TEST(UpgradeEntriesTest, ListsHaveTheirRoomAndFilledEntries) {
  const auto client = ClientUpgradeEntries();
  ASSERT_EQ(client.size(), 50u);
  EXPECT_EQ(client[1].campo, "operatore");
  EXPECT_EQ(client[1].dimensione, "(50)");
  EXPECT_TRUE(client[2].tabella.isEmpty());

  const auto main = MainUpgradeEntries();
  ASSERT_EQ(main.size(), 150u);
  EXPECT_EQ(main[5].campo, "programma");  // entry 6 repeats programma with another type
  EXPECT_EQ(main[5].tipo, "single");
  EXPECT_EQ(main[33].tipo, "Date");  // utenti.ultimadata
  EXPECT_EQ(main[42].campo, "posiz8");
  EXPECT_EQ(main[45].campo, "opera3");
  EXPECT_EQ(main[48].campo, "val3");
  EXPECT_EQ(main[49].campo, "eansostitutivo");
  EXPECT_TRUE(main[50].tabella.isEmpty());
  EXPECT_TRUE(main[149].tabella.isEmpty());
}

TEST_F(SchemaUpgradeTest, ShippedMainDatabaseGetsEveryUpgradeColumn) {
  const QString path = Path("main.mdb");
  CreateMainDatabase(path, "NEGOZIO");
  inserisco_nuovi_campi_bancaean(path);

  const QStringList fornitori = FieldNames(path, "fornitori");
  for (const char* c : {"programma", "flagconv", "flagdes", "codfor", "creazioneordine", "posiz0",
                        "posiz8", "opera1", "opera3", "val1", "val3"}) {
    EXPECT_TRUE(fornitori.contains(c)) << c;
  }
  EXPECT_EQ(fornitori.count("programma"), 1);
  EXPECT_EQ(FieldType(path, "fornitori", "programma"), "TEXT(50)");
  EXPECT_EQ(FieldType(path, "fornitori", "val2"), "SINGLE");
  EXPECT_EQ(FieldType(path, "articoli", "ns"), "LONG");
  EXPECT_EQ(FieldType(path, "articoli", "costo4"), "SINGLE");
  EXPECT_EQ(FieldType(path, "eanconv", "eansostitutivo"), "TEXT(13)");
  EXPECT_EQ(FieldType(path, "utenti", "ultimadata"), "DATE");
  EXPECT_EQ(FieldNames(path, "eanconv").count("eanalternativo4"), 1);
}

TEST_F(SchemaUpgradeTest, RunningTwiceChangesNothingTheSecondTime) {
  const QString main = Path("main.mdb");
  const QString store = Path("client.mdb");
  CreateMainDatabase(main, "NEGOZIO");
  CreateStoreDatabase(store, "NEGOZIO");
  inserisco_nuovi_campi_client(store);
  inserisco_nuovi_campi_bancaean(main);
  const QStringList mainOnce = SchemaText(main);
  const QStringList storeOnce = SchemaText(store);

  inserisco_nuovi_campi_client(store);
  inserisco_nuovi_campi_bancaean(main);
  EXPECT_EQ(SchemaText(main), mainOnce);
  EXPECT_EQ(SchemaText(store), storeOnce);
}

TEST_F(SchemaUpgradeTest, NamesMatchWithoutRegardToCase) {
  // Programma with a capital letter satisfies entries 1, 4 and 6; an upper-case table name
  // is the same table.
  const QString path =
      Make("m.mdb", {"create table [FORNITORI] ([codice] long, [Programma] text(30), "
                     "[FLAGCONV] text(1))"});
  UpgradeSchema(path, MainUpgradeEntries());

  const QStringList names = FieldNames(path, "fornitori");
  EXPECT_EQ(names.filter("programma", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(names.filter("flagconv", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(FieldType(path, "fornitori", "Programma"), "TEXT(30)");  // never altered
  EXPECT_EQ(names.at(3), "flagdes");
}

TEST_F(SchemaUpgradeTest, NamesMatchWithoutRegardToSurroundingBlanks) {
  const QString path = Make("m.mdb", {"create table [inizio] ([ codope ] int)"});
  UpgradeSchema(path,
                {{" Inizio ", "CODOPE", "int", ""}, {"inizio", " operatore", "text", "(50)"}});
  EXPECT_EQ(FieldNames(path, "inizio"), QStringList({" codope ", " operatore"}));
}

TEST_F(SchemaUpgradeTest, MissingProgrammaFlagconvFlagdesAreAddedInOrder) {
  const QString path =
      Make("m.mdb", {"create table [fornitori] ([codice] long, [descr] text(30))"});
  UpgradeSchema(path, MainUpgradeEntries());

  const QStringList names = FieldNames(path, "fornitori");
  ASSERT_GE(names.size(), 6);
  EXPECT_EQ(names.mid(0, 6),
            QStringList({"codice", "descr", "programma", "flagconv", "flagdes", "codfor"}));
  EXPECT_EQ(FieldType(path, "fornitori", "programma"), "TEXT(50)");  // entry 6 found it
  EXPECT_EQ(FieldType(path, "fornitori", "flagconv"), "TEXT(1)");
  EXPECT_EQ(FieldType(path, "fornitori", "flagdes"), "TEXT(1)");
}

TEST_F(SchemaUpgradeTest, MissingTablesAreCreatedWithTheirListedColumnsOnly) {
  const QString store = Make("c.mdb", {"create table [stampanti] ([codice] int)"});
  inserisco_nuovi_campi_client(store);
  EXPECT_EQ(FieldNames(store, "inizio"), QStringList({"codope", "operatore"}));
  EXPECT_EQ(FieldType(store, "inizio", "codope"), "INT");
  EXPECT_EQ(FieldType(store, "inizio", "operatore"), "TEXT(50)");

  // An empty main database gets the four tables with the columns of their entries.
  const QString main = Make("m.mdb", {});
  inserisco_nuovi_campi_bancaean(main);
  EXPECT_EQ(FieldNames(main, "utenti"), QStringList({"ultimadata"}));
  EXPECT_EQ(FieldNames(main, "articoli").first(), "tipoart");
  EXPECT_FALSE(Database::Open(main)->HasTable("commessi"));
}

TEST_F(SchemaUpgradeTest, RowsAreKeptAndNewColumnsAreNull) {
  const QString path = Path("main.mdb");
  CreateMainDatabase(path, "NEGOZIO");
  auto database = Database::Open(path);
  database->Execute("insert into fornitori (codice, descr) values (1, 'VARU')");
  inserisco_nuovi_campi_bancaean(path);

  auto rs = database->OpenRecordset("select * from fornitori");
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Field("descr").str(), "VARU");
  EXPECT_TRUE(rs->Field("programma").isNull());
  EXPECT_TRUE(rs->Field("creazioneordine").isNull());
}

TEST_F(SchemaUpgradeTest, RefusedTextIsReportedWithPathAndText) {
  // The alter text names the table bare: a name with a blank makes it invalid.
  const QString path = Make("m.mdb", {"create table [for nitori] ([codice] long)"});
  try {
    UpgradeSchema(path, {{"for nitori", "programma", "text", "(50)"}});
    FAIL() << "the refused text was not reported";
  } catch (const UpgradeError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_EQ(e.sql(), "alter table for nitori add [programma] text(50)");
    EXPECT_TRUE(e.message().contains(path));
    EXPECT_TRUE(e.message().contains("alter table for nitori add [programma] text(50)"));
  }
}

TEST_F(SchemaUpgradeTest, RefusedCreateTextStopsTheUpgrade) {
  const QString path = Make("m.mdb", {});
  try {
    UpgradeSchema(path, {{"nuova", "c", "bogus", ""}, {"nuova2", "d", "int", ""}});
    FAIL() << "the refused text was not reported";
  } catch (const UpgradeError& e) {
    EXPECT_EQ(e.sql(), "create table [nuova] ([c] bogus) ");
  }
  EXPECT_FALSE(Database::Open(path)->HasTable("nuova2"));
}

TEST_F(SchemaUpgradeTest, MissingDatabaseIsReportedWithItsPathAndNotCreated) {
  const QString path = Path("pelko/client.mdb");
  try {
    inserisco_nuovi_campi_client(path);
    FAIL() << "a missing database was not reported";
  } catch (const UpgradeError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_TRUE(e.sql().isEmpty());
    EXPECT_TRUE(e.message().contains(path));
  }
  EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
}  // namespace vx::data
