#include "pricelists/sda_import.h"

#include <QRadioButton>

#include "common/shared_values.h"
#include "platform/files.h"
#include "pricelists/supplier_books_fixture.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using testing::SheetRow;

// A listino.txt line: code at 55-60, price at 116-122, discount at 133-137.
QString PriceLine(const QString& code, const QString& price, const QString& discount) {
  QString l(140, QLatin1Char(' '));
  l.replace(54, code.size(), code);
  l.replace(115, price.size(), price);
  l.replace(132, discount.size(), discount);
  return l;
}

SheetRow SdaRow(const Variant& code, const Variant& ean, const QString& description,
                const Variant& group, const Variant& price, double vat = 10, double pack = 6) {
  return {{1, code}, {2, ean}, {3, description}, {4, group}, {6, price}, {8, vat}, {9, pack}};
}

class SdaImportTest : public testing::SupplierBooksFixture {
 protected:
  void SetUp() override {
    SupplierBooksFixture::SetUp();
    Seed("sda", 900, "8000000000900");
    Book("sda", "listino.xls", "foglio1",
         {
             SdaRow("LISTINO SDA APRILE", Variant(), "", Variant(), "PREZZO"),
             SdaRow(50.0, 8000000000050.0, "SALE FINO", Variant(), 1.0),  // before any group
             SdaRow("CODICE", Variant(), "TESTATA", "999 TITOLO", 5.0),   // heading, whole
             SdaRow(123.0, 8000000000123.0, "PENNE 500G", "123 PASTA", 2.0, 4, 24),
             SdaRow(123.0, 8000000000124.0, "PENNE ALTRO EAN", "123 PASTA", 7.0),
             SdaRow(124.0, 8000000000124.0, "FUSILLI", Variant(), 3.0),  // EAN of 123
             SdaRow(125.0, Variant(), "CARAMELLE", "200 DOLCI", 0.85),   // keeps group 123
             SdaRow(Variant(), Variant(), "", Variant(), Variant()),     // empty row
             SdaRow(126.0, " ", "SENZA PREZZO", "300 X", Variant()),
             SdaRow(127.0, 8000000000127.0, "AL CHILO", "400 PESO", "12 kg"),  // group only
             SdaRow(128.0, 8000000000128.0, "RISO", Variant(), 3.0, 22, 12),
             SdaRow(129.0, "ABC", "EAN ROTTO", Variant(), 3.0),
         });
    WriteLines({PriceLine("000123", "  10,00", "20"), PriceLine("000125", "   1,00", "0"),
                PriceLine("000125", "   2,00", "50"),  // the last line wins
                PriceLine("000999", "   5,00", "0"),   // not in the sheet
                PriceLine(" 00050", "   5,00", "0"), PriceLine("A00050", "   5,00", "0"),
                PriceLine("12A456", "   5,00", "0"), QStringLiteral("corta")});
  }
  void WriteLines(const QStringList& lines) {
    ASSERT_TRUE(fs::WriteTextLines(QStringLiteral("C:\\sda\\listino.txt"), lines));
  }
};

TEST_F(SdaImportTest, ImportaRebuildsTheCatalogueAndCorrectsThePricesFromTheTextFile) {
  common::G().codrep = 77;  // left by an earlier import
  lis06b* w = Window();
  w->tpr->click();
  EXPECT_EQ(w->File1->Names(), QStringList{"listino.xls"});
  ScriptedMessages boxes;
  Import("listino.xls", "1", "30");

  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0],
            "Righe non importate:\n"
            "riga 12, colonna 2: \"ABC\" (EAN non numerico)\n"
            "listino.txt, riga 7, posizioni 55-60: \"12A456\" (codice non valido)");
  EXPECT_EQ(w->artw->Text(), "30");
  EXPECT_EQ(w->c2w->Text(), "8000000000128");
  EXPECT_EQ(w->c4w->Text(), "2,85");  // the reduced price
  EXPECT_EQ(w->c5w->Text(), "22");
  EXPECT_EQ(w->c6w->Text(), "12");

  EXPECT_EQ(Codes("sda", "select codart from articolo order by codart"), "50 123 124 125 126 128");
  EXPECT_EQ(Codes("sda", "select codice || ':' || descrizione from gruppi order by codice"),
            "123:GRUPPO 123 400:GRUPPO 400");
  EXPECT_EQ(Codes("sda", "select eanare || ':' || codare from codean order by eanare"),
            "0000000000000:125 8000000000050:50 8000000000123:123 8000000000124:123 "
            "8000000000128:128");
  EXPECT_EQ(Get("sda", "select note from listini").str(), "LISTINO SDA APRILE");

  struct Expect {
    qint64 code;
    double przart;
    QString desgru, desart;
    qint64 codrep;
  };
  for (const Expect& e : std::vector<Expect>{{50, 0.95, "", "SALE FINO", 77},
                                             {123, 8, "GRUPPO 123", "PENNE 500G", 123},
                                             {124, 2.85, "GRUPPO 123", "FUSILLI", 123},
                                             {125, 1, "GRUPPO 123", "CARAMELLE", 123},
                                             {126, 0, "GRUPPO 123", "SENZA PREZZO", 123},
                                             {128, 2.85, "GRUPPO 400", "RISO", 400}}) {
    SCOPED_TRACE(e.code);
    EXPECT_EQ(Art("sda", e.code, "przart").toDouble(), static_cast<float>(e.przart));
    EXPECT_EQ(Art("sda", e.code, "desgru").str(), e.desgru);
    EXPECT_EQ(Art("sda", e.code, "desart").str(), e.desart);
    EXPECT_EQ(Art("sda", e.code, "codrep").toLong(), e.codrep);
    EXPECT_EQ(Art("sda", e.code, "umart").str(), "CT");
    EXPECT_EQ(Art("sda", e.code, "tipges").str(), "M");
    EXPECT_TRUE(Art("sda", e.code, "tipart").str().isEmpty());
    EXPECT_TRUE(Art("sda", e.code, "colli").isNull());
  }
  EXPECT_EQ(Art("sda", 123, "ivart").str(), "04");
  EXPECT_EQ(Art("sda", 123, "imbart").toLong(), 24);
  EXPECT_EQ(Art("sda", 123, "ea1art").str(), "8000000000123");
}

