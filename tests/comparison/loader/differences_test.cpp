#include "comparison/differences.h"

#include <gtest/gtest.h>

#include "support/loader_fixture.h"
#include "comparison/loader_values.h"

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

}  // namespace
}  // namespace vx::comparison
