#include "platform/db/recordset.h"

#include <gtest/gtest.h>

#include "platform/db/db_fixture.h"

namespace vx::db {
namespace {

using testing::DbTest;

class RecordsetTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    MakeArticles();
    AddArticle(QStringLiteral("8001"), QStringLiteral("PASTA"), 1.5);
    AddArticle(QStringLiteral("8002"), QStringLiteral("PANE"), 2);
    AddArticle(QStringLiteral("8003"), QStringLiteral("VINO"), 7);
  }

  QStringList Walk(Recordset& rs, const QString& field) {
    QStringList out;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out << rs.Field(field).str();
    return out;
  }
};

TEST_F(RecordsetTest, WalksForwardAndBackWithBofAndEof) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_FALSE(rs->Bof());
  EXPECT_EQ(rs->AbsolutePosition(), 0);
  EXPECT_EQ(Walk(*rs, QStringLiteral("vedovo")), QStringList({"8001", "8002", "8003"}));
  EXPECT_TRUE(rs->Eof());
  EXPECT_THROW(rs->MoveNext(), DbError);
  EXPECT_THROW(rs->Field(QStringLiteral("vedovo")), DbError);
  rs->MovePrevious();
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8003"));
  rs->MoveFirst();
  rs->MovePrevious();
  EXPECT_TRUE(rs->Bof());
  EXPECT_FALSE(rs->Eof());
  rs->MoveLast();
  EXPECT_EQ(rs->AbsolutePosition(), 2);

  auto empty = db_->OpenRecordset(QStringLiteral("select * from articoli where vedovo = 'x'"));
  EXPECT_TRUE(empty->Bof());
  EXPECT_TRUE(empty->Eof());
  EXPECT_EQ(empty->RecordCount(), 0);
}

TEST_F(RecordsetTest, FieldsAreNamedWithoutRegardToCaseAndMayBeNull) {
  auto rs = db_->OpenRecordset(
      QStringLiteral("SELECT [VEDOVO], desart as Descrizione, colli1 FROM articoli"));
  // Without alias a field is named as the table names its column.
  EXPECT_EQ(rs->FieldName(0), QStringLiteral("vedovo"));
  EXPECT_EQ(rs->FieldName(1), QStringLiteral("Descrizione"));
  EXPECT_EQ(rs->FieldIndex(QStringLiteral("DESCRIZIONE")), 1);
  EXPECT_EQ(rs->FieldIndex(QStringLiteral("desart")), -1);
  EXPECT_EQ((*rs)(QStringLiteral("descrizione")).value().str(), QStringLiteral("PASTA"));
  EXPECT_TRUE(rs->Field(QStringLiteral("Colli1")).isNull());
  EXPECT_THROW(rs->Field(QStringLiteral("nessuno")), DbError);
}

TEST_F(RecordsetTest, ValuesAreReadAfreshOnEachMove) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  db_->Execute(QStringLiteral("update articoli set desart = 'PANE BIANCO' where vedovo = '8002'"));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PANE BIANCO"));
}

TEST_F(RecordsetTest, RowsDeletedElsewhereArePassedOver) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  db_->Execute(QStringLiteral("delete from articoli where vedovo = '8002'"));
  rs->MoveNext();
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8003"));
  rs->MovePrevious();
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8001"));
  EXPECT_FALSE(rs->FindFirst(QStringLiteral("vedovo = '8002'")));
  db_->Execute(QStringLiteral("delete from articoli"));
  rs->MoveFirst();
  EXPECT_TRUE(rs->Eof());
}

TEST_F(RecordsetTest, RowsFixedAtOpeningAreNotJoinedByLaterOnes) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli"));
  AddArticle(QStringLiteral("9999"), QStringLiteral("NUOVO"));
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_FALSE(rs->FindFirst(QStringLiteral("vedovo = '9999'")));
}

TEST_F(RecordsetTest, RowsAddedThroughTheSetAreAppendedAndFound) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli where vedovo = '8001'"));
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->AddNew();
  rs->SetField(QStringLiteral("vedovo"), Variant("7777"));
  (*rs)(QStringLiteral("desart")) = Variant("OLIO");
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("OLIO"));  // pending value
  rs->Update();
  EXPECT_EQ(rs->RecordCount(), 2);
  // The current row stays the one before AddNew.
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8001"));
  // Found although the set's WHERE does not select it.
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("vedovo = '7777'")));
  EXPECT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("OLIO"));
  EXPECT_TRUE(rs->Field(QStringLiteral("costo1")).isNull());
}

