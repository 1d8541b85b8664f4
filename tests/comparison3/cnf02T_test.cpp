// The three-supplier grid driven through its named controls: opening, the fill and its
// colours, the four conditions, the searches and the editing of the grid's cells.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "common/main_window.h"
#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison3/grid3_fixture.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/textbox.h"

namespace vx::comparison3::testing {
namespace {

const QColor kRed = ui::VbColor(255), kGreen = ui::VbColor(62720);

class Cnf02TTest : public Grid3Test {
 protected:
  QStringList Eans() const {
    QStringList out;
    for (int r = 1; r < w_->flex1->Rows(); ++r) out << w_->flex1->TextMatrix(r, 2);
    return out;
  }
};

TEST_F(Cnf02TTest, EmptyTableShowsTheControlsTheNamesAndTheNote) {
  AddSupplier(1, "BRUNELVATTO SPA")
      ->Execute("update listini set note = 'Listino marzo', datafine = '31/03/2026'");
  AddSupplier(2, "Apulia");
  Open();
  for (const char* name :
       {"Label1",   "Frame2",   "Frame3",   "Frame4",    "forn1",    "des1",     "Frame8",
        "Check1",   "Frame6",   "Option5",  "Option1",   "Frame5",   "Option2",  "Option3",
        "Option4",  "maggw",    "Label12",  "Label2",    "ricw",     "Label6",   "eanw",
        "deslisw",  "nrartw",   "tiposw",   "Frame1",    "Command1", "Command2", "Command3",
        "Command4", "Command5", "Command6", "Command10", "Frame7",   "Label3",   "flex1",
        "art",      "forn",     "testa"}) {
    EXPECT_NE(w_->findChild<QObject*>(name), nullptr) << name;
  }
  EXPECT_EQ(w_->windowTitle(), "Confronto listini fornitori");
  EXPECT_EQ(w_->Command1->text(), "Seleziona o  Deseleziona tutti");
  EXPECT_EQ(w_->Command10->text(), "Stampa elenco ");
  EXPECT_EQ(w_->Option2->text(), "Più convenienti Fornitore 1");
  EXPECT_TRUE(w_->Option5->isChecked());
  EXPECT_FALSE(w_->Frame5->isEnabled());
  EXPECT_FALSE(w_->Frame7->isVisible());
  EXPECT_EQ(w_->flex1->Cols(), 21);
  EXPECT_EQ(w_->flex1->Rows(), 1);
  EXPECT_EQ(w_->nrartw->text(), "0");
  EXPECT_EQ(w_->des1->text(), "Listino marzo  31/03/2026");
  // No comparison row holds a supplier code: no names, the cost headings stay plain.
  EXPECT_EQ(w_->flex1->TextMatrix(0, 9), "Costo1");
  EXPECT_EQ(w_->flex1->TextMatrix(0, 13), "Costo3");
  EXPECT_EQ(w_->flex1->CellBackColorAt(0, 11), ui::VbColor(0xFFFF));
  EXPECT_EQ(w_->flex1->ColWidth(7), 0);
  EXPECT_NEAR(w_->flex1->ColWidth(3), 3700, 15);  // (kept in pixels)
  EXPECT_EQ(w_->flex1->ColWidth(20), 0);
}

TEST_F(Cnf02TTest, FillColoursFormatsAndNames) {
  AddSupplier(1, "BRUNELVATTO SPA");
  AddSupplier(2, "Apulia");
  Add({Ean(1), "A", {5.0, 3.0, 3.0}, {}, " ", "CT", 12, {-100.0, 1000.0, -99.99}});
  Add({Ean(2), "B", {0.0, 0.0, 0.0}, {}, " ", "CT", 12, {1000.01, 12.345, 0.0}});
  Add({Ean(3), "C", {2.0, Variant::null(), 4.0}, {}, " ", "CT", 12, {Variant::null(), 0.0, 0.0}});
  Open();
  ui::FlexGrid* g = w_->flex1;
  EXPECT_EQ(g->TextMatrix(0, 9), "BRUNEL");
  EXPECT_EQ(g->TextMatrix(0, 11), "Apulia");
  EXPECT_EQ(g->TextMatrix(0, 13), "Costo3");  // no supplier row for code 3

  const int a = RowOf(Ean(1)), b = RowOf(Ean(2)), c = RowOf(Ean(3));
  EXPECT_EQ(g->CellBackColorAt(a, 9), kRed);
  EXPECT_EQ(g->CellForeColorAt(a, 9), ui::VbColor(0xFFFFFF));
  EXPECT_EQ(g->CellBackColorAt(a, 13), kGreen);
  EXPECT_EQ(g->CellForeColorAt(a, 13), ui::VbColor(0xFF0000));
  EXPECT_EQ(g->CellBackColorAt(b, 13), kGreen);  // dearest and cheapest: the cheapest wins
  EXPECT_EQ(g->CellBackColorAt(c, 13), kRed);
  EXPECT_EQ(g->CellBackColorAt(c, 9), kGreen);
  EXPECT_EQ(g->TextMatrix(a, 9), "5,0000");
  EXPECT_EQ(g->TextMatrix(c, 11), "");  // a Null cost shows empty
  EXPECT_EQ(g->TextMatrix(a, 5), "04");
  EXPECT_EQ((QStringList{g->TextMatrix(a, 15), g->TextMatrix(a, 16), g->TextMatrix(a, 17)}),
            (QStringList{"-", "-", "-99,99"}));
  EXPECT_EQ(g->TextMatrix(b, 15), "1000,01");
  EXPECT_EQ(g->TextMatrix(b, 16), "12,35");
  EXPECT_EQ(g->TextMatrix(c, 15), "");
  EXPECT_EQ(w_->nrartw->text(), "3");
}

// The main window's frame and bar as the grid drives them.
class BarWindow : public common::MainWindowLink {
 public:
  BarWindow() : bar(new ui::ProgressBar(&frame)) {}
  QWidget* ProgressFrame() override { return &frame; }
  ui::ProgressBar* ProgressBar() override { return bar; }
  void Reload() override {}
  QWidget frame;
  ui::ProgressBar* bar;
};

TEST_F(Cnf02TTest, FillStepsTheMainBarAndClosingHidesItsFrame) {
  for (int i = 1; i <= 3; ++i) Add({Ean(i), "A", {1.0, 2.0, 3.0}});
  BarWindow main;
  common::SetMainWindow(&main);
  main.frame.show();
  main.bar->SetMax(2);
  std::vector<double> values;
  QObject::connect(main.bar, &QProgressBar::valueChanged,
                   [&] { values.push_back(main.bar->Value()); });
  Open();
  EXPECT_EQ(values, (std::vector<double>{1, 2, 0}));  // one a row, 0 once past Max
  w_->Command6->click();
  EXPECT_TRUE(w_->IsUnloaded());
  EXPECT_TRUE(main.frame.isHidden());
  common::SetMainWindow(nullptr);
}

TEST_F(Cnf02TTest, OnlyTheFirst14000RowsAreFormatted) {
  AddMany(14001);
  Open();
  ui::FlexGrid* g = w_->flex1;
  ASSERT_EQ(g->Rows(), 14002);
  EXPECT_EQ(w_->nrartw->text(), "14001");
  EXPECT_EQ(g->TextMatrix(14000, 15), "1,50");
  EXPECT_TRUE(g->CellBackColorAt(14000, 9).isValid() || g->CellBackColorAt(14000, 11).isValid() ||
              g->CellBackColorAt(14000, 13).isValid());
  EXPECT_NE(g->TextMatrix(14001, 15), "1,50");  // as the table gives it
  for (int c : {9, 11, 13}) EXPECT_FALSE(g->CellBackColorAt(14001, c).isValid());
}

TEST_F(Cnf02TTest, ConditionsJoinInOrderAndSearchesKeepTheOthers) {
  Add({Ean(11), "L'ACQUA MINERALE", {1.0, 2.0, 3.0}, {}, "X"});
  Add({Ean(12), "L ACQUA TONICA", {1.0, 2.0, 3.0}, {}, "X"});
  Add({Ean(13), "LATTE", {1.0, 0.0, 3.0}, {}, "X"});
  Add({Ean(14), "ACQUA SOLO UNO", {1.0, 0.0, 0.0}});
  Open();
  w_->Option1->click();
  EXPECT_EQ(Eans(), (QStringList{Ean(12), Ean(11), Ean(13)}));
  Search(w_->ricw, "  l'acqua ");
  EXPECT_EQ(Eans(), QStringList{Ean(11)});  // the quote matches itself
  w_->Command3->click();
  EXPECT_EQ(w_->art->RecordSource,
            w_->select_confronto + " WHERE sel = 'X'  AND  [desart] like '*l''acqua*' AND " +
                " ([costo1] + [costo2] > 0 and [costo2] + [costo3] > 0 and [costo3] + "
                "[costo1] > 0)  ORDER BY [desart]");
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");
  w_->Command3->click();
  EXPECT_EQ(w_->Command3->text(), "Vedi selezioni");
  w_->Option5->click();
  Search(w_->ricw, "acqua");
  EXPECT_EQ(Eans(), (QStringList{Ean(14), Ean(12), Ean(11)}));
  Search(w_->ricw, "l?acqua*a");  // the wildcards stay wildcards
  EXPECT_EQ(Eans(), (QStringList{Ean(12), Ean(11)}));
  // The EAN box is trimmed at each key; its search sorts by EAN.
  w_->eanw->setText(" 000000000001 ");
  Search(w_->eanw, "");
  EXPECT_EQ(w_->eanw->text(), "000000000001");
  EXPECT_EQ(Eans(), (QStringList{Ean(11), Ean(12), Ean(13), Ean(14)}));
  EXPECT_TRUE(w_->art->RecordSource.endsWith(" ORDER BY [vedovo]"));
}

TEST_F(Cnf02TTest, ConvenienceFollowsTheCheckBox) {
  Add({Ean(21), "UNO", {1.0, 2.0, 0.0}});
  Add({Ean(22), "DUE", {3.0, 2.0, 2.0}});
  Add({Ean(23), "TRE", {0.0, 0.0, 5.0}});
  Open();
  w_->Check1->click();
  EXPECT_TRUE(w_->Frame5->isEnabled());
  EXPECT_EQ(Eans().size(), 3);  // ticking alone does not reload
  w_->Option3->click();
  EXPECT_EQ(Eans(), QStringList{Ean(22)});
  w_->Option4->click();
  EXPECT_EQ(Eans(), (QStringList{Ean(22), Ean(23)}));  // ties keep the row under both
  w_->Check1->click();
  EXPECT_FALSE(w_->Frame5->isEnabled());
  EXPECT_FALSE(w_->Option4->isChecked());
  EXPECT_EQ(w_->cond_convenienza, " ");
  EXPECT_EQ(Eans().size(), 3);
}

TEST_F(Cnf02TTest, ClicksAndKeysWriteBackAtOnce) {
  Add({Ean(31), "A", {1.0, 1.0, 1.0}, {0, 2, 0}, "X"});
  Add({Ean(32), "B", {1.0, 1.0, 1.0}, {0, 0, 0}, "X", ""});
  Add({Ean(33), "C", {1.0, 1.0, 1.0}, {3, 2, 0}, "X"});
  Open();
  const int a = RowOf(Ean(31)), b = RowOf(Ean(32)), c = RowOf(Ean(33));
  ClickCell(a, 1);
  EXPECT_EQ(Column(Ean(31), "sel").str(), "X");  // packages keep the mark
  EXPECT_EQ(common::G().ean_corrente.str(), Ean(31));
  ClickCell(b, 1);
  EXPECT_EQ(Column(Ean(32), "sel").str(), "");
  ClickCell(b, 4);
  EXPECT_EQ(Column(Ean(32), "umart").str(), "CT");  // a blank unit becomes CT
  ClickCell(b, 4);
  EXPECT_EQ(Column(Ean(32), "umart").str(), "PZ");

  ClickCell(b, 12);
  TypeKeys("12345");
  EXPECT_EQ(w_->flex1->TextMatrix(b, 12), "1234");
  EXPECT_EQ(Column(Ean(32), "colli2").toLong(), 1234);
  EXPECT_EQ(Column(Ean(32), "sel").str(), "X");

  ClickCell(c, 10);
  PressKey(Qt::Key_Delete);
  EXPECT_EQ(w_->flex1->TextMatrix(c, 10), "0");
  EXPECT_EQ(Column(Ean(33), "colli1").toLong(), 0);
  EXPECT_EQ(Column(Ean(33), "sel").str(), " ");  // although slot 2 keeps 2 packages
  EXPECT_TRUE(boxes_->Texts().isEmpty());

  // A write the database refuses is rolled back, told, and the cell takes back its text.
  BreakRow(Ean(31));
  ClickCell(a, 14);
  TypeKeys("7");
  EXPECT_EQ(w_->flex1->TextMatrix(a, 14), "0");
  EXPECT_EQ(Column(Ean(31), "colli3").toLong(), 0);
  ASSERT_EQ(boxes_->Boxes().size(), 1u);  // the digit's; the click changed no cell
  EXPECT_TRUE(boxes_->Texts()[0].contains("riga bloccata"));
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Critical);
}

TEST_F(Cnf02TTest, SelectAllTogglesOnlyRowsWithoutPackages) {
  Add({Ean(41), "A", {}, {0, 0, 0}, "X"});
  Add({Ean(42), "B", {}, {0, 0, 0}, " "});
  Add({Ean(43), "C", {}, {1, 0, 0}, "X"});
  Add({Ean(44), "D", {}, {0, Variant::null(), 0}, " "});
  Open();
  w_->Command1->click();
  EXPECT_EQ(Column(Ean(41), "sel").str(), " ");
  EXPECT_EQ(Column(Ean(42), "sel").str(), "X");
  EXPECT_EQ(Column(Ean(43), "sel").str(), "X");
  EXPECT_EQ(Column(Ean(44), "sel").str(), " ");  // a Null package leaves the row
  EXPECT_EQ(w_->flex1->TextMatrix(RowOf(Ean(42)), 1), "X");
}

TEST_F(Cnf02TTest, DeleteUnderAViewRemovesOnlyItsRows) {
  Add({Ean(51), "A", {}, {}, "X"});
  Add({Ean(52), "B", {}, {}, " "});
  Add({Ean(53), "C", {}, {}, "X"});
  Open();
  w_->Command3->click();
  boxes_->Answer(ui::MsgAnswer::No);
  w_->Command2->click();
  EXPECT_EQ(Count(), 3);
  boxes_->Answer(ui::MsgAnswer::Yes);
  w_->Command2->click();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Column(Ean(52), "desart").str(), "B");
  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[0].title, "Elimina Confronto Fornitori");
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Information);
  EXPECT_EQ(boxes_->Boxes()[0].defaultButton, ui::MsgAnswer::No);
  EXPECT_TRUE(w_->IsUnloaded());
}

