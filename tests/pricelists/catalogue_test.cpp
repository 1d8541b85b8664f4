// The supplier catalogue holds every form of value its writers store.
#include "platform/db/recordset.h"
#include "pricelists/pricelist_fixture.h"

namespace vx::pricelists {
namespace {

using testing::PricelistFixture;

class CatalogueTest : public PricelistFixture {};

TEST_F(CatalogueTest, ColumnsAcceptEveryFormTheirWritersStore) {
  const double day = DayNumber(QDate(2026, 3, 15));
  struct Case {
    int codart;
    Variant data1, ivart;
    double dayBack;
    QString ivartBack;
  };
  const std::vector<Case> cases = {
      {1, Variant::fromDayNumber(day), QStringLiteral("22"), day, "22"},
      {2, Variant(day), 22, day, "22"},
      {3, QStringLiteral("15/03/2026"), QStringLiteral("04"), day, "04"},
      {4, QStringLiteral("00:00:00"), 4, 0, "4"},
      {5, Variant(0), QStringLiteral("10"), 0, "10"},
  };
  auto rs = varu_->OpenRecordset(QStringLiteral("select * from articolo"));
  for (const auto& c : cases) {
    rs->AddNew();
    rs->SetField("codart", c.codart);
    rs->SetField("data1", c.data1);
    rs->SetField("ivart", c.ivart);
    rs->Update();
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codart);
    EXPECT_EQ(Article(c.codart, "data1").toDouble(), c.dayBack);
    EXPECT_EQ(Article(c.codart, "ivart").str(), c.ivartBack);
  }
  // Offers compare as dates.
  EXPECT_EQ(
      Scalar("select count(*) from articolo where data1 > ?", {Variant::fromDayNumber(day - 1)})
          .toLong(),
      3);

  // The text importer's 9-character code text becomes the number.
  rs->AddNew();
  rs->SetField("codart", QStringLiteral("000012345"));
  rs->Update();
  EXPECT_EQ(Article(12345, "codart").toLong(), 12345);
  auto ean = varu_->OpenRecordset(QStringLiteral("select * from codean"));
  ean->AddNew();
  ean->SetField("codare", QStringLiteral("000012345"));
  ean->SetField("eanare", QStringLiteral("0000000012345"));
  ean->Update();
  EXPECT_EQ(Scalar("select codare from codean where eanare = '0000000012345'").toLong(), 12345);
}

}  // namespace
}  // namespace vx::pricelists
