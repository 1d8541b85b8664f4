// "Stampa elenco ": the grid switched to the ticked rows and the list read back from its PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cmath>

#include "common/progress.h"
#include "common/shared_values.h"
#include "comparison/differences.h"
#include "comparison/grid/grid_fixture.h"
#include "platform/clock.h"
#include "platform/db/datacontrol.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "platform/ui/flexgrid.h"
#include "support/pdf_text.h"
#include "support/qt_print.h"
#include "support/requirements.h"

namespace vx::comparison::testing {
namespace {

using namespace pdftext;

class Cnf02PrintTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                    "pdftotext (poppler-utils)");
    print::SetPrinterList(QStringList{print::kPdfPrinterName});
    SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 0)); });
    common::G().ragione_sociale = "SUPERMERCATO DEL CORSO ALIMENTARI";
  }
  void TearDown() override {
    SetClock({});
    print::SetPrinterList(std::nullopt);
    GridTest::TearDown();
  }

  QString Folder() const { return root_->root() + "/C/Programmi/tolmo/stampe"; }
  QStringList Pdfs() const { return pdftext::Pdfs(Folder()); }
  // Presses "Stampa elenco " answering the question; the PDF made, empty when none.
  QString Print(ui::MsgAnswer answer = ui::MsgAnswer::Yes) {
    boxes_->Answer(answer);
    return pdftext::NewPdf(Folder(), [this] { w_->Command10->click(); });
  }
};

