// The loader against bare SQL: four demo suppliers of N articles each (default 50,000)
// loaded into the comparison table and compared through the same functions the loader
// window calls, then the same `articoli` rows computed by set-wise SQL per slot (one UPDATE
// of the rows there, one INSERT of the new ones) and one UPDATE for the differences, on a
// copy of the same table with the same indexes. Prints both times and their ratio, and
// checks that both ways produce the same rows. Then the same for the three-supplier loader:
// suppliers 1 to 3 through its request and difference rule, against bare SQL computing the
// same rows. Each of the two prints its own ratio; the last line repeats the four-supplier
// one.
//
//   loader_bench [articles] [folder]
// With a folder, the data drive is made there once and reused by later runs.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_sql.h"
#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison3/three_supplier_load.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/paths.h"

namespace {

using bench::Exec;
using bench::Quoted;
using bench::Scalar;

using vx::common::ProgressSink;

// Yields as the window does, counting the yields.
class YieldingSink : public ProgressSink {
 public:
  void Yield() override {
    ++yields;
    QCoreApplication::processEvents();
  }
  int yields = 0;
};

// The comparison rows of one slot, the table keeping only the indexes the loader's has (no
// unique one on the EAN): the slot's rows staged with the own price (offer inside its period),
// the percentage and four decimals; rows already there take the cost of the EAN's last codean
// row, new rows the article data of its first one and the cost of its last, as the loader's
// row-by-row writing leaves them.
QStringList SlotSql(int slot, double percentage, int today) {
  const QString price =
      QStringLiteral(
          "CASE WHEN a.przoff IS NOT NULL AND a.przoff <> 0 AND a.data1 IS NOT NULL AND "
          "a.data2 IS NOT NULL AND CAST(a.data1 AS INTEGER) <= %1 AND %1 <= CAST(a.data2 AS "
          "INTEGER) THEN a.przoff ELSE a.przart END")
          .arg(today);
  const QString offer = QString(price).replace("THEN a.przoff ELSE a.przart", "THEN 'P' ELSE ' '");
  const QString n = QString::number(slot);
  return {
      QStringLiteral(
          "CREATE TEMP TABLE src AS SELECT substr('0000000000000' || trim(c.eanare), -13) AS "
          "ean, c.rowid AS r, a.desart, a.umart, a.imbart AS imballo, CASE WHEN "
          "length(trim(a.ivart)) = 1 THEN '0' || trim(a.ivart) ELSE a.ivart END AS ivart, "
          "round((%1) + (%1) * %2 / 100.0, 4) AS cost, %3 AS promo "
          "FROM s.codean c JOIN s.articolo a ON a.rowid = (SELECT min(rowid) FROM s.articolo "
          "WHERE codart = c.codare) "
          "WHERE c.eanare NOT LIKE '000000%' AND c.eanare NOT LIKE '000002%'")
          .arg(price, QString::number(percentage, 'g', 17), offer),
      QStringLiteral("CREATE INDEX temp.src_ean ON src (ean, r)"),
      QStringLiteral("CREATE TEMP TABLE last AS SELECT ean, max(r) AS r FROM src GROUP BY ean"),
      QStringLiteral(
          "UPDATE articoli SET tipoart = '1', forn%1 = %1, costo%1 = l.cost, promo%1 = l.promo "
          "FROM (SELECT s.ean, s.cost, s.promo FROM src s JOIN last USING (ean, r)) AS l "
          "WHERE articoli.vedovo = l.ean")
          .arg(n),
      QStringLiteral(
          "INSERT INTO articoli (vedovo, desart, umart, imballo, ivart, tipoart, forn%1, "
          "costo%1, promo%1) "
          "SELECT f.ean, f.desart, f.umart, f.imballo, f.ivart, '1', %1, l.cost, l.promo "
          "FROM src f JOIN last k ON k.ean = f.ean JOIN src l ON l.ean = k.ean AND l.r = k.r "
          "WHERE f.r = (SELECT min(r) FROM src WHERE ean = f.ean) AND NOT EXISTS (SELECT 1 "
          "FROM articoli WHERE vedovo = f.ean) ORDER BY f.r")
          .arg(n),
      QStringLiteral("DROP TABLE src"),
      QStringLiteral("DROP TABLE last"),
  };
}

QString DifferencesSql() {
  auto first = [](const QString& a, const QString& b) {
    return QStringLiteral(
               "CASE WHEN %2 IS NULL OR %2 = 0 OR %1 IS NULL THEN 0 ELSE "
               "round((%1 - %2) * 100.0 / %2, 2) END")
        .arg(a, b);
  };
  auto fourth = [](const QString& a) {
    return QStringLiteral(
               "CASE WHEN costo4 IS NULL OR costo4 = 0 OR %1 IS NULL OR %1 = 0 "
               "THEN 0 ELSE round((%1 - costo4) * 100.0 / costo4, 2) END")
        .arg(a);
  };
  return QStringLiteral(
             "UPDATE articoli SET colli1 = 0, colli2 = 0, colli3 = 0, colli4 = 0, diff12 = %1, "
             "diff23 = %2, diff31 = %3, diff14 = %4, diff24 = %5, diff34 = %6, ns = o.rn "
             "FROM (SELECT rowid AS r, row_number() OVER (ORDER BY desart, rowid) AS rn FROM "
             "articoli) AS o WHERE articoli.rowid = o.r")
      .arg(first("costo1", "costo2"), first("costo2", "costo3"), first("costo1", "costo3"),
           fourth("costo1"), fourth("costo2"), fourth("costo3"));
}

// The three-supplier loader's rows of one slot in bare SQL: existing rows get the code and
// cost, new rows the article's data too; no offer mark, no article type. Uses only the
// indexes the comparison table has.
QStringList ThreeSlotSql(int slot, double percentage, int today) {
  const QString price =
      QStringLiteral(
          "CASE WHEN a.przoff IS NOT NULL AND a.przoff <> 0 AND a.data1 IS NOT NULL AND "
          "a.data2 IS NOT NULL AND CAST(a.data1 AS INTEGER) <= %1 AND %1 <= CAST(a.data2 AS "
          "INTEGER) THEN a.przoff ELSE coalesce(a.przart, 0) END")
          .arg(today);
  const QString n = QString::number(slot);
  const QString source =
      QStringLiteral(
          "SELECT substr('0000000000000' || trim(c.eanare), -13) AS e, a.desart, a.umart, "
          "a.imbart, a.ivart, round((%1) + (%1) * %2 / 100.0, 4) AS cost "
          "FROM s.codean c JOIN s.articolo a ON a.rowid = (SELECT min(rowid) FROM "
          "s.articolo WHERE codart = c.codare) "
          "WHERE c.eanare NOT LIKE '000000%' AND c.eanare NOT LIKE '000002%'")
          .arg(price, QString::number(percentage, 'g', 17));
  return {QStringLiteral("UPDATE articoli SET forn%1 = %1, costo%1 = x.cost FROM (%2) AS x "
                         "WHERE articoli.vedovo = x.e")
              .arg(n, source),
          QStringLiteral(
              "INSERT INTO articoli (vedovo, desart, umart, imballo, ivart, forn%1, costo%1) "
              "SELECT e, desart, umart, imbart, CASE WHEN length(trim(ivart)) = 1 THEN '0' || "
              "trim(ivart) ELSE ivart END, %1, cost FROM (%2) AS x WHERE NOT EXISTS (SELECT 1 "
              "FROM articoli WHERE vedovo = x.e)")
              .arg(n, source)};
}

QString ThreeDifferencesSql() {
  auto diff = [](const QString& a, const QString& b) {
    return QStringLiteral(
               "CASE WHEN coalesce(%2, 0) = 0 THEN 1000 ELSE "
               "round((coalesce(%1, 0) - %2) * 100.0 / %2, 2) END")
        .arg(a, b);
  };
  return QStringLiteral(
             "UPDATE articoli SET colli1 = 0, colli2 = 0, colli3 = 0, diff12 = %1, diff23 = %2, "
             "diff31 = %3")
      .arg(diff("costo1", "costo2"), diff("costo2", "costo3"), diff("costo1", "costo3"));
}

// The three-supplier run on the same drive; true when both ways give the same rows.
bool RunThreeSuppliers(vx::db::Database& main, const QString& mainPath, const QDir& dir) {
  main.Execute(QStringLiteral("delete from articoli"));
  const QString baselinePath = dir.filePath(QStringLiteral("baseline3.mdb"));
  QFile::remove(baselinePath);
  if (!QFile::copy(mainPath, baselinePath)) return false;

  struct Slot {
    int code;
    double percentage;
    QString host;
  };
  std::vector<Slot> loaded;
  for (int n = 1; n <= 3; ++n) {
    vx::db::Statement st =
        main.Prepare(QStringLiteral("select perce, percorso from fornitori where codice = ?"));
    st.Bind(1, n);
    if (st.Step()) {
      loaded.push_back({n, st.Column(0).toDouble(), vx::fs::HostPath(st.Column(1).str())});
    }
    st.Reset();
  }
  YieldingSink sink;
  QElapsedTimer timer;
  timer.start();
  for (const Slot& s : loaded) {
    const qint64 start = timer.nsecsElapsed();
    const auto out = vx::comparison::LoadSupplier(
        main,
        vx::comparison3::ThreeSupplierLoad(QString::number(s.code), s.code, s.percentage, false,
                                           false),
        sink);
    if (!out.completed) {
      std::fprintf(stderr, "three-supplier slot %d did not load\n", s.code);
      return false;
    }
    std::printf("  three-supplier loader slot %d: %.0f ms\n", s.code,
                (timer.nsecsElapsed() - start) / 1e6);
  }
  const qint64 diffStart = timer.nsecsElapsed();
  vx::comparison::ComputeDifferences(main, sink, vx::comparison::ThreeSupplierDifferences());
  const double loaderMs = timer.nsecsElapsed() / 1e6;
  std::printf("  three-supplier loader differences: %.0f ms\n", loaderMs - diffStart / 1e6);

  sqlite3* base = nullptr;
  if (sqlite3_open(baselinePath.toUtf8().constData(), &base) != SQLITE_OK) return false;
  const int today = QDate(1899, 12, 30).daysTo(vx::Today());
  timer.restart();
  for (const Slot& s : loaded) {
    Exec(base, QStringLiteral("ATTACH %1 AS s").arg(Quoted(s.host)));
    Exec(base, QStringLiteral("BEGIN"));
    for (const QString& sql : ThreeSlotSql(s.code, s.percentage, today)) Exec(base, sql);
    Exec(base, QStringLiteral("COMMIT"));
    Exec(base, QStringLiteral("DETACH s"));
  }
  const qint64 baseDiffStart = timer.nsecsElapsed();
  Exec(base, QStringLiteral("BEGIN"));
  Exec(base, ThreeDifferencesSql());
  Exec(base, QStringLiteral("COMMIT"));
  const double baselineMs = timer.nsecsElapsed() / 1e6;
  std::printf("  three-supplier bare SQL slots: %.0f ms, differences: %.0f ms\n",
              baseDiffStart / 1e6, baselineMs - baseDiffStart / 1e6);

  Exec(base, QStringLiteral("ATTACH %1 AS m").arg(Quoted(mainPath)));
  const double rows = Scalar(base, "SELECT count(*) FROM articoli");
  const double loaderRows = Scalar(base, "SELECT count(*) FROM m.articoli");
  QString mismatch = QStringLiteral(
      "SELECT count(*) FROM articoli b LEFT JOIN m.articoli l ON l.vedovo = b.vedovo WHERE "
      "l.vedovo IS NULL OR l.ns IS NOT NULL OR l.tipoart IS NOT NULL OR l.forn4 IS NOT NULL "
      "OR coalesce(b.desart, '') <> coalesce(l.desart, '')");
  for (int j = 1; j <= 3; ++j) {
    mismatch += QStringLiteral(
                    " OR abs(coalesce(b.costo%1, -1) - coalesce(l.costo%1, -1)) > "
                    "1e-6 * max(1, abs(coalesce(b.costo%1, 0))) OR l.promo%1 IS NOT NULL "
                    "OR coalesce(b.forn%1, 0) <> coalesce(l.forn%1, 0) OR coalesce(l.colli%1, "
                    "-1) <> 0")
                    .arg(j);
  }
  for (const char* d : {"diff12", "diff23", "diff31"}) {
    mismatch += QStringLiteral(" OR abs(coalesce(b.%1, -1) - coalesce(l.%1, -1)) > 0.0101").arg(d);
  }
  const double different = Scalar(base, mismatch);
  sqlite3_close(base);

  std::printf(
      "three suppliers: %zu slots, comparison rows: %.0f (loader %.0f), rows that "
      "differ: %.0f\n",
      loaded.size(), rows, loaderRows, different);
  std::printf("three-supplier loader (%zu slots + differences): %.0f ms\n", loaded.size(),
              loaderMs);
  std::printf("three-supplier bare SQL baseline:          %.0f ms\n", baselineMs);
  std::printf("three-supplier ratio: %.2f\n", loaderMs / baselineMs);
  return rows == loaderRows && different == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int articles = argc > 1 ? std::atoi(argv[1]) : 50000;
  QTemporaryDir temp;
  const QString root = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
  if (argc <= 2 && !temp.isValid()) return 1;
  const QDir dir(root);

  vx::tools::DataDriveOptions options;
  options.demo = true;
  options.articles = articles;
  options.today = QDate::currentDate();
  options.demoFiles = false;  // the loaders read the databases only
  vx::fs::SetDataRoot(root);
  vx::tools::DataDrive drive;
  if (argc > 2 && QFile::exists(dir.filePath("drive.done"))) {
    drive.mainDb = vx::fs::HostPath(QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb"));
  } else {
    std::printf("making the demo data drive (%d articles per supplier) ...\n", articles);
    std::fflush(stdout);
    drive = vx::tools::MakeDataDrive(root, options);
    QFile done(dir.filePath("drive.done"));
    done.open(QIODevice::WriteOnly);
  }

  auto main = vx::db::Database::Open(drive.mainDb);
  main->Execute(QStringLiteral("delete from articoli"));
  const QString baselinePath = dir.filePath(QStringLiteral("baseline.mdb"));
  QFile::remove(baselinePath);
  if (!QFile::copy(drive.mainDb, baselinePath)) return 1;

  // Through the functions the window calls.
  struct Slot {
    int code;
    double percentage;
    QString host;
  };
  std::vector<Slot> loaded;
  for (int n = 1; n <= 4; ++n) {
    vx::db::Statement st =
        main->Prepare(QStringLiteral("select perce, percorso from fornitori where codice = ?"));
    st.Bind(1, n);
    if (st.Step()) {
      loaded.push_back({n, st.Column(0).toDouble(), vx::fs::HostPath(st.Column(1).str())});
    }
    st.Reset();
  }
  YieldingSink sink;
  QElapsedTimer timer;
  timer.start();
  for (const Slot& s : loaded) {
    vx::comparison::SlotLoad request;
    request.supplierCode = QString::number(s.code);
    request.slot = s.code;
    request.percentage = s.percentage;
    const qint64 start = timer.nsecsElapsed();
    const auto out = vx::comparison::LoadSupplier(*main, request, sink);
    if (!out.completed) {
      std::fprintf(stderr, "slot %d did not load\n", s.code);
      return 1;
    }
    std::printf("  loader slot %d: %d EANs, %.0f ms\n", s.code, out.eligible,
                (timer.nsecsElapsed() - start) / 1e6);
  }
  const qint64 diffStart = timer.nsecsElapsed();
  vx::comparison::ComputeDifferences(*main, sink);
  const double loaderMs = timer.nsecsElapsed() / 1e6;
  std::printf("  loader differences: %.0f ms\n", loaderMs - diffStart / 1e6);

  // Bare SQL on a copy of the same starting point.
  sqlite3* base = nullptr;
  if (sqlite3_open(baselinePath.toUtf8().constData(), &base) != SQLITE_OK) return 1;
  const int today = QDate(1899, 12, 30).daysTo(vx::Today());
  timer.restart();
  Exec(base, QStringLiteral("BEGIN"));
  for (const Slot& s : loaded) {
    Exec(base, QStringLiteral("ATTACH %1 AS s").arg(Quoted(s.host)));
    for (const QString& sql : SlotSql(s.code, s.percentage, today)) Exec(base, sql);
    Exec(base, QStringLiteral("COMMIT"));
    Exec(base, QStringLiteral("DETACH s"));
    Exec(base, QStringLiteral("BEGIN"));
  }
  const qint64 baseDiffStart = timer.nsecsElapsed();
  Exec(base, DifferencesSql());
  Exec(base, QStringLiteral("COMMIT"));
  const double baselineMs = timer.nsecsElapsed() / 1e6;
  std::printf("  bare SQL slots: %.0f ms, differences: %.0f ms\n", baseDiffStart / 1e6,
              baselineMs - baseDiffStart / 1e6);

  // Same rows: count, costs, offer marks, differences and running numbers.
  Exec(base, QStringLiteral("ATTACH %1 AS m").arg(Quoted(drive.mainDb)));
  const double rows = Scalar(base, "SELECT count(*) FROM articoli");
  const double loaderRows = Scalar(base, "SELECT count(*) FROM m.articoli");
  QString mismatch = QStringLiteral(
      "SELECT count(*) FROM articoli b LEFT JOIN m.articoli l ON l.vedovo = b.vedovo WHERE "
      "l.vedovo IS NULL OR coalesce(b.ns, -1) <> coalesce(l.ns, -1) OR coalesce(b.desart, '') "
      "<> coalesce(l.desart, '') OR coalesce(b.umart, '') <> coalesce(l.umart, '') OR "
      "coalesce(b.imballo, -1) <> coalesce(l.imballo, -1) OR coalesce(b.ivart, '') <> "
      "coalesce(l.ivart, '') OR coalesce(b.tipoart, '') <> coalesce(l.tipoart, '')");
  for (int j = 1; j <= 4; ++j) {
    mismatch += QStringLiteral(
                    " OR abs(coalesce(b.costo%1, -1) - coalesce(l.costo%1, -1)) > "
                    "1e-6 * max(1, abs(coalesce(b.costo%1, 0))) OR coalesce(b.promo%1, '') <> "
                    "coalesce(l.promo%1, '') OR coalesce(b.forn%1, 0) <> coalesce(l.forn%1, 0)")
                    .arg(j);
  }
  for (const char* d : {"diff12", "diff23", "diff31", "diff14", "diff24", "diff34"}) {
    mismatch += QStringLiteral(" OR abs(coalesce(b.%1, 0) - coalesce(l.%1, 0)) > 0.0101").arg(d);
  }
  const double different = Scalar(base, mismatch);
  const double checksumBase =
      Scalar(base,
             "SELECT round(sum(coalesce(costo1,0)+coalesce(costo2,0)+coalesce(costo3,0)+"
             "coalesce(costo4,0)), 2) FROM articoli");
  const double checksumLoader =
      Scalar(base,
             "SELECT round(sum(coalesce(costo1,0)+coalesce(costo2,0)+coalesce(costo3,0)+"
             "coalesce(costo4,0)), 2) FROM m.articoli");
  sqlite3_close(base);

  std::printf("suppliers: %zu x %d articles, comparison rows: %.0f (loader %.0f)\n", loaded.size(),
              articles, rows, loaderRows);
  std::printf("cost checksum: bare SQL %.2f, loader %.2f; rows that differ: %.0f\n", checksumBase,
              checksumLoader, different);
  std::printf("loader (4 slots + differences, %d yields): %.0f ms\n", sink.yields, loaderMs);
  std::printf("bare SQL baseline:                       %.0f ms\n", baselineMs);
  std::printf("four-supplier ratio: %.2f\n", loaderMs / baselineMs);
  const bool threeSame = RunThreeSuppliers(*main, drive.mainDb, dir);
  // The run's closing line: the four-supplier loader's ratio, as this benchmark has always
  // reported it.
  std::printf("ratio: %.2f\n", loaderMs / baselineMs);
  return (rows == loaderRows && different == 0 && threeSame) ? 0 : 3;
}
