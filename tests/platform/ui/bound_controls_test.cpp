// The combo box and the grid filled from data controls over real SQLite files.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>

#include "data/shipped_schema.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/flexgrid.h"
#include "support/temp_data_root.h"

using namespace vx;

namespace {

class BoundControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data::CreateEmptyDatabaseFile(root.root() + "/C/Programmi/tolmo/dizizOrezav.mdb");
    db = db::Database::Open(path);
    db->Execute(
        "create table [commessi] ([codcommesso] int, [dsccommesso] text(30), "
        "[password] text(10))");
    db->Execute("insert into commessi values (1, 'ROSSI', 'a')");
    db->Execute("insert into commessi values (2, 'BIANCHI', 'b')");
    db->Execute("insert into commessi values (3, 'VERDI', 'c')");
    db->Execute("insert into commessi values (4, 'BIANCHI', 'd')");
  }
  void Point(db::DataControl& control, const QString& source) {
    control.DatabaseName = path;
    control.RecordSource = source;
    control.Refresh();
  }
  TempDataRoot root;
  const QString path = "C:\\Programmi\\tolmo\\dizizOrezav.mdb";
  std::shared_ptr<db::Database> db;
};

TEST_F(BoundControlsTest, ComboListsTheListFieldAndGivesTheBoundColumn) {
  db::DataControl data1;
  ui::DBCombo combo;
  combo.ListField = "dsccommesso";
  combo.BoundColumn = "codcommesso";
  combo.SetRowSource(&data1);
  Point(data1, "SELECT * FROM commessi ORDER BY [dsccommesso], [codcommesso]");
  EXPECT_EQ(combo.ListTexts(), (QStringList{"BIANCHI", "BIANCHI", "ROSSI", "VERDI"}));
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(combo.BoundText(), "");

  QSignalSpy change(&combo, &ui::DBCombo::Change);
  combo.SetText("ROSSI");
  EXPECT_EQ(change.count(), 1);
  EXPECT_EQ(combo.BoundText(), "1");
  combo.SetText("verdi");  // matched without regard to case
  EXPECT_EQ(combo.BoundText(), "3");
  combo.SetText("NESSUNO");
  EXPECT_EQ(combo.BoundText(), "");
  EXPECT_EQ(change.count(), 3);
}

TEST_F(BoundControlsTest, ComboPickRaisesClickAndChangeAndKeepsThePickedRow) {
  db::DataControl data1;
  Point(data1, "SELECT * FROM commessi ORDER BY [dsccommesso], [codcommesso]");
  ui::DBCombo combo;
  combo.ListField = "dsccommesso";
  combo.BoundColumn = "codcommesso";
  combo.SetRowSource(&data1);  // a control already refreshed fills the list at once
  ASSERT_EQ(combo.ListTexts().size(), 4);
  QSignalSpy click(&combo, &ui::DBCombo::Click);
  QSignalSpy change(&combo, &ui::DBCombo::Change);
  // The operator picks the second BIANCHI.
  combo.setCurrentIndex(1);
  emit combo.activated(1);
  EXPECT_EQ(click.count(), 1);
  EXPECT_EQ(change.count(), 1);
  EXPECT_EQ(combo.Text(), "BIANCHI");
  EXPECT_EQ(combo.BoundText(), "4");
}

TEST_F(BoundControlsTest, ComboRefillsOnEveryRefreshAndKeepsItsText) {
  db::DataControl data1;
  ui::DBCombo combo;
  combo.ListField = "dsccommesso";
  combo.BoundColumn = "codcommesso";
  combo.SetRowSource(&data1);
  Point(data1, "SELECT * FROM commessi ORDER BY [dsccommesso]");
  combo.SetText("VERDI");
  Point(data1, "SELECT * FROM commessi where trim(password) = " + db::Quote("a"));
  EXPECT_EQ(combo.ListTexts(), QStringList{"ROSSI"});
  EXPECT_EQ(combo.Text(), "VERDI");
  EXPECT_EQ(combo.BoundText(), "");
  // The record set is left on its first row for the window's own code.
  ASSERT_NE(data1.recordset(), nullptr);
  EXPECT_EQ(data1.recordset()->Field("codcommesso").toLong(), 1);
}

TEST_F(BoundControlsTest, GridTakesFieldNamesAndOneRowPerRecord) {
  db->Execute(
      "create table [articoli] ([sel] text(1), [codean] text(13), [costo1] single, "
      "[data1] date)");
  db->Execute("insert into articoli values ('X', '8001', 1.5, #03/15/2026#)");
  db->Execute("insert into articoli values (null, '8002', null, null)");
  db::DataControl art;
  ui::FlexGrid grid;
  grid.SetColWidth(2, 0);
  grid.SetDataSource(&art);
  Point(art, "SELECT [sel], [codean] as Ean, [costo1], [data1] FROM articoli ORDER BY [codean]");
  ASSERT_EQ(grid.Rows(), 3);
  ASSERT_EQ(grid.Cols(), 5);
  EXPECT_EQ(grid.TextMatrix(0, 1), "sel");
  EXPECT_EQ(grid.TextMatrix(0, 2), "Ean");
  EXPECT_EQ(grid.TextMatrix(1, 1), "X");
  EXPECT_EQ(grid.TextMatrix(1, 2), "8001");
  EXPECT_EQ(grid.TextMatrix(1, 3), "1,5");
  EXPECT_EQ(grid.TextMatrix(1, 4), "15/03/2026");
  EXPECT_EQ(grid.TextMatrix(2, 1), "");  // Null
  EXPECT_EQ(grid.TextMatrix(2, 3), "");
  EXPECT_EQ(grid.TextMatrix(1, 0), "");  // the fixed column stays empty
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_TRUE(grid.isColumnHidden(2));  // widths hold across fills

  // A view without rows leaves only the heading row.
  Point(art, "SELECT [sel], [codean] as Ean FROM articoli WHERE [sel] = 'Z'");
  EXPECT_EQ(grid.Rows(), 1);
  EXPECT_EQ(grid.Cols(), 3);
  EXPECT_EQ(grid.TextMatrix(0, 2), "Ean");
}

TEST_F(BoundControlsTest, GridFillsManyRowsInRecordOrder) {
  db->Execute("create table [righe] ([n] int, [t] text(20))");
  db::Statement insert = db->Prepare("insert into righe values (?, ?)");
  db::Transaction tx(*db);
  for (int i = 0; i < 3000; ++i) insert.Bind(1, i).Bind(2, QString("riga %1").arg(i)).Run();
  tx.Commit();
  db::DataControl data;
  ui::FlexGrid grid;
  grid.SetDataSource(&data);
  Point(data, "SELECT * FROM righe ORDER BY [n] DESC");
  ASSERT_EQ(grid.Rows(), 3001);
  EXPECT_EQ(grid.TextMatrix(1, 1), "2999");
  EXPECT_EQ(grid.TextMatrix(3000, 2), "riga 0");
}

}  // namespace
