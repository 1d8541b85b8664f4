#include <gtest/gtest.h>

#include "platform/conv.h"

namespace vx {
namespace {

struct FormatCase {
  Variant value;
  const char* format;
  const char* expected;
};

TEST(Format, NumberFormatsWithItalianMarks) {
  const FormatCase cases[] = {
      {1234.5, "#,###,##0.00", "1.234,50"},
      {1234.5, "#,###,##0.0000", "1.234,5000"},
      {1234567.891, "#,###,##0.00", "1.234.567,89"},
      {-1234567.891, "#,###,##0.00", "-1.234.567,89"},
      {123456789.0, "#,###,##0.00", "123.456.789,00"},  // beyond the placeholders
      {0, "#,###,##0.00", "0,00"},
      {0, "#,###,##0.0000", "0,0000"},
      {0.5, "#,###,##0.00", "0,50"},
      {999.995, "#,###,##0.00", "1.000,00"},
      {-5, "##0.00", "-5,00"},
      {0, "##0.00", "0,00"},
      {12345.678, "##0.00", "12345,68"},
      {2.5, "##0.0000", "2,5000"},
      {0, "##0.0000", "0,0000"},
      {0.5, "##0", "1"},
      {1.5, "##0", "2"},
      {2.5, "##0", "3"},
      {-2.5, "##0", "-3"},
      {-0.4, "##0", "0"},
      {0, "##0", "0"},
      {1000, "##0", "1000"},
      {4, "00", "04"},
      {0, "00", "00"},
      {123, "00", "123"},
      {8001234567890.0, "0000000000000", "8001234567890"},
      {123, "0000000000000", "0000000000123"},
      {0, "0000000000000", "0000000000000"},
      {1234.5, "########0.00", "1234,50"},
      {0, "########0.00", "0,00"},
      {-0.001, "##0.00", "0,00"},
      {1.005, "##0.00", "1,01"},  // decimal, not binary, rounding
      {2.675, "##0.00", "2,68"},
      {1234, "###,##0", "1.234"},
      {12, "#,##0.00", "12,00"},
      {0.25, "0%", "25%"},
      {1.5, "0.0#", "1,5"},
      {1.555, "0.0#", "1,56"},
      {7, "\"EUR \"0.00", "EUR 7,00"},
      {-7, "0.00;(0.00)", "(7,00)"},
      {0, "0.00;(0.00);\"zero\"", "zero"},
      {0.5, "#.00", ",50"},
      {true, "##0", "-1"},
      {12.5f, "##0.0000", "12,5000"},
      {0.1f, "##0.0000000000", "0,1000000000"},  // a single keeps its 7 digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Format(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.expected))
        << c.value.toString().toStdString() << " with " << c.format;
  }
}

TEST(Format, TextIsReadAsANumberWhenItIsOne) {
  EXPECT_EQ(Format("1234,5", "#,###,##0.00"), "1.234,50");
  EXPECT_EQ(Format(" 4 ", "00"), "04");
  EXPECT_EQ(Format("1.234,5", "##0.00"), "1234,50");
  EXPECT_EQ(Format("8001234567890", "0000000000000"), "8001234567890");
  EXPECT_EQ(Format("ABC123", "0000000000000"), "ABC123");
  EXPECT_EQ(Format("", "##0.00"), "");
  EXPECT_EQ(Format(Variant::null(), "##0.00"), "");
  EXPECT_EQ(Format(Variant(), "##0.00"), "");
}

TEST(Format, DatesAndTimes) {
  const Variant when = Variant(QDateTime(QDate(2026, 3, 5), QTime(7, 4, 9)));
  EXPECT_EQ(Format(when, "dd/mm/yyyy"), "05/03/2026");
  EXPECT_EQ(Format(when, "Short Date"), "05/03/2026");
  EXPECT_EQ(Format(when, "hh:mm:ss"), "07:04:09");
  EXPECT_EQ(Format(when, "Long Time"), "07:04:09");
  EXPECT_EQ(Format(when, "yyyy"), "2026");
  EXPECT_EQ(Format(when, "mm"), "03");
  EXPECT_EQ(Format(when, "dd"), "05");
  EXPECT_EQ(Format(when, "d/m/yy h:nn"), "5/3/26 7:04");
  EXPECT_EQ(Format(when, "yyyymmdd"), "20260305");
  EXPECT_EQ(Format(when, "dddd d mmmm yyyy"), QString::fromUtf8("giovedì 5 marzo 2026"));
  // A time a hair below the next second shows that second.
  EXPECT_EQ(Format(Variant::fromDayNumber(46086 + 86399.9996 / 86400), "dd/mm/yyyy hh:mm:ss"),
            "06/03/2026 00:00:00");
  EXPECT_EQ(Format("31/12/2026", "yyyy"), "2026");
  EXPECT_EQ(Format(46387, "dd/mm/yyyy"), "31/12/2026");
  EXPECT_EQ(Format("domani", "dd/mm/yyyy"), "domani");
}

TEST(Format, EmptyFormatGivesTheShownText) {
  EXPECT_EQ(Format(2.5, ""), "2,5");
  EXPECT_EQ(Format("abc", ""), "abc");
  EXPECT_EQ(Format("1234,50", "General Number"), "1234,5");
}

}  // namespace
}  // namespace vx