TEST_F(RecordsetTest, FindFirstAndFindNextWalkTheMatchesInTheSetsOrder) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by desart"));
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("desart like 'p*'")));
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PANE"));
  ASSERT_TRUE(rs->FindNext(QStringLiteral("desart like 'p*'")));
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PASTA"));
  EXPECT_FALSE(rs->FindNext(QStringLiteral("desart like 'p*'")));
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PASTA"));  // stays
  EXPECT_TRUE(rs->FindFirst(QStringLiteral("costo1 > 5 and not isnull(costo1)")));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8003"));
  EXPECT_THROW(rs->FindFirst(QStringLiteral("costo1 >")), DbError);
}

TEST_F(RecordsetTest, CriteriaOfOneShapeFindEachTheirOwnRow) {
  AddArticle(QStringLiteral("8004"), QStringLiteral("l'ape"), 2);
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  for (const char* ean : {"8003", "8001", "8004", "8002"}) {
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("vedovo = '%1'").arg(QLatin1String(ean)))) << ean;
    EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QLatin1String(ean));
  }
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("desart = ") + Quote(QStringLiteral("L'APE"))));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8004"));
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("costo1 = 2")));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8002"));
  ASSERT_TRUE(rs->FindNext(QStringLiteral("costo1 = 2")));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8004"));
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("costo1 = 7")));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8003"));
}

TEST_F(RecordsetTest, FindNextSeesChangesMadeBetweenCalls) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  const QString criteria = QStringLiteral("desart like '*A*'");
  ASSERT_TRUE(rs->FindFirst(criteria));  // 8001 PASTA
  db_->Execute(QStringLiteral("update articoli set desart = 'ZZZ' where vedovo = '8002'"));
  db_->Execute(QStringLiteral("update articoli set desart = 'VINO ROSATO' where vedovo = '8003'"));
  ASSERT_TRUE(rs->FindNext(criteria));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8003"));
  rs->AddNew();
  rs->SetField(QStringLiteral("vedovo"), Variant("9000"));
  rs->SetField(QStringLiteral("desart"), Variant("MANDORLE"));
  rs->Update();
  ASSERT_TRUE(rs->FindNext(criteria));
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("9000"));
  EXPECT_FALSE(rs->FindNext(criteria));
}

TEST_F(RecordsetTest, FindWorksOnAliasesComputedFieldsAndReadOnlySets) {
  auto aliased = db_->OpenRecordset(QStringLiteral(
      "select [vedovo] as Ean, desart as Descrizione, costo1 * 2 as doppio from articoli"));
  ASSERT_TRUE(aliased->FindFirst(QStringLiteral("ean = '8002'")));
  EXPECT_EQ(aliased->Field(QStringLiteral("descrizione")).str(), QStringLiteral("PANE"));
  ASSERT_TRUE(aliased->FindFirst(QStringLiteral("doppio = 14 and descrizione = 'vino'")));
  EXPECT_EQ(aliased->Field(QStringLiteral("ean")).str(), QStringLiteral("8003"));

  auto grouped =
      db_->OpenRecordset(QStringLiteral("select max(costo1) as m, count(*) as n from articoli"));
  EXPECT_EQ(grouped->Field(QStringLiteral("m")).toDouble(), 7.0);
  EXPECT_TRUE(grouped->FindFirst(QStringLiteral("n = 3")));
  EXPECT_THROW(grouped->Edit(), DbError);
  EXPECT_THROW(grouped->AddNew(), DbError);
}

TEST_F(RecordsetTest, AnAliasedFieldIsWrittenToItsSourceColumn) {
  auto rs = db_->OpenRecordset(QStringLiteral(
      "select [vedovo] as Ean, desart as Descrizione, costo1 * 2 as doppio from articoli"));
  ASSERT_TRUE(rs->FindFirst(QStringLiteral("ean = '8001'")));
  rs->Edit();
  rs->SetField(QStringLiteral("Descrizione"), Variant("PASTA DI SEMOLA"));
  EXPECT_THROW(rs->SetField(QStringLiteral("doppio"), Variant(1)), DbError);
  rs->Update();
  EXPECT_EQ(rs->Field(QStringLiteral("descrizione")).str(), QStringLiteral("PASTA DI SEMOLA"));
  auto check =
      db_->OpenRecordset(QStringLiteral("select desart from articoli where vedovo = '8001'"));
  EXPECT_EQ(check->Field(QStringLiteral("desart")).str(), QStringLiteral("PASTA DI SEMOLA"));
}