TEST_F(Cnf02PrintTest, ListShowsHeadingAndTickedRowsWithTheirBoxes) {
  SetSuppliers({"Brunelvatto Srl", "Apulia", "DIZA", ""});
  Add({"8000000000001", "OLIO EXTRA VERGINE", {1234.5, 0, 2.25, 0}, {3, 0, 12, 0}, "X"});
  Add({"8000000000002", "PASTA", {1, 2, 3, 4}, {}, " "});  // not ticked
  Add({"8000000000003", "RISO", {1, 2, 3, 4}, {}, "X"});   // no description, no unit
  const QString tooWide = QString("PASSATA DI POMODORO BIOLOGICA ").repeated(4).left(100);
  Add({"8000000000004", tooWide, {98765.25, 0, 0, 9999}, {1234, 0, 0, 9999}, "X", "CONFEZIONE"});
  db_->Execute("update articoli set colli2 = null, costo4 = null where vedovo = '8000000000001'");
  db_->Execute("update articoli set umart = null, desart = null where vedovo = '8000000000003'");
  Open();
  const QString pdf = Print();
  ASSERT_FALSE(pdf.isEmpty()) << boxes_->Texts().join("|").toStdString();

  const ui::MessageRecord& ask = boxes_->Boxes().at(0);
  EXPECT_EQ(ask.text, "Attenzione!!!  Sei sicuro di voler Stampare i dati selezionati?");
  EXPECT_EQ(ask.title, "Stampa Confronto Fornitori");
  EXPECT_EQ(ask.icon, ui::MsgIcon::Information);
  EXPECT_EQ(ask.defaultButton, ui::MsgAnswer::No);
  EXPECT_EQ(boxes_->Boxes().size(), 1u);
  // The grid shows what is printed.
  EXPECT_EQ(w_->flex1->Rows(), 4);
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");
  EXPECT_TRUE(w_->flag_vista);

  const QStringList pages = Pages(pdf);
  ASSERT_EQ(pages.size(), 1);
  const QString& p = pages[0];
  EXPECT_TRUE(p.contains("09/12/2026")) << p.toStdString();
  EXPECT_TRUE(p.contains(QRegularExpression("CONTROLLO PRODOTTI\\s+Pag\\.\\s+1\\b")));
  EXPECT_TRUE(p.contains(QRegularExpression("Societa:SUPERMERCATO DEL CORSO AL *$",
                                            QRegularExpression::MultilineOption)))
      << p.toStdString();
  EXPECT_TRUE(p.contains(QRegularExpression(
      "Codice Ean\\s+Descrizione\\s+UM\\s+Imb\\.\\s+Iva\\s+Qta\\.1\\s+Brunelv\\s+Qta\\.2\\s+"
      "Apulia\\s+Qta\\.3\\s+DIZA\\s+Qta\\.4\\s*\\n")))
      << p.toStdString();
  EXPECT_FALSE(p.contains("PASTA"));

  const std::vector<Word> words = Words(pdf);
  const Word* olio = Find(words, "8000000000001");
  ASSERT_NE(olio, nullptr);
  // Packages with Null as 0, costs empty for 0 and Null.
  EXPECT_EQ(LineOf(words, *olio),
            (QStringList{"8000000000001", "OLIO", "EXTRA", "VERGINE", "CT", "6", "4", "3",
                         "1.234,5000", "0", "12", "2,2500", "0"}));
  const Word* riso = Find(words, "8000000000003");
  ASSERT_NE(riso, nullptr);
  EXPECT_EQ(LineOf(words, *riso).mid(0, 4), (QStringList{"8000000000003", "6", "4", "0"}));
  // Every text inside its box: cut where too wide, numbers whole.
  EXPECT_EQ(WordsPastTheirBox(
                words, {10, 60, 210, 230, 250, 270, 305, 345, 380, 420, 455, 495, 530, 570, 630},
                *Find(words, "Codice"), 12, *Find(words, "Qta.1"), 272),
            "");
  EXPECT_TRUE(LineOf(words, *Find(words, "8000000000004"))
                  .join(' ')
                  .endsWith("… CO… 6 4 1.234 98.765,2500 0 0 9.999 9.999,0000"));
  // Rows of 12 units follow the column headings' 17 without gaps.
  // RISO, without description, comes first.
  EXPECT_NEAR(olio->y - riso->y, (riso->y - Find(words, "Codice")->y) * 12 / 17, 0.5);

  // "Qta.1" in size 10, the next headings in size 8; the EAN in size 8 under its heading.
  const double qta1 = Find(words, "Qta.1")->height;
  EXPECT_NEAR(Find(words, "Qta.2")->height / qta1, 0.8, 0.05);
  EXPECT_NEAR(Find(words, "Apulia")->height / qta1, 0.8, 0.05);
  EXPECT_NEAR(olio->height / Find(words, "OLIO")->height, 0.8, 0.05);
  EXPECT_NEAR(olio->x - Find(words, "Codice")->x, 0, 0.5);  // both 2 inside their box

  // The list's serif is the metric twin of the one the heading names (fonts-liberation2).
  if (QFontDatabase::hasFamily("Liberation Serif") || qgetenv("CI") == "true") {
    EXPECT_TRUE(Tool("pdffonts", {pdf}).contains("LiberationSerif-Bold"));
  }
}

TEST_F(Cnf02PrintTest, FullPagesHoldTheRowsTheBreakRuleGives) {
  AddMany(100);
  db_->Execute("update articoli set sel = 'X'");
  Open();
  // The heading's bottom edge, from the heading alone on a document that is then dropped.
  print::PrintJob probe;
  probe.SetOrientation(print::Orientation::Landscape);
  probe.Scale(0, 0, 650, 450);
  w_->testap2(probe, 1);
  const int bottom = common::G().stampa_y2;
  probe.Abort();
  ASSERT_TRUE(Pdfs().isEmpty());
  // Rows begin at bottom, bottom + 12, ...; the first whose top is 423 or lower ends the page.
  const int perPage = (423 - bottom + 11) / 12 + 1;
  ASSERT_GT(perPage, 20);

  const qint16 pagina = common::G().pagina;
  const QString first = Print();
  const QString second = Print();
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_EQ(common::G().pagina, pagina);  // printing leaves the grid's paging alone

  const int pageCount = (100 + perPage - 1) / perPage;
  for (const QString& pdf : {first, second}) {
    const QStringList pages = Pages(pdf);
    ASSERT_EQ(pages.size(), pageCount);
    int total = 0;
    for (int i = 0; i < pageCount; ++i) {
      EXPECT_TRUE(pages[i].contains(QRegularExpression(QString("Pag\\.\\s+%1\\b").arg(i + 1))));
      const int rows = int(pages[i].count(QRegularExpression("\\bART \\d{5}\\b")));
      if (i + 1 < pageCount) {
        EXPECT_EQ(rows, perPage) << "page " << i + 1;
      }
      total += rows;
    }
    EXPECT_EQ(total, 100);
  }
}

