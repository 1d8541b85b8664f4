// Orders under concurrency and after a stop: two programs writing at once write two orders,
// and the record of a written order survives the program that wrote it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <functional>

#include "comparison/cnf02_query.h"
#include "comparison/orders/orders_fixture.h"
#include "comparison/written_orders.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "support/child_test.h"

namespace vx::comparison::testing {

// The writer StartWriter starts, in its own process: slot 1's order, answering Yes to a new
// order, once the parent lets it go.
CHILD_ENTRY(WriteSlotOneOrder) {
  const QString root = qEnvironmentVariable("VX_ORDERS_ROOT");
  if (root.isEmpty()) return 2;
  fs::SetDataRoot(root);
  fs::SetCurrentDrive(QLatin1Char('C'));
  const QDateTime now(QDate(2026, 3, 10), QTime(10, 30));
  SetClock([now] { return now; });
  QDir dir(root);
  QFile ready(dir.filePath(QStringLiteral("ready-%1").arg(QCoreApplication::applicationPid())));
  if (!ready.open(QIODevice::WriteOnly)) return 2;
  ready.close();
  QElapsedTimer waited;
  waited.start();
  while (!dir.exists("go") && waited.elapsed() < 30000) QThread::msleep(1);

  common::SharedValues values;
  values.percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  values.ragione_sociale = "MARKET DI PROVA";
  values.select_confronto = GridSelect();
  ScriptedPrompts prompts;
  const SlotOrderResult r = WriteSlotOrder(1, values, prompts);
  if (r.outcome != OrderOutcome::Written) {
    std::fprintf(stderr, "order not written: %s\n", qPrintable(r.error));
    return 1;
  }
  if (qEnvironmentVariableIsSet("VX_ORDERS_STOP")) std::raise(SIGKILL);
  return 0;
}

namespace {

class OrderConcurrencyTest : public OrdersTest {
 protected:
  void SetUp() override {
    OrdersTest::SetUp();
    AddSupplier(1, "VARU");
  }
  // n catalogue articles, each with a comparison row with packages for slot 1.
  void AddRows(int n) {
    auto sup = Supplier(1);
    db::Transaction supTx(*sup);
    db::Transaction mainTx(*main_);
    for (int i = 1; i <= n; ++i) {
      sup->Execute("insert into articolo (codart, desart, przart) values (?, 'ARTICOLO', 1)",
                   {Variant(i)});
      sup->Execute("insert into codean (codare, eanare) values (?, ?)",
                   {Variant(i), Variant(Ean(8000 + i))});
      main_->Execute(
          "insert into articoli (vedovo, desart, imballo, ivart, sel, tipoart, sequenza, forn1, "
          "costo1, colli1) values (?, 'ARTICOLO', 6, '22', 'X', '1', ?, 1, 2, 1)",
          {Variant(Ean(8000 + i)), Variant(i)});
    }
    mainTx.Commit();
    supTx.Commit();
  }
  static void Finish(QProcess& p, QProcess::ExitStatus expected = QProcess::NormalExit) {
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), expected);
    if (expected == QProcess::NormalExit) {
      EXPECT_EQ(p.exitCode(), 0);
    }
  }
};

TEST_F(OrderConcurrencyTest, TwoProgramsWritingAtOnceWriteTwoSeparateOrders) {
  AddExistingOrder(1, 2026, 7, 2);  // both programs ask, and both answer a new order
  const int n = 400;
  AddRows(n);
  auto first = StartWriter();
  auto second = StartWriter();
  Release(2);
  Finish(*first);
  Finish(*second);

  const auto headers = Headers(1);
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_EQ(headers[1].numero.toLong(), 8);
  EXPECT_EQ(headers[2].numero.toLong(), 9);
  EXPECT_EQ(Lines(1, 2026, 7).size(), 2u);
  for (int numero : {8, 9}) {
    const auto lines = Lines(1, 2026, numero);
    ASSERT_EQ(lines.size(), size_t(n)) << numero;
    EXPECT_EQ(lines.front().bns, 1);
    EXPECT_EQ(lines.back().bns, n);
  }
  // Each program recorded its own order.
  const auto recorded = WrittenOrdersOf(*main_, 1);
  ASSERT_EQ(recorded.size(), 2u);
  EXPECT_EQ(recorded[0].number + recorded[1].number, 8 + 9);
}

