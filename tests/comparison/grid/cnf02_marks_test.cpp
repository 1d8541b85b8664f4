#include "comparison/cnf02_marks.h"

#include <gtest/gtest.h>

namespace vx::comparison {
namespace {

RowCosts Row(std::array<double, 4> cost, std::array<bool, 4> named) {
  RowCosts r;
  r.cost = cost;
  r.named = named;
  return r;
}

TEST(Cnf02MarksTest, EqualCostsGoDearestToLaterCheapestToEarlier) {
  const auto r = Row({5, 5, 0, 0}, {true, true, false, false});
  EXPECT_EQ(DearestCostColumn(r), 12);
  EXPECT_EQ(CheapestCostColumn(r), 9);
}

TEST(Cnf02MarksTest, ZeroCostIsPassedOverForCheapest) {
  const auto r = Row({5, 0, 3, 0}, {true, true, true, false});
  EXPECT_EQ(DearestCostColumn(r), 9);
  EXPECT_EQ(CheapestCostColumn(r), 15);
  // A zero in front of the priced slots is passed over as well.
  EXPECT_EQ(CheapestCostColumn(Row({0, 4, 2.5, 2.5}, {true, true, true, true})), 15);
}

TEST(Cnf02MarksTest, AllZeroWithFourNamedPaintsSlotFourAndSlotOne) {
  const auto r = Row({0, 0, 0, 0}, {true, true, true, true});
  EXPECT_EQ(DearestCostColumn(r), 18);
  EXPECT_EQ(CheapestCostColumn(r), 9);
}

TEST(Cnf02MarksTest, AllZeroWithTwoNamedHasNoDearest) {
  const auto r = Row({0, 0, 0, 0}, {false, true, false, true});
  EXPECT_EQ(DearestCostColumn(r), 0);
  EXPECT_EQ(CheapestCostColumn(r), 12);  // the first named supplier's column
}

TEST(Cnf02MarksTest, OnlySupplierThreeNamed) {
  // Costs of the unnamed slots are not looked at, however high.
  const auto r = Row({99, 99, 4.5, 99}, {false, false, true, false});
  EXPECT_EQ(DearestCostColumn(r), 15);
  EXPECT_EQ(CheapestCostColumn(r), 15);
  const auto zero = Row({99, 99, 0, 99}, {false, false, true, false});
  EXPECT_EQ(DearestCostColumn(zero), 0);
  EXPECT_EQ(CheapestCostColumn(zero), 15);
}

TEST(Cnf02MarksTest, NoSupplierNamedMarksNothing) {
  const auto r = Row({1, 2, 3, 4}, {false, false, false, false});
  EXPECT_EQ(DearestCostColumn(r), 0);
  EXPECT_EQ(CheapestCostColumn(r), 0);
}

TEST(Cnf02MarksTest, CostsCompareAtFourDecimals) {
  // Single-precision storage of the same price must not split a tie.
  const double a = MarkCost(Variant(static_cast<float>(1.2345)));
  const double b = MarkCost(Variant(1.2345));
  EXPECT_EQ(a, b);
  const auto r = Row({a, b, 0, 0}, {true, true, false, false});
  EXPECT_EQ(DearestCostColumn(r), 12);
  EXPECT_EQ(CheapestCostColumn(r), 9);
  EXPECT_DOUBLE_EQ(MarkCost(Variant(2.00004)), 2.0);
}

TEST(Cnf02MarksTest, CostThatIsNoNumberCountsAsZero) {
  EXPECT_EQ(MarkCost(Variant::null()), 0);
  EXPECT_EQ(MarkCost(Variant()), 0);
  EXPECT_EQ(MarkCost(Variant("abc")), 0);
  EXPECT_DOUBLE_EQ(MarkCost(Variant("3,25")), 3.25);
}

TEST(Cnf02MarksTest, DifferenceDashForMinusHundredAndThousand) {
  EXPECT_EQ(DifferenceText("-100"), "-");
  EXPECT_EQ(DifferenceText("1000"), "-");
  EXPECT_EQ(DifferenceText("-99,6"), "-");  // the formatted text reads -100
  EXPECT_EQ(DifferenceText("999,7"), "-");  // "1000"
  EXPECT_EQ(DifferenceText("12,4"), "12");
  EXPECT_EQ(DifferenceText("100"), "100");
  EXPECT_EQ(DifferenceText("-10"), "-10");
  EXPECT_EQ(DifferenceText(""), "");
}

TEST(Cnf02MarksTest, CellNumbersRoundOnTheirDigits) {
  EXPECT_EQ(FormatCellNumber("1,5", 4, 1), "1,5000");
  EXPECT_EQ(FormatCellNumber("0", 4, 1), "0,0000");
  EXPECT_EQ(FormatCellNumber(",5", 4, 1), "0,5000");
  EXPECT_EQ(FormatCellNumber("1,23455", 4, 1), "1,2346");  // half away from zero
  EXPECT_EQ(FormatCellNumber("-1,23455", 4, 1), "-1,2346");
  EXPECT_EQ(FormatCellNumber("9,99995", 4, 1), "10,0000");
  EXPECT_EQ(FormatCellNumber("-0,00004", 4, 1), "0,0000");  // no minus on a zero
  EXPECT_EQ(FormatCellNumber("007", 0, 1), "7");
  EXPECT_EQ(FormatCellNumber("4", 0, 2), "04");
  EXPECT_EQ(FormatCellNumber("22", 0, 2), "22");
  EXPECT_EQ(FormatCellNumber("abc", 4, 1), "abc");
  EXPECT_EQ(FormatCellNumber("", 4, 1), "");
  EXPECT_EQ(FormatCellNumber("-", 0, 1), "-");
  // Forms the digit rounding does not read go through the regional reading.
  EXPECT_EQ(FormatCellNumber("1.234,5", 0, 1), "1235");
}

TEST(Cnf02MarksTest, FormattedCostsReadInTenThousandths) {
  EXPECT_DOUBLE_EQ(MarkCostOfFormatted("1,2346"), 1.2346);
  EXPECT_DOUBLE_EQ(MarkCostOfFormatted("-3,5000"), -3.5);
  EXPECT_DOUBLE_EQ(MarkCostOfFormatted("12"), 12.0);
  EXPECT_EQ(MarkCostOfFormatted("abc"), 0);
  EXPECT_EQ(MarkCostOfFormatted(""), 0);
  EXPECT_EQ(MarkCostOfFormatted("1,2346"), MarkCost(Variant("1,23456")));
}

TEST(Cnf02MarksTest, PackageColumnsMapToSlots) {
  EXPECT_EQ(SlotOfPackageColumn(11), 1);
  EXPECT_EQ(SlotOfPackageColumn(14), 2);
  EXPECT_EQ(SlotOfPackageColumn(17), 3);
  EXPECT_EQ(SlotOfPackageColumn(20), 4);
  EXPECT_EQ(SlotOfPackageColumn(12), 0);
  EXPECT_EQ(SlotOfPackageColumn(3), 0);
  EXPECT_EQ(PackageColumn(3), 17);
}

}  // namespace
}  // namespace vx::comparison
