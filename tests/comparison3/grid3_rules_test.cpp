// The three-supplier grid's pure rules: the colour marks, the difference cells and the leading
// blanks of the printed list.
#include <gtest/gtest.h>

#include "comparison/boxed_list.h"
#include "comparison/cnf02_marks.h"
#include "support/qt_print.h"

namespace vx::comparison {
namespace {

TEST(Grid3RulesTest, DearestAndCheapestOfThreeCosts) {
  struct Case {
    std::array<double, 3> cost;
    int dearest, cheapest;
  };
  const Case cases[] = {
      {{5, 3, 3}, 1, 3},  // the cheapest tie goes to the later slot
      {{0, 0, 0}, 3, 3},  // one cell, which ends blue on green
      {{2, 0, 4}, 3, 1},  // 0 counts as 100000 for the cheapest
      {{4, 4, 1}, 2, 3},  // the dearest tie goes to the later slot
      {{1, 7, 7}, 3, 1}, {{0, 2.5, 0}, 2, 2}, {{1.25, 1.5, 1.25}, 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cost[0] << "/" << c.cost[1] << "/" << c.cost[2]);
    EXPECT_EQ(DearestOfThree(c.cost), c.dearest);
    EXPECT_EQ(CheapestOfThree(c.cost), c.cheapest);
  }
}

TEST(Grid3RulesTest, DifferenceCellsWithTwoDecimals) {
  const std::pair<QString, QString> cases[] = {
      {"-100", "-"},
      {"1000", "-"},
      {"-99,996", "-"},  // reads -100,00
      {"-99,99", "-99,99"},
      {"1000,01", "1000,01"},
      {"12,345", "12,35"},
      {"0", "0,00"},
      {"", ""},  // Null shows empty
  };
  for (const auto& [cell, shown] : cases)
    EXPECT_EQ(DifferenceText(cell, 2), shown) << cell.toStdString();
}

TEST(Grid3RulesTest, LeadingBlanksEndTheWholePartInTheSixthCharacter) {
  const QString whole = QStringLiteral("###,##0"), money = QStringLiteral("###,##0.00");
  const std::tuple<Variant, QString, QString> cases[] = {
      {Variant(7), whole, "     7"},       {Variant(12), whole, "    12"},
      {Variant(1234), whole, " 1.234"},    {Variant(12.5), money, "    12,50"},
      {Variant(0), money, "     0,00"},    {Variant::null(), whole, "     0"},
      {Variant(123456), whole, "123.456"},  // a negative count prints no blanks
      {Variant(-5), whole, "    -5"},
  };
  for (const auto& [value, format, text] : cases) {
    EXPECT_EQ(LeadingBlanksText(value, format), text) << value.toString().toStdString();
  }
}

}  // namespace
}  // namespace vx::comparison
