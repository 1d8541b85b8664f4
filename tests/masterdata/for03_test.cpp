// The supplier list against a real main database: its query, searches, choosing, deleting.
#include "masterdata/for03.h"

#include <QPushButton>
#include <QTest>

#include "common/shared_values.h"
#include "masterdata/for01.h"
#include "masterdata/masterdata_fixture.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"
#include "platform/ui/twips.h"

using vx::common::G;
using vx::masterdata::for01;
using vx::masterdata::for03;
using vx::ui::Forms;
using vx::ui::MsgAnswer;

namespace {

const QString kNoSupplier = "ATTENZIONE !!!. Selezionare prima un Fornitore ...";
const QString kQuestion = "Sei sicuro di voler cancellare questo Fornitore ...";
const QString kCannotDelete =
    "Questo Fornitore non può essere eliminato perchè ha dei movimenti in scadenze ...";

class SupplierListTest : public MasterDataTest {
 protected:
  void SetUp() override {
    MasterDataTest::SetUp();
    SetSuppliers({{1, "VARU", "C:\\varu\\dati.mdb", "C:\\varu\\varu.exe", 2.5},
                  {2, "BRUNELVATTO", "C:\\brunelvatto\\dati.mdb", "", 0},
                  {3, "APULIA", "C:\\apulia\\dati.mdb", "C:\\apulia\\apulia.exe", 0},
                  {4, "L'ANCORA", "C:\\ancora\\dati.mdb", "", 0}});
  }
  for03* Open() { return Forms::Show<for03>(); }
};

TEST_F(SupplierListTest, LoadsEveryRowByDescriptionUnderItsHeadings) {
  G().codice_fornitore = 3;  // chosen elsewhere: the list keeps it
  for03* w = Open();
  EXPECT_EQ(w->Data1->RecordSource,
            "SELECT [Codice],[descr] as Descrizione,[Percorso],[Programma],[Perce] as Perc FROM "
            "fornitori  ORDER BY [descr]");
  EXPECT_EQ(Column(w->flex1, 2), (QStringList{"APULIA", "BRUNELVATTO", "L'ANCORA", "VARU"}));
  EXPECT_EQ(Column(w->flex1, 1), (QStringList{"3", "2", "4", "1"}));
  EXPECT_EQ(w->flex1->TextMatrix(4, 4), "C:\\varu\\varu.exe");
  EXPECT_EQ(w->flex1->TextMatrix(4, 5), "2,5");
  const QStringList headings = {"Codice", "Descrizione", "Percorso", "Programma", "Perc"};
  for (int c = 1; c <= 5; ++c) EXPECT_EQ(w->flex1->TextMatrix(0, c), headings[c - 1]);
  // The widths as given; "Codice" widens its column as much as it needs to show whole.
  const int widths[] = {300, 600, 2500, 3000, 3000, 600};
  EXPECT_EQ(w->flex1->ColWidth(0), widths[0]);  // the fixed column
  for (int c = 2; c < 6; ++c) EXPECT_EQ(w->flex1->columnWidth(c), vx::ui::TwipsToPixels(widths[c]));
  EXPECT_GT(w->flex1->columnWidth(1), vx::ui::TwipsToPixels(widths[1]));
  EXPECT_EQ(G().codice_fornitore, 3);
  EXPECT_EQ(vx::ui::BackColor(w->codw), vx::ui::VbColor(0xC0FFFF));
}

TEST_F(SupplierListTest, SearchesByDescriptionAndByCode) {
  for03* w = Open();
  QTest::keyClicks(w->ricw, "B");
  EXPECT_EQ(Column(w->flex1, 2), (QStringList{"BRUNELVATTO", "L'ANCORA", "VARU"}));
  EXPECT_EQ(vx::ui::BackColor(w->ricw), vx::ui::VbColor(vx::ui::kVbYellow));

  QTest::keyClicks(w->codw, "3");
  EXPECT_EQ(Column(w->flex1, 1), (QStringList{"3", "4"}));
  EXPECT_EQ(w->ricw->Text(), "B");  // the other box stays
  w->codw->clear();
  EXPECT_EQ(Column(w->flex1, 1), (QStringList{"1", "2", "3", "4"}));

  // An apostrophe is a letter like any other; a code beyond 32 bits is the largest one.
  w->ricw->clear();
  QTest::keyClicks(w->ricw, "L'");
  EXPECT_EQ(Column(w->flex1, 2), (QStringList{"L'ANCORA", "VARU"}));
  w->codw->SetText("99999999999");
  EXPECT_EQ(w->WherePart(), " WHERE [codice] >= 2147483647");
  EXPECT_EQ(w->flex1->Rows(), 1);
  EXPECT_TRUE(boxes->Texts().isEmpty());
}

TEST_F(SupplierListTest, DeletesTheClickedSupplierOnceThenRefuses) {
  for03* w = Open();
  ClickCell(w->flex1, 2, 2);  // BRUNELVATTO
  EXPECT_EQ(G().codice_fornitore, 2);
  EXPECT_EQ(G().descrizione_fornitore.str(), "BRUNELVATTO" + QString(34, ' '));
  ASSERT_TRUE(Forms::IsLoaded<for01>());
  EXPECT_EQ(Forms::Get<for01>()->codfow->Text(), "2");

  // The arrows move the highlight, not the chosen supplier.
  QTest::keyClick(w->flex1, Qt::Key_Down);
  QTest::keyClick(w->flex1, Qt::Key_Down);
  EXPECT_EQ(w->flex1->Row(), 4);
  EXPECT_EQ(G().codice_fornitore, 2);

  boxes->Answer(MsgAnswer::Yes);
  w->Command6->click();
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(Column(w->flex1, 2), (QStringList{"APULIA", "L'ANCORA", "VARU"}));
  EXPECT_EQ(boxes->Texts(), QStringList{kQuestion});

  boxes->Answer(MsgAnswer::Yes);
  w->Command6->click();
  EXPECT_EQ(boxes->Texts(), (QStringList{kQuestion, kQuestion, kCannotDelete}));
  EXPECT_EQ(boxes->Boxes().back().icon, vx::ui::MsgIcon::Critical);
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(G().codice_fornitore, 2);
}

TEST_F(SupplierListTest, EscAsksTheDeleteQuestionAndNoKeepsAll) {
  for03* w = Open();
  Activate(w);
  G().codice_fornitore = 1;
  boxes->Answer(MsgAnswer::No);
  QTest::keyClick(w->ricw, Qt::Key_Escape);
  EXPECT_EQ(boxes->Texts(), QStringList{kQuestion});
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(w->flex1->Rows(), 5);
}

TEST_F(SupplierListTest, HeadingRowAndCodeZero) {
  for03* w = Open();
  // A click on the heading chooses nothing; a double click there tests the current code.
  ClickCell(w->flex1, 0, 2);
  EXPECT_TRUE(boxes->Texts().isEmpty());
  DoubleClickCell(w->flex1, 0, 2);
  EXPECT_EQ(boxes->Texts(), QStringList{kNoSupplier});
  w->Command4->click();
  EXPECT_EQ(boxes->Texts(), (QStringList{kNoSupplier, kNoSupplier}));
  EXPECT_FALSE(Forms::IsLoaded<for01>());

  // Enter takes the highlighted row; a description is handed over in 45 characters.
  w->flex1->SetRow(4);
  w->flex1->SetTextMatrix(4, 2, QString(50, 'D'));
  QTest::keyClick(w->flex1, Qt::Key_Return);
  EXPECT_EQ(G().codice_fornitore, 1);
  EXPECT_EQ(G().descrizione_fornitore.str(), QString(45, 'D'));
  EXPECT_TRUE(Forms::IsLoaded<for01>());
}

TEST_F(SupplierListTest, KeysMoveTheFocusAndNewClosesTheList) {
  for03* w = Open();
  Activate(w);
  w->ricw->setFocus();
  EXPECT_EQ(vx::ui::BackColor(w->codw), vx::ui::VbColor(vx::ui::kVbSystemWindow));
  QTest::keyClick(w->ricw, Qt::Key_Down);
  EXPECT_TRUE(w->flex1->hasFocus());
  w->codw->setFocus();
  QTest::keyClick(w->codw, Qt::Key_Return);
  EXPECT_TRUE(w->Command4->hasFocus());
  // Enter on the focused button only presses it: the list stays.
  QTest::keyClick(w->Command4, Qt::Key_Return);
  EXPECT_EQ(boxes->Texts(), QStringList{kNoSupplier});
  ASSERT_TRUE(Forms::IsLoaded<for03>());

  G().codice_fornitore = 2;
  w->Command2->click();
  EXPECT_FALSE(Forms::IsLoaded<for03>());
  EXPECT_EQ(G().codice_fornitore, 0);
  ASSERT_TRUE(Forms::IsLoaded<for01>());
  EXPECT_EQ(Forms::Get<for01>()->codfow->Text(), "0");
}

}  // namespace
