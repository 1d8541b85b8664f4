#include "platform/db/datacontrol.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "platform/db/db_fixture.h"

namespace vx::db {
namespace {

using testing::DbTest;

TEST_F(DbTest, DataControlRefreshOpensTheRecordSourceAfresh) {
  MakeArticles();
  AddArticle(QStringLiteral("1"), QStringLiteral("uno"));
  DataControl data;
  QSignalSpy refreshed(&data, &DataControl::refreshed);
  EXPECT_EQ(data.recordset(), nullptr);
  data.DatabaseName = path_;
  data.RecordSource = QStringLiteral("select * from articoli");
  data.Refresh();
  EXPECT_EQ(refreshed.count(), 1);
  EXPECT_EQ(data.database(), db_);  // the shared connection
  ASSERT_NE(data.recordset(), nullptr);
  EXPECT_EQ(data.recordset()->RecordCount(), 1);

  AddArticle(QStringLiteral("2"), QStringLiteral("due"));
  data.Refresh();
  EXPECT_EQ(data.recordset()->RecordCount(), 2);

  // A failing refresh leaves no stale set behind and does not signal.
  data.RecordSource = QStringLiteral("select * from nessuna");
  EXPECT_THROW(data.Refresh(), DbError);
  EXPECT_EQ(data.recordset(), nullptr);
  EXPECT_EQ(refreshed.count(), 2);
}

}  // namespace
}  // namespace vx::db
