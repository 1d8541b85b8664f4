// The differences pass under the three-supplier rule.
#include <gtest/gtest.h>

#include "comparison/differences.h"
#include "support/loader_fixture.h"

namespace vx::comparison3 {
namespace {

using comparison::testing::LoaderFixture;
using comparison::testing::RecordingSink;

const Variant kNull = Variant::null();

class Differences3Test : public LoaderFixture {
 protected:
  comparison::DifferencesOutcome Run() {
    return comparison::ComputeDifferences(*main_, sink_, comparison::ThreeSupplierDifferences());
  }
  RecordingSink sink_;
};

TEST_F(Differences3Test, ThreeDifferencesWithTheSentinelWhereTheDivisorIsZeroOrEmpty) {
  struct Case {
    const char* ean;
    Variant c1, c2, c3;
    double d12, d23, d31;
  };
  const std::vector<Case> cases = {
      {"8000000000001", 12, 10, 15, 20, -33.33, -20},
      {"8000000000002", 12, 0, 15, 1000, -100, -20},
      {"8000000000003", 0, 10, 15, -100, -33.33, -100},
      {"8000000000004", 0, 0, 0, 1000, 1000, 1000},
      {"8000000000005", kNull, 10, kNull, -100, 1000, 1000},
      {"8000000000006", 5, kNull, 4, 1000, -100, 25},
  };
  for (const Case& c : cases) {
    main_->Execute(
        "insert into articoli (vedovo, desart, costo1, costo2, costo3, costo4, colli1, colli2, "
        "colli3, colli4, ns, diff14, diff24, diff34) values (?, 'X', ?, ?, ?, 7, 3, 4, 5, 6, "
        "99, 11, 12, 13)",
        {c.ean, c.c1, c.c2, c.c3});
  }
  const comparison::DifferencesOutcome out = Run();
  EXPECT_TRUE(out.completed);
  EXPECT_EQ(out.rows, static_cast<int>(cases.size()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ean);
    EXPECT_NEAR(Cell(c.ean, "diff12").toDouble(), c.d12, 1e-4);
    EXPECT_NEAR(Cell(c.ean, "diff23").toDouble(), c.d23, 1e-4);
    EXPECT_NEAR(Cell(c.ean, "diff31").toDouble(), c.d31, 1e-4);
    for (const char* col : {"colli1", "colli2", "colli3"})
      EXPECT_EQ(Cell(c.ean, col).toLong(), 0) << col;
    // What the four-supplier pass owns stays as it was.
    EXPECT_EQ(Cell(c.ean, "colli4").toLong(), 6);
    EXPECT_EQ(Cell(c.ean, "ns").toLong(), 99);
    EXPECT_DOUBLE_EQ(Cell(c.ean, "diff14").toDouble(), 11);
    EXPECT_DOUBLE_EQ(Cell(c.ean, "diff34").toDouble(), 13);
  }
  EXPECT_EQ(sink_.lines.value(1), "Ci sono 6 articoli da confrontare ...");
  EXPECT_EQ(sink_.lines.last(), "Fine calcolo differenze percentuali.");
  EXPECT_EQ(sink_.value, 6);
  EXPECT_EQ(sink_.ends, 1);
}

TEST_F(Differences3Test, AnEmptyTableGivesTwoLinesAndLeavesTheBarAlone) {
  const comparison::DifferencesOutcome out = Run();
  EXPECT_TRUE(out.completed);
  EXPECT_EQ(
      sink_.lines,
      QStringList({"Inizio calcolo differenze percentuali tra i costi sui listini fornitori ...",
                   "Fine calcolo differenze percentuali."}));
  EXPECT_EQ(sink_.begins, 0);
  EXPECT_EQ(sink_.ends, 0);
}

}  // namespace
}  // namespace vx::comparison3
