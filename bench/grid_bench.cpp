// Fills the grid with 50,000 rows of 27 columns from a SQLite file and prints the times:
// the data control's query alone, its refresh with the grid bound to it, and the grid's
// fill by walking the record set; against SQLite's bare query reading every cell as text.
// Checks that the grid holds the query's rows (their text columns, in order).
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "data/shipped_schema.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/flexgrid.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vx::ui::SetupApplication(app);
  constexpr int kRows = 50000;
  constexpr int kCols = 27;

  QTemporaryDir dir;
  const QString path = dir.filePath("grid.mdb");
  vx::data::CreateEmptyDatabaseFile(path);
  auto db = vx::db::Database::Open(path);
  QStringList columns, marks;
  for (int c = 0; c < kCols; ++c) {
    columns << QStringLiteral("[c%1] %2").arg(c).arg(c % 3 == 0 ? "text(30)" : "single");
    marks << QStringLiteral("?");
  }
  db->Execute(QStringLiteral("create table [articoli] (%1)").arg(columns.join(", ")));
  {
    vx::db::Statement insert =
        db->Prepare(QStringLiteral("insert into articoli values (%1)").arg(marks.join(",")));
    vx::db::Transaction tx(*db);
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        if (c % 3 == 0) {
          insert.Bind(c + 1, QStringLiteral("ARTICOLO %1-%2").arg(r).arg(c));
        } else {
          insert.Bind(c + 1, double(r % 1000) + c / 4.0);
        }
      }
      insert.Run();
    }
    tx.Commit();
  }

  // The bare query, warm (best of three), every cell read as text; then, untimed, the text
  // columns for the check of the grid.
  double bareMs = 1e18;
  for (int pass = 0; pass < 3; ++pass) {
    QElapsedTimer bare;
    bare.start();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db->handle(), "SELECT * FROM articoli", -1, &st, nullptr) != SQLITE_OK) {
      return 2;
    }
    std::size_t bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int c = 0; c < kCols; ++c) {
        (void)sqlite3_column_text(st, c);
        bytes += sqlite3_column_bytes(st, c);
      }
    }
    sqlite3_finalize(st);
    bareMs = std::min(bareMs, bare.nsecsElapsed() / 1e6);
    if (bytes == 0) return 2;
  }
  std::vector<QStringList> texts;
  {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db->handle(), "SELECT * FROM articoli", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
      QStringList row;
      for (int c = 0; c < kCols; c += 3) {
        row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
      }
      texts.push_back(row);
    }
    sqlite3_finalize(st);
  }

  vx::db::DataControl art;
  art.DatabaseName = path;
  art.RecordSource = QStringLiteral("SELECT * FROM articoli");
  QElapsedTimer t;
  t.start();
  art.Refresh();
  const qint64 queryMs = t.elapsed();

  vx::ui::FlexGrid grid;
  grid.SetDataSource(&art);
  t.restart();
  art.Refresh();
  const qint64 fillMs = t.elapsed();
  t.restart();
  grid.FillFrom(art.recordset());
  const qint64 walkMs = t.elapsed();

  long differ = 0;
  for (int r = 1; r < grid.Rows() && r <= int(texts.size()); ++r) {
    for (int c = 0, k = 0; c < kCols; c += 3, ++k) {
      if (grid.TextMatrix(r, c + 1) != texts[r - 1][k]) ++differ;
    }
  }
  const bool same = grid.Rows() == kRows + 1 && int(texts.size()) == kRows && differ == 0;

  std::printf("grid_bench: %d rows x %d columns (query rows %zu, cells that differ %ld)\n",
              grid.Rows() - 1, grid.Cols() - 1, texts.size(), differ);
  std::printf("  bare query, all cells read:   %.1f ms\n", bareMs);
  std::printf("  query (data control refresh): %lld ms\n", static_cast<long long>(queryMs));
  std::printf("  refresh with the bound grid:  %lld ms\n", static_cast<long long>(fillMs));
  std::printf("  grid fill walking the set:    %lld ms\n", static_cast<long long>(walkMs));
  std::printf("ratio: %.2f\n", fillMs / bareMs);
  return same ? 0 : 1;
}
