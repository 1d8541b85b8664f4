#include "pricelists/lis06b.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "common/shared_values.h"
#include "common/windows.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/filelist.h"
#include "platform/ui/textbox.h"
#include "pricelists/pricelist_fixture.h"
#include "shell/window_registry.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using testing::PricelistFixture;
using testing::SheetRow;
using testing::VaruArticle;

class Lis06bTest : public PricelistFixture {
 protected:
  void SetUp() override {
    PricelistFixture::SetUp();
    AddArticle(100, "8000000000100", 1.0, 0.9, 46000, 46200);
    SheetRow fresh = VaruArticle(300, QStringLiteral("RISO ARBORIO 1KG"), Variant(),
                                 QStringLiteral("8001234567890"), 12.0);
    WriteVaru("listino.xlsx", {SheetRow{{5, QStringLiteral("NOTA")}},
                               VaruArticle(100, QStringLiteral("PASTA"), 2.0), fresh});
    WriteVaru("vecchio.xls", {VaruArticle(100, QStringLiteral("PASTA"), 3.0)});
    root_.WriteFile("C/varu/leggimi.txt", "x");
  }
  void TearDown() override {
    ui::Forms::Unload<lis06b>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    PricelistFixture::TearDown();
  }
  lis06b* Window() { return ui::Forms::Get<lis06b>(); }
  double Offer() { return Article(100, "przoff").toDouble(); }
};

TEST_F(Lis06bTest, LoadsWithTheVaruFolderAndTheStartValues) {
  ASSERT_TRUE(QFile::link("/dev/zero", root_.Folder("C/varu") + "/zero.xlsx"));
  lis06b* w = Window();
  EXPECT_EQ(w->Caption(), "Elaborazione files Excel");
  for (const char* name :
       {"Label2",   "Frame2",    "File1",    "Label1",  "numfatw",    "Command3", "Frame1",
        "Label9",   "inizw",     "Label10",  "finew",   "artw",       "c2w",      "c3w",
        "c4w",      "c5w",       "c6w",      "Label3",  "Frame4",     "rbm",      "smv",
        "tpr",      "vol",       "Frame3",   "listino", "promozioni", "Frame5",   "fstampa",
        "DBCombo1", "stampanti", "Command4", "Command2"}) {
    EXPECT_NE(w->findChild<QObject*>(name), nullptr) << name;
  }
  EXPECT_EQ(w->File1->Path(), "C:\\varu");
  EXPECT_EQ(w->File1->Pattern(), "*.xls*");
  EXPECT_EQ(w->File1->Names(), (QStringList{"listino.xlsx", "vecchio.xls"}));
  EXPECT_EQ(w->inizw->Text(), "1");
  EXPECT_EQ(w->finew->Text(), "10000");
  EXPECT_TRUE(w->vol->isChecked());
  EXPECT_TRUE(w->listino->isChecked());
  EXPECT_FALSE(w->fstampa->isChecked());
  EXPECT_EQ(w->DBCombo1->Text(), "PDFCreator");
  EXPECT_EQ(w->DBCombo1->ListTexts(), (QStringList{"Laser Ufficio", "PDF"}));
  EXPECT_FALSE(w->marks.semvraEmptied || w->marks.rbmEmptied);
  EXPECT_EQ(w->Command3->toolTip(), "Cancellazione file fatture ricevute");
}

TEST_F(Lis06bTest, TheMainWindowsEntryOpensIt) {
  shell::RegisterProgramWindows();
  ASSERT_TRUE(common::HasWindow("lis06b"));
  ASSERT_TRUE(common::OpenWindow("lis06b"));
  ASSERT_TRUE(ui::Forms::IsLoaded<lis06b>());
  EXPECT_TRUE(Window()->isVisible());
}

TEST_F(Lis06bTest, EachSupplierShowsItsFolderAndLastRow) {
  lis06b* w = Window();
  struct Step {
    QRadioButton* button;
    QString path, pattern, last;
  };
  // SDA sets 40000; VARU afterwards leaves it.
  const std::vector<Step> steps = {{w->tpr, "C:\\sda", "*.xls", "40000"},
                                   {w->vol, "C:\\varu", "*.xls", "40000"},
                                   {w->smv, "C:\\semvra", "*.xls*", "15000"},
                                   {w->rbm, "C:\\rbm", "*.xls*", "45000"},
                                   {w->vol, "C:\\varu", "*.xls", "45000"}};
  for (const auto& s : steps) {
    s.button->click();
    EXPECT_EQ(w->File1->Path(), s.path);
    EXPECT_EQ(w->File1->Pattern(), s.pattern);
    EXPECT_EQ(w->finew->Text(), s.last);
    EXPECT_EQ(w->inizw->Text(), "1");
  }
  EXPECT_EQ(w->File1->Names(), QStringList{"vecchio.xls"});
}

TEST_F(Lis06bTest, ChoosingAFileAPrinterAndTheNameBox) {
  lis06b* w = Window();
  ASSERT_TRUE(w->File1->Choose("listino.xlsx"));
  EXPECT_EQ(w->numfatw->Text(), "listino.xlsx");
  const int row = w->DBCombo1->ListTexts().indexOf("Laser Ufficio");
  w->DBCombo1->setCurrentIndex(row);
  emit w->DBCombo1->activated(row);
  EXPECT_EQ(common::G().codstampante, 1);
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(w->numfatw, &in);
  EXPECT_EQ(ui::BackColor(w->numfatw), ui::VbColor(ui::kVbYellow));
}

