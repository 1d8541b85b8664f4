// The shipped databases: what the upgrade adds is left to it, and the columns take the
// values the program stores in them.
#include "data/shipped_schema.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "data/schema_upgrade.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

namespace vx::data {
namespace {

const TableSpec* Table(const DatabaseSpec& spec, const QString& name) {
  for (const auto& t : spec.tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

bool HasColumn(const TableSpec& t, const QString& column) {
  for (const auto& c : t.columns) {
    if (c.name.compare(column, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

TEST(ShippedSchemaTest, UpgradeColumnsAreLeftToTheUpgrade) {
  std::vector<UpgradeEntry> entries = MainUpgradeEntries();
  for (const auto& e : ClientUpgradeEntries()) entries.push_back(e);
  for (const auto& e : entries) {
    if (e.tabella.isEmpty()) continue;
    const TableSpec* t = Table(MainDatabaseSpec(), e.tabella);
    if (!t) t = Table(StoreDatabaseSpec(), e.tabella);
    ASSERT_NE(t, nullptr) << e.tabella.toStdString();
    EXPECT_FALSE(HasColumn(*t, e.campo)) << e.tabella.toStdString() << "." << e.campo.toStdString();
  }
}

TEST(ShippedSchemaTest, DefinitionTexts) {
  EXPECT_EQ(CreateTableSql({"listini", {{"codlis", "text(2)"}, {"note", "memo"}}}),
            "create table [listini] ([codlis] text(2), [note] memo)");
  EXPECT_EQ(CreateIndexSql({"annonumero", "testa", {"anno", "numero"}, false}),
            "create index [annonumero] on [testa] ([anno], [numero])");
  EXPECT_EQ(CreateIndexSql({"codutente", "utenti", {"codutente"}, true}),
            "create unique index [codutente] on [utenti] ([codutente])");
}

class ShippedValuesTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
};

TEST_F(ShippedValuesTest, SupplierCatalogueTakesEveryFormTheImportsWrite) {
  auto sup = CreateSupplierDatabase(dir_.filePath("dati.mdb"));
  auto rs = sup->OpenRecordset("select * from articolo");
  rs->AddNew();
  rs->SetField("codart", "000012345");  // the text import's 9-character code
  rs->SetField("przart", "12,50");      // the text of "########0.00"
  rs->SetField("ivart", 22);
  rs->SetField("data1", "00:00:00");
  rs->SetField("data2", 45000);
  rs->Update();
  rs->AddNew();
  rs->SetField("codart", 7);
  rs->SetField("ivart", "04");
  rs->SetField("data1", QDate(2024, 6, 1));
  rs->SetField("data2", "30/06/2024");
  rs->Update();

  ASSERT_TRUE(rs->FindFirst("codart = 12345"));
  EXPECT_DOUBLE_EQ(rs->Field("przart").toDouble(), 12.5);
  EXPECT_EQ(rs->Field("ivart").str(), "22");
  EXPECT_EQ(rs->Field("data1").toDayNumber(), 0);
  ASSERT_TRUE(rs->FindFirst("codart = 7"));
  EXPECT_EQ(rs->Field("ivart").str(), "04");
  // Offer dates compare as dates.
  auto offers = sup->OpenRecordset(
      "select codart from articolo where data1 <= #06/15/2024# and data2 >= #06/15/2024#");
  ASSERT_FALSE(offers->Eof());
  EXPECT_EQ(offers->Field("codart").toLong(), 7);
  offers->MoveNext();
  EXPECT_TRUE(offers->Eof());

  EXPECT_EQ(sup->OpenRecordset("select * from listini where codlis= '01'")->RecordCount(), 1);
}

TEST_F(ShippedValuesTest, OrderLinesTakeWhatTheOrderWritersStore) {
  auto sup = CreateSupplierDatabase(dir_.filePath("dati.mdb"));
  auto mov = sup->OpenRecordset("select * from movimenti where bannoc = 2024 and bnumer = 1 ");
  mov->AddNew();
  mov->SetField("bannoc", 2024);
  mov->SetField("bnumer", 1);
  mov->SetField("bns", 1);
  mov->SetField("articoli", 999999);
  mov->SetField("descrizione", "AAAAA !!!! articolo inesistente");  // 31 characters
  mov->SetField("prezzo", "1.234,50");
  mov->SetField("quantita", "5,00");
  mov->SetField("totrig", "0,00");
  mov->SetField("unitaM", "CT");
  mov->SetField("desfor", " ");
  mov->Update();
  ASSERT_TRUE(mov->FindFirst("bns = 1"));
  EXPECT_DOUBLE_EQ(mov->Field("prezzo").toDouble(), 1234.5);
  EXPECT_DOUBLE_EQ(mov->Field("quantita").toDouble(), 5);
  EXPECT_EQ(mov->Field("descrizione").str().size(), 31);
}

TEST_F(ShippedValuesTest, ComparisonRowsAcceptAnEmptyMarkAndStartAtZeroCost) {
  const QString path = dir_.filePath("main.mdb");
  CreateMainDatabase(path, "NEGOZIO");
  inserisco_nuovi_campi_bancaean(path);
  auto db = db::Database::Open(path);
  auto rs = db->OpenRecordset("select * from articoli");
  rs->AddNew();
  rs->SetField("vedovo", "8001234567890");
  rs->SetField("sel", "");
  rs->Update();
  ASSERT_TRUE(rs->FindFirst("vedovo = '8001234567890'"));
  EXPECT_EQ(rs->Field("sel").str(), "");
  for (const char* c : {"costo1", "costo2", "costo3"}) EXPECT_EQ(rs->Field(c).toDouble(), 0.0) << c;
  EXPECT_TRUE(rs->Field("costo4").isNull());
}

}  // namespace
}  // namespace vx::data
