// Order numbers, headers and the split by article type.
#include <gtest/gtest.h>

#include "comparison/orders/orders_fixture.h"
#include "platform/clock.h"

namespace vx::comparison::testing {
namespace {

class OrderNumberingTest : public OrdersTest {
 protected:
  void SetUp() override {
    OrdersTest::SetUp();
    AddSupplier(1, "VARU");
    AddArticle(1, 101, Ean(8001), "PASTA");
    AddArticle(1, 102, Ean(8002), "RISO");
  }
  void TwoRowsForSlot1() {
    AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Packages(1, 3));
    AddComparisonRow(Row(Ean(8002)).Cost(1, 4).Packages(1, 1));
  }
};

TEST_F(OrderNumberingTest, FirstOrderOfTheYearIsOneWithoutQuestion) {
  AddExistingOrder(1, 2025, 40, 2);  // last year's orders do not count
  TwoRowsForSlot1();
  const SlotOrderResult r = Write(1);

  EXPECT_EQ(r.outcome, OrderOutcome::Written);
  EXPECT_EQ(prompts_.asked, 0);
  EXPECT_EQ(r.orders, std::vector<qint32>{1});
  EXPECT_EQ(values_.numero_ordine, 1);
  const auto lines = Lines(1, 2026, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].bns, 1);
  EXPECT_EQ(lines[1].bns, 2);
}

TEST_F(OrderNumberingTest, HeaderCarriesTheCustomerRowAndToday) {
  AddCustomer(1, 2, QString("ALTRO CLIENTE"), "02");
  AddCustomer(1, 1, QString("SUPERMERCATO DEL CORSO DI PORTA TICINESE SNC"), "03");
  TwoRowsForSlot1();
  Write(1);

  const auto headers = Headers(1);
  ASSERT_EQ(headers.size(), 1u);
  const Header& h = headers[0];
  EXPECT_EQ(h.anno.toLong(), 2026);
  EXPECT_EQ(h.numero.toLong(), 1);
  EXPECT_EQ(h.dataor.toDate(), today_);
  EXPECT_EQ(h.cliente.toLong(), 1);
  EXPECT_EQ(h.dsccliente.str(), QString("SUPERMERCATO DEL CORSO DI PORTA TICINESE SNC").left(35));
  EXPECT_EQ(h.codsede.toLong(), 0);
  EXPECT_TRUE(h.dscsede.isText());
  EXPECT_EQ(h.dscsede.str(), "");
  EXPECT_EQ(h.codlis.str(), "03");
  EXPECT_EQ(h.fl3ts.str(), "I");
}

TEST_F(OrderNumberingTest, WithoutCustomerRowTheStoreIsTheCustomer) {
  TwoRowsForSlot1();
  Write(1);
  const Header h = Headers(1).at(0);
  EXPECT_EQ(h.cliente.toLong(), 1);
  // The store name whole, blanks up to 30 characters included.
  EXPECT_EQ(h.dsccliente.str(), QString("MARKET DI PROVA").leftJustified(30));
  EXPECT_EQ(h.codlis.str(), "01");
}

TEST_F(OrderNumberingTest, NullCustomerFieldsAreTakenAsEmpty) {
  AddCustomer(1, Variant::null(), Variant::null(), Variant::null());
  TwoRowsForSlot1();
  // A customer row whose code is Null is no row with code 1: the store is the customer.
  Write(1);
  EXPECT_EQ(Headers(1).at(0).cliente.toLong(), 1);

  Supplier(1)->Execute("update clienti set codcliente = 1");
  prompts_.newOrder = true;
  Write(1);
  const Header h = Headers(1).at(1);
  EXPECT_EQ(h.cliente.toLong(), 1);
  EXPECT_EQ(h.dsccliente.str(), "");
  EXPECT_EQ(h.codlis.str(), "");
}

TEST_F(OrderNumberingTest, YesMakesTheNextOrderWithLinesFromOne) {
  for (int n = 1; n <= 7; ++n) AddExistingOrder(1, 2026, n, 3);
  TwoRowsForSlot1();
  prompts_.newOrder = true;
  const SlotOrderResult r = Write(1);

  EXPECT_EQ(prompts_.asked, 1);
  EXPECT_EQ(r.orders, std::vector<qint32>{8});
  const auto lines = Lines(1, 2026, 8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].bns, 1);
  EXPECT_EQ(Lines(1, 2026, 7).size(), 3u);  // the last order is left alone
  EXPECT_EQ(Headers(1).size(), 8u);
}

