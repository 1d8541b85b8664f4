// "Stampa elenco " of the three-supplier grid: the view switched to the ticked rows and the
// list read back from its PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include "common/shared_values.h"
#include "comparison3/grid3_fixture.h"
#include "platform/conv.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "platform/ui/flexgrid.h"
#include "support/pdf_text.h"
#include "support/requirements.h"

namespace vx::comparison3::testing {
namespace {

using namespace pdftext;

class Cnf02TPrintTest : public Grid3Test {
 protected:
  void SetUp() override {
    Grid3Test::SetUp();
    VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                    "pdftotext (poppler-utils)");
    print::SetPrinterList(QStringList{print::kPdfPrinterName});
    common::G().ragione_sociale = "SUPERMERCATO DEL CORSO ALIMENTARI";
  }
  void TearDown() override {
    print::SetPrinterList(std::nullopt);
    Grid3Test::TearDown();
  }

  QString Folder() const { return root_->root() + "/C/Programmi/tolmo/stampe"; }
  // Presses "Stampa elenco " answering the question; the PDF made, empty when none.
  QString Print(ui::MsgAnswer answer = ui::MsgAnswer::Yes) {
    boxes_->Answer(answer);
    return pdftext::NewPdf(Folder(), [this] { w_->Command10->click(); });
  }
};

TEST_F(Cnf02TPrintTest, HeadingColumnsAndTheColliRule) {
  AddSupplier(1, "Apulia");
  Add({Ean(1), "OLIO", {12.5, 1234.5, 0.0}, {0, 5, 2}, "X"});
  Add({Ean(2), "PASTA", {0.0, 0.0, 0.0}, {3, 9, 0}, "X", "PZ", 6});
  Add({Ean(3), "RISO", {1.0, 1.0, 1.0}, {}, " "});
  Add({Ean(4), "SALE", {Variant::null(), Variant::null(), 1.0}, {0, 0, 1234}, "X"});
  main_->Execute("update articoli set desart = null where vedovo = ?", {Variant(Ean(4))});
  const QString tooWide = QString("PASSATA DI POMODORO BIOLOGICA ").repeated(4).left(100);
  Add({Ean(5), tooWide, {1234.5, 98765.25, 0.0}, {1234, 0, 9999}, "X", "CONFEZIONE", 1000});
  Open();
  const QString pdf = Print();
  ASSERT_FALSE(pdf.isEmpty()) << boxes_->Texts().join("|").toStdString();
  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  EXPECT_EQ(boxes_->Boxes()[0].text,
            "Attenzione!!!  Sei sicuro di voler Stampare i dati selezionati?");
  EXPECT_EQ(boxes_->Boxes()[0].title, "Stampa Confronto Fornitori");
  EXPECT_EQ(boxes_->Boxes()[0].defaultButton, ui::MsgAnswer::No);
  EXPECT_EQ(w_->Command3->text(), "Vedi tutti");
  EXPECT_TRUE(w_->vista_selezionati);
  EXPECT_EQ(w_->flex1->Rows(), 5);  // the grid shows the ticked rows

  const QStringList pages = Pages(pdf);
  ASSERT_EQ(pages.size(), 1);
  const QString& p = pages[0];
  EXPECT_TRUE(p.contains("10/03/2026")) << p.toStdString();
  EXPECT_TRUE(p.contains(QRegularExpression("CONTROLLO PRODOTTI\\s+Pag\\.\\s+1\\b")));
  EXPECT_TRUE(p.contains(QRegularExpression("Societa:SUPERMERCATO DEL CORSO AL *$",
                                            QRegularExpression::MultilineOption)));
  EXPECT_TRUE(p.contains(QRegularExpression(
      "Codice Ean\\s+Descrizione\\s+UM\\s+Imb\\.\\s+Colli\\s+Iva\\s+Costo\\s+Costo\\s")))
      << p.toStdString();
  EXPECT_TRUE(p.contains(QRegularExpression("Brunelvatto\\s+Corvalia\\s")));
  EXPECT_TRUE(p.contains(QRegularExpression("Articoli\\s+non trovati")));
  EXPECT_FALSE(p.contains("RISO"));

  const std::vector<Word> words = Words(pdf);
  const Word* olio = Find(words, Ean(1));
  const Word* pasta = Find(words, Ean(2));
  const Word* sale = Find(words, Ean(4));
  ASSERT_TRUE(olio && pasta && sale);
  // Colli1 is 0: Colli2 prints; costs in both formats; Colli3 last.
  EXPECT_EQ(LineOf(words, *olio),
            (QStringList{Ean(1), "OLIO", "CT", "12", "5", "04", "12,50", "1.234,50", "2"}));
  EXPECT_EQ(LineOf(words, *pasta),
            (QStringList{Ean(2), "PASTA", "PZ", "6", "3", "04", "0,00", "0,00", "0"}));
  // Null text prints nothing, Null numbers as 0.
  EXPECT_EQ(LineOf(words, *sale),
            (QStringList{Ean(4), "CT", "12", "0", "04", "0,00", "0,00", "1.234"}));
  // Every text inside its box: cut where too wide, numbers whole.
  EXPECT_EQ(WordsPastTheirBox(words, {10, 70, 220, 240, 260, 295, 315, 353, 391, 430},
                              *Find(words, "Codice"), 12, *Find(words, "Colli"), 262),
            "");
  EXPECT_TRUE(LineOf(words, *Find(words, Ean(5)))
                  .join(' ')
                  .endsWith("… CO… 1000 1.234 04 1.234,50 98.765,25 9.999"));
  // Leading blanks in the first cost column, none in the second.
  auto on = [&](const Word& row, const QString& text) {
    for (const Word& w : words) {
      if (std::abs(w.y - row.y) < 1.5 && w.text == text) return w.x;
    }
    return -1.0;
  };
  EXPECT_GT(on(*pasta, "0,00"), on(*olio, "12,50"));  // column 7: one blank more
  const Word* corvalia = Find(words, "Corvalia");
  EXPECT_NEAR(on(*olio, "1.234,50"), corvalia->x, 0.5);  // column 8 starts at its box
  // One text line between rows: they lie more than their 12-unit box apart (a unit measured
  // between the two lines of a heading, 5 units apart).
  const double unit = (corvalia->y - Find(words, "Costo")->y) / 5;
  EXPECT_GT(pasta->y - olio->y, 16 * unit);
}

TEST_F(Cnf02TPrintTest, NoChangesNothingAndNothingTickedPrintsTheHeadingAlone) {
  Add({Ean(1), "OLIO", {1.0, 2.0, 3.0}, {}, " "});
  Open();
  EXPECT_TRUE(Print(ui::MsgAnswer::No).isEmpty());
  EXPECT_TRUE(w_->cond_vista.isEmpty());
  EXPECT_EQ(w_->Command3->text(), "Vedi selezionati");
  EXPECT_EQ(w_->flex1->Rows(), 2);

  const QString pdf = Print();
  ASSERT_FALSE(pdf.isEmpty());
  const QStringList pages = Pages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains("Codice Ean"));
  EXPECT_FALSE(pages[0].contains("OLIO"));
  EXPECT_EQ(w_->flex1->Rows(), 1);
  // Once more "Vedi tutti" shows every row.
  w_->Command3->click();
  EXPECT_EQ(w_->flex1->Rows(), 2);
}

TEST_F(Cnf02TPrintTest, PagesBreakWhereARowReaches625AndEachPrintStartsAtPageOne) {
  AddMany(120);
  main_->Execute("update articoli set sel = 'X'");
  Open();
  // Where the rows fall, from the heading on a probe document that is then dropped.
  print::PrintJob probe;
  probe.Scale(0, 0, 450, 650);
  w_->testap2(probe, 1);
  double top = probe.CurrentY();
  const double line = probe.TextHeight();
  probe.Abort();
  int perPage = 0;
  for (;;) {
    ++perPage;
    const int t = CInt(top);
    if (t + 2 >= 625) break;
    top = t + 12 + line;
  }
  ASSERT_GT(perPage, 20);
  ASSERT_LT(perPage, 60);

  common::G().pagina = 7;
  const QString first = Print();
  const QString second = Print();
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_EQ(common::G().pagina, 7);  // the print keeps its own count

  const int pageCount = (120 + perPage - 1) / perPage;
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
    EXPECT_EQ(total, 120);
  }
}

}  // namespace
}  // namespace vx::comparison3::testing
