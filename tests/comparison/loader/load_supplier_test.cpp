#include "comparison/load_supplier.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/loader_fixture.h"

namespace vx::comparison {
namespace {

using testing::ArticleSpec;
using testing::LoaderFixture;
using testing::RecordingSink;

const QString kEan = QStringLiteral("8001234567890");

class LoadSupplierTest : public LoaderFixture {
 protected:
  LoadOutcome Load(const QString& code, int slot, double percentage = 0, bool apply = false,
                   bool description = false, bool byType = false) {
    SlotLoad r;
    r.supplierCode = code;
    r.slot = slot;
    r.percentage = percentage;
    r.applyConversion = apply;
    r.useDescription = description;
    r.byType = byType;
    return LoadSupplier(*main_, r, sink_);
  }
  double Cost(const QString& ean, int slot) {
    return Cell(ean, QStringLiteral("costo%1").arg(slot)).toDouble();
  }
  RecordingSink sink_;
};

TEST_F(LoadSupplierTest, WritesOneRowPerEanWithTheSlotColumnsAndTheArticleData) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  ArticleSpec a;
  a.codart = 10;
  a.desart = "PASTA 500G";
  a.przart = 2;
  a.umart = "PZ";
  a.imbart = 24;
  a.ivart = 4;  // a number: written as "04"
  AddArticle(varu, a);
  AddEan(varu, 10, "1234567");  // seven digits: padded to 13
  AddEan(varu, 10, kEan);       // a second EAN of the same article

  const LoadOutcome out = Load("1", 2, 10);

  EXPECT_TRUE(out.completed);
  EXPECT_EQ(out.written, 2);
  EXPECT_EQ(RowCount(), 2);
  const QString padded = "0000001234567";
  ASSERT_TRUE(HasRow(padded));
  EXPECT_EQ(Cell(padded, "desart").str(), "PASTA 500G");
  EXPECT_EQ(Cell(padded, "umart").str(), "PZ");
  EXPECT_EQ(Cell(padded, "imballo").toLong(), 24);
  EXPECT_EQ(Cell(padded, "ivart").str(), "04");
  EXPECT_EQ(Cell(padded, "tipoart").str(), "1");
  // Slot 2 was loaded: its columns are written, the other slots' stay empty.
  EXPECT_EQ(Cell(padded, "forn2").toLong(), 2);
  EXPECT_FLOAT_EQ(Cost(padded, 2), 2.2f);
  EXPECT_EQ(Cell(padded, "promo2").str().trimmed(), "");
  EXPECT_TRUE(SlotUntouched(padded, 1));
  EXPECT_TRUE(SlotUntouched(padded, 4));
  EXPECT_EQ(out.lastEan, kEan);
  EXPECT_EQ(out.lastAction, "M");
  EXPECT_EQ(sink_.lines, QStringList({"Inizio caricamento dati del fornitore VARU.",
                                      "Per questo fornitore ci sono 2 articoli da elaborare ...",
                                      "Fine caricamento dati del fornitore."}));
  EXPECT_EQ(sink_.ends, 1);
  EXPECT_FALSE(sink_.busy);
}

TEST_F(LoadSupplierTest, VatRateOfANewRowTakesTwoDigits) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  struct Case {
    QString ean;
    Variant ivart;
    Variant expected;
  } cases[] = {
      {"8000000000001", "4 ", "04"},  // one digit and a blank, as the RBM import leaves it
      {"8000000000002", "22", "22"},
      {"8000000000003", Variant::null(), Variant::null()},  // no rate: stays Null
      {"8000000000004", "7", "07"},
      {"8000000000005", "05", "05"},
  };
  qint64 code = 1;
  for (const Case& c : cases) {
    ArticleSpec a;
    a.codart = code;
    a.ivart = c.ivart;
    AddArticle(varu, a);
    AddEan(varu, code++, c.ean);
  }
  Load("1", 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ean.toStdString());
    const Variant ivart = Cell(c.ean, "ivart");
    EXPECT_EQ(ivart.isNull(), c.expected.isNull());
    if (!c.expected.isNull()) {
      EXPECT_EQ(ivart.str(), c.expected.str());
    }
  }
}

