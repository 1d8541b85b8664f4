#include "comparison/differences.h"

#include <gtest/gtest.h>

#include <QThread>
#include <functional>

#include "comparison/loader_values.h"
#include "comparison/yield_batch.h"
#include "support/loader_fixture.h"

namespace vx::comparison {
namespace {

using testing::LoaderFixture;
using testing::RecordingSink;

const Variant kNull = Variant::null();

TEST(DifferencesOfTest, AmongTheFirstThreeSlots) {
  EXPECT_DOUBLE_EQ(DifferencesOf(5, 4, kNull, kNull).d12, 25);
  EXPECT_DOUBLE_EQ(DifferencesOf(4, 5, kNull, kNull).d12, -20);
  EXPECT_DOUBLE_EQ(DifferencesOf(0, 4, kNull, kNull).d12, -100);  // no price against a price
  EXPECT_DOUBLE_EQ(DifferencesOf(5, 0, kNull, kNull).d12, 0);     // no base
  EXPECT_DOUBLE_EQ(DifferencesOf(5, kNull, kNull, kNull).d12, 0);
  EXPECT_DOUBLE_EQ(DifferencesOf(kNull, 4, kNull, kNull).d12, 0);
  EXPECT_DOUBLE_EQ(DifferencesOf("", 4, kNull, kNull).d12, 0);
  EXPECT_DOUBLE_EQ(DifferencesOf(kNull, 3, 2, kNull).d23, 50);
  EXPECT_DOUBLE_EQ(DifferencesOf(3, kNull, 2, kNull).d31, 50) << "slot 1 against slot 3";
  EXPECT_DOUBLE_EQ(DifferencesOf(1, 3, kNull, kNull).d12, -66.67) << "two decimals";
}

TEST(DifferencesOfTest, AgainstSlotFour) {
  const Differences none = DifferencesOf(5, 4, 3, kNull);
  EXPECT_EQ(none.d14, 0);
  EXPECT_EQ(none.d24, 0);
  EXPECT_EQ(none.d34, 0);
  EXPECT_DOUBLE_EQ(DifferencesOf(0, kNull, kNull, 2).d14, 0) << "not -100 here";
  EXPECT_DOUBLE_EQ(DifferencesOf(3, kNull, kNull, 0).d14, 0);
  const Differences d = DifferencesOf(kNull, 5, 6, 4);
  EXPECT_DOUBLE_EQ(d.d14, 0);
  EXPECT_DOUBLE_EQ(d.d24, 25);
  EXPECT_DOUBLE_EQ(d.d34, 50);
}

class DifferencesTest : public LoaderFixture {
 protected:
  void AddRow(const QString& ean, const QString& desart, const Variant& c1, const Variant& c2,
              const Variant& c3, const Variant& c4) {
    main_->Execute(
        "insert into articoli (vedovo, desart, costo1, costo2, costo3, costo4, colli1, colli2, "
        "colli3, colli4, sel, ns) values (?, ?, ?, ?, ?, ?, 3, 4, 5, 6, 'X', 99)",
        {ean, desart, c1, c2, c3, c4});
  }
  RecordingSink sink_;
};

TEST_F(DifferencesTest, EmptyTableWritesOnlyTheFirstAndLastLines) {
  const DifferencesOutcome out = ComputeDifferences(*main_, sink_);
  EXPECT_TRUE(out.completed);
  EXPECT_EQ(
      sink_.lines,
      QStringList({"Inizio calcolo differenze percentuali tra i costi sui listini fornitori ...",
                   "Fine calcolo differenze percentuali."}));
  EXPECT_EQ(sink_.begins, 0);
  EXPECT_EQ(sink_.ends, 0) << "nothing hidden or shown";
}

TEST_F(DifferencesTest, RewritesEveryRowInDescriptionOrder) {
  AddRow("8000000000001", "B", 5, 4, kNull, kNull);
  AddRow("8000000000002", "a", 3, kNull, 2, kNull);
  AddRow("8000000000003", "C", kNull, 5, 6, 4);

  const DifferencesOutcome out = ComputeDifferences(*main_, sink_);

  EXPECT_TRUE(out.completed);
  EXPECT_EQ(out.rows, 3);
  EXPECT_EQ(Cell("8000000000001", "ns").toLong(), 2);
  EXPECT_EQ(Cell("8000000000002", "ns").toLong(), 1) << "descriptions sort without case";
  EXPECT_EQ(Cell("8000000000003", "ns").toLong(), 3);
  EXPECT_DOUBLE_EQ(Cell("8000000000001", "diff12").toDouble(), 25);
  EXPECT_DOUBLE_EQ(Cell("8000000000002", "diff31").toDouble(), 50);
  EXPECT_DOUBLE_EQ(Cell("8000000000003", "diff24").toDouble(), 25);
  EXPECT_DOUBLE_EQ(Cell("8000000000003", "diff34").toDouble(), 50);
  for (const char* ean : {"8000000000001", "8000000000002", "8000000000003"}) {
    for (int j = 1; j <= 4; ++j) {
      EXPECT_EQ(Cell(ean, QStringLiteral("colli%1").arg(j)).toLong(), 0) << ean << " " << j;
    }
    EXPECT_EQ(Cell(ean, "sel").str(), "X") << "the mark is untouched";
  }
  EXPECT_FLOAT_EQ(Cell("8000000000001", "costo1").toDouble(), 5) << "costs are untouched";
  EXPECT_EQ(sink_.lines.value(1), "Ci sono 3 articoli da confrontare ...");
  EXPECT_EQ(sink_.lines.last(), "Fine calcolo differenze percentuali.");
  EXPECT_EQ(sink_.maximum, 3);
  EXPECT_EQ(sink_.value, 3);
  EXPECT_EQ(sink_.ends, 1);
  EXPECT_FALSE(sink_.busy);
  EXPECT_EQ(main_->transactionDepth(), 0);
}

TEST_F(DifferencesTest, RunningNumberRestartsOnEachPass) {
  AddRow("8000000000001", "B", 1, 1, 1, 1);
  AddRow("8000000000002", "A", 1, 1, 1, 1);
  ComputeDifferences(*main_, sink_);
  main_->Execute("delete from articoli where desart = 'A'");
  ComputeDifferences(*main_, sink_);
  EXPECT_EQ(Cell("8000000000001", "ns").toLong(), 1);
}

// Takes long enough over the first row for the pass to yield after it, and runs `onYield` at
// that first yield.
class SlowFirstStepSink : public RecordingSink {
 public:
  void Step() override {
    RecordingSink::Step();
    if (value == 1) QThread::msleep(YieldBatch::kMinIntervalMs + 40);
  }
  void Yield() override {
    RecordingSink::Yield();
    if (yields == 1 && onYield) onYield();
  }
  std::function<void()> onYield;
};

TEST_F(DifferencesTest, ReadsEachRowsCostsWhenItGetsThereAfterAYield) {
  AddRow("8000000000001", "A", 1, 1, 1, 1);
  AddRow("8000000000002", "B", 1, 1, 1, 1);
  AddRow("8000000000003", "C", 1, 1, 1, 1);
  AddRow("8000000000004", "D", 1, 1, 1, 1);
  SlowFirstStepSink sink;
  sink.onYield = [this] {
    main_->Execute("delete from articoli where vedovo = '8000000000002'");
    main_->Execute(
        "update articoli set costo1 = 5, costo2 = 4, costo3 = 2, costo4 = 4 where vedovo = "
        "'8000000000004'");
  };

  const DifferencesOutcome out = ComputeDifferences(*main_, sink);

  ASSERT_GE(sink.yields, 1) << "the pass yielded after the first row";
  EXPECT_TRUE(out.completed);
  EXPECT_EQ(out.rows, 3) << "the row deleted meanwhile is passed over";
  EXPECT_FALSE(HasRow("8000000000002")) << "and not written back";
  EXPECT_DOUBLE_EQ(Cell("8000000000004", "diff12").toDouble(), 25) << "the costs as changed";
  EXPECT_DOUBLE_EQ(Cell("8000000000004", "diff31").toDouble(), 150);
  EXPECT_DOUBLE_EQ(Cell("8000000000004", "diff14").toDouble(), 25);
  EXPECT_EQ(Cell("8000000000004", "ns").toLong(), 4) << "its place fixed when the pass began";
  EXPECT_EQ(Cell("8000000000003", "ns").toLong(), 3);
  EXPECT_DOUBLE_EQ(Cell("8000000000003", "diff12").toDouble(), 0);
  EXPECT_EQ(main_->transactionDepth(), 0);
}

}  // namespace
}  // namespace vx::comparison