TEST_F(Lis06bTest, ImportaRefusesBadBoxesAndRunsNothing) {
  struct Case {
    QString first, last, name, message;
  };
  const QString last = "ATTENZIONE !!!! Inserire il numero della riga finale da elaborare ...";
  const std::vector<Case> cases = {
      {"1", "0", "listino.xlsx", last},
      {"1", "", "listino.xlsx", last},
      {"1", "abc", "listino.xlsx", last},
      {"0", "10", "listino.xlsx",
       "ATTENZIONE !!!! Inserire il numero della riga iniziale da elaborare ..."},
      {"", "10", "listino.xlsx",
       "ATTENZIONE !!!! Inserire il numero della riga iniziale da elaborare ..."},
      {"1", "10", "", "ATTENZIONE !!!! Non è stato selezionato un file da elaborare ..."},
  };
  lis06b* w = Window();
  for (const auto& c : cases) {
    ScriptedMessages boxes;
    w->inizw->SetText(c.first);
    w->finew->SetText(c.last);
    w->numfatw->SetText(c.name);
    w->Command4->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u) << c.last.toStdString();
    EXPECT_EQ(boxes.Texts()[0], c.message);
    EXPECT_EQ(boxes.Boxes()[0].icon, ui::MsgIcon::Critical);
  }
  EXPECT_EQ(Offer(), 0.9f);
  EXPECT_EQ(w->artw->Text(), "");
}

TEST_F(Lis06bTest, PromotionsOfVaruSdaOrRbmDoNothing) {
  lis06b* w = Window();
  w->numfatw->SetText("listino.xlsx");
  w->promozioni->click();
  ScriptedMessages boxes;
  w->Command4->click();
  w->tpr->click();
  w->Command4->click();
  w->rbm->click();
  w->Command4->click();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(Offer(), 0.9f);
}

TEST_F(Lis06bTest, AnEmptyRangeStillClearsTheOffers) {
  lis06b* w = Window();
  w->numfatw->SetText("listino.xlsx");
  w->inizw->SetText("5");
  w->finew->SetText("4");
  ScriptedMessages boxes;
  w->Command4->click();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(Offer(), 0);
  EXPECT_EQ(Article(100, "przart").toDouble(), 1.0);
  EXPECT_EQ(w->artw->Text(), "");
}

TEST_F(Lis06bTest, ImportaRunsTheVaruImportAndShowsTheLastArticle) {
  lis06b* w = Window();
  w->Show();
  ASSERT_TRUE(w->File1->Choose("listino.xlsx"));
  w->finew->SetText("50");
  ScriptedMessages boxes;
  w->Command4->click();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(w->artw->Text(), "50");  // every row of the range, from 1
  EXPECT_EQ(w->c2w->Text(), "8001234567890");
  EXPECT_EQ(w->c3w->Text(), "RISO ARBORIO 1KG");
  EXPECT_EQ(w->c4w->Text(), "");
  EXPECT_EQ(w->c5w->Text(), "22");
  EXPECT_EQ(w->c6w->Text(), "12");
  EXPECT_EQ(Article(100, "przart").toDouble(), 2.0);
  EXPECT_EQ(Article(300, "desart").str(), "RISO ARBORIO 1KG");
  EXPECT_EQ(Scalar("select note from listini").str(), "NOTA");
}

TEST_F(Lis06bTest, EliminaFileDeletesOnlyTheListedFileItNames) {
  lis06b* w = Window();
  const QString listino = Host("C:\\varu\\listino.xlsx"), vecchio = Host("C:\\varu\\vecchio.xls");
  {  // No: nothing happens.
    ScriptedMessages boxes;
    boxes.Answer(ui::MsgAnswer::No);
    w->File1->Choose("listino.xlsx");
    w->Command3->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    const ui::MessageRecord& b = boxes.Boxes()[0];
    EXPECT_EQ(b.text, "Attenzione  !!  Sei sicuro di voler Eliminare il file selezionato ?");
    EXPECT_EQ(b.title, "Elimina file");
    EXPECT_EQ(b.icon, ui::MsgIcon::Information);
    EXPECT_EQ(b.defaultButton, ui::MsgAnswer::No);
    EXPECT_TRUE(QFileInfo::exists(listino));
  }
  {  // A typed pattern deletes nothing.
    ScriptedMessages boxes;
    boxes.Answer(ui::MsgAnswer::Yes);
    w->numfatw->SetText("*.xls");
    w->Command3->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Texts()[1],
              "Il file \"*.xls\" non è tra i file elencati: nessun file è stato eliminato.");
    EXPECT_TRUE(QFileInfo::exists(vecchio));
  }
  {  // No name: the second box, answered either way.
    ScriptedMessages boxes;
    boxes.Answer(ui::MsgAnswer::Yes).Answer(ui::MsgAnswer::No);
    w->numfatw->SetText("");
    w->Command3->click();
    EXPECT_EQ(boxes.Texts(),
              (QStringList{"Attenzione  !!  Sei sicuro di voler Eliminare il file selezionato ?",
                           "Attenzione !!! Devi prima selezionare il file ..."}));
    EXPECT_EQ(boxes.Boxes()[1].buttons, ui::MsgButtons::YesNo);
    EXPECT_TRUE(QFileInfo::exists(listino) && QFileInfo::exists(vecchio));
  }
  {  // Yes with a chosen file: it goes, and so does its name.
    ScriptedMessages boxes;
    boxes.Answer(ui::MsgAnswer::Yes);
    w->File1->Choose("listino.xlsx");
    w->Command3->click();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(listino));
    EXPECT_TRUE(QFileInfo::exists(vecchio));
    EXPECT_EQ(w->numfatw->Text(), "");
    EXPECT_EQ(w->File1->Names(), QStringList{"vecchio.xls"});
  }
}

}  // namespace
}  // namespace vx::pricelists
