#include "comparison/order_values.h"

#include <gtest/gtest.h>

namespace vx::comparison {
namespace {

TEST(OrderValuesTest, FormattedValueIsTheItalianTextAndItsNumber) {
  const FormattedNumber f = FormatOrderValue(1234.5);
  EXPECT_EQ(f.text, "1.234,50");
  EXPECT_DOUBLE_EQ(f.number, 1234.5);
  EXPECT_DOUBLE_EQ(FormatOrderValue(2.0 / 3.0).number, 0.67);
  EXPECT_EQ(FormatOrderValue(0).text, "0,00");
}

TEST(OrderValuesTest, TextColumnsTakeTheTextOthersTheNumberTheyHold) {
  const FormattedNumber f = FormatOrderValue(1234.5);
  EXPECT_EQ(Stored(ColumnKind::Text, f).str(), "1.234,50");
  EXPECT_DOUBLE_EQ(Stored(ColumnKindOf("DOUBLE"), f).toDouble(), 1234.5);
  EXPECT_EQ(StoredNumber(ColumnKindOf("INT"), 2.5).toLong(), 2);  // half to even
  EXPECT_DOUBLE_EQ(Held(ColumnKindOf("SINGLE"), 0.1), static_cast<float>(0.1));
}

TEST(OrderValuesTest, AbsentAndUnreadableValuesReadAsEmptyOrZero) {
  EXPECT_DOUBLE_EQ(NumberOf(Variant::null()), 0);
  EXPECT_DOUBLE_EQ(NumberOf(Variant("abc")), 0);
  EXPECT_DOUBLE_EQ(NumberOf(Variant("2,5")), 2.5);
  EXPECT_EQ(WholeOf(Variant("1")), 1);
  EXPECT_EQ(TextOf(Variant::null()), "");
  EXPECT_TRUE(IsAbsent(Variant()));
  EXPECT_FALSE(IsAbsent(Variant("")));
}

}  // namespace
}  // namespace vx::comparison
