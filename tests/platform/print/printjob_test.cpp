// Print documents on the PDF printer, read back with poppler's tools.
#include "platform/print/printjob.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "platform/print/printers.h"
#include "support/temp_data_root.h"

using namespace vx::print;

namespace {

QString RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

class PrintJobTest : public ::testing::Test {
 protected:
  void SetUp() override { SetPrinterList(QStringList{kPdfPrinterName}); }
  void TearDown() override { SetPrinterList(std::nullopt); }
  TempDataRoot root;
};

TEST_F(PrintJobTest, TwoPageDocumentReadsBackInOrder) {
  PrintJob job("confronto");
  job.SetOrientation(Orientation::Landscape);
  job.Scale(0, 0, 650, 450);
  job.SetFontName("times new roman");
  job.SetFontSize(14);
  job.SetFontBold(true);
  job.SetDrawWidth(3);
  job.Line(100, 25, 500, 45, true);
  job.SetCurrentX(125);
  job.SetCurrentY(30);
  job.Print("CONTROLLO PRODOTTI ");
  job.SetFontBold(false);
  job.SetFontSize(10);
  job.SetCurrentX(12);
  job.SetCurrentY(60);
  job.Print("8001234567890", false);
  job.Print("  PASTA DI SEMOLA");
  job.Print("ultima riga");
  job.NewPage();
  EXPECT_EQ(job.CurrentX(), 0);
  EXPECT_EQ(job.CurrentY(), 0);
  job.SetCurrentX(10);
  job.SetCurrentY(20);
  job.Print("Pag.  2");
  const PrintResult r = job.EndDoc();
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(r.pages, 2);
  ASSERT_TRUE(QFileInfo::exists(r.path));
  EXPECT_EQ(QFileInfo(r.path).absolutePath(), root.root() + "/C/Programmi/tolmo/stampe");
  EXPECT_TRUE(QFileInfo(r.path).fileName().startsWith("confronto-"));

  const QString info = RunTool("pdfinfo", {r.path});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\b"))) << info.toStdString();
  // A4 lying on its side.
  EXPECT_TRUE(
      info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts")))
      << info.toStdString();

  const QStringList pages = RunTool("pdftotext", {"-layout", r.path, "-"}).split('\f');
  ASSERT_GE(pages.size(), 2);
  const QString first = pages[0];
  const int title = first.indexOf("CONTROLLO PRODOTTI");
  const int row = first.indexOf(QRegularExpression("8001234567890\\s+PASTA DI SEMOLA"));
  const int last = first.indexOf("ultima riga");
  EXPECT_GE(title, 0) << first.toStdString();
  EXPECT_GT(row, title);
  EXPECT_GT(last, row);
  EXPECT_FALSE(first.contains("Pag."));
  EXPECT_TRUE(pages[1].contains(QRegularExpression("Pag\\.\\s+2"))) << pages[1].toStdString();
}

TEST_F(PrintJobTest, PrintPositionMovesAsTheWindowsExpect) {
  PrintJob job;
  job.Scale(0, 0, 650, 450);
  job.SetCurrentX(10);
  job.SetCurrentY(100);
  job.Print("abc", false);
  const double afterText = job.CurrentX();
  EXPECT_GT(afterText, 10);
  EXPECT_EQ(job.CurrentY(), 100);
  EXPECT_NEAR(afterText - 10, job.TextWidth("abc"), 1e-6);
  job.EndLine();
  EXPECT_EQ(job.CurrentX(), 0);
  EXPECT_NEAR(job.CurrentY(), 100 + job.TextHeight(), 1e-6);
  // A bigger font gives a taller line.
  const double small = job.TextHeight();
  job.SetFontSize(20);
  EXPECT_GT(job.TextHeight(), small * 1.5);
  job.Line(10, 20, 30, 40);
  EXPECT_EQ(job.CurrentX(), 30);
  EXPECT_EQ(job.CurrentY(), 40);
  EXPECT_TRUE(job.EndDoc().ok);
}

TEST_F(PrintJobTest, ADocumentWithNothingPrintedMakesNoFile) {
  PrintJob job;
  job.SetFontSize(12);
  const PrintResult r = job.EndDoc();
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.pages, 0);
  EXPECT_TRUE(r.path.isEmpty());
}

TEST_F(PrintJobTest, APrintFolderThatCannotBeMadeAbandonsTheDocument) {
  root.WriteFile("C/Programmi/tolmo/stampe", "a file where the folder should be");
  PrintJob job;
  job.Print("perso");
  job.NewPage();
  const PrintResult r = job.EndDoc();
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains("stampe")) << r.error.toStdString();
  // The next document starts afresh.
  EXPECT_FALSE(job.EndDoc().error.size() > 0);
}

TEST(PrintersTest, CurrentPrinterIsChosenByPosition) {
  SetPrinterList(QStringList{"Laser", "Etichette"});
  EXPECT_EQ(Printers(), (QStringList{"Laser", "Etichette"}));
  EXPECT_EQ(CurrentPrinterIndex(), 0);
  EXPECT_TRUE(SetCurrentPrinter(1));
  EXPECT_EQ(CurrentPrinterName(), "Etichette");
  EXPECT_FALSE(SetCurrentPrinter(2));
  EXPECT_EQ(CurrentPrinterName(), "Etichette");
  SetPrinterList(std::nullopt);
  EXPECT_FALSE(Printers().isEmpty());  // at least the PDF printer
}

}  // namespace
