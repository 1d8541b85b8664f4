#include "comparison/cnf02_query.h"

#include <gtest/gtest.h>

namespace vx::comparison {
namespace {

TEST(Cnf02QueryTest, NoConditionGivesEmptyWhere) {
  EXPECT_EQ(ComposeWhere("", "", "", ""), "");
  // A single blank (the cleared convenience condition) counts as absent.
  EXPECT_EQ(ComposeWhere("", "  ", "", " "), "");
}

TEST(Cnf02QueryTest, ConditionsJoinInOrderUnchanged) {
  EXPECT_EQ(ComposeWhere("sel = 'X' ", "", "", ""), " WHERE sel = 'X' ");
  EXPECT_EQ(ComposeWhere("sel = 'X' ", "", " ([costo1] > 0 and  [costo2] > 0) ", " "),
            " WHERE sel = 'X'  AND  ([costo1] > 0 and  [costo2] > 0) ");
  EXPECT_EQ(ComposeWhere("", " [ns] >= 1  and ns <= 500 ", "", " ([costo4] <> 0  ) "),
            " WHERE  [ns] >= 1  and ns <= 500  AND  ([costo4] <> 0  ) ");
}

TEST(Cnf02QueryTest, GridQueryReadsEanFromVedovo) {
  const QString q = GridSelect();
  EXPECT_TRUE(q.contains("[vedovo] as Ean"));
  EXPECT_FALSE(q.contains("codean", Qt::CaseInsensitive));
  EXPECT_TRUE(q.endsWith("from articoli "));
  EXPECT_EQ(OrderByEan(), " ORDER BY [vedovo]");
  EXPECT_EQ(OrderByDescription(), " ORDER BY [desart]");
}

}  // namespace
}  // namespace vx::comparison
