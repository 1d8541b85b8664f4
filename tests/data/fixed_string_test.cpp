#include "data/fixed_string.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(FixedStringTest, PadsCutsAndAlwaysReadsItsWidth) {
  FixedString<5> s;
  EXPECT_EQ(s.str(), "     ");
  s = "ab";
  EXPECT_EQ(s.str(), "ab   ");
  s = QStringLiteral("abcdefg");
  EXPECT_EQ(s.str(), "abcde");
  s = "";
  EXPECT_EQ(s.str(), "     ");
  const QString asText = FixedString<3>("é");
  EXPECT_EQ(asText, QString::fromUtf8("é  "));
}

TEST(FixedStringTest, ComparesWithItsPaddedText) {
  const FixedString<2> code = "1";
  EXPECT_TRUE(code == QStringLiteral("1 "));
  EXPECT_FALSE(code == QStringLiteral("1"));
  EXPECT_TRUE(code == FixedString<2>("1 "));
}

}  // namespace
}  // namespace vx
