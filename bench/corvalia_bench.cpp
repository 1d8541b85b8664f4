// The Corvalia text import against bare SQL: N lines of each file type (default 100,000)
// read and imported through the function the window calls, then the same catalogue rows
// written by bare prepared inserts and updates in one transaction. Prints both times and
// their ratio, and checks that both ways leave the same rows.
//
//   corvalia_bench [lines]
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "data/shipped_schema.h"
#include "demo_corvalia.h"
#include "ean13.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "pricelists/corvalia_import.h"

namespace {

using vx::common::ProgressSink;

// Yields as the window does.
class YieldingSink : public ProgressSink {
 public:
  void Yield() override {
    ++yields;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  int yields = 0;
};

const char* const kVats[] = {"04", "10", "22"};

QString Code(int i) { return QStringLiteral("%1").arg(i + 1, 9, 10, QLatin1Char('0')); }
QString Description(int i) { return QStringLiteral("ARTICOLO %1 CONFEZIONE DA 500G").arg(i + 1); }
qint64 Hundredths(int i) { return (static_cast<qint64>(i) * 37) % 100000 + 1; }
QString Ean(int i) {
  return vx::tools::Ean13(QStringLiteral("80%1").arg(i + 1, 10, 10, QLatin1Char('0')));
}
int Pack(int i) { return i % 24 + 1; }
QString Unit(int i) { return i % 2 ? QStringLiteral("PZ") : QStringLiteral("CT"); }

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    std::exit(2);
  }
}

sqlite3_stmt* Prep(sqlite3* db, const char* sql) {
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db, sql);
  return st;
}

void Run(sqlite3_stmt* st, sqlite3* db) {
  Check(sqlite3_step(st), db, sqlite3_sql(st));
  sqlite3_reset(st);
}