TEST_F(LoadSupplierTest, LeavesOutEansBeginningWithSixZerosOrFiveZerosAndATwo) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, "0000001234567", 1);
  AddPriced(varu, 2, "0000021234567", 1);
  AddPriced(varu, 3, "0000031234567", 1);
  AddPriced(varu, 4, "0000201234567", 1);

  const LoadOutcome out = Load("1", 1);

  EXPECT_EQ(out.eligible, 2);
  EXPECT_EQ(sink_.maximum, 2);
  EXPECT_FALSE(HasRow("0000001234567"));
  EXPECT_FALSE(HasRow("0000021234567"));
  EXPECT_TRUE(HasRow("0000031234567"));
  EXPECT_TRUE(HasRow("0000201234567"));
}

TEST_F(LoadSupplierTest, ProgressCountsEligibleEansButStepsOnlyForArticlesFound) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  for (int i = 1; i <= 120; ++i) {
    const QString ean = QStringLiteral("80000000%1").arg(i, 5, 10, QLatin1Char('0'));
    if (i % 24 == 0) {
      AddEan(varu, 100000 + i, ean);  // names no article
    } else {
      AddPriced(varu, i, ean, 1);
    }
  }

  const LoadOutcome out = Load("1", 1);

  EXPECT_EQ(sink_.maximum, 120);
  EXPECT_EQ(sink_.value, 115);
  EXPECT_EQ(out.written, 115);
  EXPECT_EQ(RowCount(), 115);
  EXPECT_TRUE(sink_.lines.contains("Per questo fornitore ci sono 120 articoli da elaborare ..."));
}

TEST_F(LoadSupplierTest, TakesTheOfferPriceInsideItsPeriodBothDaysIncluded) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  const QDate today = Day();
  struct Case {
    QString ean;
    Variant przoff, data1, data2;
    float cost;
    QString promo;
  } cases[] = {
      {"8000000000001", 1.5, today.addDays(-3), today.addDays(3), 1.65f, "P"},
      {"8000000000002", 1.5, today.addDays(-3), today.addDays(-1), 2.2f, ""},  // ended yesterday
      {"8000000000003", 1.5, today, today, 1.65f, "P"},                        // one day: today
      {"8000000000004", 1.5, today.addDays(1), today.addDays(5), 2.2f, ""},    // not begun
      {"8000000000005", 0, today.addDays(-3), today.addDays(3), 2.2f, ""},     // no offer price
      {"8000000000006", Variant::null(), today, today, 2.2f, ""},
      {"8000000000007", 1.5, Variant::null(), today, 2.2f, ""},
  };
  qint64 code = 1;
  for (const Case& c : cases) {
    ArticleSpec a;
    a.codart = code;
    a.przart = 2;
    a.przoff = c.przoff;
    a.data1 = c.data1;
    a.data2 = c.data2;
    AddArticle(varu, a);
    AddEan(varu, code++, c.ean);
  }

  for (bool apply : {false, true}) {  // the rule is the same with the conversion table on
    SCOPED_TRACE(apply);
    Load("1", 1, 10, apply);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.ean.toStdString());
      EXPECT_FLOAT_EQ(Cost(c.ean, 1), c.cost);
      EXPECT_EQ(Cell(c.ean, "promo1").str().trimmed(), c.promo);
    }
  }
}

TEST_F(LoadSupplierTest, PercentageIsAddedOnceAndMayBeNegative) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, kEan, 2);
  Load("1", 1, -5);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 1.9f);
  Load("1", 1, 0);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 2.0f);
  Load("1", 1, 12.345);  // 2.2469 after rounding to four decimals
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 2.2469f);
}

