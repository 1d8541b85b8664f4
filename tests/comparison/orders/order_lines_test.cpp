// The values of the order lines: catalogue lookups, conversion and line totals.
#include <gtest/gtest.h>

#include "comparison/orders/orders_fixture.h"

namespace vx::comparison::testing {
namespace {

const Line& LineFor(const std::vector<Line>& lines, const QString& ean) {
  static const Line none;
  for (const Line& l : lines) {
    if (l.eanrig.str() == ean) return l;
  }
  ADD_FAILURE() << "no line for " << ean.toStdString();
  return none;
}

class OrderLinesTest : public OrdersTest {
 protected:
  void SetUp() override {
    OrdersTest::SetUp();
    AddSupplier(1, "VARU");
    AddSupplier(2, "APULIA");
  }
  Line OnlyLine(int slot) {
    const auto lines = Lines(slot, 2026, 1);
    EXPECT_EQ(lines.size(), 1u);
    return lines.empty() ? Line{} : lines[0];
  }
};

TEST_F(OrderLinesTest, LineValuesWithoutConversion) {
  AddArticle(1, 4711, Ean(8001), "BISCOTTI AL CACAO CON GOCCE DI CIOCCOLATO 500G");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Packages(1, 5).Imb(12).Iva("10"));
  Write(1);
  const Line l = OnlyLine(1);
  EXPECT_EQ(l.articoli.toLong(), 4711);
  EXPECT_EQ(l.descrizione.str(), "BISCOTTI AL CACAO CON GOCCE DI");  // first 30 characters
  EXPECT_DOUBLE_EQ(l.prezzo.toDouble(), 2.0);
  EXPECT_EQ(l.unitaM.str(), "CT");
  EXPECT_EQ(l.imballo.toLong(), 12);
  EXPECT_DOUBLE_EQ(l.quantita.toDouble(), 5.0);
  EXPECT_EQ(l.iva.str(), "10");
  EXPECT_EQ(l.eanrig.str(), Ean(8001));
  EXPECT_DOUBLE_EQ(l.colli.toDouble(), 60.0);
  EXPECT_DOUBLE_EQ(l.totrig.toDouble(), 120.0);
  EXPECT_EQ(l.desfor.str(), " ");
  EXPECT_EQ(l.desgru.str(), " ");
  EXPECT_EQ(values_.azione_conv.str(), "M");
  EXPECT_EQ(values_.ean_corrente.str(), Ean(8001));
}

TEST_F(OrderLinesTest, PriceIsRoundedToTwoDecimalsBeforeTheTotal) {
  AddArticle(1, 1, Ean(8001), "OLIO");
  // A cost of 1,2345 is priced 1,23; the total is 3 x 10 x 1,23 = 36,90.
  AddComparisonRow(Row(Ean(8001)).Cost(1, 1.2345).Packages(1, 3).Imb(10));
  Write(1);
  const Line l = OnlyLine(1);
  EXPECT_DOUBLE_EQ(l.prezzo.toDouble(), 1.23);
  EXPECT_DOUBLE_EQ(l.totrig.toDouble(), 36.9);
}

TEST_F(OrderLinesTest, ActionMDividesAnyOtherMultiplies) {
  AddArticle(1, 1, Ean(8001), "ACQUA");
  AddArticle(1, 2, Ean(8002), "BIRRA");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 12).Packages(1, 1).Imb(1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Packages(1, 1).Imb(1));
  AddConversion(1, Ean(8001), {{"fatconv", 6}, {"azione", "M"}});
  AddConversion(1, Ean(8002), {{"fatconv", 6}, {"azione", "D"}});
  Write(1);
  const auto lines = Lines(1, 2026, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8001)).prezzo.toDouble(), 2.0);
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8002)).prezzo.toDouble(), 12.0);
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8002)).totrig.toDouble(), 12.0);
  // Quantities are not converted.
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8001)).quantita.toDouble(), 1.0);
}

TEST_F(OrderLinesTest, ZeroOrEmptyFactorLeavesTheCostUnconverted) {
  AddArticle(1, 1, Ean(8001), "ACQUA");
  AddArticle(1, 2, Ean(8002), "BIRRA");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 3.5).Packages(1, 1).Imb(1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 4.5).Packages(1, 1).Imb(1));
  AddConversion(1, Ean(8001), {{"fatconv", 0}, {"azione", "M"}});
  AddConversion(1, Ean(8002), {{"azione", Variant::null()}});  // factor Null
  const SlotOrderResult r = Write(1);
  ASSERT_EQ(r.outcome, OrderOutcome::Written);
  const auto lines = Lines(1, 2026, 1);
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8001)).prezzo.toDouble(), 3.5);
  EXPECT_DOUBLE_EQ(LineFor(lines, Ean(8002)).prezzo.toDouble(), 4.5);
}

