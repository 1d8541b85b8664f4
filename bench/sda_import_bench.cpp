// The SDA import against a bare baseline: a workbook of N article rows (default 40,000; a new
// group every 400 rows) as .xls and a listino.txt of N lines naming every code, imported
// through the function the window's "Importa" calls; then the same rows read by the same
// reader and the same lines written by bare prepared statements (empty the tables; per row a
// group lookup, an article lookup and insert, an EAN lookup and insert; per line a price
// update; one transaction). Prints both times and their ratio.
//
//   sda_import_bench [rows]
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/workbook/workbook.h"
#include "pricelists/sda_import.h"
#include "workbook_writer.h"

namespace {

using namespace vx;

tools::BookSheet Sheet(int rows) {
  tools::BookSheet s{QStringLiteral("foglio1"), {}};
  s.cells.push_back({1, 1, QStringLiteral("LISTINO DI PROVA")});
  for (int i = 0; i < rows; ++i) {
    const int r = i + 2;
    s.cells.push_back({r, 1, double(i + 1)});
    s.cells.push_back({r, 2, 8000000000000.0 + i});
    s.cells.push_back({r, 3, QStringLiteral("ARTICOLO %1 CONFEZIONE DA %2").arg(i + 1).arg(6)});
    s.cells.push_back({r, 4, QStringLiteral("%1 GRUPPO").arg(100 + i / 400)});
    s.cells.push_back({r, 6, 1.0 + (i % 997) / 100.0});
    s.cells.push_back({r, 8, i % 3 ? 22.0 : 4.0});
    s.cells.push_back({r, 9, double(6 + i % 4)});
  }
  return s;
}

QStringList Lines(int rows) {
  QStringList lines;
  for (int i = 0; i < rows; ++i) {
    QString l(140, QLatin1Char(' '));
    l.replace(54, 6, QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')));
    l.replace(115, 7,
              QStringLiteral("%1,%2").arg(1 + i % 90, 4).arg(i % 100, 2, 10, QLatin1Char('0')));
    l.replace(132, 5, QStringLiteral("%1").arg(i % 20, 5));
    lines << l;
  }
  return lines;
}

void Baseline(sqlite3* db, const QString& path, const QStringList& lines) {
  sqlite3_exec(db, "begin; delete from articolo; delete from codean; delete from gruppi", nullptr,
               nullptr, nullptr);
  auto book = workbook::Workbook::Open(path);
  const workbook::Sheet& s = book->SheetNamed(QStringLiteral("foglio1"));
  sqlite3_stmt *gfind, *gadd, *afind, *aadd, *efind, *eadd, *upd;
  sqlite3_prepare_v2(db, "select 1 from gruppi where codice = ?", -1, &gfind, nullptr);
  sqlite3_prepare_v2(db, "insert into gruppi (codice, descrizione) values (?, ?)", -1, &gadd,
                     nullptr);
  sqlite3_prepare_v2(db, "select 1 from articolo where codart = ?", -1, &afind, nullptr);
  sqlite3_prepare_v2(db,
                     "insert into articolo (codart, ea1art, ivart, imbart, desart, przart, "
                     "desgru, tipges, umart, codrep) values (?, ?, ?, ?, ?, ?, ?, 'M', 'CT', ?)",
                     -1, &aadd, nullptr);
  sqlite3_prepare_v2(db, "select 1 from codean where eanare = ?", -1, &efind, nullptr);
  sqlite3_prepare_v2(db, "insert into codean (codare, eanare) values (?, ?)", -1, &eadd, nullptr);
  sqlite3_prepare_v2(db, "update articolo set przart = ? where codart = ?", -1, &upd, nullptr);
  const int last = s.LastRow();
  for (int r = 2; r <= last; ++r) {
    const qint64 code = qint64(s.Cell(r, 1).toDouble());
    const int group = s.Cell(r, 4).str().left(3).toInt();
    const QByteArray groupText = ("GRUPPO " + s.Cell(r, 4).str().left(3)).toUtf8();
    sqlite3_bind_int(gfind, 1, group);
    if (sqlite3_step(gfind) != SQLITE_ROW) {
      sqlite3_bind_int(gadd, 1, group);
      sqlite3_bind_text(gadd, 2, groupText.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_step(gadd);
      sqlite3_reset(gadd);
    }
    sqlite3_reset(gfind);
    const QByteArray ean =
        QString::number(qint64(s.Cell(r, 2).toDouble())).rightJustified(13, '0').toUtf8();
    sqlite3_bind_int64(afind, 1, code);
    if (sqlite3_step(afind) != SQLITE_ROW) {
      const QByteArray desc = s.Cell(r, 3).str().toUtf8();
      const double p = float(s.Cell(r, 6).toDouble());
      sqlite3_bind_int64(aadd, 1, code);
      sqlite3_bind_text(aadd, 2, ean.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(aadd, 3, s.Cell(r, 8).toDouble() < 10 ? "04" : "22", -1, SQLITE_STATIC);
      sqlite3_bind_int(aadd, 4, int(s.Cell(r, 9).toDouble()));
      sqlite3_bind_text(aadd, 5, desc.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_double(aadd, 6, float(RoundHalfEven((p - p * 0.05) * 10000) / 10000));
      sqlite3_bind_text(aadd, 7, groupText.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(aadd, 8, group);
      sqlite3_step(aadd);
      sqlite3_reset(aadd);
    }
    sqlite3_reset(afind);
    sqlite3_bind_text(efind, 1, ean.constData(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(efind) != SQLITE_ROW) {
      sqlite3_bind_int64(eadd, 1, code);
      sqlite3_bind_text(eadd, 2, ean.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_step(eadd);
      sqlite3_reset(eadd);
    }
    sqlite3_reset(efind);
  }
  for (const QString& l : lines) {
    const double price = ParseRegional(l.mid(115, 7)).value_or(0);
    sqlite3_bind_double(upd, 1, price - price * Val(l.mid(132, 5)) / 100);
    sqlite3_bind_int64(upd, 2, l.mid(54, 6).toLongLong());
    sqlite3_step(upd);
    sqlite3_reset(upd);
  }
  for (sqlite3_stmt* st : {gfind, gadd, afind, aadd, efind, eadd, upd}) sqlite3_finalize(st);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 40000;
  QTemporaryDir dir;
  fs::SetDataRoot(dir.path());
  SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(10, 0)); });
  fs::CreateFolder(QStringLiteral("C:\\sda"));
  auto database = data::CreateSupplierDatabase(fs::HostPath(QStringLiteral("C:\\sda\\dati.mdb")));
  const QString path = fs::HostPath(QStringLiteral("C:\\sda\\listino.xls"));
  if (!tools::WriteXls(path, {Sheet(rows)})) return 2;
  const QStringList lines = Lines(rows);
  if (!fs::WriteTextLines(QStringLiteral("C:\\sda\\listino.txt"), lines)) return 2;

  pricelists::ImportRequest request;
  request.numfatw = QStringLiteral("listino.xls");
  request.inizw = QStringLiteral("1");
  request.finew = QString::number(rows + 1);
  QElapsedTimer t;
  t.start();
  const pricelists::ImportResult result = pricelists::ImportSda(request, nullptr);
  const double import = t.nsecsElapsed() / 1e9;
  if (!result.completed || !result.skipped.isEmpty()) {
    std::fprintf(stderr, "import failed: %s %s\n", qPrintable(result.failure),
                 qPrintable(result.skipped.mid(0, 5).join(QLatin1Char('\n'))));
    return 2;
  }
  t.restart();
  Baseline(database->handle(), path, *fs::ReadTextLines(QStringLiteral("C:\\sda\\listino.txt")));
  const double base = t.nsecsElapsed() / 1e9;
  std::printf("%d rows and lines: import %.3f s, baseline %.3f s\n", rows, import, base);
  std::printf("ratio: %.2f\n", import / base);
  return 0;
}