TEST_F(Cnf02TTest, DeleteThatFailsLeavesEveryRow) {
  Add({Ean(61), "A"});
  Add({Ean(62), "B"});
  BreakRow(Ean(62), "DELETE");
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  w_->Command2->click();
  EXPECT_EQ(Count(), 2);
  EXPECT_FALSE(w_->IsUnloaded());
  EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
}

TEST_F(Cnf02TTest, CleaningPackagesCoversTheWholeTable) {
  Add({Ean(71), "A", {}, {2, 0, 0}, "X"});
  Add({Ean(72), "B", {}, {0, 0, 4}, "X"});
  Add({Ean(73), "C", {}, {0, 0, 0}, "X"});
  Add({Ean(74), "D", {}, {5, Variant::null(), 0}, "X"});
  Open();
  Search(w_->ricw, "A");  // the view shows one of them
  w_->Command5->click();
  EXPECT_EQ(Count("where colli1 + colli2 + colli3 > 0"), 0);
  EXPECT_EQ(Column(Ean(72), "sel").str(), " ");
  EXPECT_EQ(Column(Ean(73), "sel").str(), "X");      // no packages: its mark stays
  EXPECT_EQ(Column(Ean(74), "colli1").toLong(), 5);  // a Null package: not selected
}

TEST_F(Cnf02TTest, BothGridsKeepTheirOwnQueries) {
  Add({Ean(81), "A", {1.0, 2.0, 3.0}});
  Open();
  auto* four = ui::Forms::Show<comparison::cnf02>();
  four->Command3->click();
  Search(w_->ricw, "A");
  EXPECT_TRUE(four->art->RecordSource.contains("[promo1] as P1"));
  EXPECT_FALSE(w_->art->RecordSource.contains("promo1"));
  EXPECT_TRUE(w_->art->RecordSource.startsWith(w_->select_confronto));
  EXPECT_EQ(w_->flex1->Cols(), 21);
  EXPECT_EQ(w_->flex1->TextMatrix(1, 9), "1,0000");
}

}  // namespace
}  // namespace vx::comparison3::testing
