#include "platform/db/jet_types.h"

#include <gtest/gtest.h>

#include <QDate>

#include "platform/db/db_fixture.h"

namespace vx::db {
namespace {

using testing::DbTest;

JetType T(const char* declared) { return JetTypeFromDeclared(QString::fromUtf8(declared)); }

TEST(JetTypesTest, DeclaredTypesNameTheJetType) {
  EXPECT_EQ(T("TEXT(13)").kind, JetKind::Text);
  EXPECT_EQ(T("TEXT(13)").size, 13);
  EXPECT_EQ(T("text").size, 255);
  EXPECT_EQ(T("LONGTEXT").kind, JetKind::Memo);
  EXPECT_EQ(T("INT").kind, JetKind::Long);
  EXPECT_EQ(T("SHORT").kind, JetKind::Short);
  EXPECT_EQ(T("SINGLE").kind, JetKind::Single);
  EXPECT_EQ(T("DATE").kind, JetKind::Date);
  EXPECT_EQ(T("YESNO").kind, JetKind::YesNo);
  EXPECT_EQ(T("").kind, JetKind::Unknown);
}

struct Conform {
  const char* declared;
  Variant in;
  Variant stored;  // as written to SQLite
};

TEST(JetTypesTest, ValuesAreConformedToTheColumn) {
  const Conform cases[] = {
      {"INT", Variant("25,00"), Variant(25LL)},          // Italian number text
      {"LONG", Variant("000012345"), Variant(12345LL)},  // digit text
      {"INT", Variant(2.5), Variant(2LL)},               // half to even
      {"INT", Variant(3.5), Variant(4LL)},
      {"INT", Variant(-2.5), Variant(-2LL)},
      {"SINGLE", Variant(0.1), Variant(static_cast<double>(0.1f))},
      {"SINGLE", Variant("1.234,5"), Variant(1234.5)},
      {"DOUBLE", Variant("0,1"), Variant(0.1)},
      {"CURRENCY", Variant(1.23456), Variant(1.2346)},
      {"TEXT(10)", Variant(22), Variant("22")},
      {"TEXT(10)", Variant(2.5), Variant("2,5")},
      {"TEXT(10)", Variant(static_cast<float>(0.1f)), Variant("0,1")},
      {"DATE", Variant(QDate(2026, 12, 31)), Variant(46387.0)},
      {"DATE", Variant(46387.0), Variant(46387.0)},
      {"DATE", Variant("00:00:00"), Variant(0.0)},
      {"DATE", Variant("31/12/2026"), Variant(46387.0)},
      {"YESNO", Variant(true), Variant(-1LL)},
      {"YESNO", Variant(0), Variant(0LL)},
      {"BYTE", Variant("255"), Variant(255LL)},
      {"INT", Variant(""), Variant::null()},
      {"INT", Variant::null(), Variant::null()},
  };
  for (const Conform& c : cases) {
    const Variant got = ConformForWrite(c.in, T(c.declared), QStringLiteral("f"));
    EXPECT_EQ(got.type(), c.stored.type()) << c.declared << " " << c.in.str().toStdString();
    EXPECT_EQ(got.str(), c.stored.str()) << c.declared << " " << c.in.str().toStdString();
  }
}

TEST(JetTypesTest, AValueTheColumnCannotHoldIsAnErrorNamingFieldAndValue) {
  const Conform cases[] = {
      {"INT", Variant("abc"), {}},     {"INT", Variant(3e9), {}},  // beyond 32 bits
      {"SHORT", Variant(40000), {}},   {"BYTE", Variant(-1), {}},
      {"SINGLE", Variant(1e300), {}},  {"DATE", Variant("domani"), {}},
      {"YESNO", Variant("forse"), {}},
  };
  for (const Conform& c : cases) {
    try {
      ConformForWrite(c.in, T(c.declared), QStringLiteral("colli1"));
      ADD_FAILURE() << c.declared << " took " << c.in.str().toStdString();
    } catch (const DbError& e) {
      EXPECT_TRUE(e.message().contains(QStringLiteral("colli1"))) << e.what();
      EXPECT_TRUE(e.message().contains(c.in.str())) << e.what();
    }
  }
}

TEST(JetTypesTest, StoredValuesReadBackTyped) {
  EXPECT_EQ(TypedFromStorage(Variant(46387.0), T("DATE")).type(), Variant::Type::Date);
  EXPECT_EQ(TypedFromStorage(Variant(46387.0), T("DATE")).toDate(), QDate(2026, 12, 31));
  EXPECT_EQ(TypedFromStorage(Variant(0.5), T("SINGLE")).type(), Variant::Type::Single);
  EXPECT_EQ(TypedFromStorage(Variant(7LL), T("LONG")).type(), Variant::Type::Integer);
  EXPECT_EQ(TypedFromStorage(Variant(7.0), T("INT")).type(), Variant::Type::Integer);
  EXPECT_EQ(TypedFromStorage(Variant(-1LL), T("YESNO")), Variant(true));
  EXPECT_EQ(TypedFromStorage(Variant(12LL), T("TEXT(5)")), Variant("12"));
  EXPECT_TRUE(TypedFromStorage(Variant::null(), T("TEXT(5)")).isNull());
}

class ColumnWriteTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    MakeArticles();
    db_->Execute(QStringLiteral("alter table articoli add [ultimadata] Date"));
    rs_ = db_->OpenRecordset(QStringLiteral("select * from articoli"));
    rs_->AddNew();
  }
  Variant RoundTrip(const QString& field) {
    rs_->SetField(QStringLiteral("vedovo"), Variant("1"));
    rs_->Update();
    EXPECT_TRUE(rs_->FindFirst(QStringLiteral("vedovo = '1'")));
    return rs_->Field(field);
  }
  std::unique_ptr<Recordset> rs_;
};

