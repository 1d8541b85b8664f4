// Marks, packages and units edited in the grid with the mouse and the keyboard, each written
// back to the article's row at once.
#include <gtest/gtest.h>

#include <QTest>

#include "comparison/grid/grid_fixture.h"
#include "platform/ui/flexgrid.h"

namespace vx::comparison::testing {
namespace {

constexpr char kEanA[] = "8000000000011";
constexpr char kEanB[] = "8000000000028";

class Cnf02EditTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Add({kEanA, "ALFA", {1, 2, 3, 4}, {0, 0, 0, 0}, " "});
    Add({kEanB, "BETA", {1, 2, 3, 4}, {0, 0, 0, 2}, "X"});
    Open();
    a_ = RowOf(kEanA);
    b_ = RowOf(kEanB);
    ASSERT_GT(a_, 0);
    ASSERT_GT(b_, 0);
  }
  QString Cell(int row, int col) const { return w_->flex1->TextMatrix(row, col); }
  int a_ = -1, b_ = -1;
};

TEST_F(Cnf02EditTest, DigitsIntoEmptyPackageCellStopAtFour) {
  // An empty Colli2 cell (the table column is Null).
  db_->Execute("update articoli set colli2 = null where vedovo = ?", {QString(kEanA)});
  w_->Requery();
  a_ = RowOf(kEanA);
  ASSERT_EQ(Cell(a_, 14), "");
  ClickCell(a_, 14);
  TypeKeys("12345");
  EXPECT_EQ(Cell(a_, 14), "1234");
  EXPECT_EQ(Cell(a_, 1), "X");
  EXPECT_EQ(Column(kEanA, "colli2").toLong(), 1234);
  EXPECT_EQ(Column(kEanA, "sel").str(), "X");
}

TEST_F(Cnf02EditTest, DigitAfterZeroDropsTheZero) {
  ClickCell(a_, 11);
  ASSERT_EQ(Cell(a_, 11), "0");
  TypeKeys("7");
  EXPECT_EQ(Cell(a_, 11), "7");
  EXPECT_EQ(Column(kEanA, "colli1").toLong(), 7);
}

TEST_F(Cnf02EditTest, DeleteClearsOneSlotAndTheMark) {
  ClickCell(b_, 11);
  TypeKeys("3");  // colli1 = 3 besides colli4 = 2
  ClickCell(b_, 20);
  PressKey(Qt::Key_Delete);
  EXPECT_EQ(Cell(b_, 20), "0");
  EXPECT_EQ(Cell(b_, 1), " ");
  EXPECT_EQ(Column(kEanB, "colli4").toLong(), 0);
  EXPECT_EQ(Column(kEanB, "sel").str(), " ");
  EXPECT_EQ(Column(kEanB, "colli1").toLong(), 3);
}

TEST_F(Cnf02EditTest, KeysOutsidePackageColumnsDoNothing) {
  ClickCell(a_, 3);
  TypeKeys("5");
  PressKey(Qt::Key_Delete);
  EXPECT_EQ(Cell(a_, 3), "ALFA");
  EXPECT_EQ(Cell(a_, 1), " ");
  EXPECT_EQ(Column(kEanA, "sel").str(), " ");
  // A letter in a package cell is ignored too.
  ClickCell(a_, 17);
  TypeKeys("a");
  EXPECT_EQ(Cell(a_, 17), "0");
}

TEST_F(Cnf02EditTest, ClickOnSelMarksAndUnmarksUnlessPackages) {
  ClickCell(a_, 1);
  EXPECT_EQ(Cell(a_, 1), "X");
  EXPECT_EQ(Column(kEanA, "sel").str(), "X");
  ClickCell(a_, 1);
  EXPECT_EQ(Cell(a_, 1), "");
  EXPECT_EQ(Column(kEanA, "sel").str(), "");
  // Packages 0, 0, 0, 2 keep the mark.
  ClickCell(b_, 1);
  EXPECT_EQ(Cell(b_, 1), "X");
  EXPECT_EQ(Column(kEanB, "sel").str(), "X");
}

TEST_F(Cnf02EditTest, ClickOnUnitSwitchesBetweenCtAndPz) {
  ClickCell(a_, 4);
  EXPECT_EQ(Cell(a_, 4), "PZ");
  EXPECT_EQ(Column(kEanA, "umart").str(), "PZ");
  ClickCell(a_, 4);
  EXPECT_EQ(Column(kEanA, "umart").str(), "CT");
  db_->Execute("update articoli set umart = 'KG' where vedovo = ?", {QString(kEanA)});
  w_->Requery();
  ClickCell(RowOf(kEanA), 4);
  EXPECT_EQ(Column(kEanA, "umart").str(), "CT");
}

