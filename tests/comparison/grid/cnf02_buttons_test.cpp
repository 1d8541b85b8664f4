// The buttons that act on many rows: select all, clear packages, delete the view, exit.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include "comparison/grid/grid_fixture.h"
#include "comparison/written_orders.h"
#include "data/comparison_load.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"

namespace vx::comparison::testing {
namespace {

class Cnf02ButtonsTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Add({"0000000000001", "ACETO", {1, 2, 0, 0}, {0, 0, 0, 0}, "X"});  // marked, no packages
    Add({"0000000000002", "BIRRA", {1, 2, 0, 0}, {0, 3, 0, 0}, "X"});  // marked, packages
    Add({"0000000000003", "CAFFE", {1, 2, 0, 0}, {0, 0, 0, 0}, " "});  // unmarked
    Add({"0000000000004", "DADI", {1, 2, 0, 0}, {4, 0, 0, 0}, " "});   // packages, no mark
    Add({"0000000000005", "ACQUA", {1, 2, 0, 0}, {0, 0, 1, 0}, "X"});  // marked, packages
  }
  QString Sel(const QString& ean) const { return Column(ean, "sel").str(); }
  void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  bool Loaded() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ui::Forms::IsLoaded<cnf02>();
  }
};

TEST_F(Cnf02ButtonsTest, SelectAllTwiceRestoresMarks) {
  Open();
  Click(w_->Command1);
  EXPECT_EQ(Sel("0000000000001"), " ");
  EXPECT_EQ(Sel("0000000000002"), "X");  // packages: untouched
  EXPECT_EQ(Sel("0000000000003"), "X");
  EXPECT_EQ(Sel("0000000000004"), " ");  // packages without mark: untouched
  EXPECT_EQ(w_->flex1->TextMatrix(RowOf("0000000000003"), 1), "X");  // grid reloaded
  EXPECT_TRUE(w_->flex1->isVisible());
  EXPECT_TRUE(w_->isEnabled());
  Click(w_->Command1);
  EXPECT_EQ(Sel("0000000000001"), "X");
  EXPECT_EQ(Sel("0000000000002"), "X");
  EXPECT_EQ(Sel("0000000000003"), " ");
  EXPECT_EQ(Sel("0000000000004"), " ");
}

TEST_F(Cnf02ButtonsTest, SelectAllOnMarkedViewUnmarksThoseWithoutPackages) {
  Open();
  w_->cond_vista = "sel = 'X' ";
  w_->Requery();
  ASSERT_EQ(w_->flex1->Rows(), 4);
  Click(w_->Command1);
  EXPECT_EQ(Sel("0000000000001"), " ");
  EXPECT_EQ(Sel("0000000000003"), " ");  // outside the view
  EXPECT_EQ(w_->flex1->Rows(), 3);       // ACETO left the view
}

TEST_F(Cnf02ButtonsTest, SelectAllFailureLeavesEveryMark) {
  BreakRow("0000000000003");  // the last row the pass would change
  Open();
  Click(w_->Command1);
  EXPECT_EQ(Sel("0000000000001"), "X");
  EXPECT_EQ(Sel("0000000000003"), " ");
  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Critical);
  EXPECT_TRUE(w_->isEnabled());
}

TEST_F(Cnf02ButtonsTest, ClearPackagesUnderSearchClearsAllMarkedRows) {
  Open();
  RecordWrittenOrders(*db_, {{2, "APULIA", "C:\\apulia\\dati.mdb", 2026, 1, 1, 2}});
  ConfirmWrittenOrders(*db_, 2);
  w_->cond_ricerca = " [desart] like '*CAFFE*'";
  w_->Requery();
  ASSERT_EQ(w_->flex1->Rows(), 2);
  Click(w_->Command5);
  EXPECT_TRUE(WrittenOrdersOf(*db_, 2).empty());  // the orders go with their packages
  for (const char* ean : {"0000000000001", "0000000000002", "0000000000005"}) {
    EXPECT_EQ(Sel(ean), " ") << ean;
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(Column(ean, QString("colli%1").arg(n)).toLong(), 0);
  }
  EXPECT_EQ(Column("0000000000004", "colli1").toLong(), 4);  // no mark: keeps its packages
  // The search is shown again.
  ASSERT_EQ(w_->flex1->Rows(), 2);
  EXPECT_EQ(w_->flex1->TextMatrix(1, 3), "CAFFE");
  EXPECT_TRUE(w_->art->RecordSource.contains("CAFFE"));
}

