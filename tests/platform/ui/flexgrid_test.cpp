// The grid's matrix, current cell, colours, widths and events.
#include "platform/ui/flexgrid.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "platform/ui/colors.h"

using vx::ui::FlexGrid;
using vx::ui::VbColor;

namespace {

class FlexGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetRows(4);
    grid.SetCols(5);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 5; ++c) grid.SetTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
    grid.resize(600, 300);
    grid.show();
  }
  static bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <=
           24;
  }
  QPoint CellCentre(int r, int c) { return grid.visualRect(grid.model()->index(r, c)).center(); }
  FlexGrid grid;
};

TEST_F(FlexGridTest, ResizingKeepsTheCellsThatRemain) {
  grid.SetRows(6);
  grid.SetCols(3);
  EXPECT_EQ(grid.Rows(), 6);
  EXPECT_EQ(grid.Cols(), 3);
  EXPECT_EQ(grid.TextMatrix(3, 2), "3,2");
  EXPECT_EQ(grid.TextMatrix(5, 2), "");
  EXPECT_EQ(grid.TextMatrix(3, 4), "");  // outside the grid
  grid.SetTextMatrix(9, 9, "ignored");
  EXPECT_EQ(grid.Rows(), 6);
}

TEST_F(FlexGridTest, CurrentCellColoursAndTextGoToTheCurrentCellOnly) {
  grid.SetRow(2);
  grid.SetCol(3);
  grid.SetCellForeColor(VbColor(0));
  grid.SetCellBackColor(VbColor(255));
  grid.SetText("X");
  EXPECT_EQ(grid.TextMatrix(2, 3), "X");
  EXPECT_EQ(grid.CellBackColorAt(2, 3), QColor(255, 0, 0));
  EXPECT_EQ(grid.model()->index(2, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_FALSE(grid.CellBackColorAt(2, 2).isValid());
  // The fixed heading cells have the heading colour until one is set.
  grid.SetCellColors(0, 3, QColor(), VbColor(65535));
  EXPECT_EQ(grid.model()->index(0, 3).data(Qt::BackgroundRole).value<QColor>(),
            QColor(255, 255, 0));
  // Rows outside the grid leave the current cell where it was.
  grid.SetRow(10);
  EXPECT_EQ(grid.Row(), 2);
  grid.Clear();
  EXPECT_EQ(grid.TextMatrix(2, 3), "");
  EXPECT_FALSE(grid.CellBackColorAt(2, 3).isValid());
  EXPECT_EQ(grid.Rows(), 4);
}

TEST_F(FlexGridTest, ColumnWidthsAreTwipsAndZeroHidesTheColumn) {
  grid.SetColWidth(1, 1400);
  grid.SetColWidth(2, 0);
  EXPECT_EQ(grid.ColWidth(1), 1395);  // 93 pixels
  EXPECT_EQ(grid.columnWidth(1), 93);
  EXPECT_EQ(grid.ColWidth(2), 0);
  EXPECT_TRUE(grid.isColumnHidden(2));
  grid.SetColWidth(2, 700);
  EXPECT_FALSE(grid.isColumnHidden(2));
  // A width holds when the grid is laid out again.
  grid.SetColWidth(2, 0);
  grid.SetRows(10);
  EXPECT_TRUE(grid.isColumnHidden(2));
  EXPECT_EQ(grid.columnWidth(1), 93);
}

TEST_F(FlexGridTest, ClickMakesTheCellCurrentThenRaisesClick) {
  QSignalSpy click(&grid, &FlexGrid::Click);
  int rowAtClick = -1, colAtClick = -1;
  QObject::connect(&grid, &FlexGrid::Click, [&] {
    rowAtClick = grid.Row();
    colAtClick = grid.Col();
  });
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 3));
  EXPECT_EQ(click.count(), 1);
  EXPECT_EQ(rowAtClick, 2);
  EXPECT_EQ(colAtClick, 3);
  // A heading cell is not made current.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 1));
  EXPECT_EQ(click.count(), 2);
  EXPECT_EQ(grid.MouseRow(), 0);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 3);
}

TEST_F(FlexGridTest, DoubleClickIsReported) {
  QSignalSpy dbl(&grid, &FlexGrid::DblClick);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(1, 1));
  EXPECT_EQ(dbl.count(), 1);
}