TEST_F(ColumnWriteTest, TooLongTextIsRefusedNamingTheField) {
  try {
    rs_->SetField(QStringLiteral("desart"), Variant(QString(51, QLatin1Char('x'))));
    FAIL();
  } catch (const DbError& e) {
    EXPECT_TRUE(
        e.message().contains(QStringLiteral("Il campo 'desart' accetta al massimo 50 caratteri")))
        << e.what();
  }
  rs_->SetField(QStringLiteral("desart"), Variant(QString(50, QLatin1Char('x'))));
  EXPECT_EQ(RoundTrip(QStringLiteral("desart")).str().size(), 50);
}

TEST_F(ColumnWriteTest, SingleColumnKeepsSinglePrecision) {
  rs_->SetField(QStringLiteral("costo4"), Variant(1.1));
  const Variant v = RoundTrip(QStringLiteral("costo4"));
  EXPECT_EQ(v.type(), Variant::Type::Single);
  EXPECT_EQ(v.toDouble(), static_cast<double>(1.1f));
  EXPECT_EQ(v.str(), QStringLiteral("1,1"));
}

TEST_F(ColumnWriteTest, ItalianNumberTextIntoANumberColumn) {
  rs_->SetField(QStringLiteral("costo1"), Variant("1.234,50"));
  rs_->SetField(QStringLiteral("colli1"), Variant("25,00"));
  EXPECT_EQ(RoundTrip(QStringLiteral("costo1")).toDouble(), 1234.5);
  EXPECT_EQ(rs_->Field(QStringLiteral("colli1")), Variant(25LL));
}

TEST_F(ColumnWriteTest, NumberIntoATextColumn) {
  rs_->SetField(QStringLiteral("desart"), Variant(22));
  EXPECT_EQ(RoundTrip(QStringLiteral("desart")), Variant("22"));
}

TEST_F(ColumnWriteTest, DateColumnTakesDatesDayNumbersAndTimes) {
  const Variant inputs[] = {Variant(QDate(2026, 3, 15)), Variant(46096.0), Variant("15/03/2026"),
                            Variant("00:00:00")};
  const double expected[] = {46096.0, 46096.0, 46096.0, 0.0};
  for (size_t i = 0; i < std::size(inputs); ++i) {
    const QString ean = QString::number(100 + i);
    rs_->AddNew();
    rs_->SetField(QStringLiteral("vedovo"), Variant(ean));
    rs_->SetField(QStringLiteral("ultimadata"), inputs[i]);
    rs_->Update();
    ASSERT_TRUE(rs_->FindFirst(QStringLiteral("vedovo = '") + ean + QLatin1Char('\'')));
    const Variant v = rs_->Field(QStringLiteral("ultimadata"));
    EXPECT_TRUE(v.isDate()) << i;
    EXPECT_EQ(v.toDayNumber(), expected[i]) << i;
  }
  // Dates compare as dates in SQL.
  EXPECT_TRUE(rs_->FindFirst(QStringLiteral("ultimadata >= #03/15/2026#")));
  EXPECT_EQ(rs_->Field(QStringLiteral("vedovo")), Variant("100"));
}

}  // namespace
}  // namespace vx::db
