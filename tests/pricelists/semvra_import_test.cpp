#include "pricelists/semvra_import.h"

#include <QRadioButton>

#include "common/shared_values.h"
#include "pricelists/supplier_books_fixture.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using testing::SheetRow;

SheetRow ListRow(const Variant& code, const Variant& ean, const QString& description,
                 const Variant& price, double pack = 6) {
  return {{1, code}, {4, ean}, {5, description}, {6, pack}, {10, price}};
}
SheetRow PromoRow(const Variant& code, const Variant& ean, const Variant& offer) {
  return {{1, code}, {4, ean}, {6, 12.0}, {7, offer}};
}

class SemvraImportTest : public testing::SupplierBooksFixture {
 protected:
  void SetUp() override {
    SupplierBooksFixture::SetUp();
    Seed("semvra", 900, "8000000000900");
    const QString fifty = QString(47, QLatin1Char('X')) + "END";
    Book("semvra", "alimentari.xlsx", "foglio1",
         {SheetRow{{1, "LISTINO SEMVRA"}}, SheetRow{{1, "CODICE"}}, SheetRow{},
          ListRow("12 LISTINO APRILE", 8000000000012.0, "NOTA E ARTICOLO", 1.5),
          ListRow(20.0, Variant(), "SENZA EAN UNO", 2.0), ListRow(21.0, 0.0, "SENZA EAN DUE", 3.0),
          ListRow(30.0, 8000000000030.0, "PRIMO", 4.0),
          ListRow(31.0, 8000000000030.0, "SECONDO STESSO EAN", 5.0, 12),
          ListRow(40.0, 8000000000040.0, "    CON QUATTRO BLANCHI", 6.0),
          ListRow(41.0, 8000000000041.0, "   " + fifty + "TAGLIATO", 7.0),
          ListRow("TESTO", 8000000000050.0, "NON LETTO", 1.0)});
    Book("semvra", "listino_NO_FOOD.xls", "foglio1",
         {SheetRow{}, SheetRow{}, SheetRow{}, ListRow(60.0, 8000000000060.0, "DETERSIVO", 4.5),
          ListRow(12.0, 8000000000012.0, "NOTA CAMBIATA", 1.75)});
  }
};

TEST_F(SemvraImportTest, FoodThenNonFoodInOneOpening) {
  lis06b* w = Window();
  w->smv->click();
  EXPECT_EQ(w->finew->Text(), "15000");
  ScriptedMessages boxes;
  Import("alimentari.xlsx", "1", "20");
  EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().join("|").toStdString();
  EXPECT_EQ(Get("semvra", "select note from listini").str(), "12 LISTINO APRILE");
  EXPECT_EQ(Codes("semvra", "select codart from articolo order by codart"), "12 20 21 30 40 41");
  // Blank and zero EANs are no EAN: neither linked nor followed.
  EXPECT_EQ(Codes("semvra", "select eanare || ':' || codare from codean order by eanare"),
            "8000000000012:12 8000000000030:30 8000000000040:40 8000000000041:41");
  EXPECT_EQ(Art("semvra", 20, "ea1art").str(), "0000000000000");
  EXPECT_EQ(Art("semvra", 21, "desart").str(), "SENZA EAN DUE");
  // The second row of an EAN edits the first one's article.
  EXPECT_EQ(Art("semvra", 30, "desart").str(), "SECONDO STESSO EAN");
  EXPECT_EQ(Art("semvra", 30, "imbart").toLong(), 12);
  EXPECT_EQ(Art("semvra", 40, "desart").str(), " CON QUATTRO BLANCHI" + QString(30, ' '));
  EXPECT_EQ(Art("semvra", 41, "desart").str(), QString(47, 'X') + "END");
  for (qint64 code : {12, 20, 41}) {
    EXPECT_EQ(Art("semvra", code, "tipart").str(), "F");
    EXPECT_EQ(Art("semvra", code, "ivart").str(), "22");
    EXPECT_EQ(Art("semvra", code, "desgru").str(), ".");
    EXPECT_EQ(Art("semvra", code, "umart").str(), "CT");
    EXPECT_EQ(Art("semvra", code, "tipges").str(), "M");
    EXPECT_EQ(Art("semvra", code, "codrep").toLong(), 1);
    EXPECT_TRUE(Art("semvra", code, "colli").isNull());
  }
  EXPECT_EQ(w->c5w->Text(), "22");
  EXPECT_EQ(w->c3w->Text(), QString(47, 'X') + "END");

  Import("listino_NO_FOOD.xls", "4", "20");
  EXPECT_EQ(Codes("semvra", "select codart from articolo order by codart"), "12 20 21 30 40 41 60");
  EXPECT_EQ(Art("semvra", 60, "tipart").str(), "S");
  EXPECT_EQ(Art("semvra", 12, "tipart").str(), "S");
  EXPECT_EQ(Art("semvra", 12, "przart").toDouble(), 1.75);
  EXPECT_EQ(Get("semvra", "select note from listini").str(), "60");  // row 4 is both
}

