// The VARU import against a bare baseline: a workbook of N article rows (default 50,000; a
// group row every 500) in each format, half of its codes already in the catalogue, imported
// through the function the window's "Importa" calls; then the same rows read by the same
// reader and written by bare prepared statements (one lookup and one insert or update a
// row, one transaction). Prints the reader's time per format, both times and their ratio.
//
//   varu_import_bench [rows]
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "common/shared_values.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/paths.h"
#include "platform/workbook/workbook.h"
#include "pricelists/varu_import.h"
#include "workbook_writer.h"

namespace {

using namespace vx;

tools::BookSheet Sheet(int rows) {
  tools::BookSheet s{QStringLiteral("1"), {}};
  s.cells.push_back({1, 5, QStringLiteral("LISTINO DI PROVA")});
  int r = 1;
  for (int i = 0; i < rows; ++i) {
    ++r;
    if (i % 500 == 0) {
      s.cells.push_back({r, 2, QStringLiteral("GRUPPO %1").arg(i / 500)});
      s.cells.push_back({r, 20, double(i / 500 + 1)});
      s.cells.push_back({r, 22, 1.0});
      ++r;
    }
    s.cells.push_back({r, 5, double(i + 1)});
    s.cells.push_back({r, 6, QStringLiteral("ARTICOLO %1 ").arg(i + 1)});
    s.cells.push_back({r, 7, QStringLiteral("CONFEZIONE DA %1").arg(6 + i % 4)});
    s.cells.push_back({r, 9, 1.0 + (i % 997) / 100.0});
    if (i % 10 == 0) {
      s.cells.push_back({r, 11, 0.9 + (i % 997) / 100.0});
      s.cells.push_back({r, 12, QStringLiteral("01/03/2026")});
      s.cells.push_back({r, 13, QStringLiteral("31/03/2026")});
    }
    s.cells.push_back({r, 15, 2.0 + (i % 997) / 100.0});
    s.cells.push_back({r, 17, i % 3 ? 22.0 : 4.0});
    s.cells.push_back({r, 20, 8000000000000.0 + i});
    s.cells.push_back({r, 22, double(6 + i % 4)});
  }
  return s;
}

void Prepare(sqlite3* db, int half) {
  sqlite3_exec(db, "delete from articolo; delete from gruppi", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "insert into articolo (codart, ea1art, przart, przoff) values (?, '', 1, 1)",
                     -1, &st, nullptr);
  for (int i = 1; i <= half; ++i) {
    sqlite3_bind_int(st, 1, i * 2);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

// The same rows through the same reader, written by bare statements.
void Baseline(sqlite3* db, const QString& path) {
  auto book = workbook::Workbook::Open(path);
  const workbook::Sheet& s = book->SheetNamed(QStringLiteral("1"));
  sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "update articolo set przoff = 0, data1 = 0, data2 = 0", nullptr, nullptr,
               nullptr);
  sqlite3_stmt *find = nullptr, *ins = nullptr, *upd = nullptr;
  sqlite3_prepare_v2(db, "select 1 from articolo where codart = ?", -1, &find, nullptr);
  sqlite3_prepare_v2(db,
                     "insert into articolo (codart, ea1art, ivart, imbart, desart, przart, umart, "
                     "przoff, przpub) values (?,?,?,?,?,?,?,?,?)",
                     -1, &ins, nullptr);
  sqlite3_prepare_v2(
      db,
      "update articolo set ivart = ?, imbart = ?, desart = ?, przart = ?, umart = ?, "
      "przoff = ?, przpub = ? where codart = ?",
      -1, &upd, nullptr);
  for (int r = 1; r <= s.LastRow(); ++r) {
    const double pack = s.Cell(r, 22).isNumber() ? s.Cell(r, 22).toDouble() : 0;
    const double code = s.Cell(r, 5).isNumber() ? s.Cell(r, 5).toDouble() : 0;
    if (pack == 0 || code == 0) continue;
    const QByteArray desc = (s.Cell(r, 6).str() + s.Cell(r, 7).str()).toUtf8();
    const QByteArray ean =
        QByteArray::number(qint64(s.Cell(r, 20).toDouble())).rightJustified(13, '0');
    sqlite3_bind_int64(find, 1, qint64(code));
    const bool exists = sqlite3_step(find) == SQLITE_ROW;
    sqlite3_reset(find);
    sqlite3_stmt* st = exists ? upd : ins;
    int i = 1;
    if (!exists) {
      sqlite3_bind_int64(st, i++, qint64(code));
      sqlite3_bind_text(st, i++, ean.constData(), -1, SQLITE_TRANSIENT);
    }
    sqlite3_bind_text(st, i++, s.Cell(r, 17).toDouble() < 10 ? "04" : "22", -1, SQLITE_STATIC);
    sqlite3_bind_int(st, i++, int(pack));
    sqlite3_bind_text(st, i++, desc.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(st, i++, s.Cell(r, 9).toDouble());
    sqlite3_bind_text(st, i++, "CT", -1, SQLITE_STATIC);
    sqlite3_bind_double(st, i++, s.Cell(r, 11).isNumber() ? s.Cell(r, 11).toDouble() : 0);
    sqlite3_bind_double(st, i++, s.Cell(r, 15).toDouble());
    if (exists) sqlite3_bind_int64(st, i++, qint64(code));
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(find);
  sqlite3_finalize(ins);
  sqlite3_finalize(upd);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 50000;
  QTemporaryDir dir;
  fs::SetDataRoot(dir.path());
  SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 0)); });
  fs::CreateFolder(QStringLiteral("C:\\varu"));
  auto database = data::CreateSupplierDatabase(fs::HostPath(QStringLiteral("C:\\varu\\dati.mdb")));
  sqlite3* db = database->handle();
  const tools::BookSheet sheet = Sheet(rows);

