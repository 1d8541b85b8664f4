// The terminal windows driven through their buttons against a real comparison table.
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "common/shared_values.h"
#include "platform/db/database.h"
#include "platform/paths.h"
#include "platform/ui/form.h"
#include "platform/ui/progressbar.h"
#include "support/qt_print.h"
#include "support/requirements.h"
#include "support/stand_in_terminal.h"
#include "terminals/cnfpv2.h"
#include "terminals/cnfpv3.h"
#include "terminals/cnfpv4.h"
#include "terminals/cnfpv7.h"
#include "terminals/terminal_fixture.h"

namespace vx::terminals::testing {
namespace {

const QString kNoDatabase = " Attenzione !! Data Base confronta prezzi non esiste ";
const QString kNoFile = " Attenzione !! File terminalino non esiste ";
const QString kDone = " Elaborazione terminata con successo ";
const QString kPdtFile = "C:\\pdt3100\\dati.txt";
const QString kCipherFile = "C:\\cipherlab\\dati.txt";

// A PDT (columns 20 and 33) or PDC/PDM (18 and 31) line.
QString Line(int codeColumn, const QString& code, const QString& quantity) {
  return QString(codeColumn - 1, 'x') + code.leftJustified(13, ' ') +
         quantity.leftJustified(6, ' ') + "resto";
}

template <class W>
W* Confirm() {
  W* w = ui::Forms::Show<W>();
  if (w) QTest::mouseClick(w->Command1, Qt::LeftButton);
  return w;
}

class TerminalWindowsTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    AddArticle("0000012345678", {2.10, 1.90, 1.80, 0});  // slot 3 alone lowest
    AddArticle("8001234567890", {1.00, 2.00, 3.00, 0});  // slot 1 alone lowest
    AddArticle("8009999999999", {0, 0, 0, 0});           // no cost: fallback to slot 2
  }
};

TEST_F(TerminalWindowsTest, PdtMainRoadAppliesReportsAndKeepsTheFile) {
  const QStringList lines = {Line(20, "12345678", "4"), Line(20, "8001234567890", " 1 2"),
                             Line(20, "9999999999999", "3"), ""};
  WriteSource(kPdtFile, lines);
  cnfpv2* w = Confirm<cnfpv2>();
  EXPECT_EQ(w->Caption(), "Conferma confronta PV ");
  EXPECT_EQ(w->Annulla->toolTip(), "Annulla");  // the icon's only words
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::Information);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv2>());
  EXPECT_DOUBLE_EQ(Column("0000012345678", "colli3").toDouble(), 4);
  EXPECT_DOUBLE_EQ(Column("0000012345678", "colli1").toDouble(), 0);
  EXPECT_DOUBLE_EQ(Column("8001234567890", "colli1").toDouble(), 12);
  EXPECT_EQ(Column("8001234567890", "sel").str(), "X");
  EXPECT_EQ(Column("8009999999999", "sel").str(), " ");  // not in the file
  EXPECT_TRUE(SourceExists(kPdtFile));

  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString printed = PrintedText();
  // pdftotext folds runs of blanks.
  EXPECT_TRUE(
      printed.contains(QRegularExpression("Codice non trovato: 9999999999999\\s+Quantità: 3")))
      << printed.toStdString();
  EXPECT_TRUE(printed.contains("Codice non trovato:")) << "the empty line is reported too";
  EXPECT_EQ(printed.count("Codice non trovato"), 2);
}