class ConversionTest : public LoadSupplierTest {
 protected:
  void SetUp() override {
    LoadSupplierTest::SetUp();
    varu_ = AddSupplier(1, "VARU", "varu", 50);
    diza_ = AddSupplier(3, "DIZA", "diza", 10);
    AddPriced(varu_, 1, kEan, 100);
    AddPriced(diza_, 7, kAlt, 2);
  }
  const QString kAlt = QStringLiteral("8009999999999");
  QString varu_, diza_;
};

TEST_F(ConversionTest, AlternativeOfAnotherSupplierReplacesTheOwnPriceAndIsConverted) {
  struct Case {
    Variant factor, action;
    float cost;
  } cases[] = {
      {6, "M", 13.2f},                 // 2 + 10 % of supplier 3, times 6
      {6, "D", 2.2f / 6},              // divided
      {6, Variant::null(), 2.2f / 6},  // no action divides
      {0, "M", 2.2f},                  // factor 0: unconverted
      {Variant::null(), "M", 2.2f},    // no factor: unconverted
  };
  for (const Case& c : cases) {
    main_->Execute("delete from eanconv");
    main_->Execute("delete from articoli");
    AddConversion(1, kEan, {Variant::null(), Variant::null(), kAlt}, {1, 1, c.factor},
                  {"M", "M", c.action});
    const LoadOutcome out = Load("1", 1, 20, true);
    SCOPED_TRACE(c.action.str().toStdString());
    EXPECT_EQ(Cell(kEan, "forn3").toLong(), 3);
    EXPECT_NEAR(Cost(kEan, 3), c.cost, 1e-5);
    EXPECT_TRUE(SlotUntouched(kEan, 1)) << "the own price is not taken";
    EXPECT_FALSE(HasRow(kAlt)) << "the row is the loaded supplier's EAN";
    EXPECT_EQ(out.lastAction, "M");
  }
}

TEST_F(ConversionTest, IsUsedOnlyWhenTheSlotAsksForItAndOnlyForTheSlotsRow) {
  AddConversion(1, kEan, {Variant::null(), Variant::null(), kAlt}, {1, 1, 6}, {"M", "M", "M"});
  AddConversion(2, kEan, {kAlt}, {1}, {"M"});  // another slot's row: not read for slot 1
  Load("1", 1, 20, false);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 120.0f);
  EXPECT_TRUE(SlotUntouched(kEan, 3));
}

TEST_F(ConversionTest, ARowWithoutAlternativesTakesTheOwnPriceUnconverted) {
  AddConversion(1, kEan, {Variant::null(), "   "}, {6, 6, 6, 6}, {"M", "M", "M", "M"});
  Load("1", 1, 20, true);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 120.0f);
  EXPECT_EQ(Cell(kEan, "forn1").toLong(), 1);
  EXPECT_TRUE(SlotUntouched(kEan, 2));
}

TEST_F(ConversionTest, AnAlternativeForTheLoadedSlotTakesItsOwnPriceWithTheRowsPercentage) {
  // The own slot named with the article's own EAN: price through the alternative, so the
  // `fornitori` percentage (50) and the factor apply, not the slot's percentage.
  AddConversion(1, kEan, {kEan}, {2}, {"M"});
  AddConversion(1, "8000000000000", {}, {}, {});  // unrelated
  const LoadOutcome out = Load("1", 1, 20, true);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 300.0f);
  EXPECT_EQ(out.lastAction, "M");
  main_->Execute("update eanconv set azione = 'D'");
  EXPECT_EQ(Load("1", 1, 20, true).lastAction, "D");
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 75.0f);
}

