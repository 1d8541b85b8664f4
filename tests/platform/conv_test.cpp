#include "platform/conv.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx {
namespace {

struct ValCase {
  const char* text;
  double expected;
};

TEST(Val, ReadsTheLeadingNumberOnly) {
  const ValCase cases[] = {
      {"12abc", 12},  {"abc", 0},         {"", 0},
      {"3,5", 3},     {"1 2", 12},        {"  - 1 2.5 x", -12.5},
      {"1.5.7", 1.5}, {".5", 0.5},        {"-", 0},
      {"+7", 7},      {"1e3", 1000},      {"1E", 1},
      {"2d2", 200},   {"&H1F", 31},       {"&hff", 255},
      {"&HFFFF", -1}, {"&O17", 15},       {"&H", 0},
      {"00042", 42},  {"\t9\n", 9},       {"12€", 12},
      {"1e999", 0},   {"&H1FFFFFFFF", 0}, {"&HFFFFFFFF", -1},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.expected) << c.text;
  }
}

TEST(ParseRegional, ItalianMarks) {
  const ValCase cases[] = {
      {"25,00", 25},  {"1.234,5", 1234.5}, {" 3 ", 3}, {"-1.234.567,25", -1234567.25},
      {"+4", 4},      {",5", 0.5},         {"5,", 5},  {"1.5", 15},
      {"1,5E2", 150}, {"&H10", 16},        {"0", 0},   {"-0,001", -0.001},
  };
  for (const auto& c : cases) {
    const auto v = ParseRegional(QString::fromUtf8(c.text));
    ASSERT_TRUE(v.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*v, c.expected) << c.text;
  }
}

TEST(ParseRegional, RefusesWhatIsNoNumber) {
  for (const char* t : {"", "   ", "3a", "abc", "1,2,3", ".5", "1..2", "1.", "-", "1 2",
                        "12/03/2026", "&HZZ", "&H1FFFFFFFFF", "1e", "€5", "5-"}) {
    EXPECT_FALSE(ParseRegional(QString::fromUtf8(t)).has_value()) << t;
  }
}

TEST(ParseTypedNumber, PointsOnlyGroupThousands) {
  const struct {
    const char* text;
    std::optional<double> expected;
  } cases[] = {{"10,5", 10.5}, {"1.000,5", 1000.5}, {"-12.345.678", -12345678},
               {"7", 7},       {"10.5", {}},        {"1.00", {}},
               {"1.0000", {}}, {"1234.567", {}},    {".500", {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTypedNumber(QString::fromUtf8(c.text)), c.expected) << c.text;
  }
}

TEST(IsNumeric, FollowsTheRegionalReading) {
  EXPECT_TRUE(IsNumeric(Variant("25,00")));
  EXPECT_TRUE(IsNumeric(Variant(" 3 ")));
  EXPECT_TRUE(IsNumeric(Variant("1.234,5")));
  EXPECT_FALSE(IsNumeric(Variant("")));
  EXPECT_FALSE(IsNumeric(Variant("3a")));
  EXPECT_FALSE(IsNumeric(Variant::null()));
  EXPECT_FALSE(IsNumeric(Variant(QDate(2026, 1, 1))));
  EXPECT_TRUE(IsNumeric(Variant(2.5f)));
  EXPECT_TRUE(IsNumeric(Variant(true)));
  EXPECT_TRUE(IsNumeric(Variant()));  // Empty reads as 0
}

TEST(Rounding, HalfToEven) {
  const std::pair<double, double> cases[] = {
      {2.5, 2},    {3.5, 4},    {-2.5, -2}, {-3.5, -4}, {0.5, 0},   {1.5, 2},
      {2.4999, 2}, {2.5001, 3}, {-0.4, 0},  {7, 7},     {-7.6, -8},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_DOUBLE_EQ(RoundHalfEven(in), out) << in;
    EXPECT_EQ(CInt(in), static_cast<qint16>(out)) << in;
    EXPECT_EQ(CLng(in), static_cast<qint32>(out)) << in;
  }
}

TEST(Rounding, LimitsAndOverflow) {
  EXPECT_EQ(CInt(32767), 32767);
  EXPECT_EQ(CInt(-32768), -32768);
  EXPECT_EQ(CInt(32767.5 - 1), 32766);           // 32766.5 -> even
  EXPECT_THROW(CInt(32767.5), ConversionError);  // rounds to 32768
  EXPECT_THROW(CInt(-32768.6), ConversionError);
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_EQ(CLng(-2147483648.0), -2147483647 - 1);
  EXPECT_THROW(CLng(2147483648.0), ConversionError);
  EXPECT_THROW(CLng(NAN), ConversionError);
  EXPECT_THROW(CInt(INFINITY), ConversionError);
}

TEST(NumberText, SingleAndDoublePrecision) {
  EXPECT_EQ(NumberText(1.5f, 7), "1,5");
  EXPECT_EQ(NumberText(0.1f, 7), "0,1");
  EXPECT_EQ(NumberText(0.1f, 15), "0,100000001490116");  // the single's true value
  EXPECT_EQ(NumberText(12345678.0f, 7), "12345680");
  EXPECT_EQ(NumberText(123456789.0f, 7), "1,234568E+08");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0,3");
  EXPECT_EQ(NumberText(-2.75), "-2,75");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(100), "100");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(0.00012), "0,00012");
  EXPECT_EQ(NumberText(1.5e-7), "1,5E-07");
  EXPECT_EQ(NumberText(9.99999999, 7), "10");
}

TEST(FixedText, PadsAndCuts) {
  EXPECT_EQ(FixedText("abc", 5), "abc  ");
  EXPECT_EQ(FixedText("abcdef", 3), "abc");
  EXPECT_EQ(FixedText("", 2), "  ");
  EXPECT_EQ(FixedText("àé", 2), QString::fromUtf8("àé"));
  EXPECT_EQ(FixedText("x", 0), "");
}

TEST(ParseDateText, Forms) {
  EXPECT_DOUBLE_EQ(*ParseDateText("31/12/2026"), 46387);
  EXPECT_DOUBLE_EQ(*ParseDateText("2026-12-31"), 46387);
  EXPECT_DOUBLE_EQ(*ParseDateText("1/1/1900"), 2);
  EXPECT_DOUBLE_EQ(*ParseDateText("30/12/1899"), 0);
  EXPECT_DOUBLE_EQ(*ParseDateText("00:00:00"), 0);
  EXPECT_DOUBLE_EQ(*ParseDateText("12:00"), 0.5);
  EXPECT_DOUBLE_EQ(*ParseDateText("31/12/2026 18:00:00"), 46387.75);
  EXPECT_DOUBLE_EQ(*ParseDateText(" 05/03/26 "), *ParseDateText("5/3/2026"));
  EXPECT_DOUBLE_EQ(*ParseDateText("05/03/95"), *ParseDateText("05/03/1995"));
  EXPECT_DOUBLE_EQ(*ParseDateText("29/02/2024"), *ParseDateText("2024-02-29"));
  for (const char* bad : {"", "31/02/2026", "2026-13-01", "25:00:00", "12:61", "abc", "12", "1/2",
                          "31/12/2026 xx", "1/2/3/4"}) {
    EXPECT_FALSE(ParseDateText(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace vx