// Answers the new-order question as told, after another program's write landed between
// the question and the writing.
struct RacingPrompts : OrderPrompts {
  bool answer = true;
  std::function<void()> meanwhile;
  bool AskNewOrder() override {
    meanwhile();
    return answer;
  }
  void MissingDatabase(const QString&) override {}
  void OrderFailed(const QString&, const QString&, const QString&) override {}
};

TEST_F(OrderConcurrencyTest, NumbersAreTakenWhenTheOrderIsWrittenNotWhenAsked) {
  AddExistingOrder(1, 2026, 3, 2);
  AddRows(2);
  RacingPrompts racing;
  // A new order, while another program wrote order 4: this one is order 5, lines from 1.
  racing.meanwhile = [this] { AddExistingOrder(1, 2026, 4, 1); };
  SlotOrderResult r = WriteSlotOrder(1, values_, racing);
  ASSERT_EQ(r.outcome, OrderOutcome::Written);
  EXPECT_EQ(r.orders, std::vector<qint32>{5});
  EXPECT_EQ(Lines(1, 2026, 4).size(), 1u);
  ASSERT_EQ(Lines(1, 2026, 5).size(), 2u);
  EXPECT_EQ(Lines(1, 2026, 5)[0].bns, 1);

  // Added to the last order, while another program added a line to it: after that line.
  racing.answer = false;
  racing.meanwhile = [this] {
    Supplier(1)->Execute(
        "insert into movimenti (bannoc, bnumer, bns, articoli) values (2026, 5, 3, 1)");
  };
  r = WriteSlotOrder(1, values_, racing);
  ASSERT_EQ(r.outcome, OrderOutcome::Written);
  const auto lines = Lines(1, 2026, 5);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3].bns, 4);
  EXPECT_EQ(lines[4].bns, 5);
  EXPECT_EQ(lines[4].eanrig.str(), Ean(8002));
  const auto recorded = WrittenOrdersOf(*main_, 1);
  ASSERT_EQ(recorded.size(), 2u);
  EXPECT_EQ(recorded[1].number, 5);
  EXPECT_EQ(recorded[1].firstLine, 4);
  EXPECT_EQ(recorded[1].lastLine, 5);
}

TEST_F(OrderConcurrencyTest, TheRecordOfAWrittenOrderOutlivesAStoppedProgram) {
  AddRows(3);
  auto writer = StartWriter(/*stop=*/true);
  Release(1);
  Finish(*writer, QProcess::CrashExit);

  ASSERT_EQ(Lines(1, 2026, 1).size(), 3u);
  const auto recorded = WrittenOrdersOf(*main_, 1);
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0].supplier, "VARU");
  EXPECT_EQ(recorded[0].number, 1);
  EXPECT_EQ(recorded[0].year, 2026);
  EXPECT_EQ(WriteAgainQuestion(recorded),
            "ATTENZIONE !!! Con questi colli sono già stati creati gli ordini per: VARU (ordine "
            "n. 1 del 2026).\nVuoi crearli di nuovo (SI=Verranno scritti di nuovo NO=Non "
            "verranno scritti) ?");
  // The packages' clearing forgets it.
  ClearWrittenPackages(*main_, {1});
  EXPECT_TRUE(WrittenOrdersOf(*main_, 1).empty());
}

TEST_F(OrderConcurrencyTest, AnUnconfirmedRecordCountsOnlyWhenItsLinesAreThere) {
  AddExistingOrder(1, 2026, 4, 3);
  AddSupplier(2, "APULIA");
  // Stopped between the two commits: slot 1's order committed, slot 2's did not.
  RecordWrittenOrders(*main_, {{1, "VARU", SupplierPath(1), 2026, 4, 2, 3},
                               {2, "APULIA", SupplierPath(2), 2026, 1, 1, 2}});
  const auto one = WrittenOrdersOf(*main_, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].number, 4);
  EXPECT_TRUE(WrittenOrdersOf(*main_, 2).empty());
  EXPECT_EQ(MainValue("select count(*) from ordiniconfronto where slot = 2").toLong(), 0);
  // Lines outside the recorded range do not count for it.
  RecordWrittenOrders(*main_, {{1, "VARU", SupplierPath(1), 2026, 4, 3, 4}});
  EXPECT_EQ(WrittenOrdersOf(*main_, 1).size(), 1u);

  ConfirmWrittenOrders(*main_, 1);
  ForgetWrittenOrders(*main_, {2});
  EXPECT_EQ(WrittenOrdersOf(*main_, 1).size(), 1u);
  ForgetWrittenOrders(*main_);
  EXPECT_TRUE(WrittenOrdersOf(*main_, 1).empty());
}

}  // namespace
}  // namespace vx::comparison::testing
