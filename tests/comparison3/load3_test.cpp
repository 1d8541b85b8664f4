// The load with the three-supplier loader's request, on catalogues made by the test.
#include <gtest/gtest.h>

#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison/written_orders.h"
#include "comparison3/three_supplier_load.h"
#include "data/comparison_load.h"
#include "support/loader_fixture.h"

namespace vx::comparison3 {
namespace {

using comparison::LoadOutcome;
using comparison::testing::ArticleSpec;
using comparison::testing::LoaderFixture;
using comparison::testing::RecordingSink;

const QString kEan = QStringLiteral("8001234567890");
const Variant kNull = Variant::null();

class Load3Test : public LoaderFixture {
 protected:
  LoadOutcome Load(const QString& code, int slot, double percentage = 0, bool apply = false,
                   bool description = false) {
    return comparison::LoadSupplier(
        *main_, ThreeSupplierLoad(code, slot, percentage, apply, description), sink_);
  }
  double Cost(const QString& ean, int slot) {
    return Cell(ean, QStringLiteral("costo%1").arg(slot)).toDouble();
  }
  RecordingSink sink_;
};

TEST_F(Load3Test, EansAreFiledAsThirteenDigitsAndTheLaterRowWins) {
  const QString corv = AddSupplier(4, "CORVALIA", "corvalia");
  AddPriced(corv, 1, "80012345", 1, "OTTO CIFRE");
  AddPriced(corv, 2, "2345678", 2, "PESO VARIABILE");  // seven digits from 2: loaded
  AddPriced(corv, 3, "0000023456789", 3, "ESCLUSO");   // stored with 000002: left out
  AddPriced(corv, 4, kEan, 4, "PRIMO");
  AddPriced(corv, 5, kEan, 5, "SECONDO");  // the same EAN again, later in table order

  const LoadOutcome out = Load("4", 1);  // supplier 4 in slot 1

  EXPECT_TRUE(out.completed);
  EXPECT_EQ(out.eligible, 4);
  EXPECT_EQ(RowCount(), 3);
  EXPECT_FLOAT_EQ(Cost("0000080012345", 1), 1.0f);
  EXPECT_FLOAT_EQ(Cost("0000002345678", 1), 2.0f);
  EXPECT_FALSE(HasRow("0000023456789"));
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 5.0f) << "the later row's cost";
  EXPECT_EQ(Cell(kEan, "desart").str(), "PRIMO") << "the first row created it";
  for (const QString& ean : {QStringLiteral("0000080012345"), kEan}) {
    EXPECT_EQ(Cell(ean, "forn1").toLong(), 4) << "forn1 holds the supplier's code";
    EXPECT_TRUE(Cell(ean, "promo1").isNull());
    EXPECT_TRUE(Cell(ean, "tipoart").isNull());
    EXPECT_DOUBLE_EQ(Cost(ean, 2), 0) << "a new row reads 0 in the other slots";
    EXPECT_DOUBLE_EQ(Cost(ean, 3), 0);
  }
  EXPECT_EQ(out.lastEan, kEan);
}

TEST_F(Load3Test, TheSlotsOwnConversionRowConvertsAndRefilesThePrice) {
  struct Case {
    const char* name;
    Variant factor;
    Variant action;
    Variant alternative;
    double expected;
    const char* filedUnder;
    QString azione;
  };
  const QString alt = QStringLiteral("0000012345678");
  const std::vector<Case> cases = {
      {"M multiplies", 6, "M", kNull, 9, "own", "M"},
      {"D divides", 6, "D", kNull, 0.25, "own", "D"},
      {"factor 0 with M gives 0", 0, "M", kNull, 0, "own", "M"},
      {"factor 0 otherwise leaves it", 0, "D", kNull, 1.5, "own", "D"},
      {"no factor leaves it", kNull, "M", kNull, 1.5, "own", "M"},
      {"no action divides", 6, kNull, kNull, 0.25, "own", ""},
      {"blank alternative is none", 1, "M", "   ", 1.5, "own", "M"},
      {"alternative EAN", 6, "M", "12345678", 9, "alt", "M"},
  };
  const QString varu = AddSupplier(2, "VARU", "varu");
  AddPriced(varu, 1, kEan, 1.5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    main_->Execute("delete from articoli");
    main_->Execute("delete from eanconv");
    AddConversion(2, kEan, {c.alternative}, {c.factor}, {c.action});
    // Another slot's row for the same EAN is not this slot's.
    AddConversion(3, kEan, {kNull}, {100}, {"M"});
    const LoadOutcome out = Load("2", 2, 0, true);
    const QString filed = QString::fromLatin1(c.filedUnder) == "own" ? kEan : alt;
    EXPECT_EQ(RowCount(), 1);
    ASSERT_TRUE(HasRow(filed));
    EXPECT_NEAR(Cost(filed, 2), c.expected, 1e-6);
    EXPECT_EQ(out.lastEan, filed);
    EXPECT_EQ(out.lastAction, c.azione);
  }
  // Without "Applica tabella moltiplicatori" the table is not read.
  main_->Execute("delete from articoli");
  Load("2", 2, 0, false);
  EXPECT_FLOAT_EQ(Cost(kEan, 2), 1.5f);
}

TEST_F(Load3Test, PriceIsTheOfferInsideItsPeriodWithThePercentage) {
  struct Case {
    const char* name;
    Variant przoff;
    QDate from, to;
    double percentage;
    double expected;
  };
  const QDate today = Day();
  const std::vector<Case> cases = {
      {"offer from today", 1.2, today, today.addDays(5), 0, 1.2},
      {"offer to today", 1.2, today.addDays(-5), today, 0, 1.2},
      {"offer ended yesterday", 1.2, today.addDays(-5), today.addDays(-1), 0, 2},
      {"offer price 0 is no offer", 0, today.addDays(-5), today.addDays(5), 0, 2},
      {"-10 % on 2", 0, today, today, -10, 1.8},
      {"+2,5 % on the offer", 1.2, today, today, 2.5, 1.23},
  };
  const QString varu = AddSupplier(1, "VARU", "varu");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Supplier(varu)->Execute("delete from articolo");
    Supplier(varu)->Execute("delete from codean");
    ArticleSpec a;
    a.codart = 1;
    a.przart = 2;
    a.przoff = c.przoff;
    a.data1 = Variant(c.from);
    a.data2 = Variant(c.to);
    AddArticle(varu, a);
    AddEan(varu, 1, kEan);
    Load("1", 3, c.percentage);
    EXPECT_NEAR(Cost(kEan, 3), c.expected, 1e-6);
  }
}

