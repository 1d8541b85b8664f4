// The comparison grid's load over 50,000 articles (offscreen): the window's whole load (query,
// fill, marks, colours, formats) against the bare query that reads the same rows.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison/cnf02_query.h"
#include "data_drive.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/locale_it.h"
#include "platform/paths.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/msgbox.h"

namespace {

constexpr int kArticles = 50000;

void FillComparison(vx::db::Database& db) {
  db.Execute("delete from articoli");
  vx::db::Transaction tx(db);
  vx::db::Statement st = db.Prepare(
      "insert into articoli (vedovo, desart, umart, ivart, sel, imballo, forn1, costo1, "
      "promo1, colli1, forn2, costo2, colli2, forn3, costo3, colli3, forn4, costo4, colli4, "
      "diff12, diff23, diff31, diff14, diff24, diff34, tipoart, ns) "
      "values (?, ?, 'CT', '10', ?, 6, 1, ?, ?, 0, 2, ?, 0, 3, ?, 0, 4, ?, 0, "
      "?, ?, ?, ?, ?, ?, '1', ?)");
  for (int i = 1; i <= kArticles; ++i) {
    const double c1 = 1.0 + (i % 97) * 0.13;
    const double c2 = (i % 11 == 0) ? 0.0 : 1.2 + (i % 89) * 0.11;
    const double c3 = 0.9 + (i % 83) * 0.14;
    const double c4 = (i % 5 == 0) ? 0.0 : 1.1 + (i % 79) * 0.12;
    auto diff = [](double a, double b) { return b == 0 ? 1000.0 : (a - b) / b * 100.0; };
    st.Bind(1, QStringLiteral("80%1").arg(i, 11, 10, QLatin1Char('0')))
        .Bind(2, QStringLiteral("ARTICOLO DEMO %1").arg(i, 6, 10, QLatin1Char('0')))
        .Bind(3, i % 13 == 0 ? "X" : " ")
        .Bind(4, c1)
        .Bind(5, i % 17 == 0 ? "P" : "")
        .Bind(6, c2)
        .Bind(7, c3)
        .Bind(8, c4)
        .Bind(9, diff(c1, c2))
        .Bind(10, diff(c2, c3))
        .Bind(11, diff(c3, c1))
        .Bind(12, diff(c1, c4))
        .Bind(13, diff(c2, c4))
        .Bind(14, diff(c3, c4))
        .Bind(15, i)
        .Run();
  }
  tx.Commit();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vx::InstallItalianLocale();
  vx::ui::SetMessageResponder([](const vx::ui::MessageRecord& box) {
    std::fprintf(stderr, "message: %s\n", qPrintable(box.text));
    return vx::ui::MsgAnswer::No;
  });

  QTemporaryDir dir;
  vx::tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 100;
  const vx::tools::DataDrive drive = vx::tools::MakeDataDrive(dir.path(), options);
  vx::fs::SetDataRoot(dir.path());
  vx::common::G().percorso_db = drive.mainDbWindows;
  auto db = vx::db::Database::Open(drive.mainDbWindows);
  FillComparison(*db);

  const QString sql = vx::comparison::GridSelect() + vx::comparison::OrderByDescription();
  // Warm the file cache, then the bare query: every column of every row read as text.
  QElapsedTimer t;
  double bare = 1e9;
  long rows = 0;
  for (int pass = 0; pass < 3; ++pass) {
    t.start();
    vx::db::Statement st = db->Prepare(sql);
    rows = 0;
    while (st.Step()) {
      for (int c = 0; c < st.ColumnCount(); ++c) (void)st.Column(c).str();
      ++rows;
    }
    bare = std::min(bare, t.nsecsElapsed() / 1e6);
  }

  // The same rows through the data layer's record set, as a bound grid reads them.
  t.start();
  vx::db::DataControl dc;
  dc.DatabaseName = drive.mainDbWindows;
  dc.RecordSource = sql;
  dc.Refresh();
  const double open = t.nsecsElapsed() / 1e6;
  vx::db::Recordset* rs = dc.recordset();
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
    for (int f = 0; f < rs->FieldCount(); ++f) (void)rs->Field(f).str();
  }
  const double walk = t.nsecsElapsed() / 1e6;

  t.start();
  auto* w = vx::ui::Forms::Show<vx::comparison::cnf02>();
  const double load = t.nsecsElapsed() / 1e6;
  QCoreApplication::processEvents();

  t.start();
  w->cnf02_carica_griglia();
  const double marks = t.nsecsElapsed() / 1e6;

  t.start();
  w->Requery();
  QCoreApplication::processEvents();
  const double requery = t.nsecsElapsed() / 1e6;

  // The buttons that write many rows, each in one transaction.
  t.start();
  w->cnf02_Command1_Click();
  const double selectAll = t.nsecsElapsed() / 1e6;
  t.start();
  w->cnf02_Command5_Click();
  const double clear = t.nsecsElapsed() / 1e6;
  long marked = 0;
  {
    auto count = db->OpenRecordset("select count(*) from articoli where sel = 'X'");
    marked = long(count->Field(0).toLong());
  }

  std::printf("grid rows: %d (query rows %ld)\n", w->flex1->Rows() - 1, rows);
  std::printf("bare query, all columns read:  %8.1f ms\n", bare);
  std::printf("record set open / open and walk: %8.1f / %8.1f ms\n", open, walk);
  std::printf("cnf02 load (query+fill+marks): %8.1f ms\n", load);
  std::printf(
      "  of which the grid load (marks, colours, formats), the window's own work: %8.1f ms\n",
      marks);
  std::printf("requery (busy, refresh, fill, marks): %8.1f ms\n", requery);
  std::printf("ratio load / bare query: %.2f\n", load / bare);
  std::printf("select all (%d rows): %8.1f ms; clear packages: %8.1f ms (marked left: %ld)\n",
              kArticles, selectAll, clear, marked);
  vx::ui::Forms::UnloadAll();
  return 0;
}