TEST_F(ConversionTest, AnAlternativeThatCannotBeResolvedWritesCostZero) {
  // Supplier 3 lacks the EAN; supplier 2 has it only without its leading zeros; supplier 4
  // has no `fornitori` row at all.
  const QString apulia = AddSupplier(2, "APULIA", "apulia", 10);
  AddPriced(apulia, 5, "12345", 3);
  AddConversion(1, kEan, {Variant::null(), "0000000012345", "8000000000999", kAlt}, {1, 6, 6, 6},
                {"M", "M", "M", "M"});
  Load("1", 1, 20, true);
  for (int j : {2, 3, 4}) {
    SCOPED_TRACE(j);
    EXPECT_EQ(Cell(kEan, QStringLiteral("forn%1").arg(j)).toLong(), j);
    EXPECT_EQ(Cost(kEan, j), 0.0);
  }
  EXPECT_TRUE(SlotUntouched(kEan, 1));
}

TEST_F(LoadSupplierTest, TwoSlotsOverOneEanShareTheRow) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  const QString apulia = AddSupplier(2, "APULIA", "apulia");
  AddPriced(varu, 1, kEan, 2, "DA VARU");
  ArticleSpec a;
  a.codart = 9;
  a.desart = "DA APULIA";
  a.przart = 3;
  a.przoff = 2.5;
  a.data1 = Day();
  a.data2 = Day();
  AddArticle(apulia, a);
  AddEan(apulia, 9, kEan);

  Load("1", 1);
  Load("2", 2);

  EXPECT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(kEan, "forn1").toLong(), 1);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 2.0f);
  EXPECT_EQ(Cell(kEan, "promo1").str().trimmed(), "");
  EXPECT_EQ(Cell(kEan, "forn2").toLong(), 2);
  EXPECT_FLOAT_EQ(Cost(kEan, 2), 2.5f);
  EXPECT_EQ(Cell(kEan, "promo2").str(), "P");
  EXPECT_EQ(Cell(kEan, "desart").str(), "DA VARU") << "the description stays without the option";
}

TEST_F(LoadSupplierTest, DescriptionAndTypeOptions) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  const QString apulia = AddSupplier(2, "APULIA", "apulia");
  AddPriced(varu, 1, kEan, 2, "DA VARU");
  ArticleSpec a;
  a.codart = 9;
  a.desart = "DA APULIA";
  a.tipart = "S";
  a.przart = 3;
  AddArticle(apulia, a);
  AddEan(apulia, 9, kEan);
  AddEan(apulia, 9, "8000000000077");  // new with slot 2: takes its description anyway

  Load("1", 1, 0, false, false, true);
  EXPECT_EQ(Cell(kEan, "tipoart").str(), "F");
  Load("2", 2, 0, false, true, false);
  EXPECT_EQ(Cell(kEan, "desart").str(), "DA APULIA");
  EXPECT_EQ(Cell(kEan, "tipoart").str(), "1");
  EXPECT_EQ(Cell("8000000000077", "desart").str(), "DA APULIA");
  Load("2", 2, 0, false, false, true);
  EXPECT_EQ(Cell(kEan, "tipoart").str(), "S");
}

TEST_F(LoadSupplierTest, TwoEanRowsOfOneEanWriteOneRowAndTheLaterWins) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, kEan, 2, "PRIMO");
  AddPriced(varu, 2, kEan, 3, "SECONDO");
  const LoadOutcome out = Load("1", 1, 0, false, true);
  EXPECT_EQ(RowCount(), 1);
  EXPECT_EQ(out.written, 2);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 3.0f);
  EXPECT_EQ(Cell(kEan, "desart").str(), "SECONDO");
}

TEST_F(LoadSupplierTest, SupplierCodeIsReadByItsLeadingNumber) {
  const QString diza = AddSupplier(3, "DIZA", "diza");
  AddPriced(diza, 1, kEan, 4);
  const LoadOutcome out = Load("3a", 1);
  EXPECT_TRUE(out.completed);
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 4.0f) << "slot 1 loads supplier 3 into its own columns";
  EXPECT_EQ(Cell(kEan, "forn1").toLong(), 1);
}