TEST_F(TerminalWindowsTest, FailedChecksLeaveTheWindowWaiting) {
  // The PDC window's load starts its batch (none here) and asks for OK first.
  WriteSource(kPdtFile, {Line(18, "12345678", "4")});
  db_.reset();
  ASSERT_TRUE(QFile::rename(root_->root() + "/C/Programmi/tolmo/dizizOrezav.mdb",
                            root_->root() + "/C/Programmi/tolmo/altro.mdb"));
  for (int window = 0; window < 2; ++window) {
    SCOPED_TRACE(window);
    boxes_->Clear();
    TerminalWindow* w = window == 0 ? static_cast<TerminalWindow*>(Confirm<cnfpv2>())
                                    : static_cast<TerminalWindow*>(Confirm<cnfpv7>());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(boxes_->Texts().last(), kNoDatabase);
    EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_FALSE(w->Command1->isHidden());
  }
  ASSERT_TRUE(QFile::rename(root_->root() + "/C/Programmi/tolmo/altro.mdb",
                            root_->root() + "/C/Programmi/tolmo/dizizOrezav.mdb"));
  ASSERT_TRUE(QFile::remove(fs::HostPath(kPdtFile)));
  boxes_->Clear();
  cnfpv7* w = ui::Forms::Get<cnfpv7>();
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  EXPECT_EQ(boxes_->Texts(), QStringList{kNoFile});
  EXPECT_TRUE(w->IsLoaded());
}

TEST_F(TerminalWindowsTest, PdcLoadStartsItsBatchThenAsksForOk) {
  // No batch on the drive: the start failure is said, and the window still comes.
  cnfpv7* w = ui::Forms::Show<cnfpv7>();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(boxes_->Texts().size(), 2);
  EXPECT_EQ(boxes_->Texts()[0],
            "ATTENZIONE!!! Impossibile avviare il programma \"C:\\pdt3100\\scarico.bat\": il "
            "file non esiste.");
  EXPECT_EQ(boxes_->Texts()[1], " Premere OK per continuare");
  EXPECT_EQ(boxes_->Boxes()[1].icon, ui::MsgIcon::None);
  EXPECT_EQ(w->Caption(), "Conferma confronta PV-PDT3100 C");
  // A second "Ordine" while open only brings it forward: no pre-step.
  ui::Forms::Show<cnfpv7>();
  EXPECT_EQ(boxes_->Texts().size(), 2);
}

TEST_F(TerminalWindowsTest, PdcLoadRunsItsBatchBesideTheWindow) {
  // The batch's program line starts the download tool beside it, which leaves its file.
  StandInTerminal terminal;
  WriteScript(fs::HostPath("C:\\pdt3100") + "/scarica.exe",
              "#!/bin/sh\necho scaricato > dati.txt\n");
  WriteSource("C:\\pdt3100\\scarico.bat", {"@echo off", "scarica"});
  cnfpv7* w = ui::Forms::Show<cnfpv7>();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(boxes_->Texts(), QStringList{" Premere OK per continuare"});
  ASSERT_TRUE(terminal.WaitForOutput().has_value());
  EXPECT_TRUE(SourceExists(kPdtFile));
}

TEST_F(TerminalWindowsTest, PdmConsumesOneFilePerRun) {
  WriteSource("C:\\pdt3100\\dati1.txt", {Line(18, "8009999999999", "      ")});
  WriteSource("C:\\pdt3100\\dati2.txt", {Line(18, "8009999999999", "7")});
  Confirm<cnfpv3>();
  EXPECT_EQ(Column("8009999999999", "colli2").toDouble(), 0);  // 0 is written as 0
  EXPECT_EQ(Column("8009999999999", "sel").str(), "X");
  EXPECT_FALSE(SourceExists("C:\\pdt3100\\dati1.txt"));
  EXPECT_TRUE(SourceExists("C:\\pdt3100\\dati2.txt"));
  ProcessDeferredDeletes();
  Confirm<cnfpv3>();
  EXPECT_EQ(Column("8009999999999", "colli2").toDouble(), 7);
  EXPECT_FALSE(SourceExists("C:\\pdt3100\\dati2.txt"));
  ProcessDeferredDeletes();
  boxes_->Clear();
  cnfpv3* w = Confirm<cnfpv3>();
  EXPECT_EQ(boxes_->Texts(), QStringList{kNoFile});
  EXPECT_TRUE(w->IsLoaded());
}