  double importTotal = 0, baseTotal = 0;
  for (const char* name : {"listino.xlsx", "listino.xls"}) {
    const QString path = fs::HostPath(QStringLiteral("C:\\varu\\") + QString::fromLatin1(name));
    const bool xls = QString::fromLatin1(name).endsWith(QLatin1String(".xls"));
    if (!(xls ? tools::WriteXls(path, {sheet}) : tools::WriteXlsx(path, {sheet}))) return 2;

    QElapsedTimer t;
    t.start();
    {
      auto book = workbook::Workbook::Open(path);
      (void)book->SheetNamed(QStringLiteral("1")).CellCount();
    }
    const double reader = t.nsecsElapsed() / 1e9;

    Prepare(db, rows / 2);
    pricelists::ImportRequest request;
    request.numfatw = QString::fromLatin1(name);
    request.inizw = QStringLiteral("1");
    request.finew = QString::number(rows + rows / 500 + 2);
    t.restart();
    const pricelists::ImportResult result = pricelists::ImportVaru(request, nullptr);
    const double import = t.nsecsElapsed() / 1e9;
    if (!result.completed || !result.skipped.isEmpty()) {
      std::fprintf(stderr, "import failed: %s %s\n", qPrintable(result.failure),
                   qPrintable(result.skipped.join(QLatin1Char('\n'))));
      return 2;
    }

    Prepare(db, rows / 2);
    t.restart();
    Baseline(db, path);
    const double base = t.nsecsElapsed() / 1e9;
    std::printf("%s: reader %.3f s, import %.3f s, baseline %.3f s, ratio %.2f\n", name, reader,
                import, base, import / base);
    importTotal += import;
    baseTotal += base;
  }
  std::printf("%d rows per workbook; import %.3f s, baseline %.3f s\n", rows, importTotal,
              baseTotal);
  std::printf("ratio: %.2f\n", importTotal / baseTotal);
  return 0;
}