TEST_F(Cnf02EditTest, ClickOnPackageCellWritesItsNumber) {
  db_->Execute("update articoli set colli3 = 9 where vedovo = ?", {QString(kEanA)});
  ClickCell(a_, 17);  // the grid still shows 0 from its last query
  EXPECT_EQ(Column(kEanA, "colli3").toLong(), 0);
  w_->flex1->SetTextMatrix(a_, 17, "");
  db_->Execute("update articoli set colli3 = 9 where vedovo = ?", {QString(kEanA)});
  ClickCell(a_, 17);  // an empty cell writes 0
  EXPECT_EQ(Column(kEanA, "colli3").toLong(), 0);
}

TEST_F(Cnf02EditTest, ClickOnHeadingEditsNothing) {
  ClickCell(a_, 1);  // current cell: Sel of ALFA, now marked
  ASSERT_EQ(Column(kEanA, "sel").str(), "X");
  ui::FlexGrid* g = w_->flex1;
  const QModelIndex heading = g->model()->index(0, 1);
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(heading).center());
  EXPECT_EQ(Column(kEanA, "sel").str(), "X");
  EXPECT_EQ(Cell(a_, 1), "X");
}

TEST_F(Cnf02EditTest, FailedWriteRestoresCellsAndTellsTheError) {
  BreakRow(kEanA);
  ClickCell(a_, 14);
  TypeKeys("5");
  EXPECT_EQ(Cell(a_, 14), "0");
  EXPECT_EQ(Cell(a_, 1), " ");
  EXPECT_EQ(Column(kEanA, "colli2").toLong(), 0);
  EXPECT_EQ(Column(kEanA, "sel").str(), " ");
  // The digit's failure is told; the click's, which only wrote back the cell's number, not.
  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  for (const auto& box : boxes_->Boxes()) {
    EXPECT_EQ(box.icon, ui::MsgIcon::Critical);
    EXPECT_TRUE(box.text.contains("riga bloccata")) << box.text.toStdString();
  }
  // The other row is still written.
  ClickCell(b_, 14);
  TypeKeys("5");
  EXPECT_EQ(Column(kEanB, "colli2").toLong(), 5);
}

TEST_F(Cnf02EditTest, RowsAndColumnsChangedElsewhereAreToldOncePerKeystroke) {
  db_->Execute(
      "insert into articoli select * from articoli where vedovo = '8000000000028'; "
      "delete from articoli where rowid < (select max(rowid) from articoli)");  // BETA again
  for (int row : {a_, b_}) {
    ClickCell(row, 11);
    TypeKeys("3");
  }
  // One box for the digit; none for the clicks and moves that change no cell.
  PressKey(Qt::Key_Right);
  ClickCell(a_, 14);
  EXPECT_EQ(Cell(a_, 11) + Cell(a_, 1), "0 ");
  EXPECT_EQ(boxes_->Texts(),
            QStringList{"L'articolo 8000000000011 non è più nella tabella di "
                        "confronto: premere \"Tutti\" per ricaricare la griglia."});
  EXPECT_EQ(Column(kEanB, "colli1").toLong(), 3);
  // "Crea Ordini" takes it: its supplier has no database here.
  boxes_->Answer(ui::MsgAnswer::No);
  w_->cnf02_Command4_Click();
  EXPECT_TRUE(boxes_->Texts().last().contains("ordini non creati per Brunelvatto"));

  // A column dropped under the grid: one box per digit, in the layer's words; nothing written.
  db_->Execute("alter table articoli drop column colli4");
  boxes_->Clear();
  ClickCell(b_, 14);
  TypeKeys("5");
  EXPECT_EQ(boxes_->Texts(),
            QStringList{"ATTENZIONE !!! Errore durante l'aggiornamento dell'articolo "
                        "8000000000028.\nIl campo 'colli4' non è più nella tabella "
                        "'articoli', la cui struttura è cambiata: il record set va "
                        "aperto di nuovo"});
  EXPECT_EQ(Column(kEanB, "colli2").toLong(), 0);
}

}  // namespace
}  // namespace vx::comparison::testing
