// The default terminal's window and the Allegro-Varu (MC3000) window, driven through their
// buttons against a real comparison table.
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "platform/db/database.h"
#include "platform/ui/form.h"
#include "support/qt_print.h"
#include "support/requirements.h"
#include "terminals/cnfpv.h"
#include "terminals/cnfpv6.h"
#include "terminals/terminal_fixture.h"

namespace vx::terminals::testing {
namespace {

const QString kNoFile = " Attenzione !! File terminalino non esiste ";
const QString kDone = " Elaborazione terminata con successo ";
const QString kOrdini = "C:\\mvterminal\\ordini.txt";

template <class W>
W* Confirm() {
  W* w = ui::Forms::Show<W>();
  if (w) QTest::mouseClick(w->Command1, Qt::LeftButton);
  return w;
}

// A default terminal line: code in 1-13, quantity in 15-22.
QString Ordine(const QString& code, const QString& quantity) {
  return code.leftJustified(13, ' ') + ";" + quantity.leftJustified(8, ' ') + "note";
}

// An MC3000 line: code in 24-36, quantity in 44-49.
QString Mc(const QString& code, const QString& quantity) {
  return QString(23, '#') + code.leftJustified(13, ' ') + "-------" +
         quantity.leftJustified(6, ' ') + "coda";
}

class DefaultAndMc3000WindowsTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    AddArticle("0000012345678", {2.10, 1.90, 1.80, 0});  // slot 3 alone lowest of 1-3
    AddArticle("8001234567890", {9, 5, 2, 7});           // the chain rule: slot 3
    AddArticle("8005555555555", {5, 0, 0, 0});           // one slot priced
  }
  double Packages(const QString& ean, int slot) const {
    return Column(ean, QString("colli%1").arg(slot)).toDouble();
  }
};

TEST_F(DefaultAndMc3000WindowsTest, DefaultTerminalKeepsItsFileAndNeverPrints) {
  db_->Execute("update articoli set colli2 = 7 where vedovo = '8005555555555'");
  WriteSource(kOrdini, {Ordine("12345678", " 4 "), Ordine("9999999999999", "3"),
                        Ordine("8005555555555", "6"), Ordine("8001234567890", "12,5")});
  cnfpv* w = Confirm<cnfpv>();
  EXPECT_EQ(w->Caption(), "Conferma confronta PV ");
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv>());
  EXPECT_TRUE(SourceExists(kOrdini));
  EXPECT_EQ(Packages("0000012345678", 3), 4);  // zero-filled code, slot 3 the cheapest
  EXPECT_EQ(Packages("0000012345678", 1), 0);
  EXPECT_EQ(Packages("8001234567890", 3), 12);
  // One slot priced and packages already there: test 6 writes nothing, the row is marked.
  EXPECT_EQ(Packages("8005555555555", 1), 0);
  EXPECT_EQ(Packages("8005555555555", 2), 7);
  EXPECT_EQ(Column("8005555555555", "sel").str(), "X");
  EXPECT_TRUE(PrintedText().isEmpty()) << "codes not found make no document";

  // The same file again applies the same readings.
  ProcessDeferredDeletes();
  boxes_->Clear();
  Confirm<cnfpv>();
  EXPECT_EQ(Packages("0000012345678", 3), 4);
}

TEST_F(DefaultAndMc3000WindowsTest, DefaultTerminalWithoutItsFileWaits) {
  cnfpv* w = Confirm<cnfpv>();
  EXPECT_EQ(boxes_->Texts(), QStringList{kNoFile});
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Critical);
  EXPECT_TRUE(w->IsLoaded());
  EXPECT_FALSE(w->Command1->isHidden());
}

TEST_F(DefaultAndMc3000WindowsTest, Mc3000ConsumesOneFilePerRun) {
  WriteSource("C:\\MC3000\\dati\\MC0001.txt", {Mc("8001234567890", "2"), Mc("12345678", " 3 "), "",
                                               Mc("ABC", "5"), Mc("4444", "1")});
  WriteSource("C:\\MC3000\\dati\\MC0002.txt", {Mc("0000012345678", "6")});
  WriteSource("C:\\MC3000\\dati\\altro.txt", {Mc("0000012345678", "9")});
  QStringList gone;
  boxes_->OnShow([&](const ui::MessageRecord& box) {
    if (box.text == kDone) {
      gone << QString::number(!SourceExists("C:\\MC3000\\dati\\MC0001.txt")) +
                  QString::number(!SourceExists("C:\\MC3000\\dati\\MC0002.txt"));
    }
  });
  cnfpv6* w = Confirm<cnfpv6>();
  EXPECT_EQ(w->Caption(), "Conferma confronta PV Allegro-Varu");
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv6>());
  EXPECT_EQ(Packages("8001234567890", 3), 2);
  EXPECT_EQ(Packages("0000012345678", 3), 3);  // eight digits read as a number

  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString printed = PrintedText();
  EXPECT_TRUE(
      printed.contains(QRegularExpression("Codice non trovato: 0000000004444\\s+Quantità: 1")))
      << printed.toStdString();
  EXPECT_TRUE(printed.contains(QRegularExpression("Codice non trovato: ABC\\s+Quantità: 5")));
  EXPECT_FALSE(printed.contains("0000000000000")) << "no code is made of a field without one";
  EXPECT_EQ(printed.count("Codice non trovato"), 2);

  ProcessDeferredDeletes();
  Confirm<cnfpv6>();
  EXPECT_EQ(Packages("0000012345678", 3), 6);  // the later file replaces
  EXPECT_EQ(gone, (QStringList{"10", "11"})) << "each file is gone before its success box";

  ProcessDeferredDeletes();
  boxes_->Clear();
  w = Confirm<cnfpv6>();
  EXPECT_EQ(boxes_->Texts(), QStringList{kNoFile});
  EXPECT_TRUE(w->IsLoaded());
  EXPECT_TRUE(SourceExists("C:\\MC3000\\dati\\altro.txt"));
}

}  // namespace
}  // namespace vx::terminals::testing