TEST_F(LoadSupplierTest, UnknownSupplierOrNothingToLoadIsReportedAndWritesNothing) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, "0000001111111", 1);  // filtered out: nothing eligible

  for (const QString& code :
       {QStringLiteral("7"), QStringLiteral("x'; drop table articoli"), QStringLiteral("1")}) {
    sink_ = RecordingSink();
    const LoadOutcome out = Load(code, 1);
    EXPECT_FALSE(out.completed);
    EXPECT_EQ(sink_.lines.last(),
              QStringLiteral("ERRORE: Impossibile caricare il fornitore con codice %1.").arg(code));
    EXPECT_EQ(sink_.begins, 0);
    EXPECT_EQ(sink_.ends, 1) << "the closing step runs";
    EXPECT_GE(sink_.yields, 1);
  }
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(LoadSupplierTest, MissingSupplierDatabaseIsReportedWithItsPath) {
  AddSupplierRow(1, "VARU", "C:\\nonce\\dati.mdb");
  const LoadOutcome out = Load("1", 1);
  EXPECT_FALSE(out.completed);
  ASSERT_FALSE(sink_.lines.isEmpty());
  EXPECT_TRUE(sink_.lines.last().startsWith("ERRORE: ")) << sink_.lines.last().toStdString();
  EXPECT_TRUE(sink_.lines.last().contains("C:\\nonce\\dati.mdb"));
  EXPECT_EQ(sink_.ends, 1);
  EXPECT_FALSE(fs::Exists("C:\\nonce\\dati.mdb")) << "opening never creates a file";
}

TEST_F(LoadSupplierTest, APathOffTheDataDriveIsRefusedWithItsPath) {
  const QString varu = AddSupplier(1, "VARU", "varu");  // a real catalogue...
  AddPriced(varu, 1, "8000000000001", 1);
  const QString host = fs::HostPath(varu);
  for (const QString& path : {host, QStringLiteral("../varu/dati.mdb")}) {
    sink_ = RecordingSink();
    main_->Execute("update fornitori set percorso = ? where codice = 1", {Variant(path)});
    const LoadOutcome out = Load("1", 1);  // ...named by a host path
    EXPECT_FALSE(out.completed);
    ASSERT_FALSE(sink_.lines.isEmpty());
    EXPECT_TRUE(sink_.lines.last().startsWith("ERRORE: ")) << sink_.lines.last().toStdString();
    EXPECT_TRUE(sink_.lines.last().endsWith(
        QStringLiteral("Impossibile aprire il database %1: non è un percorso del disco dei dati "
                       "(come C:\\cartella\\file.mdb).")
            .arg(path)))
        << sink_.lines.last().toStdString();
  }
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(LoadSupplierTest, MissingAlternativeDatabaseIsAnAlternativeNotFoundAndTheLoadGoesOn) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddSupplierRow(4, "CORVALIA", "C:\\corvalia\\dati.mdb");
  AddPriced(varu, 1, "8000000000001", 1);
  AddPriced(varu, 2, "8000000000002", 1);
  AddPriced(varu, 3, "8000000000003", 1);
  AddConversion(1, "8000000000002", {Variant::null(), Variant::null(), Variant::null(), kEan},
                {1, 1, 1, 1}, {"M", "M", "M", "M"});

  const LoadOutcome out = Load("1", 1, 0, true);

  EXPECT_TRUE(out.completed);
  EXPECT_TRUE(sink_.lines.filter("ERRORE: ").value(0).contains("C:\\corvalia\\dati.mdb"));
  EXPECT_EQ(sink_.lines.last(), "Fine caricamento dati del fornitore.");
  EXPECT_EQ(sink_.ends, 1);
  EXPECT_FALSE(sink_.busy);
  EXPECT_TRUE(HasRow("8000000000001")) << "rows before the failure are kept";
  EXPECT_EQ(Cell("8000000000002", "forn4").toLong(), 4);
  EXPECT_TRUE(SlotUntouched("8000000000002", 1));
  EXPECT_EQ(main_->transactionDepth(), 0);
}

}  // namespace
}  // namespace vx::comparison