TEST_F(Cnf02PrintTest, PrintingKeepsTheNextPageStep) {
  AddMany(1200);
  common::ProgressSink sink;
  ASSERT_TRUE(ComputeDifferences(*db_, sink).completed);
  db_->Execute("update articoli set sel = 'X' where desart like 'ART 006*'");
  Open();
  w_->Option5->click();
  w_->Pic1->click();  // rows 501..1000, pagina 2
  ASSERT_EQ(common::G().pagina, 2);
  ASSERT_FALSE(Print().isEmpty());
  // The ticked rows of the page window only.
  EXPECT_EQ(w_->flex1->Rows(), 1 + 100);
  EXPECT_EQ(common::G().pagina, 2);
  w_->Pic1->click();
  EXPECT_TRUE(w_->cond_ricerca.contains(">= 1001"));
}

TEST_F(Cnf02PrintTest, NoChangesNothingAndNoTickedRowPrintsTheHeadingOnly) {
  Add({"8000000000001", "OLIO", {1, 2, 3, 4}, {}, " "});
  Open();
  EXPECT_TRUE(Print(ui::MsgAnswer::No).isEmpty());
  EXPECT_TRUE(w_->cond_vista.isEmpty());
  EXPECT_EQ(w_->Command3->text(), "Vedi selezionati");
  EXPECT_FALSE(w_->flag_vista);
  EXPECT_EQ(w_->flex1->Rows(), 2);

  const QString pdf = Print();
  ASSERT_FALSE(pdf.isEmpty());
  const QStringList pages = Pages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains("Codice Ean"));
  EXPECT_FALSE(pages[0].contains("OLIO"));
  EXPECT_EQ(w_->flex1->Rows(), 1);
}

TEST_F(Cnf02PrintTest, AFailedQueryIsToldAndPrintsNothing) {
  Add({"8000000000001", "OLIO", {1, 2, 3, 4}, {}, "X"});
  Open();
  w_->select_confronto.replace("from articoli", "from nessuna");
  EXPECT_TRUE(Print().isEmpty());
  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[1].icon, ui::MsgIcon::Critical);
  EXPECT_TRUE(w_->isEnabled());
  EXPECT_TRUE(w_->Frame1->isEnabled());
}

TEST_F(Cnf02PrintTest, APrintFolderThatCannotBeMadeIsToldAndLeavesNoFile) {
  Add({"8000000000001", "OLIO", {1, 2, 3, 4}, {}, "X"});
  Add({"8000000000002", "PASTA", {1, 2, 3, 4}, {}, " "});
  root_->WriteFile("C/Programmi/tolmo/stampe", "a file where the folder should be");
  Open();
  boxes_->Answer(ui::MsgAnswer::Yes);
  w_->Command10->click();
  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  const ui::MessageRecord& told = boxes_->Boxes()[1];
  EXPECT_EQ(told.icon, ui::MsgIcon::Critical);
  EXPECT_TRUE(told.text.startsWith("ATTENZIONE!!! Stampa non riuscita: "))
      << told.text.toStdString();
  EXPECT_TRUE(told.text.contains("stampe"));
  EXPECT_EQ(w_->flex1->Rows(), 2);  // the grid stays on the ticked rows
  EXPECT_TRUE(w_->isEnabled());
}

}  // namespace
}  // namespace vx::comparison::testing