TEST_F(TerminalWindowsTest, CipherLabAsksOnEveryConfirmAndUnloadsOnEveryPath) {
  WriteSource(kCipherFile, {"12345678,3", "riga senza virgola", "", "8009999999999,0"});
  // No: nothing read, the file stays, the window goes.
  boxes_->Answer(ui::MsgAnswer::No);
  Confirm<cnfpv4>();
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv4>());
  EXPECT_TRUE(SourceExists(kCipherFile));
  EXPECT_EQ(Column("0000012345678", "sel").str(), " ");
  // The download tool is missing: said, and the question still comes.
  EXPECT_TRUE(boxes_->Texts()[0].contains("C:\\cipherlab\\IR_read.exe"));
  EXPECT_EQ(boxes_->Texts()[1], "Il file è stato scaricato, vuoi procedere ? ...");
  EXPECT_EQ(boxes_->Boxes()[1].icon, ui::MsgIcon::None);

  ProcessDeferredDeletes();
  boxes_->Clear();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Confirm<cnfpv4>();
  // The line without a comma was not registered: said, and the file stays.
  EXPECT_TRUE(boxes_->Texts().last().startsWith(
      "ATTENZIONE!!! Elaborazione terminata: 1 lettura non registrata"));
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv4>());
  EXPECT_TRUE(SourceExists(kCipherFile));
  EXPECT_DOUBLE_EQ(Column("0000012345678", "colli3").toDouble(), 3);
  EXPECT_DOUBLE_EQ(Column("8009999999999", "colli2").toDouble(), 1);  // 0 becomes 1
  // The shared values keep the last line that held a reading.
  EXPECT_EQ(common::G().codice_letto, "8009999999999");
  EXPECT_EQ(common::G().ean_corrente.str(), "8009999999999");
  EXPECT_FLOAT_EQ(common::G().quantita, 1);

  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  EXPECT_TRUE(
      PrintedText().contains("Riga 2 non registrata (riga non valida): riga senza virgola"));

  // Without the file the window says so and unloads.
  ASSERT_TRUE(QFile::remove(fs::HostPath(kCipherFile)));
  ProcessDeferredDeletes();
  boxes_->Clear();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Confirm<cnfpv4>();
  EXPECT_EQ(boxes_->Texts().last(), kNoFile);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv4>());
}

TEST_F(TerminalWindowsTest, AFailureMidRunChangesNothing) {
  WriteSource(kPdtFile, {Line(20, "8001234567890", "5"), Line(20, "12345678", "4")});
  BreakRow("0000012345678");  // the second reading's update fails
  cnfpv2* w = Confirm<cnfpv2>();
  ASSERT_EQ(boxes_->Texts().size(), 1);
  EXPECT_TRUE(boxes_->Texts()[0].startsWith("ATTENZIONE")) << boxes_->Texts()[0].toStdString();
  EXPECT_DOUBLE_EQ(Column("8001234567890", "colli1").toDouble(), 0);
  EXPECT_EQ(Column("8001234567890", "sel").str(), " ");
  EXPECT_TRUE(SourceExists(kPdtFile));
  EXPECT_TRUE(w->IsLoaded());
  EXPECT_FALSE(w->Command1->isHidden());
  EXPECT_TRUE(PrintedText().isEmpty());
}

TEST_F(TerminalWindowsTest, ARunWaitsForAnotherOperationsTransaction) {
  WriteSource(kPdtFile, {Line(20, "8001234567890", "5")});
  auto shared = db::Database::Open(common::G().percorso_db);
  {
    db::Transaction open(*shared);
    Confirm<cnfpv2>();
    ASSERT_EQ(boxes_->Texts().size(), 1);
    EXPECT_TRUE(boxes_->Texts()[0].startsWith("ATTENZIONE"));
  }
  EXPECT_DOUBLE_EQ(Column("8001234567890", "colli1").toDouble(), 0);
  EXPECT_TRUE(ui::Forms::IsLoaded<cnfpv2>());
}

}  // namespace
}  // namespace vx::terminals::testing
