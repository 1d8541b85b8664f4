// The terminal imports against a comparison table of M rows (default 50,000): a PDT file of
// N lines (default 5,000), a PDT6100 file of N readings and a General Code 630 file of N
// lines, one in fifty codes missing from the table and, in the last two, one quantity in
// twenty of 0. Each goes through the windows' engine (the file read once, parsed by the
// window's record rule, applied by ApplyReadings) and through bare prepared select and update
// statements in one transaction, each way on its own copy of the same starting database.
// Both ways must leave the same rows. Prints the best of three times of each way and their
// ratio per file, and ends with the highest ratio.
//
//   terminal_bench [lines] [rows]
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/locale_it.h"
#include "platform/paths.h"
#include "terminals/terminal_import.h"
#include "terminals/terminal_rules.h"

namespace {

using vx::Variant;
using vx::terminals::Reading;

QString Ean(qint64 n) { return QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

constexpr qint64 kFirstEan = 8000000000000LL;

// The code and quantity of reading i (from 1) of a file of `lines` over `rows` rows.
QString CodeOf(int i, int lines, int rows) {
  if (i % 50 == 0) return Ean(7000000000000LL + i);  // not in the table
  // Every code twice or more in the file, so that the readings meet rows they wrote.
  const int spread = std::max(1, rows / std::max(1, lines / 2));
  return Ean(kFirstEan + 1 + qint64((i % (lines / 2 + 1)) * spread % rows));
}

// The rows of the comparison table as a text, for comparing two databases.
QString Dump(const QString& path) {
  auto db = vx::db::Database::Open(path);
  auto st = db->PrepareNative(QStringLiteral(
      "SELECT vedovo, colli1, colli2, colli3, colli4, sel, sequenza FROM articoli ORDER BY "
      "vedovo"));
  QString out;
  while (st.Step()) {
    for (int c = 0; c < 7; ++c) out += st.Column(c).str() + QLatin1Char('|');
    out += QLatin1Char('\n');
  }
  st.Reset();
  return out;
}

// The bare way: prepared statements over the rows, one transaction.
void Bare(const QString& path, const std::vector<Reading>& readings,
          const vx::terminals::ImportRule& rule) {
  auto db = vx::db::Database::Open(path);
  vx::db::Transaction tx(*db);
  QStringList columns, sets;
  for (int n = 1; n <= rule.slotCount; ++n) {
    columns << QStringLiteral("costo%1").arg(n) << QStringLiteral("colli%1").arg(n);
    sets << QStringLiteral("colli%1 = ?%2").arg(n).arg(n);
  }
  auto select = db->PrepareNative(QStringLiteral("SELECT rowid, %1 FROM articoli WHERE vedovo = ?1")
                                      .arg(columns.join(QStringLiteral(", "))));
  const int k = rule.slotCount;
  auto update = db->PrepareNative(
      QStringLiteral("UPDATE articoli SET %1, sel = 'X', sequenza = coalesce(?%2, sequenza) "
                     "WHERE rowid = ?%3")
          .arg(sets.join(QStringLiteral(", ")))
          .arg(k + 1)
          .arg(k + 2));
  qint32 number = 0;
  for (const Reading& r : readings) {
    if (rule.skipZero && r.quantity == 0) continue;
    ++number;
    select.Reset().Bind(1, Variant(r.key));
    if (!select.Step()) continue;
    const qint64 rowid = sqlite3_column_int64(select.handle(), 0);
    std::array<Variant, 4> costs, packages;
    for (int n = 0; n < k; ++n) {
      costs[n] = select.Column(1 + 2 * n);
      packages[n] = select.Column(2 + 2 * n);
    }
    select.Reset();
    const vx::terminals::PackageWrites w = rule.slotRule(costs, packages, r.quantity);
    for (int n = 0; n < k; ++n) {
      // Whole-number columns: the value as the record set would store it.
      update.Bind(n + 1, w[n] ? Variant(qint32(vx::RoundHalfEven(*w[n]))) : packages[n]);
    }
    update.Bind(k + 1, rule.numbered ? Variant(number) : Variant::null());
    sqlite3_bind_int64(update.handle(), k + 2, rowid);
    update.Run();
  }
  tx.Commit();
}

struct Case {
  const char* name;
  QStringList lines;
  std::function<std::vector<Reading>(const QStringList&)> parse;
  vx::terminals::ImportRule rule;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vx::InstallItalianLocale();
  const int lines = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int rows = argc > 2 ? std::atoi(argv[2]) : 50000;
  QTemporaryDir dir;
  if (!dir.isValid() || lines < 2 || rows < 1) return 1;
  vx::fs::SetDataRoot(dir.path());

  std::printf("making a comparison table of %d rows and files of %d readings ...\n", rows, lines);
  std::fflush(stdout);
  const QString basePath = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  vx::data::CreateMainDatabase(vx::fs::HostPath(basePath), QStringLiteral("BENCH"));
  vx::data::inserisco_nuovi_campi_bancaean(basePath);
  {
    auto db = vx::db::Database::Open(basePath);
    vx::db::Transaction t(*db);
    auto row = db->Prepare(QStringLiteral(
        "insert into articoli (vedovo, desart, sel, costo1, costo2, costo3, costo4, colli1, "
        "colli2, colli3, colli4, sequenza) values (?, 'ARTICOLO', ' ', ?, ?, ?, ?, 0, 0, 0, 0, "
        "0)"));
    for (int i = 1; i <= rows; ++i) {
      // Costs that make every slot the cheapest now and then, with ties and missing ones.
      row.Reset().Bind(1, Ean(kFirstEan + i));
      for (int n = 0; n < 4; ++n) row.Bind(2 + n, double((i * (n + 3)) % 7) / 2);
      row.Run();
    }
    t.Commit();
  }

  QStringList pdt, gc630;
  QString first = QString(104, QLatin1Char('h'));
  for (int i = 1; i <= lines; ++i) {
    const QString code = CodeOf(i, lines, rows);
    const QString q = QString::number(i % 20 == 0 ? 0 : 1 + i % 9);
    pdt << QString(19, QLatin1Char('x')) + code + q.leftJustified(6) + QStringLiteral("resto");
    first += code + q.leftJustified(7) + QStringLiteral("..");
    gc630 << code + q.leftJustified(8) + QStringLiteral("fine");
  }
  const auto perLine = [](Reading (*parse)(const QString&)) {
    return [parse](const QStringList& l) {
      std::vector<Reading> out;
      out.reserve(size_t(l.size()));
      for (const QString& line : l) out.push_back(parse(line));
      return out;
    };
  };
  std::vector<Case> cases = {
      {"PDT", pdt,
       [](const QStringList& l) {
         std::vector<Reading> out;
         for (const QString& line : l)
           out.push_back(vx::terminals::FixedColumnsReading(line, 20, 33));
         return out;
       },
       vx::terminals::ThreeSlotImport(false)},
      {"PDT6100",
       {first},
       [](const QStringList& l) { return vx::terminals::Pdt6100Readings(l.value(0)); },
       vx::terminals::AccumulatingImport()},
      {"General Code 630", gc630, perLine(vx::terminals::GeneralCode630Reading),
       vx::terminals::AccumulatingImport()},
  };

  constexpr int kRounds = 3;
  double worst = 0;
  int copy = 0;
  for (const Case& c : cases) {
    const QString file = QStringLiteral("C:\\bench\\%1.txt").arg(copy);
    vx::fs::CreateFolder(QStringLiteral("C:\\bench"));
    vx::fs::WriteTextLines(file, c.lines);
    double engineMs = 1e18, bareMs = 1e18;
    QString engineRows, bareRows;
    for (int round = 0; round < kRounds; ++round) {
      const QString enginePath = QStringLiteral("C:\\bench\\engine%1.mdb").arg(++copy);
      const QString barePath = QStringLiteral("C:\\bench\\bare%1.mdb").arg(copy);
      QFile::copy(vx::fs::HostPath(basePath), vx::fs::HostPath(enginePath));
      QFile::copy(vx::fs::HostPath(basePath), vx::fs::HostPath(barePath));

      QElapsedTimer timer;
      timer.start();
      {
        const QStringList read = *vx::fs::ReadTextLines(file);
        auto db = vx::db::Database::Open(enginePath);
        vx::terminals::ApplyReadings(*db, c.parse(read), qint32(read.size()), c.rule, nullptr);
      }
      engineMs = std::min(engineMs, timer.nsecsElapsed() / 1e6);

      timer.start();
      {
        const QStringList read = *vx::fs::ReadTextLines(file);
        Bare(barePath, c.parse(read), c.rule);
      }
      bareMs = std::min(bareMs, timer.nsecsElapsed() / 1e6);
      if (round == 0) {
        engineRows = Dump(enginePath);
        bareRows = Dump(barePath);
      }
    }
    if (engineRows != bareRows) {
      std::fprintf(stderr, "%s: the engine and the bare statements left different rows\n", c.name);
      return 1;
    }
    const double ratio = engineMs / bareMs;
    worst = std::max(worst, ratio);
    std::printf("%s, %d readings: engine %.1f ms, bare statements %.1f ms, ratio %.2f\n", c.name,
                lines, engineMs, bareMs, ratio);
  }
  std::printf("ratio: %.2f\n", worst);
  return 0;
}