void BindText(sqlite3_stmt* st, int i, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  sqlite3_bind_text(st, i, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// The same rows by bare prepared statements: empty, insert the articles and barcodes,
// update the articles' complements by code.
void Bare(const QString& host, int n, const QString& desfor) {
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(host.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db,
        "open");
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "DELETE FROM articolo; DELETE FROM codean", nullptr, nullptr, nullptr);
  sqlite3_stmt* add = Prep(db,
                           "INSERT INTO articolo (codart, desart, przart, codafo, fl3art, "
                           "desgru, dessot, desfor, tipges, tipart, stato, marchio) VALUES (?, ?, "
                           "?, ?, 'Si', ' ', ' ', ?, 'M', 'S', ' ', ' ')");
  sqlite3_stmt* ean = Prep(db, "INSERT INTO codean (codare, eanare) VALUES (?, ?)");
  sqlite3_stmt* edit =
      Prep(db, "UPDATE articolo SET umart = ?, imbart = ?, ivart = ? WHERE codart = ?");
  for (int i = 0; i < n; ++i) {
    sqlite3_bind_int64(add, 1, i + 1);
    BindText(add, 2, Description(i).leftJustified(30, QLatin1Char(' '), true));
    sqlite3_bind_double(add, 3, static_cast<float>(Hundredths(i) / 100.0));
    BindText(add, 4, Code(i));
    BindText(add, 5, desfor);
    Run(add, db);
  }
  for (int i = 0; i < n; ++i) {
    sqlite3_bind_int64(ean, 1, i + 1);
    BindText(ean, 2, Ean(i));
    Run(ean, db);
  }
  for (int i = 0; i < n; ++i) {
    BindText(edit, 1, Unit(i));
    sqlite3_bind_int(edit, 2, Pack(i));
    sqlite3_bind_int(edit, 3, QString::fromLatin1(kVats[i % 3]).toInt());
    sqlite3_bind_int64(edit, 4, i + 1);
    Run(edit, db);
  }
  sqlite3_finalize(add);
  sqlite3_finalize(ean);
  sqlite3_finalize(edit);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_close(db);
}

QStringList Rows(const QString& host) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(host.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  QStringList out;
  for (const char* sql :
       {"SELECT codart, desart, przart, ivart, imbart, umart, desgru, dessot, tipges, tipart, "
        "codafo, fl3art, desfor, stato, marchio, typeof(przart), typeof(ivart) FROM articolo "
        "ORDER BY codart",
        "SELECT codare, eanare FROM codean ORDER BY codare, eanare"}) {
    sqlite3_stmt* st = Prep(db, sql);
    while (sqlite3_step(st) == SQLITE_ROW) {
      QString row;
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        row += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))) +
               QLatin1Char('|');
      }
      out << row;
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  QTemporaryDir temp;
  if (!temp.isValid() || n < 1) return 1;
  vx::fs::SetDataRoot(temp.path());
  const QString folder = QStringLiteral("C:\\Programmi\\tolmo\\corvalia\\");
  vx::fs::CreateFolder(folder);
  vx::fs::CreateFolder(QStringLiteral("C:\\corvalia"));
  const QString ours = vx::fs::HostPath(QStringLiteral("C:\\corvalia\\dati.mdb"));
  const QString bare = temp.path() + QStringLiteral("/bare.mdb");
  vx::data::CreateSupplierDatabase(ours);
  vx::data::CreateSupplierDatabase(bare);

  QStringList a, b, t;
  for (int i = 0; i < n; ++i) {
    b << vx::tools::CorvaliaLineB(Code(i), Description(i), Hundredths(i));
    t << vx::tools::CorvaliaLineT(Code(i), QLatin1Char('E'), Ean(i));
    a << vx::tools::CorvaliaLineA(Code(i), QString::fromLatin1(kVats[i % 3]), Unit(i), Pack(i));
  }
  vx::fs::WriteTextLines(folder + "A0101.TXT", a);
  vx::fs::WriteTextLines(folder + "B0101.TXT", b);
  vx::fs::WriteTextLines(folder + "T0101.TXT", t);
  const QString supplier = QStringLiteral("CORVALIA SPA");
  const QString desfor = supplier.leftJustified(35, QLatin1Char(' '), true);

  std::printf("importing %d lines of each type ...\n", n);
  std::fflush(stdout);
  QElapsedTimer timer;
  timer.start();
  YieldingSink sink;
  {
    vx::pricelists::CorvaliaFiles files{vx::pricelists::ReadCorvaliaFile(folder + "A0101.TXT"),
                                        vx::pricelists::ReadCorvaliaFile(folder + "B0101.TXT"),
                                        vx::pricelists::ReadCorvaliaFile(folder + "T0101.TXT")};
    auto target = vx::pricelists::OpenCorvaliaCatalogue(QStringLiteral("C:\\corvalia\\dati.mdb"));
    vx::pricelists::ImportCorvalia(*target, files, supplier, sink);
  }
  const double importMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

  timer.restart();
  Bare(bare, n, desfor);
  const double bareMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

  const QStringList mine = Rows(ours), theirs = Rows(bare);
  if (mine != theirs || mine.size() != 2 * n) {
    std::fprintf(stderr, "the two ways left different rows (%lld and %lld)\n",
                 static_cast<long long>(mine.size()), static_cast<long long>(theirs.size()));
    for (qsizetype i = 0; i < std::min(mine.size(), theirs.size()); ++i) {
      if (mine[i] != theirs[i]) {
        std::fprintf(stderr, "first difference:\n  %s\n  %s\n", qPrintable(mine[i]),
                     qPrintable(theirs[i]));
        break;
      }
    }
    return 1;
  }
  std::printf("import: %.1f ms (%d yields)\nbare:   %.1f ms\nsame rows: %lld\n", importMs,
              sink.yields, bareMs, static_cast<long long>(mine.size()));
  std::printf("ratio: %.2f\n", importMs / bareMs);
  return 0;
}