TEST_F(RecordsetTest, EditCancelAndDelete) {
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli order by vedovo"));
  EXPECT_THROW(rs->SetField(QStringLiteral("desart"), Variant("x")), DbError);  // no Edit
  EXPECT_THROW(rs->Update(), DbError);
  rs->Edit();
  rs->SetField(QStringLiteral("desart"), Variant("ANNULLATO"));
  rs->CancelUpdate();
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PASTA"));

  rs->Delete();
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_THROW(rs->Field(QStringLiteral("desart")), DbError);  // stays on the deleted row
  rs->MoveNext();
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8002"));
  rs->MoveFirst();
  EXPECT_EQ(rs->Field(QStringLiteral("vedovo")).str(), QStringLiteral("8002"));

  // An edit of a row deleted meanwhile is refused, not lost silently.
  rs->Edit();
  db_->Execute(QStringLiteral("delete from articoli where vedovo = '8002'"));
  rs->SetField(QStringLiteral("desart"), Variant("x"));
  EXPECT_THROW(rs->Update(), DbError);
}

TEST_F(RecordsetTest, ATableSetSeeksOnANamedIndex) {
  auto rs = db_->OpenRecordset(QStringLiteral("articoli"), RecordsetType::Table);
  EXPECT_THROW(rs->Seek(QStringLiteral("="), Variant("8002")), DbError);  // no index yet
  EXPECT_THROW(rs->SetIndex(QStringLiteral("nessuno")), DbError);
  rs->SetIndex(QStringLiteral("vedovo"));
  ASSERT_TRUE(rs->Seek(QStringLiteral("="), Variant("8002")));
  EXPECT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field(QStringLiteral("desart")).str(), QStringLiteral("PANE"));
  EXPECT_FALSE(rs->Seek(QStringLiteral("="), Variant("0000")));
  EXPECT_TRUE(rs->NoMatch());
  // A row added elsewhere is seen by the table set.
  AddArticle(QStringLiteral("5555"), QStringLiteral("SALE"));
  ASSERT_TRUE(rs->Seek(QStringLiteral("="), Variant("5555")));
  rs->Edit();
  rs->SetField(QStringLiteral("colli1"), Variant(3));
  rs->Update();
  EXPECT_EQ(rs->Field(QStringLiteral("colli1")).toLong(), 3);

  auto users = db_->OpenRecordset(QStringLiteral("select * from articoli"));
  EXPECT_THROW(users->SetIndex(QStringLiteral("vedovo")), DbError);  // not a table set
  EXPECT_THROW(db_->OpenRecordset(QStringLiteral("nessuna"), RecordsetType::Table), DbError);
}

TEST_F(RecordsetTest, ASeekOnANumberKeyReadsTheKeyAsTheColumnDoes) {
  db_->Execute(QStringLiteral("create table commessi ([codcommesso] int)"));
  db_->Execute(QStringLiteral("alter table commessi add [dsccommesso] text(30)"));
  db_->Execute(QStringLiteral("create unique index codcommesso on commessi (codcommesso)"));
  db_->Execute(QStringLiteral("insert into commessi values (12, 'Mario')"));
  auto rs = db_->OpenRecordset(QStringLiteral("commessi"), RecordsetType::Table);
  rs->SetIndex(QStringLiteral("codcommesso"));
  EXPECT_TRUE(rs->Seek(QStringLiteral("="), Variant("012")));
  EXPECT_TRUE(rs->Seek(QStringLiteral("="), Variant(12.0)));
  EXPECT_FALSE(rs->Seek(QStringLiteral("="), Variant("dodici")));
  EXPECT_THROW(rs->Seek(QStringLiteral(">="), Variant(12)), DbError);
}

TEST_F(RecordsetTest, AJoinIsReadOnlyButReadable) {
  db_->Execute(QStringLiteral("create table codean ([codare] long, [eanare] text(13))"));
  db_->Execute(QStringLiteral("create table articolo ([codart] long, [desc] text(30))"));
  db_->Execute(QStringLiteral("insert into codean values (1, '8001')"));
  db_->Execute(QStringLiteral("insert into articolo values (1, 'uno')"));
  auto rs = db_->OpenRecordset(
      QStringLiteral("SELECT  * FROM codean,articolo  WHERE  codare=codart and eanare = '8001'"));
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Field(QStringLiteral("desc")).str(), QStringLiteral("uno"));
  EXPECT_THROW(rs->Edit(), DbError);
}

}  // namespace
}  // namespace vx::db