TEST_F(OrderNumberingTest, NoAppendsToTheLastOrderAndRewritesItsHeader) {
  for (int n = 1; n <= 7; ++n) AddExistingOrder(1, 2026, n, 3);
  TwoRowsForSlot1();
  prompts_.newOrder = false;
  const SlotOrderResult r = Write(1);

  EXPECT_EQ(r.orders, std::vector<qint32>{7});
  const auto lines = Lines(1, 2026, 7);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].bns, 4);
  EXPECT_EQ(lines[3].eanrig.str(), Ean(8001));
  EXPECT_EQ(lines[4].bns, 5);
  const auto headers = Headers(1);
  ASSERT_EQ(headers.size(), 7u);
  EXPECT_EQ(headers[6].dataor.toDate(), today_);
  EXPECT_EQ(headers[6].cliente.toLong(), 1);
  EXPECT_EQ(headers[6].codlis.str(), "01");
}

class OrderSplitTest : public OrderNumberingTest {
 protected:
  void FourTypedRows() {
    AddArticle(1, 103, Ean(8003), "DETERSIVO");
    AddArticle(1, 104, Ean(8004), "SAPONE");
    // Read in the order tipoart, sequenza: "1" (seq 1), "1" (seq 2), "F", "S".
    AddComparisonRow(Row(Ean(8004)).Cost(1, 1).Packages(1, 1).Type("S"));
    AddComparisonRow(Row(Ean(8002)).Cost(1, 1).Packages(1, 1).Type("1").Seq(2));
    AddComparisonRow(Row(Ean(8003)).Cost(1, 1).Packages(1, 1).Type("F"));
    AddComparisonRow(Row(Ean(8001)).Cost(1, 1).Packages(1, 1).Type("1").Seq(1));
  }
};

TEST_F(OrderSplitTest, SwitchOnStartsAnOrderPerType) {
  main_->Execute("update fornitori set creazioneordine = 1 where codice = 1");
  for (int n = 1; n <= 7; ++n) AddExistingOrder(1, 2026, n, 1);
  FourTypedRows();
  prompts_.newOrder = true;
  const SlotOrderResult r = Write(1);

  EXPECT_EQ(prompts_.asked, 1);
  EXPECT_EQ(r.orders, (std::vector<qint32>{8, 9, 10}));
  EXPECT_EQ(values_.numero_ordine, 10);
  const auto first = Lines(1, 2026, 8);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].eanrig.str(), Ean(8001));  // sequenza orders within a type
  EXPECT_EQ(first[1].eanrig.str(), Ean(8002));
  const auto second = Lines(1, 2026, 9);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].bns, 1);
  EXPECT_EQ(second[0].eanrig.str(), Ean(8003));
  ASSERT_EQ(Lines(1, 2026, 10).size(), 1u);
  const auto headers = Headers(1);
  ASSERT_EQ(headers.size(), 10u);
  EXPECT_EQ(headers[9].numero.toLong(), 10);
  EXPECT_EQ(headers[9].dataor.toDate(), today_);
  EXPECT_EQ(headers[9].fl3ts.str(), "I");
}

TEST_F(OrderSplitTest, SwitchOffMakesOneOrder) {
  FourTypedRows();
  const SlotOrderResult r = Write(1);
  EXPECT_EQ(r.orders, std::vector<qint32>{1});
  EXPECT_EQ(Lines(1, 2026, 1).size(), 4u);
  EXPECT_EQ(r.lines, 4);
}

TEST_F(OrderSplitTest, NullTypeNeitherStartsAnOrderNorLetsTheNextOne) {
  main_->Execute("update fornitori set creazioneordine = 1 where codice = 1");
  AddArticle(1, 103, Ean(8003), "DETERSIVO");
  // Null sorts first: Null, "1", "F".
  AddComparisonRow(Row(Ean(8001)).Cost(1, 1).Packages(1, 1).Type("1"));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 1).Packages(1, 1).Type(Variant::null()));
  AddComparisonRow(Row(Ean(8003)).Cost(1, 1).Packages(1, 1).Type("F"));
  const SlotOrderResult r = Write(1);

  EXPECT_EQ(r.orders, (std::vector<qint32>{1, 2}));
  const auto first = Lines(1, 2026, 1);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].eanrig.str(), Ean(8002));
  EXPECT_EQ(first[1].eanrig.str(), Ean(8001));
  EXPECT_EQ(Lines(1, 2026, 2).size(), 1u);
}

TEST_F(OrderNumberingTest, HeaderAndLinesKeepOneYearAcrossMidnight) {
  TwoRowsForSlot1();
  // The clock passes midnight of New Year's Eve while the order is written.
  int calls = 0;
  SetClock([&calls] {
    return ++calls == 1 ? QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                        : QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1));
  });
  Write(1);
  const auto headers = Headers(1);
  ASSERT_EQ(headers.size(), 1u);
  const qint64 year = headers[0].anno.toLong();
  EXPECT_EQ(Lines(1, static_cast<int>(year), 1).size(), 2u);
  EXPECT_EQ(headers[0].dataor.toDate().year(), year);
}

}  // namespace
}  // namespace vx::comparison::testing