TEST_F(Cnf02ButtonsTest, ClearPackagesFailureLeavesTable) {
  BreakRow("0000000000005");
  RecordWrittenOrders(*db_, {{2, "APULIA", "C:\\apulia\\dati.mdb", 2026, 1, 1, 2}});
  ConfirmWrittenOrders(*db_, 2);
  Open();
  Click(w_->Command5);
  EXPECT_EQ(WrittenOrdersOf(*db_, 2).size(), 1u);
  EXPECT_EQ(Sel("0000000000002"), "X");
  EXPECT_EQ(Column("0000000000002", "colli2").toLong(), 3);
  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Critical);
}

TEST_F(Cnf02ButtonsTest, ClearPackagesOnEmptyGridDoesNothing) {
  Open();
  w_->cond_ricerca = " [desart] like '*NESSUNO*'";
  w_->Requery();
  Click(w_->Command5);
  EXPECT_EQ(Column("0000000000002", "colli2").toLong(), 3);
  EXPECT_TRUE(boxes_->Boxes().empty());
}

TEST_F(Cnf02ButtonsTest, DeleteAnsweredNoKeepsEverything) {
  Open();
  boxes_->Answer(ui::MsgAnswer::No);
  Click(w_->Command2);
  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  const ui::MessageRecord& box = boxes_->Boxes()[0];
  EXPECT_EQ(box.text, "Attenzione!!!  Sei sicuro di voler eliminare i dati confrontati?");
  EXPECT_EQ(box.title, "Elimina Confronto Fornitori");
  EXPECT_EQ(box.buttons, ui::MsgButtons::YesNo);
  EXPECT_EQ(box.defaultButton, ui::MsgAnswer::No);
  EXPECT_EQ(Count(), 5);
  EXPECT_TRUE(Loaded());
}

TEST_F(Cnf02ButtonsTest, DeleteAnsweredYesDeletesTheViewOnly) {
  data::MarkLoadBegun(*db_);
  RecordWrittenOrders(*db_, {{1, "VARU", "C:\\varu\\dati.mdb", 2026, 1, 1, 2}});
  ConfirmWrittenOrders(*db_, 1);
  Open();
  w_->cond_vista = "sel = 'X' ";
  w_->Requery();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Click(w_->Command2);
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(Count("where sel = 'X'"), 0);
  EXPECT_FALSE(Loaded());
  // Rows are left: the load's mark and the written orders stay with them.
  EXPECT_TRUE(data::LoadUnderWay(*db_));
  EXPECT_EQ(WrittenOrdersOf(*db_, 1).size(), 1u);
}

TEST_F(Cnf02ButtonsTest, DeletingEveryRowEndsAnUnfinishedLoadAndItsWrittenOrders) {
  data::MarkLoadBegun(*db_);
  RecordWrittenOrders(*db_, {{1, "VARU", "C:\\varu\\dati.mdb", 2026, 1, 1, 2}});
  ConfirmWrittenOrders(*db_, 1);
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Click(w_->Command2);
  EXPECT_EQ(Count(), 0);
  EXPECT_FALSE(data::LoadUnderWay(*db_));
  EXPECT_TRUE(WrittenOrdersOf(*db_, 1).empty());
}

TEST_F(Cnf02ButtonsTest, DeleteFailureKeepsRowsAndWindow) {
  BreakRow("0000000000004", "DELETE");
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Click(w_->Command2);
  EXPECT_EQ(Count(), 5);
  EXPECT_TRUE(Loaded());
  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[1].icon, ui::MsgIcon::Critical);
  EXPECT_EQ(w_->flex1->Rows(), 6);
}

TEST_F(Cnf02ButtonsTest, ExitKeepsTheComparison) {
  Open();
  Click(w_->Command6);
  EXPECT_FALSE(Loaded());
  EXPECT_EQ(Count(), 5);
}

}  // namespace
}  // namespace vx::comparison::testing
