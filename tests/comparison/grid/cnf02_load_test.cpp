// The grid window's load: headings, formats, marks, row count and the paging limit.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>

#include "common/shared_values.h"
#include "comparison/grid/grid_fixture.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"

namespace vx::comparison::testing {
namespace {

const QColor kRed = ui::VbColor(255);
const QColor kGreen = ui::VbColor(62720);
const QColor kBlue = ui::VbColor(0xFF0000);

class Cnf02LoadTest : public GridTest {
 protected:
  QColor Back(int row, int col) const { return w_->flex1->CellBackColorAt(row, col); }
  QColor Fore(int row, int col) const { return w_->flex1->CellForeColorAt(row, col); }
  // Columns of the four cost cells of a row painted red and green.
  std::pair<int, int> Marks(int row) const {
    int red = 0, green = 0;
    for (int c : {9, 12, 15, 18}) {
      if (Back(row, c) == kRed) red = c;
      if (Back(row, c) == kGreen) green = c;
    }
    return {red, green};
  }
};

TEST_F(Cnf02LoadTest, LoadsAllRowsInDescriptionOrderWithNamesAndFormats) {
  Add({"0000000000002",
       "ZUCCHERO",
       {1.5, 1.25, 0, 2},
       {},
       " ",
       "CT",
       "4",
       {-100, 1000, 12.4, -100, 1000, 7.5}});
  Add({"0000000000001", "ACQUA", {0.2, 0.3, 0.25, 0.2}, {}, " ", "PZ", "22", {}});
  SetSuppliers({"Brunelvatto", "Apu", "", "Corvalia"});
  cnf02* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Confronto listini fornitori");
  EXPECT_EQ(w->order_confronto, " ORDER BY [desart]");
  EXPECT_EQ(w->art->RecordSource, w->select_confronto + " ORDER BY [desart]");
  EXPECT_EQ(common::G().nrec, 2);
  EXPECT_EQ(common::G().pagina, 1);
  EXPECT_EQ(w->nrartw->text(), "2");
  EXPECT_FALSE(w->Pic1->isEnabled());
  EXPECT_FALSE(w->Frame7->isVisible());

  ui::FlexGrid* g = w->flex1;
  ASSERT_EQ(g->Rows(), 3);
  EXPECT_EQ(g->TextMatrix(1, 3), "ACQUA");
  EXPECT_EQ(g->TextMatrix(2, 2), "0000000000002");
  // Names cut to five characters; slot 3 has no supplier row and reads "Costo3".
  EXPECT_EQ(g->TextMatrix(0, 9), "Brune");
  EXPECT_EQ(g->TextMatrix(0, 12), "Apu");
  EXPECT_EQ(g->TextMatrix(0, 15), "Costo3");
  EXPECT_EQ(g->TextMatrix(0, 18), "Corva");
  for (int c : {9, 12, 15, 18}) EXPECT_EQ(Back(0, c), ui::VbColor(0xFFFF)) << c;
  // The other headings: the query's aliases, else the column names as the table has them.
  EXPECT_EQ(g->TextMatrix(0, 1), "Sel");
  EXPECT_EQ(g->TextMatrix(0, 2), "Ean");
  EXPECT_EQ(g->TextMatrix(0, 11), "Colli1");
  EXPECT_EQ(g->TextMatrix(0, 21), "D12");
  EXPECT_EQ(g->TextMatrix(0, 32), "ns");

  EXPECT_EQ(g->TextMatrix(2, 5), "04");
  EXPECT_EQ(g->TextMatrix(1, 5), "22");
  EXPECT_EQ(g->TextMatrix(2, 9), "1,5000");
  EXPECT_EQ(g->TextMatrix(2, 15), "0,0000");
  // "-" for -100 and 1000 in D12, D23, D13 only; D14..D34 as stored.
  EXPECT_EQ(g->TextMatrix(2, 21), "-");
  EXPECT_EQ(g->TextMatrix(2, 22), "-");
  EXPECT_EQ(g->TextMatrix(2, 23), "12");
  EXPECT_EQ(g->TextMatrix(2, 24), "-100");
  EXPECT_EQ(g->TextMatrix(2, 25), "1000");
  EXPECT_EQ(g->TextMatrix(2, 26), "7,5");

  EXPECT_NEAR(g->ColWidth(3), 3700, 15);
  EXPECT_EQ(g->ColWidth(7), 0);
  EXPECT_EQ(g->ColWidth(8), 0);
}

TEST_F(Cnf02LoadTest, EqualCostsAndZeroCosts) {
  Add({"0000000000001", "A EQUAL", {5, 5, 0, 0}, {}});
  Add({"0000000000002", "B ZERO", {0, 0, 0, 0}, {}});
  Add({"0000000000003", "C MIXED", {5, 0, 3, 0}, {}});
  Open();
  // Four named suppliers.
  EXPECT_EQ(Marks(1), std::make_pair(12, 9));  // 5, 5, 0, 0: later is dearest
  EXPECT_EQ(Marks(2), std::make_pair(18, 9));  // all 0: supplier 4 and supplier 1
  EXPECT_EQ(Marks(3), std::make_pair(9, 15));
  EXPECT_EQ(Fore(1, 12), ui::VbColor(0));
  EXPECT_EQ(Fore(1, 9), kBlue);
  // The row's procedures give the same columns from the formatted cells.
  EXPECT_EQ(w_->cnf02_colonna_costo_max(3), 9);
  EXPECT_EQ(w_->cnf02_colonna_costo_min(3), 15);
}

// Rows are marked and formatted when first read or shown: whenever that is, they show what
// the load made of them, with the names the boxes held at the load.
TEST_F(Cnf02LoadTest, RowsReadLaterShowTheLoadsMarksAndFormats) {
  for (int i = 1; i <= 60; ++i) {
    Add({QStringLiteral("%1").arg(i, 13, 10, QLatin1Char('0')),
         QStringLiteral("ARTICOLO %1").arg(i, 3, 10, QLatin1Char('0')),
         {5, 2.5, 0, 1},
         {},
         " ",
         "CT",
         "4",
         {-100, 1000, 12.4, 0, 0, 0}});
  }
  Open();
  ui::FlexGrid* g = w_->flex1;
  w_->forn2->setText(QString());
  w_->forn4->setText(QString());
  QCoreApplication::processEvents();
  // The view's own reading of a row far below the first screen.
  const QAbstractItemModel* m = g->model();
  EXPECT_EQ(m->index(60, 12).data().toString(), "2,5000");
  EXPECT_EQ(m->index(60, 5).data().toString(), "04");
  EXPECT_EQ(m->index(60, 21).data().toString(), "-");
  EXPECT_EQ(m->index(60, 23).data().toString(), "12");
  EXPECT_EQ(m->index(60, 9).data(Qt::BackgroundRole).value<QColor>(), kRed);
  EXPECT_EQ(m->index(60, 18).data(Qt::BackgroundRole).value<QColor>(), kGreen);
  EXPECT_EQ(m->index(60, 18).data(Qt::ForegroundRole).value<QColor>(), kBlue);
  // The same through the grid's cells, and after a write to an unread row.
  EXPECT_EQ(Marks(59), std::make_pair(9, 18));
  g->SetTextMatrix(58, 11, QStringLiteral("7"));
  EXPECT_EQ(Marks(58), std::make_pair(9, 18));
  EXPECT_EQ(g->TextMatrix(58, 9), "5,0000");
  EXPECT_EQ(g->TextMatrix(58, 11), "7");
  // A refill marks with the names the boxes hold now, slots 1 and 3: slot 1 is both the
  // dearest and the cheapest, painted as the cheapest.
  w_->Requery();
  EXPECT_EQ(Marks(57), std::make_pair(0, 9));
  EXPECT_EQ(g->TextMatrix(57, 18), "1,0000");
}

TEST_F(Cnf02LoadTest, AllZeroWithTwoNamedHasOnlyCheapest) {
  Add({"0000000000001", "ZERO", {0, 0, 0, 0}, {}});
  SetSuppliers({"", "Apulia", "", "Corvalia"});
  Open();
  EXPECT_EQ(Marks(1), std::make_pair(0, 12));
}

TEST_F(Cnf02LoadTest, OnlySupplierThreeNamed) {
  Add({"0000000000001", "UNO", {1, 9, 4, 20}, {}});
  SetSuppliers({"", "", "Diz", ""});
  Open();
  ui::FlexGrid* g = w_->flex1;
  EXPECT_EQ(g->TextMatrix(0, 9), "Costo1");
  EXPECT_EQ(g->TextMatrix(0, 12), "Costo2");
  EXPECT_EQ(g->TextMatrix(0, 15), "Diz");
  EXPECT_EQ(g->TextMatrix(0, 18), "Costo4");
  // Only column 15 counts; the cheapest mark is painted last.
  EXPECT_EQ(Back(1, 15), kGreen);
  EXPECT_EQ(Fore(1, 15), kBlue);
  for (int c : {9, 12, 18}) EXPECT_FALSE(Back(1, c).isValid()) << c;
}

TEST_F(Cnf02LoadTest, EmptyTableShowsHeadingsOnly) {
  Open();
  EXPECT_EQ(w_->flex1->Rows(), 1);
  EXPECT_EQ(w_->nrartw->text(), "0");
  EXPECT_EQ(w_->flex1->TextMatrix(0, 9), "Costo1");  // no row names a supplier
}

TEST_F(Cnf02LoadTest, PagingEnabledAboveTwelveThousandRows) {
  AddMany(12000);
  Open();
  EXPECT_EQ(common::G().nrec, 12000);
  EXPECT_FALSE(w_->Pic1->isEnabled());
  w_->cnf02_Command6_Click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  Add({"9999999999999", "ZZ ULTIMO", {1, 2, 3, 4}, {}});
  Open();
  EXPECT_EQ(common::G().nrec, 12001);
  EXPECT_TRUE(w_->Pic1->isEnabled());
  EXPECT_EQ(w_->flex1->Rows(), 12002);
  EXPECT_EQ(w_->flex1->TextMatrix(12001, 3), "ZZ ULTIMO");
  // The marks reach the last row.
  EXPECT_EQ(Marks(12001), std::make_pair(18, 9));
}

TEST_F(Cnf02LoadTest, BusyIndicatorHidesGridAndDisablesWindow) {
  Open();
  w_->cnf02_attesa(true);
  EXPECT_TRUE(w_->Frame7->isVisible());
  EXPECT_FALSE(w_->flex1->isVisible());
  EXPECT_FALSE(w_->isEnabled());
  w_->cnf02_attesa(false);
  EXPECT_FALSE(w_->Frame7->isVisible());
  EXPECT_TRUE(w_->flex1->isVisible());
  EXPECT_TRUE(w_->isEnabled());
}

}  // namespace
}  // namespace vx::comparison::testing
