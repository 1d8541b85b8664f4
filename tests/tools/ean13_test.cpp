#include "ean13.h"

#include <gtest/gtest.h>

namespace vx::tools {
namespace {

TEST(Ean13Test, CheckDigitOfKnownCodes) {
  EXPECT_EQ(Ean13("400638133393"), "4006381333931");
  EXPECT_EQ(Ean13("590123412345"), "5901234123457");
  EXPECT_EQ(Ean13CheckDigit("000000000000"), 0);
}

TEST(Ean13Test, Validity) {
  EXPECT_TRUE(IsValidEan13("4006381333931"));
  EXPECT_FALSE(IsValidEan13("4006381333932"));
  EXPECT_FALSE(IsValidEan13("400638133393"));
  EXPECT_FALSE(IsValidEan13("40063813339A1"));
}

}  // namespace
}  // namespace vx::tools
