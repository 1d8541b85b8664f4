#include "platform/variant.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "platform/clock.h"
#include "platform/locale_it.h"

namespace vx {
namespace {

TEST(Variant, ShownText) {
  EXPECT_EQ(Variant().toString(), "");
  EXPECT_EQ(Variant::null().toString(), "");
  EXPECT_EQ(Variant(42).toString(), "42");
  EXPECT_EQ(Variant(-7LL).toString(), "-7");
  EXPECT_EQ(Variant(1.5f).toString(), "1,5");
  EXPECT_EQ(Variant(0.1f).toString(), "0,1");
  EXPECT_EQ(Variant(12345678.0f).toString(), "12345680");
  EXPECT_EQ(Variant(1.0 / 3).toString(), "0,333333333333333");
  EXPECT_EQ(Variant(true).toString(), "Vero");
  EXPECT_EQ(Variant(false).toString(), "Falso");
  EXPECT_EQ(Variant("testo").toString(), "testo");
}

TEST(Variant, DatesAsText) {
  EXPECT_EQ(Variant(QDate(2026, 12, 31)).toString(), "31/12/2026");
  EXPECT_EQ(Variant(QDateTime(QDate(2026, 1, 2), QTime(10, 30, 0))).toString(),
            "02/01/2026 10:30:00");
  EXPECT_EQ(Variant::fromDayNumber(0.75).toString(), "18:00:00");
  EXPECT_EQ(Variant::fromDayNumber(0).toString(), "00:00:00");
  EXPECT_EQ(Variant::fromDayNumber(-1.25).toString(), "29/12/1899 06:00:00");
}

TEST(Variant, DayNumbers) {
  EXPECT_DOUBLE_EQ(Variant(QDate(1899, 12, 30)).toDayNumber(), 0);
  EXPECT_DOUBLE_EQ(Variant(QDate(2026, 12, 31)).toDayNumber(), 46387);
  EXPECT_DOUBLE_EQ(DayNumberFromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
  EXPECT_EQ(DateTimeFromDayNumber(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
  const QDateTime t(QDate(2026, 6, 15), QTime(23, 59, 59));
  EXPECT_EQ(Variant(t).toDateTime(), t);
  EXPECT_EQ(Variant("31/12/2026").toDate(), QDate(2026, 12, 31));
  EXPECT_EQ(Variant(46387).toDate(), QDate(2026, 12, 31));
  EXPECT_THROW(Variant("no").toDayNumber(), ConversionError);
}

TEST(Variant, Numbers) {
  EXPECT_DOUBLE_EQ(Variant("25,00").toDouble(), 25);
  EXPECT_DOUBLE_EQ(Variant("1.234,5").toDouble(), 1234.5);
  EXPECT_DOUBLE_EQ(Variant::null().toDouble(), 0);
  EXPECT_DOUBLE_EQ(Variant().toDouble(), 0);
  EXPECT_DOUBLE_EQ(Variant(true).toDouble(), -1);
  EXPECT_THROW(Variant("abc").toDouble(), ConversionError);
  EXPECT_THROW(Variant("").toDouble(), ConversionError);
  EXPECT_EQ(Variant(2.5).toLong(), 2);
  EXPECT_EQ(Variant("3,5").toLong(), 4);
  EXPECT_EQ(Variant(5000000000LL).toLong(), 5000000000LL);
  EXPECT_THROW(Variant(1e300).toLong(), ConversionError);
  EXPECT_TRUE(Variant("Vero").toBool());
  EXPECT_TRUE(Variant("true").toBool());
  EXPECT_FALSE(Variant("0").toBool());
  EXPECT_TRUE(Variant(0.5).toBool());
  EXPECT_FALSE(Variant::null().toBool());
  EXPECT_THROW(Variant("forse").toBool(), ConversionError);
}

TEST(Variant, Equality) {
  EXPECT_EQ(Variant(2), Variant(2.0));
  EXPECT_EQ(Variant(1.5f), Variant(1.5));
  EXPECT_FALSE(Variant(0.1f) == Variant(0.1));
  EXPECT_FALSE(Variant("2") == Variant(2));
  EXPECT_EQ(Variant::null(), Variant::null());
  EXPECT_FALSE(Variant::null() == Variant());
  EXPECT_FALSE(Variant("a") == Variant("A"));
  EXPECT_EQ(Variant(QDate(2026, 1, 1)), Variant::fromDayNumber(46023));
}

TEST(Clock, InjectedAndRestored) {
  const QDateTime fixed(QDate(1990, 2, 28), QTime(9, 15));
  SetClock([fixed] { return fixed; });
  EXPECT_EQ(Now(), fixed);
  EXPECT_EQ(Today(), QDate(1990, 2, 28));
  SetClock({});
  EXPECT_GT(Today().year(), 2000);  // the system clock is back
}

TEST(ItalianLocale, IsTheDefault) {
  InstallItalianLocale();
  EXPECT_EQ(QLocale().language(), QLocale::Italian);
  EXPECT_EQ(ItalianLocale().decimalPoint(), ",");
  EXPECT_EQ(QLocale().toString(1234.5, 'f', 2), "1.234,50");
}

}  // namespace
}  // namespace vx