TEST_F(SdaImportTest, ReducedPricesAndTextLines) {
  EXPECT_EQ(Discounted(0.85f, 5), 0.8075f);
  EXPECT_EQ(Discounted(10, 20), 8.0f);
  EXPECT_EQ(Discounted(1.00005f, 0), 1.0f);  // 4 decimals
  struct Case {
    QString line;
    qint32 code;
    float price;
    QString why;
  };
  const std::vector<Case> cases = {
      {PriceLine("000123", "  10,00", "20"), 123, 8, ""},
      {PriceLine("42", "1.000,5", "abc"), 42, 1000.5f, ""},  // Val of a text is 0
      {PriceLine(" 00123", "  10,00", ""), 0, 0, ""},
      {PriceLine("X00123", "  10,00", ""), 0, 0, ""},
      {QString(54, QLatin1Char(' ')), 0, 0, ""},
      {PriceLine("000123", "  dieci", ""), 0, 0,
       "posizioni 116-122: \"  dieci\" (prezzo non valido)"},
      {PriceLine("0001234", "", "").left(60), 0, 0, "posizioni 116-122: \"\" (prezzo non valido)"},
  };
  for (const Case& c : cases) {
    QString why;
    const auto l = ReadSdaPriceLine(c.line, &why);
    EXPECT_EQ(why, c.why) << c.line.toStdString();
    EXPECT_EQ(l.has_value(), c.why.isEmpty() && c.code != 0) << c.line.toStdString();
    if (l) {
      EXPECT_EQ(l->code, c.code);
      EXPECT_EQ(l->price, c.price);
    }
  }
}

TEST_F(SdaImportTest, NothingChangesWithoutTheTextFileOrWhenAWriteFails) {
  ASSERT_TRUE(QFile::remove(Host("C:\\sda\\listino.txt")));
  {
    ScriptedMessages boxes;
    const ImportResult r = ImportSda(Req("listino.xls", "1", "30"), nullptr);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(r.failure.contains("C:\\sda\\listino.txt")) << r.failure.toStdString();
    // Text after a DOS end mark (at 143, after a line of 140) is damage.
    WriteLines(
        {PriceLine("000123", "  10,00", "20"), "\x1A" + PriceLine("000125", "   1,00", "0")});
    EXPECT_TRUE(ImportSda(Req("listino.xls", "1", "30"), nullptr)
                    .failure.startsWith("Il file C:\\sda\\listino.txt è danneggiato: il byte di "
                                        "fine file (0x1A) alla posizione 143"));
  }
  EXPECT_EQ(Codes("sda", "select codart from articolo"), "900");
  WriteLines({PriceLine("000123", "  10,00", "20")});
  Db("sda")
      .PrepareNative(
          "create trigger guasto before insert on codean when new.eanare = '8000000000128' "
          "begin select raise(abort, 'disco pieno'); end")
      .Run();
  const ImportResult r = ImportSda(Req("listino.xls", "1", "30"), nullptr);
  EXPECT_FALSE(r.completed);
  EXPECT_TRUE(r.failure.contains("disco pieno")) << r.failure.toStdString();
  EXPECT_EQ(Codes("sda", "select codart from articolo"), "900");
  EXPECT_EQ(Codes("sda", "select codice from gruppi"), "900");
  EXPECT_EQ(Codes("sda", "select eanare from codean"), "8000000000900");
}

TEST_F(SdaImportTest, AnEmptyRangeStillEmptiesTheCatalogue) {
  const ImportResult r = ImportSda(Req("listino.xls", "5", "4"), nullptr);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.rowsRead, 0);
  EXPECT_EQ(Get("sda", "select count(*) from articolo").toLong(), 0);
  EXPECT_EQ(Get("sda", "select count(*) from gruppi").toLong(), 0);
  EXPECT_EQ(Get("sda", "select count(*) from listini").toLong(), 1);
  // A run from row 2 leaves the note as it was.
  Db("sda").Execute("update listini set [note] = 'VECCHIA'");
  EXPECT_TRUE(ImportSda(Req("listino.xls", "2", "30"), nullptr).completed);
  EXPECT_EQ(Get("sda", "select note from listini").str(), "VECCHIA");
  EXPECT_EQ(Get("sda", "select count(*) from articolo").toLong(), 6);
}

}  // namespace
}  // namespace vx::pricelists