TEST_F(FlexGridTest, KeysGiveKeyDownCodesAndKeyPressCharacters) {
  QList<int> down, press;
  QObject::connect(&grid, &FlexGrid::KeyDown, [&](int& code, int) { down << code; });
  QObject::connect(&grid, &FlexGrid::KeyPress, [&](int& ascii) { press << ascii; });
  QTest::keyClick(&grid, Qt::Key_Delete);
  QTest::keyClick(&grid, Qt::Key_7);
  QTest::keyClick(&grid, Qt::Key_A);
  EXPECT_EQ(down, (QList<int>{46, 55, 65}));
  EXPECT_EQ(press, (QList<int>{'7', 'a'}));
  EXPECT_EQ(grid.TextMatrix(1, 1), "1,1");  // keys never edit a cell by themselves
}

TEST_F(FlexGridTest, ArrowKeysMoveTheCurrentCell) {
  grid.SetRow(1);
  grid.SetCol(1);
  QTest::keyClick(&grid, Qt::Key_Down);
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 2);
}

// A decoration that appends "*" to column 1 and colours column 2, counting its runs.
struct CountingDecoration {
  int* runs;
  void operator()(vx::ui::GridModel& model, int row) const {
    ++*runs;
    model.SetText(row, 1, model.Text(row, 1) + QStringLiteral("*"));
    model.SetBack(row, 2, VbColor(255));
  }
};

TEST_F(FlexGridTest, RowDecorationShowsOnEveryReadAndRunsOncePerRow) {
  int runs = 0;
  QSignalSpy changed(grid.gridModel(), &QAbstractItemModel::dataChanged);
  grid.DecorateRows(1, 2, CountingDecoration{&runs});
  EXPECT_EQ(runs, 0);
  // Each reader sees the row decorated: text, colour, the view's data.
  EXPECT_EQ(grid.TextMatrix(1, 1), "1,1*");
  EXPECT_EQ(grid.TextMatrix(1, 1), "1,1*");
  EXPECT_EQ(grid.CellBackColorAt(2, 2), QColor(255, 0, 0));
  EXPECT_EQ(grid.model()->index(2, 1).data().toString(), "2,1*");
  EXPECT_EQ(runs, 2);
  // Rows outside the range are left as they are; decorating signals no change.
  EXPECT_EQ(grid.TextMatrix(3, 1), "3,1");
  EXPECT_FALSE(grid.CellBackColorAt(3, 2).isValid());
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(FlexGridTest, AWriteLandsOnTheDecoratedRow) {
  int runs = 0;
  grid.DecorateRows(1, 3, CountingDecoration{&runs});
  grid.SetTextMatrix(3, 1, "new");
  EXPECT_EQ(grid.TextMatrix(3, 1), "new");  // decorated first, then written
  EXPECT_EQ(grid.CellBackColorAt(3, 2), QColor(255, 0, 0));
  grid.SetCellColors(2, 2, QColor(), VbColor(0xFF0000));
  EXPECT_EQ(grid.CellBackColorAt(2, 2), QColor(0, 0, 255));
  EXPECT_EQ(grid.TextMatrix(2, 1), "2,1*");
  EXPECT_EQ(runs, 2);
}

TEST_F(FlexGridTest, ANewDecorationOrAResizeFirstDecoratesTheWaitingRows) {
  int first = 0, second = 0;
  grid.DecorateRows(1, 3, CountingDecoration{&first});
  EXPECT_EQ(grid.TextMatrix(1, 1), "1,1*");
  grid.DecorateRows(2, 3, CountingDecoration{&second});
  EXPECT_EQ(first, 3);
  EXPECT_EQ(grid.TextMatrix(1, 1), "1,1*");
  EXPECT_EQ(grid.TextMatrix(2, 1), "2,1**");
  grid.SetRows(6);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(grid.TextMatrix(3, 1), "3,1**");
  EXPECT_EQ(grid.TextMatrix(5, 1), "");
}

TEST_F(FlexGridTest, ClearDropsTheWaitingDecoration) {
  int runs = 0;
  grid.DecorateRows(1, 3, CountingDecoration{&runs});
  grid.Clear();
  EXPECT_EQ(grid.TextMatrix(2, 1), "");
  EXPECT_FALSE(grid.CellBackColorAt(2, 2).isValid());
  EXPECT_EQ(runs, 0);
}

}  // namespace