TEST_F(Load3Test, DescriptionOfAnExistingRowIsReplacedOnlyWhenAsked) {
  main_->Execute(
      "insert into articoli (vedovo, desart, umart, imballo, ivart) values "
      "(?, 'VECCHIA', 'KG', 1, '10')",
      {kEan});
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, kEan, 2, "NUOVA");
  Load("1", 1, 0, false, false);
  EXPECT_EQ(Cell(kEan, "desart").str(), "VECCHIA");
  Load("1", 1, 0, false, true);
  EXPECT_EQ(Cell(kEan, "desart").str(), "NUOVA");
  EXPECT_EQ(Cell(kEan, "umart").str(), "KG");
  EXPECT_EQ(Cell(kEan, "imballo").toLong(), 1);
  EXPECT_EQ(Cell(kEan, "ivart").str(), "10");
  EXPECT_FLOAT_EQ(Cost(kEan, 1), 2.0f);
}

TEST_F(Load3Test, EansWithoutArticleAreCountedButNotStepped) {
  const QString varu = AddSupplier(3, "VARU", "varu");
  auto db = Supplier(varu);
  db::Transaction tx(*db);
  for (int i = 1; i <= 500; ++i) {
    const QString ean = QStringLiteral("80000000%1").arg(i, 5, 10, QLatin1Char('0'));
    if (i % 25 != 0) {
      ArticleSpec a;
      a.codart = i;
      a.przart = 1;
      AddArticle(varu, a);
    }
    AddEan(varu, i, ean);
  }
  AddEan(varu, Variant(""), "8100000000001");  // an empty code: passed over likewise
  tx.Commit();
  const LoadOutcome out = Load("3", 3);
  EXPECT_TRUE(out.completed);
  EXPECT_TRUE(sink_.lines.contains("Per questo fornitore ci sono 501 articoli da elaborare ..."));
  EXPECT_EQ(sink_.maximum, 501);
  EXPECT_EQ(sink_.value, 480) << "the bar stops 21 short";
  EXPECT_EQ(RowCount(), 480);
}

TEST_F(Load3Test, AnUnloadableSupplierNamesItsCodeThenTheReason) {
  AddSupplierRow(1, "VUOTO", "");
  AddSupplierRow(2, "PERSO", "C:\\perso\\dati.mdb");
  AddSupplier(3, "ROTTO", "rotto");
  Supplier("C:\\rotto\\dati.mdb")->Execute("drop table articolo");
  for (const char* code : {"1", "2", "3"}) {
    SCOPED_TRACE(code);
    for (bool three : {true, false}) {
      sink_ = RecordingSink();
      comparison::SlotLoad r = ThreeSupplierLoad(code, 1, 0, false, false);
      if (!three) r = comparison::SlotLoad{code, 1};
      const LoadOutcome out = comparison::LoadSupplier(*main_, r, sink_);
      EXPECT_FALSE(out.completed);
      ASSERT_EQ(sink_.lines.size(), 2);
      const QString head =
          QStringLiteral("ERRORE: Impossibile caricare il fornitore con codice %1. ").arg(code);
      EXPECT_TRUE(sink_.lines[1].startsWith(head)) << sink_.lines[1].toStdString();
      EXPECT_GT(sink_.lines[1].size(), head.size()) << "the reason follows";
      EXPECT_EQ(sink_.ends, 1);
    }
  }
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(Load3Test, TheRunIsMarkedUnderWayUntilItsDifferencesPassEnds) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, kEan, 2);
  // An order written from slot 4's packages, which the three-supplier run leaves alone.
  comparison::RecordWrittenOrders(*main_,
                                  {{4, "CORVALIA", "C:\\corvalia\\dati.mdb", 2026, 7, 1, 3}});
  comparison::ConfirmWrittenOrders(*main_, 4);
  comparison::RecordWrittenOrders(*main_, {{1, "VARU", varu, 2026, 8, 1, 3}});
  comparison::ConfirmWrittenOrders(*main_, 1);

  Load("1", 1);
  EXPECT_TRUE(data::LoadUnderWay(*main_)) << "a run stopped here stays flagged";
  comparison::ComputeDifferences(*main_, sink_, comparison::ThreeSupplierDifferences());
  EXPECT_FALSE(data::LoadUnderWay(*main_));
  EXPECT_TRUE(comparison::WrittenOrdersOf(*main_, 1).empty());
  ASSERT_EQ(comparison::WrittenOrdersOf(*main_, 4).size(), 1u);
  EXPECT_EQ(comparison::WrittenOrdersOf(*main_, 4)[0].number, 7);
}

}  // namespace
}  // namespace vx::comparison3
