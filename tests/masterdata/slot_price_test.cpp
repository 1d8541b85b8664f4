#include "masterdata/slot_price.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace vx::masterdata {
namespace {

// The worked examples: list price, percentage, factor and action as the boxes hold them; the
// price after the lookup, and after a recalculation of the looked-up slot.
TEST(SlotPriceTest, WorkedExamplesInBothColumns) {
  struct Case {
    const char *list, *percent, *factor, *action, *lookup, *recalculated;
  };
  const Case cases[] = {
      {"1,25", "10", "6", "M", "8,25", "8,25"},
      {"12,6", "0", "12", "D", "1,05", "1,05"},
      {"2", "10,3", "1", "M", "2,206", "2,2060000038147"},
      {"3,5", "-5", "24", "D", "0,138541666666667", "0,138541666666667"},
      {"4", "0", "0", "M", "4", "0"},
      {"4", "0", "0", "D", "4", "4"},  // kept: the recalculation leaves the box as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(
        (QString(c.list) + " " + c.percent + " " + c.factor + " " + c.action).toStdString());
    const QString lookup = LookupPriceText(c.list, c.percent, c.factor, c.action);
    EXPECT_EQ(lookup, c.lookup);
    EXPECT_EQ(RecalculatedPriceText(c.list, c.percent, c.factor, c.action, lookup), c.recalculated);
  }
}

TEST(SlotPriceTest, FactorsThatAreNoPlainNumber) {
  // The lookup converts only by a factor above 0 that reads as a number.
  EXPECT_EQ(LookupPriceText("10", "0", "2x", "M"), "10");
  EXPECT_EQ(LookupPriceText("10", "0", "", "M"), "10");
  EXPECT_EQ(LookupPriceText("10", "0", "-2", "D"), "10");
  // The recalculation takes the leading number and any factor but 0.
  EXPECT_EQ(RecalculatedPriceText("10", "0", "2x", "M", "?"), "20");
  EXPECT_EQ(RecalculatedPriceText("10", "0", "-2", "D", "?"), "-5");
  // Only the capital M multiplies.
  EXPECT_EQ(RecalculatedPriceText("10", "", "2", "m", "?"), "5");
  // Empty list price and percentage count as 0.
  EXPECT_EQ(LookupPriceText("", "", "3", "M"), "0");
  EXPECT_EQ(PriceValue(""), 0);
  EXPECT_EQ(PriceValue("0,138541666666667"), 0.138541666666667);
}

class LoadedPriceTest : public ::testing::Test {
 protected:
  // A lookup that finds every EAN at list price 2 with the percentage 10,3 (a single).
  ListingLookup Found(int* calls) {
    return [calls](const QString&) {
      ++*calls;
      return std::optional<Listing>(Listing{Variant(2.0f), Variant(10.3f)});
    };
  }
  static std::optional<Listing> NotFound(const QString&) { return std::nullopt; }
  int calls_ = 0;
};

TEST_F(LoadedPriceTest, SlotOneAtFactorZeroIsRecalculatedWithFactorOne) {
  const StoredSlot zero{"8000000000001", 0, "M"};
  EXPECT_EQ(LoadedPriceText(1, zero, Found(&calls_)), "2,2060000038147");
  // The other slots keep the lookup's price.
  EXPECT_EQ(LoadedPriceText(2, zero, Found(&calls_)), "2,206");
  EXPECT_EQ(calls_, 2);
}

TEST_F(LoadedPriceTest, SlotNotFoundOrSkippedHasNoPrice) {
  EXPECT_EQ(PriceValue(LoadedPriceText(2, {"8000000000001", 6, "M"}, NotFound)), 0);
  EXPECT_EQ(PriceValue(LoadedPriceText(1, {"8000000000001", Variant::null(), "D"}, NotFound)), 0);
  // A Null alternative skips the slot; an empty one is not looked up.
  const StoredSlot skipped{Variant::null(), 6, "M"};
  EXPECT_EQ(LoadedPriceText(3, skipped, Found(&calls_)), "");
  EXPECT_EQ(LoadedPriceText(1, skipped, Found(&calls_)), "0");
  EXPECT_EQ(LoadedPriceText(2, {"", 6, "M"}, Found(&calls_)), "0");
  EXPECT_EQ(calls_, 0);
}

TEST_F(LoadedPriceTest, FactorBelowOrAtZeroLeavesTheListPriceWithPercentage) {
  EXPECT_EQ(LoadedPriceText(2, {"8000000000001", -2, "D"}, Found(&calls_)), "2,206");
  EXPECT_EQ(LoadedPriceText(3, {"8000000000001", 0, "D"}, Found(&calls_)), "2,206");
  EXPECT_EQ(LoadedPriceText(4, {"8000000000001", 4, "D"}, Found(&calls_)), "0,5515");
}

}  // namespace
}  // namespace vx::masterdata