TEST_F(SemvraImportTest, KindDescriptionAndColonRules) {
  const QString pad(44, QLatin1Char('a'));
  for (const auto& [name, kind] : std::vector<std::pair<QString, QString>>{
           {"listino_NO_FOOD.xls", "S"},
           {"listino_no_food.xls", "F"},
           {"NO_FOO.xls", "F"},
           {pad + "12345NO_FOOD.xls", "S"},   // position 50
           {pad + "123456NO_FOOD.xls", "F"},  // position 51
       }) {
    EXPECT_EQ(SemvraKind(name), kind) << name.toStdString();
  }
  EXPECT_EQ(SemvraDescription("  DUE BLANCHI"), "  DUE BLANCHI");
  EXPECT_EQ(SemvraDescription("   TRE").size(), 50);
  const QString at30 = QString(29, QLatin1Char('x')) + ": 31/03/2026";
  for (const auto& [text, day] : std::vector<std::pair<QString, std::optional<QString>>>{
           {"Offerta dal: 01/04/2026 al 30", "01/04/2026"},
           {"Dal: 01/04: 02/04/2026", "02/04/2026"},  // the last colon
           {at30, "31/03/2026"},
           {"x" + at30, std::nullopt},  // colon at 31
           {"nessun giorno", std::nullopt},
           {"fine:", ""},
       }) {
    EXPECT_EQ(TextAfterColon(text), day) << text.toStdString();
  }
}

TEST_F(SemvraImportTest, PromotionsWriteOffersOfKnownArticlesAndKeepTheirDays) {
  Book("semvra", "promo.xlsx", "foglio 1",
       {SheetRow{{5, "PROMOZIONE"}}, SheetRow{{5, "Dal: 01/04: 02/04/2026"}},
        SheetRow{{5, "Al giorno: 16/04/2026"}}, PromoRow(1.0, 8000000000900.0, 3.5),  // EAN
        PromoRow(900.0, 8000000000999.0, Variant()),                                  // unknown EAN
        PromoRow(777.0, Variant(), 1.0)});  // unknown code: dropped
  Book("semvra", "seguito.xlsx", "foglio 1",
       {SheetRow{}, SheetRow{{5, "senza giorni"}}, SheetRow{}, PromoRow(900.0, Variant(), 2.5)});
  common::G().iva = "10";
  lis06b* w = Window();
  w->smv->click();
  w->promozioni->click();
  ScriptedMessages boxes;
  Import("promo.xlsx", "1", "10");
  EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().join("|").toStdString();
  EXPECT_EQ(w->finew->Text(), "3000");
  EXPECT_EQ(w->artw->Text(), "3000");
  EXPECT_EQ(w->c3w->Text(), "");
  EXPECT_EQ(w->c5w->Text(), "10");
  EXPECT_EQ(Art("semvra", 900, "przoff").toDouble(), 0);  // the later row wins
  EXPECT_EQ(Art("semvra", 900, "data1").toDate(), QDate(2026, 4, 2));
  EXPECT_EQ(Art("semvra", 900, "data2").toDate(), QDate(2026, 4, 16));
  EXPECT_EQ(Get("semvra", "select count(*) from articolo").toLong(), 1);
  EXPECT_EQ(Get("semvra", "select count(*) from codean").toLong(), 1);

  // From row 4: the days read earlier in this opening.
  Import("seguito.xlsx", "4", "10");
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(Art("semvra", 900, "przoff").toDouble(), 2.5);
  EXPECT_EQ(Art("semvra", 900, "data1").toDate(), QDate(2026, 4, 2));

  // A new opening has no days: rows 2 and 3 without a colon refuse the import.
  w->Command2->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Window()->smv->click();
  Window()->promozioni->click();
  Import("seguito.xlsx", "1", "10");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_TRUE(boxes.Texts()[0].startsWith("ATTENZIONE !!!! Nella riga 2, colonna 5"))
      << boxes.Texts()[0].toStdString();
  EXPECT_TRUE(boxes.Texts()[0].contains("\"senza giorni\""));
  EXPECT_EQ(Art("semvra", 900, "przoff").toDouble(), 2.5);
}

TEST_F(SemvraImportTest, AnEmptyRangeEmptiesAndAFailureKeepsCatalogueAndMark) {
  OpeningMarks marks;
  Db("semvra")
      .PrepareNative(
          "create trigger guasto before insert on codean when "
          "new.eanare = '8000000000041' begin select raise(abort, 'guasto'); "
          "end")
      .Run();
  ImportResult r = ImportSemvra(Req("alimentari.xlsx", "1", "20"), nullptr, marks);
  EXPECT_FALSE(r.completed);
  EXPECT_FALSE(marks.semvraEmptied);
  EXPECT_EQ(Codes("semvra", "select codart from articolo"), "900");
  EXPECT_EQ(Codes("semvra", "select codice from gruppi"), "900");
  r = ImportSemvra(Req("alimentari.xlsx", "5", "4"), nullptr, marks);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.rowsRead, 0);
  EXPECT_TRUE(marks.semvraEmptied);
  EXPECT_EQ(Get("semvra", "select count(*) from articolo").toLong(), 0);
  EXPECT_EQ(Get("semvra", "select count(*) from gruppi").toLong(), 0);
}

}  // namespace
}  // namespace vx::pricelists
