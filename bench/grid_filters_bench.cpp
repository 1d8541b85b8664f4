// The comparison grid's view changes over 50,000 articles (offscreen) and the printed list of
// 3,000 ticked rows, each against its floor: a page step, a description search and a
// convenience option against the same SELECT read straight from SQLite (the page step and
// the search three times, each followed by its SELECT, the best of each side); the list
// against the same boxes and texts drawn straight with QPainter into a PDF.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "data_drive.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/ui/application.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/textbox.h"

namespace {

constexpr int kArticles = 50000;
constexpr int kTicked = 3000;

void FillComparison(vx::db::Database& db) {
  db.Execute("delete from articoli");
  vx::db::Transaction tx(db);
  vx::db::Statement st = db.Prepare(
      "insert into articoli (vedovo, desart, umart, ivart, sel, imballo, forn1, costo1, colli1, "
      "forn2, costo2, colli2, forn3, costo3, colli3, forn4, costo4, colli4, tipoart, ns) "
      "values (?, ?, 'CT', '10', ?, 6, 1, ?, 2, 2, ?, 0, 3, ?, 1, 4, ?, 0, '1', ?)");
  for (int i = 1; i <= kArticles; ++i) {
    st.Bind(1, QStringLiteral("80%1").arg(i, 11, 10, QLatin1Char('0')))
        .Bind(2, QStringLiteral("ARTICOLO DEMO %1").arg(i, 6, 10, QLatin1Char('0')))
        .Bind(3, i % (kArticles / kTicked) == 0 && i / (kArticles / kTicked) <= kTicked ? "X" : " ")
        .Bind(4, 1.0 + (i % 97) * 0.13)
        .Bind(5, (i % 11 == 0) ? 0.0 : 1.2 + (i % 89) * 0.11)
        .Bind(6, 0.9 + (i % 83) * 0.14)
        .Bind(7, (i % 5 == 0) ? 0.0 : 1.1 + (i % 79) * 0.12)
        .Bind(8, i)
        .Run();
  }
  tx.Commit();
}

// The record source read straight from SQLite, every column as text; the best of `passes`.
double Bare(vx::db::Database& db, const QString& sql, long* rows, int passes = 3) {
  double best = 1e12;
  for (int pass = 0; pass < passes; ++pass) {
    QElapsedTimer t;
    t.start();
    vx::db::Statement st = db.Prepare(sql);
    *rows = 0;
    while (st.Step()) {
      for (int c = 0; c < st.ColumnCount(); ++c) (void)st.Column(c).str();
      ++*rows;
    }
    best = std::min(best, t.nsecsElapsed() / 1e6);
  }
  return best;
}

double Ms(const std::function<void()>& work) {
  QElapsedTimer t;
  t.start();
  work();
  QCoreApplication::processEvents();
  return t.nsecsElapsed() / 1e6;
}

// Totals of the window's work and of the bare work, over every action measured.
double totalMs = 0, totalBareMs = 0;
bool sameRows = true;

void Report(const char* what, double ms, double bare, long rows, const vx::comparison::cnf02& w) {
  const int shown = w.flex1->Rows() - 1;
  if (shown != rows) sameRows = false;
  std::printf("%-20s %6d rows (query %6ld): %8.1f ms, bare SELECT %7.1f ms, ratio %.1f\n", what,
              shown, rows, ms, bare, ms / bare);
  totalMs += ms;
  totalBareMs += bare;
}

// The window's work done once per action, each time followed by the bare SELECT of the
// record source it left, so that both sides are timed under the same conditions of the
// machine; the best of each side. The actions given in turn leave the view as the last one
// does.
void ReportBestOfPairs(const char* what, const std::vector<std::function<void()>>& actions,
                       const vx::comparison::cnf02& w, vx::db::Database& db) {
  double best = 1e12, bestBare = 1e12;
  long rows = 0;
  for (const auto& action : actions) {
    best = std::min(best, Ms(action));
    bestBare = std::min(bestBare, Bare(db, w.art->RecordSource, &rows, 1));
  }
  Report(what, best, bestBare, rows, w);
}

// The list's boxes and texts drawn straight: 14 boxes and 13 texts a row, 30 rows a page.
double BarePainter(const QString& file, int rows) {
  QElapsedTimer t;
  t.start();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter p(&printer);
  const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
  p.scale(area.width() / 650, area.height() / 450);
  QFont font(QStringLiteral("times new roman"));
  font.setPointSizeF(10);
  p.setFont(font);
  p.setPen(QPen(Qt::black, 0));
  const int widths[] = {50, 150, 20, 20, 20, 35, 40, 35, 40, 35, 40, 35, 40, 60};
  for (int r = 0; r < rows; ++r) {
    if (r > 0 && r % 30 == 0) printer.newPage();
    const double y = 80 + (r % 30) * 12;
    double x = 10;
    for (int c = 0; c < 14; ++c) {
      p.drawRect(QRectF(x, y, widths[c], 12));
      if (c < 13) p.drawText(QPointF(x + 2, y + 10), QStringLiteral("1.234,5000"));
      x += widths[c];
    }
  }
  p.end();
  return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vx::ui::SetupApplication(app);
  vx::ui::SetMessageResponder([](const vx::ui::MessageRecord& box) {
    if (box.buttons == vx::ui::MsgButtons::YesNo) return vx::ui::MsgAnswer::Yes;
    std::fprintf(stderr, "message: %s\n", qPrintable(box.text));
    return vx::ui::MsgAnswer::Ok;
  });
  vx::print::SetPrinterList(QStringList{vx::print::kPdfPrinterName});

  QTemporaryDir dir;
  vx::tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 100;
  const vx::tools::DataDrive drive = vx::tools::MakeDataDrive(dir.path(), options);
  vx::fs::SetDataRoot(dir.path());
  vx::common::G().percorso_db = drive.mainDbWindows;
  auto db = vx::db::Database::Open(drive.mainDbWindows);
  FillComparison(*db);

  auto* w = vx::ui::Forms::Show<vx::comparison::cnf02>();
  QCoreApplication::processEvents();

  w->Option5->click();
  // Forward, back and forward again: three page steps of 500 rows, ending one page on.
  const auto forward = [&] { w->Pic1->click(); };
  const auto back = [&] { w->Pic2->click(); };
  ReportBestOfPairs("page step", {forward, back, forward}, *w, *db);
  w->ricw->setText(QStringLiteral("DEMO 0123"));
  const auto search = [&] {
    int enter = 13;
    w->cnf02_ricw_KeyPress(enter);
  };
  ReportBestOfPairs("description search", {search, search, search}, *w, *db);
  w->Check1->click();
  const double convenience = Ms([&] { w->Option2->click(); });
  long rows = 0;
  const double convenienceBare = Bare(*db, w->art->RecordSource, &rows);
  Report("convenience option", convenience, convenienceBare, rows, *w);

  w->Check1->click();  // back to every row, then the ticked ones printed
  const double list = Ms([&] { w->Command10->click(); });
  const double bare = BarePainter(dir.filePath("bare.pdf"), w->flex1->Rows() - 1);
  std::printf("printed list %6d rows: %8.1f ms, bare QPainter %7.1f ms, ratio %.1f\n",
              w->flex1->Rows() - 1, list, bare, list / bare);
  totalMs += list;
  totalBareMs += bare;
  vx::ui::Forms::UnloadAll();
  std::printf("same rows: %s\n", sameRows ? "yes" : "NO");
  std::printf("ratio: %.2f\n", totalMs / totalBareMs);
  return sameRows ? 0 : 1;
}
