// The supplier record against a real main database: loading, the slot rule of saving and
// deleting, the columns a save leaves alone, and the refusals.
#include "masterdata/for01.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/shared_values.h"
#include "masterdata/for03.h"
#include "masterdata/masterdata_fixture.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"

using vx::Variant;
using vx::common::G;
using vx::masterdata::for01;
using vx::masterdata::for03;
using vx::ui::Forms;
using vx::ui::MsgAnswer;

namespace {

const QString kQuestion = "Sei sicuro di voler cancellare questo Fornitore ...";

class SupplierRecordTest : public MasterDataTest {
 protected:
  void SetUp() override {
    MasterDataTest::SetUp();
    SetSuppliers({{1, "VARU", "C:\\varu\\dati.mdb", "C:\\varu\\varu.exe", 2.5},
                  {2, "BRUNELVATTO", "C:\\brunelvatto\\dati.mdb", "C:\\brunelvatto\\b.exe", 1},
                  {3, "APULIA", "C:\\apulia\\dati.mdb", "C:\\apulia\\apulia.exe", 0}});
  }
  for01* Open(int code) {
    G().codice_fornitore = code;
    return Forms::Show<for01>();
  }
};

TEST_F(SupplierRecordTest, NewSupplierOpensEmptyAndSavesFifteenCharacters) {
  for01* w = Open(0);
  EXPECT_EQ(w->codfow->Text(), "0");
  EXPECT_EQ(w->desforw->Text(), "");
  EXPECT_EQ(w->ChosenSlot(), 0);
  EXPECT_FALSE(w->crea->isChecked());
  EXPECT_EQ(vx::ui::BackColor(w->desforw), vx::ui::VbColor(vx::ui::kVbYellow));
  EXPECT_EQ(vx::ui::BackColor(w->percorsow), vx::ui::VbColor(vx::ui::kVbWhite));

  QTest::keyClicks(w->desforw, "ALIMENTARI DEL SUD SPA FORNITU");  // 30 characters
  QTest::keyClicks(w->percorsow, "C:\\sud\\dati.mdb");
  w->Option4->setChecked(true);
  w->crea->setChecked(true);
  w->Command4->click();
  EXPECT_TRUE(boxes->Texts().isEmpty());
  EXPECT_FALSE(Forms::IsLoaded<for01>());
  EXPECT_EQ(SupplierColumn(4, "descr").str(), "ALIMENTARI DEL ");
  EXPECT_EQ(SupplierColumn(4, "codfor").toLong(), 4);
  EXPECT_EQ(SupplierColumn(4, "creazioneordine").toLong(), 1);
  EXPECT_EQ(SupplierColumn(4, "percorso").str(), "C:\\sud\\dati.mdb");
  // An empty box is stored as empty text.
  EXPECT_TRUE(SupplierColumn(4, "programma").isText());
  EXPECT_EQ(SupplierColumn(4, "programma").str(), "");
}

TEST_F(SupplierRecordTest, SavesAndDeletesTheChosenSlotNotTheOpenedOne) {
  MainDb()->Execute("update fornitori set programma = null, creazioneordine = 1 where codice = 2");
  for01* w = Open(2);
  EXPECT_EQ(w->desforw->Text(), "BRUNELVATTO");
  EXPECT_EQ(w->programmaw->Text(), "");  // Null shows as an empty box
  EXPECT_TRUE(w->Option2->isChecked());
  EXPECT_TRUE(w->crea->isChecked());
  w->Option4->setChecked(true);
  w->Command4->click();
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(SupplierColumn(4, "descr").str(), "BRUNELVATTO");
  EXPECT_EQ(SupplierColumn(4, "programma").str(), "");
  EXPECT_TRUE(SupplierColumn(2, "programma").isNull());  // slot 2 untouched

  // Saving over a slot's row keeps every column it does not write.
  w = Open(1);
  w->desforw->SetText("VARU NUOVA");
  w->Command4->click();
  EXPECT_EQ(SupplierColumn(1, "descr").str(), "VARU NUOVA");
  EXPECT_EQ(SupplierColumn(1, "perce").toDouble(), 2.5);
  EXPECT_EQ(SupplierColumn(1, "flagconv").str(), "1");
  EXPECT_EQ(SupplierColumn(1, "flagdes").str(), "1");
  EXPECT_EQ(SupplierColumn(1, "posiz0").str(), "X");

  w = Open(2);
  w->Option3->setChecked(true);
  boxes->Answer(MsgAnswer::Yes);
  w->Command3->click();
  EXPECT_EQ(boxes->Texts(), QStringList{kQuestion});
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 2, 4}));
  EXPECT_FALSE(Forms::IsLoaded<for01>());
  // The list was not open: the delete leaves it closed.
  EXPECT_FALSE(Forms::IsLoaded<for03>());
}