// Each kind of cell as the grid paints it: its background at the cell's corner and its text
// in its colour somewhere inside (the stems of an antialiased "H" come within a few steps of
// it).
TEST_F(FlexGridTest, CellsShowTheirBackgroundAndTextColours) {
  const QPalette palette = grid.palette();
  const QColor pink = VbColor(0xFF80FF), navy = VbColor(0x800000);
  grid.SetFixedRows(1);
  grid.SetFixedCols(1);
  grid.SetCellColors(2, 3, navy, pink);
  grid.SetCellColors(3, 3, navy, QColor());
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 5; ++c) grid.SetTextMatrix(r, c, QStringLiteral("HHHH"));
  struct Case {
    int row, col;
    QColor back, text;
  } cases[] = {
      {0, 2, palette.color(QPalette::Button), palette.color(QPalette::Text)},  // fixed row
      {2, 0, palette.color(QPalette::Button), palette.color(QPalette::Text)},  // fixed column
      {2, 2, palette.color(QPalette::Base), palette.color(QPalette::Text)},
      {2, 3, pink, navy},
      {3, 3, palette.color(QPalette::Base), navy},
  };
  QCoreApplication::processEvents();
  const QImage shown = grid.grab().toImage();
  for (const Case& c : cases) {
    const QRect cell = grid.visualRect(grid.model()->index(c.row, c.col))
                           .translated(grid.viewport()->geometry().topLeft());
    EXPECT_EQ(shown.pixelColor(cell.topLeft() + QPoint(1, 1)), c.back) << c.row << "," << c.col;
    bool text = false;
    for (int y = cell.top(); y <= cell.bottom() && !text; ++y)
      for (int x = cell.left(); x <= cell.right() && !text; ++x)
        text = Near(shown.pixelColor(x, y), c.text);
    EXPECT_TRUE(text) << c.row << "," << c.col;
  }
}

// However the cells scroll, the heading row stays above them and the fixed column at their
// left; a click or a key lands on the row and column shown where it lands, never on a fixed
// one.
TEST_F(FlexGridTest, TheFixedRowAndColumnStayInViewWhileTheCellsScroll) {
  const QColor heading = VbColor(0xFFFF), side = VbColor(0xFF00FF);
  grid.SetRows(300);
  grid.SetCols(40);
  grid.Clear();
  for (int c = 1; c < 40; ++c) grid.SetCellColors(0, c, QColor(), heading);
  for (int r = 1; r < 300; ++r) grid.SetCellColors(r, 0, QColor(), side);
  grid.SetRow(1);
  grid.SetCol(1);
  for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_End}) QTest::keyClick(&grid, key);
  QCoreApplication::processEvents();
  ASSERT_GT(grid.verticalScrollBar()->value(), 0);
  ASSERT_GT(grid.horizontalScrollBar()->value(), 0);
  const QRect cells = grid.viewport()->geometry();
  const QImage shown = grid.grab().toImage();
  int headingShown = 0, sideShown = 0;
  for (int x = cells.left(); x <= cells.right(); ++x)
    headingShown += shown.pixelColor(x, cells.top() - 3) == heading;
  for (int y = cells.top(); y <= cells.bottom(); ++y)
    sideShown += shown.pixelColor(cells.left() - 3, y) == side;
  EXPECT_GT(headingShown, cells.width() * 4 / 5);
  EXPECT_GT(sideShown, cells.height() * 4 / 5);

  // Right under the heading: the first row not scrolled past.
  const int top = grid.verticalScrollBar()->value() + 1;
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(cells.width() / 2, 2));
  EXPECT_EQ(grid.Row(), top);
  QSignalSpy click(&grid, &FlexGrid::Click);
  const QPoint onHeading = cells.topLeft() + QPoint(cells.width() / 2, -3);
  QWidget* band = grid.childAt(onHeading);
  ASSERT_NE(band, nullptr);
  QTest::mouseClick(band, Qt::LeftButton, {}, band->mapFrom(&grid, onHeading));
  EXPECT_EQ(click.count(), 1);
  EXPECT_EQ(grid.MouseRow(), 0);
  EXPECT_EQ(grid.Row(), top);
  QTest::keyClick(&grid, Qt::Key_Home);
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.Col(), 2);
  QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.verticalScrollBar()->value(), 0);

  // At the end, whole rows under the heading however the height divides: the top one too.
  const int h = grid.rowHeight(1);
  grid.resize(grid.width(), grid.height() + (h / 2 - grid.viewport()->height() % h + h) % h);
  QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
  ASSERT_EQ(grid.viewport()->height() % h, h / 2);
  EXPECT_EQ(grid.rowViewportPosition(grid.rowAt(0)), 0);
  EXPECT_LE(grid.rowViewportPosition(299) + h, grid.viewport()->height());
}
