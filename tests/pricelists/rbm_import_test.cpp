#include "pricelists/rbm_import.h"

#include <QRadioButton>

#include "pricelists/supplier_books_fixture.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using testing::SheetRow;

SheetRow RbmRow(const Variant& code, const Variant& ean, const QString& description,
                const Variant& price, const Variant& vat = 22.0, const QString& group = "BEVANDE",
                const QString& subgroup = "ACQUE", double pack = 6) {
  return {{1, code},      {3, ean},  {4, description}, {8, group},
          {10, subgroup}, {11, vat}, {12, pack},       {13, price}};
}

class RbmImportTest : public testing::SupplierBooksFixture {
 protected:
  void SetUp() override {
    SupplierBooksFixture::SetUp();
    Seed("rbm", 900, "8000000000900");
    Seed("semvra", 900, "8000000000900");
    Book("rbm", "listino.xlsx", "stampa listino 3",
         {RbmRow("CODICE", "EAN", "DESCRIZIONE", "PREZZO"),
          RbmRow(10.0, 8000000000010.0, "ACQUA NATURALE", Variant(), 4.0, "VINI",
                 "SUBGRUPPO DI VENTICINQUE."),
          RbmRow(10.0, 8000000000011.0, "ACQUA ALTRO EAN", 9.0),
          RbmRow(11.0, 8000000000011.0, "ACQUA FRIZZANTE", 0.5),  // EAN of 10
          SheetRow{},
          RbmRow(" 12 ", Variant(), "BIRRA", 1.25, 22.0, "GRUPPO DI VENTICINQUE CAR", "SUB", 24)});
    Book("rbm", "nuovo.xls", "stampa listino 3",
         {RbmRow(10.0, 8000000000012.0, "ACQUA CAMBIATA", 3.0),
          RbmRow(13.0, 8000000000013.0, "SUCCO", 2.0)});
    Book("semvra", "cibo.xlsx", "foglio1", {});
  }
};

TEST_F(RbmImportTest, TheFirstImportOfAnOpeningEmptiesTheLaterOnesOnlyAdd) {
  lis06b* w = Window();
  ScriptedMessages boxes;
  w->smv->click();  // a SEMVRA list first: RBM's tables are still emptied after it
  Import("cibo.xlsx", "1", "10");
  EXPECT_EQ(Codes("semvra", "select codart from articolo"), "");
  w->rbm->click();
  Import("listino.xlsx", "1", "20");
  EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().join("|").toStdString();
  EXPECT_EQ(w->artw->Text(), "20");
  EXPECT_EQ(w->c2w->Text(), "0000000000000");
  EXPECT_EQ(w->c4w->Text(), "1,25");
  EXPECT_EQ(w->c6w->Text(), "24");
  EXPECT_EQ(Codes("rbm", "select codart from articolo order by codart"), "10 11 12");
  EXPECT_EQ(Codes("rbm", "select eanare || ':' || codare from codean order by eanare"),
            "0000000000000:12 8000000000010:10 8000000000011:10");
  EXPECT_EQ(Get("rbm", "select count(*) from gruppi").toLong(), 0);
  EXPECT_EQ(Art("rbm", 10, "ivart").str(), "4 ");
  EXPECT_EQ(Art("rbm", 10, "desart").str(), "ACQUA NATURALE");
  EXPECT_EQ(Art("rbm", 10, "przart").toDouble(), 0);
  EXPECT_EQ(Art("rbm", 10, "desgru").str(), "VINI                ");
  EXPECT_EQ(Art("rbm", 10, "dessot").str(), "SUBGRUPPO DI VENTICI");
  EXPECT_EQ(Art("rbm", 11, "przart").toDouble(), 0.5);
  EXPECT_EQ(Art("rbm", 12, "desgru").str(), "GRUPPO DI VENTICINQU");
  EXPECT_EQ(Art("rbm", 12, "imbart").toLong(), 24);
  for (qint64 code : {10, 11, 12}) {
    EXPECT_EQ(Art("rbm", code, "codrep").toLong(), 1);
    EXPECT_EQ(Art("rbm", code, "umart").str(), "CT");
    EXPECT_EQ(Art("rbm", code, "tipges").str(), "M");
    EXPECT_TRUE(Art("rbm", code, "tipart").str().isEmpty());
    EXPECT_TRUE(Art("rbm", code, "colli").isNull());
  }

  // The same opening: nothing emptied, known codes untouched, new codes and EANs added.
  Import("nuovo.xls", "1", "20");
  EXPECT_EQ(Codes("rbm", "select codart from articolo order by codart"), "10 11 12 13");
  EXPECT_EQ(Art("rbm", 10, "desart").str(), "ACQUA NATURALE");
  EXPECT_EQ(Get("rbm", "select codare from codean where eanare = '8000000000012'").toLong(), 10);

  // A new opening empties again.
  w->Command2->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Window()->rbm->click();
  Import("nuovo.xls", "1", "20");
  EXPECT_EQ(Codes("rbm", "select codart from articolo order by codart"), "10 13");
  EXPECT_EQ(Art("rbm", 10, "desart").str(), "ACQUA CAMBIATA");
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(RbmImportTest, AnEmptyRangeEmptiesAndAFailedImportKeepsTheMark) {
  OpeningMarks marks;
  Db("rbm").PrepareNative("drop table codean").Run();
  ImportResult r = ImportRbm(Req("listino.xlsx", "1", "20"), nullptr, marks);
  EXPECT_TRUE(r.failure.contains("codean")) << r.failure.toStdString();
  EXPECT_FALSE(marks.rbmEmptied);
  EXPECT_EQ(Codes("rbm", "select codart from articolo"), "900");
  Db("rbm").PrepareNative("create table codean (codare integer, eanare text)").Run();
  r = ImportRbm(Req("listino.xlsx", "5", "4"), nullptr, marks);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.rowsRead, 0);
  EXPECT_TRUE(marks.rbmEmptied);
  EXPECT_EQ(Codes("rbm", "select codart from articolo"), "");
}

}  // namespace
}  // namespace vx::pricelists