TEST_F(SupplierRecordTest, RefusalsKeepTheWindowAndItsInput) {
  const QString noSlot = "ATTENZIONE !!!. Selezionare prima la posizione di confronto ...";
  for01* w = Open(0);
  w->desforw->SetText("   ");
  w->Command4->click();  // no slot
  w->Command3->click();  // no slot: refused before the question
  w->Option3->setChecked(true);
  w->desforw->clear();
  w->Command4->click();  // empty description
  EXPECT_EQ(
      boxes->Texts(),
      (QStringList{noSlot, noSlot, "La descrizione del Fornitore non puo essere blanks...."}));
  for (const auto& box : boxes->Boxes()) EXPECT_EQ(box.icon, vx::ui::MsgIcon::Critical);
  EXPECT_TRUE(Forms::IsLoaded<for01>());
  EXPECT_TRUE(w->Option3->isChecked());

  // No to the question keeps everything.
  boxes->Answer(MsgAnswer::No);
  w->Command3->click();
  EXPECT_TRUE(Forms::IsLoaded<for01>());
  EXPECT_EQ(SupplierCodes(), (std::vector<int>{1, 2, 3}));

  // A description of blanks is a description.
  w->desforw->SetText("   ");
  w->Command4->click();
  EXPECT_EQ(SupplierColumn(3, "descr").str(), "   ");
  EXPECT_FALSE(Forms::IsLoaded<for01>());
}

TEST_F(SupplierRecordTest, DeleteRefreshesAnOpenList) {
  for03* list = Forms::Show<for03>();
  ClickCell(list->flex1, 1, 1);  // APULIA, slot 3
  for01* w = Forms::Get<for01>();
  EXPECT_TRUE(w->Option3->isChecked());
  boxes->Answer(MsgAnswer::Yes);
  w->Command3->click();
  EXPECT_EQ(Column(list->flex1, 2), (QStringList{"BRUNELVATTO", "VARU"}));
}

TEST_F(SupplierRecordTest, EnterMovesOnAndFocusLightsTheControl) {
  for01* w = Open(1);
  Activate(w);
  w->desforw->setFocus();
  QTest::keyClick(w->desforw, Qt::Key_Return);
  EXPECT_TRUE(w->percorsow->hasFocus());
  EXPECT_EQ(vx::ui::BackColor(w->desforw), vx::ui::VbColor(vx::ui::kVbWhite));
  QTest::keyClick(w->percorsow, Qt::Key_Return);
  QTest::keyClick(w->programmaw, Qt::Key_Return);
  EXPECT_TRUE(w->Command4->hasFocus());
  EXPECT_EQ(vx::ui::BackColor(w->Command4), vx::ui::VbColor(vx::ui::kVbYellow));
  w->Command6->click();
  EXPECT_FALSE(Forms::IsLoaded<for01>());
  EXPECT_EQ(SupplierColumn(1, "descr").str(), "VARU");
}

}  // namespace