TEST_F(OrderLinesTest, SlotUsesItsOwnAlternativeEanFactorAndAction) {
  // Slot 2's catalogue lists the article under another EAN, priced by the six-pack.
  AddArticle(2, 900, Ean(9900), "ACQUA CONF. 6");
  AddArticle(1, 100, Ean(8001), "ACQUA");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 0.5).Cost(2, 3).Packages(1, 2).Packages(2, 2).Imb(1));
  AddConversion(1, Ean(8001),
                {{"eanalternativo2", Ean(9900)},
                 {"fatconv2", 6},
                 {"azione2", "D"},
                 {"fatconv", 2},
                 {"azione", "M"}});

  Write(2);
  const Line two = OnlyLine(2);
  EXPECT_EQ(two.eanrig.str(), Ean(9900));
  EXPECT_EQ(two.articoli.toLong(), 900);
  EXPECT_DOUBLE_EQ(two.prezzo.toDouble(), 18.0);  // 3 x 6, by slot 2's own columns
  EXPECT_EQ(values_.azione_conv.str(), "D");

  Write(1);
  const Line one = OnlyLine(1);
  EXPECT_EQ(one.eanrig.str(), Ean(8001));  // slot 1 has no alternative of its own
  EXPECT_DOUBLE_EQ(one.prezzo.toDouble(), 0.25);
}

TEST_F(OrderLinesTest, BlankAlternativeEanCountsAsAbsent) {
  AddArticle(2, 7, Ean(8001), "ACQUA");
  AddComparisonRow(Row(Ean(8001)).Cost(2, 3).Packages(2, 1).Imb(1));
  AddConversion(2, Ean(8001), {{"eanalternativo2", "   "}});
  Write(2);
  const Line l = OnlyLine(2);
  EXPECT_EQ(l.eanrig.str(), Ean(8001));
  EXPECT_EQ(l.articoli.toLong(), 7);
}

TEST_F(OrderLinesTest, LowestCodforRowDecidesForEverySlot) {
  AddArticle(1, 1, Ean(8001), "ACQUA");
  AddArticle(1, 2, Ean(7001), "ACQUA ALT 1");
  AddArticle(1, 3, Ean(7003), "ACQUA ALT 3");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 3).Packages(1, 1).Imb(1));
  AddConversion(3, Ean(8001), {{"eanalternativo", Ean(7003)}});
  AddConversion(1, Ean(8001), {{"eanalternativo", Ean(7001)}});
  Write(1);
  EXPECT_EQ(OnlyLine(1).eanrig.str(), Ean(7001));
}

TEST_F(OrderLinesTest, EanMissingFromTheCatalogueGivesTheMissingArticleLine) {
  AddArticle(1, 5, Ean(8002), "RISO");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 3).Packages(1, 2).Type("1").Seq(1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 3).Packages(1, 2).Type("1").Seq(2));
  Write(1);
  const auto lines = Lines(1, 2026, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].articoli.toLong(), 999999);
  EXPECT_EQ(lines[0].descrizione.str(), "AAAAA !!!! articolo inesistente");
  EXPECT_DOUBLE_EQ(lines[0].prezzo.toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(lines[0].totrig.toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(lines[0].colli.toDouble(), 24.0);
  // The line after it is written normally.
  EXPECT_EQ(lines[1].articoli.toLong(), 5);
  EXPECT_DOUBLE_EQ(lines[1].totrig.toDouble(), 72.0);
}

TEST_F(OrderLinesTest, CodeWithoutArticleLeavesTheCatalogueColumnsAsANewLineHasThem) {
  Supplier(1)->Execute("insert into codean (codare, eanare) values (55, ?)", {Variant(Ean(8001))});
  AddComparisonRow(Row(Ean(8001)).Cost(1, 3).Packages(1, 2));
  const SlotOrderResult r = Write(1);
  ASSERT_EQ(r.outcome, OrderOutcome::Written);
  const Line l = OnlyLine(1);
  EXPECT_TRUE(l.articoli.isNull());
  EXPECT_TRUE(l.descrizione.isNull());
  EXPECT_TRUE(l.prezzo.isNull());
  EXPECT_DOUBLE_EQ(l.totrig.toDouble(), 0.0);
  EXPECT_DOUBLE_EQ(l.colli.toDouble(), 24.0);
  EXPECT_EQ(l.eanrig.str(), Ean(8001));
}

TEST_F(OrderLinesTest, OnlyRowsWithPackagesForTheSlotBecomeLines) {
  AddArticle(1, 1, Ean(8001), "A");
  AddArticle(1, 2, Ean(8002), "B");
  AddArticle(1, 3, Ean(8003), "C");
  AddComparisonRow(Row(Ean(8001)).Cost(1, 1).Packages(1, 1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 1).Packages(1, 0).Packages(2, 4));
  AddComparisonRow(Row(Ean(8003)).Cost(1, 1));  // packages Null
  const SlotOrderResult r = Write(1);
  EXPECT_EQ(r.lines, 1);
  EXPECT_EQ(OnlyLine(1).eanrig.str(), Ean(8001));
  // The comparison table is only read.
  EXPECT_EQ(MainValue("select colli1 from articoli where vedovo = '0000000008001'").toLong(), 1);
}

}  // namespace
}  // namespace vx::comparison::testing
