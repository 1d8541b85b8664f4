// The purchase order of one supplier slot: N order lines (default 5,000) written against a
// catalogue of M articles (default 50,000), nearly a fifth of the lines going through a
// conversion row with an alternative EAN and one line in fifty missing from the catalogue
// (no conversion row either, so that it is written as the missing article). Then the same
// order written by one INSERT ... SELECT on a copy of the supplier's database taken before.
// Each way writes it three times; prints the best times and their ratio, and checks that
// both ways wrote the same lines. Then the three-supplier order of the same rows for slot 2,
// one line in fifty priced from the store's own list `listi01`, the same two ways.
//
//   orders_bench [lines] [articles]
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bench_sql.h"
#include "common/shared_values.h"
#include "comparison/cnf02_query.h"
#include "comparison/orders.h"
#include "comparison3/orders3.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/locale_it.h"
#include "platform/paths.h"

namespace {

using bench::Exec;
using bench::Quoted;
using bench::Scalar;

class NewOrderPrompts : public vx::comparison::OrderPrompts {
 public:
  bool AskNewOrder() override { return true; }
  void MissingDatabase(const QString& path) override {
    std::fprintf(stderr, "missing database %s\n", qPrintable(path));
  }
  void OrderFailed(const QString&, const QString&, const QString& reason) override {
    std::fprintf(stderr, "order failed: %s\n", qPrintable(reason));
  }
};

QString Ean(qint64 n) { return QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

// Slot 1's order in bare SQL: every comparison row with packages, in type and reading order;
// the first conversion row of its EAN names the EAN the supplier lists and converts the cost
// back; an EAN the catalogue lacks gives the missing article's line.
QString OrderLinesSql(int year, int numero) {
  return QStringLiteral(
             "INSERT INTO movimenti (bannoc, bnumer, bns, articoli, prezzo, descrizione, unitaM, "
             "imballo, quantita, iva, eanrig, colli, totrig, desfor, desgru) "
             "WITH r AS (SELECT a.vedovo AS ean0, a.imballo, a.ivart, a.costo1 AS cost, "
             "round(a.colli1, 2) AS pk, row_number() OVER (ORDER BY a.tipoart, a.sequenza) AS "
             "bns FROM m.articoli a WHERE a.colli1 > 0 AND a.colli1 IS NOT NULL), "
             "c AS (SELECT r.*, v.eanalternativo AS alt, v.fatconv AS f, v.azione AS act FROM r "
             "LEFT JOIN m.eanconv v ON v.rowid = (SELECT rowid FROM m.eanconv WHERE ean = r.ean0 "
             "ORDER BY codfor LIMIT 1)), "
             "e AS (SELECT c.*, CASE WHEN trim(coalesce(alt, '')) <> '' THEN alt ELSE ean0 END "
             "AS ean FROM c), "
             "k AS MATERIALIZED (SELECT e.*, (SELECT codare FROM codean WHERE eanare = e.ean ORDER "
             "BY rowid "
             "LIMIT 1) AS codare FROM e), "
             "p AS (SELECT k.*, (SELECT desart FROM articolo WHERE codart = k.codare ORDER BY "
             "rowid LIMIT 1) AS desart, CASE WHEN k.codare IS NULL THEN 0 WHEN f IS NULL OR f = "
             "0 THEN round(cost, 2) WHEN act = 'M' THEN round(cost / f, 2) ELSE round(cost * f, "
             "2) END AS price FROM k) "
             "SELECT %1, %2, bns, coalesce(codare, 999999), price, CASE WHEN codare IS NULL THEN "
             "'AAAAA !!!! articolo inesistente' ELSE substr(desart, 1, 30) END, 'CT', imballo, "
             "pk, ivart, ean, imballo * pk, round(imballo * pk * price, 2), ' ', ' ' FROM p "
             "ORDER BY bns")
      .arg(year)
      .arg(numero);
}

// The three-supplier order of slot 2 in bare SQL: the rows in the table's order, the cost
// where the catalogue holds the article, else the store's cost of the lowest code, else 0.
QString ThreeSupplierLinesSql(int year, int numero) {
  return QStringLiteral(
             "INSERT INTO movimenti (bannoc, bnumer, bns, articoli, prezzo, descrizione, unitaM, "
             "imballo, quantita, iva, eanrig, colli, totrig, desfor, desgru) "
             "WITH r AS (SELECT a.vedovo AS ean, a.imballo, a.ivart, a.costo2 AS cost, "
             "round(a.colli2, 2) AS pk, a.umart, a.desart, row_number() OVER (ORDER BY a.rowid) "
             "AS bns FROM m.articoli a WHERE a.colli2 > 0 AND a.colli2 IS NOT NULL), "
             "k AS MATERIALIZED (SELECT r.*, (SELECT codare FROM codean WHERE eanare = r.ean "
             "ORDER BY rowid LIMIT 1) AS codare FROM r), "
             "p AS (SELECT k.*, CASE WHEN EXISTS (SELECT 1 FROM articolo WHERE codart = "
             "k.codare) THEN k.codare END AS art FROM k), "
             "q AS (SELECT p.*, CASE WHEN art IS NOT NULL THEN round(cost, 2) ELSE "
             "round(coalesce((SELECT l.cobart FROM m.listi01 l JOIN m.codean e ON l.codart = "
             "e.codare WHERE e.eanare = p.ean ORDER BY l.codart LIMIT 1), 0), 2) END AS price "
             "FROM p) "
             "SELECT %1, %2, bns, coalesce(art, 0), price, substr(desart, 1, 30), umart, imballo, "
             "pk, ivart, ean, imballo * pk, round(imballo * pk * price, 2), ' ', ' ' FROM q "
             "ORDER BY bns")
      .arg(year)
      .arg(numero);
}

// The count of lines of the order database attached as o that differ from the bare SQL ones
// of the open database, or that it lacks.
double DifferingLines(sqlite3* base) {
  auto differ = [](const char* c) {
    return QStringLiteral(" OR abs(coalesce(b.%1, -1) - coalesce(l.%1, -1)) > 0.001").arg(c);
  };
  auto textDiffers = [](const char* c) {
    return QStringLiteral(" OR coalesce(b.%1, '') <> coalesce(l.%1, '')").arg(c);
  };
  QString mismatch = QStringLiteral(
      "SELECT count(*) FROM movimenti b LEFT JOIN o.movimenti l ON l.bannoc = b.bannoc AND "
      "l.bnumer = b.bnumer AND l.bns = b.bns WHERE l.bns IS NULL");
  for (const char* c : {"articoli", "prezzo", "imballo", "quantita", "colli", "totrig"}) {
    mismatch += differ(c);
  }
  for (const char* c : {"descrizione", "unitaM", "iva", "eanrig", "desfor", "desgru"}) {
    mismatch += textDiffers(c);
  }
  return Scalar(base, mismatch);
}

constexpr int kRounds = 3;

// The best of kRounds bare orders, each a header and the lines linesSql inserts, in one
// transaction as the order writer does.
double BareOrdersMs(sqlite3* base, QString (*linesSql)(int, int), int year, const QString& store) {
  QElapsedTimer timer;
  double best = 1e18;
  for (int round = 1; round <= kRounds; ++round) {
    const QString lines = linesSql(year, round);
    timer.start();
    Exec(base, QStringLiteral("BEGIN IMMEDIATE"));
    Exec(base, QStringLiteral("INSERT INTO testa (anno, numero, dataor, cliente, dsccliente, "
                              "codsede, dscsede, codlis, fl3ts) VALUES (%1, %2, %3, 1, %4, 0, "
                              "'', '01', 'I')")
                   .arg(year)
                   .arg(round)
                   .arg(QDate(1899, 12, 30).daysTo(vx::Today()))
                   .arg(Quoted(store)));
    Exec(base, lines);
    Exec(base, QStringLiteral("COMMIT"));
    best = std::min(best, timer.nsecsElapsed() / 1e6);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vx::InstallItalianLocale();
  const int lines = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int articles = argc > 2 ? std::atoi(argv[2]) : 50000;
  QTemporaryDir dir;
  if (!dir.isValid() || lines <= 0 || articles < lines) return 1;
  vx::fs::SetDataRoot(dir.path());

  std::printf("making a catalogue of %d articles and %d comparison rows ...\n", articles, lines);
  std::fflush(stdout);
  vx::common::SharedValues values;
  values.percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  values.ragione_sociale = "MARKET BENCH";
  values.select_confronto = vx::comparison::GridSelect();
  const QString supplierPath = QStringLiteral("C:\\varu\\dati.mdb");
  vx::data::CreateMainDatabase(vx::fs::HostPath(values.percorso_db), QStringLiteral("BENCH"));
  vx::data::inserisco_nuovi_campi_bancaean(values.percorso_db);
  vx::fs::CreateFolder(QStringLiteral("C:\\varu"));
  vx::data::CreateSupplierDatabase(vx::fs::HostPath(supplierPath));
  auto main = vx::db::Database::Open(values.percorso_db);
  auto sup = vx::db::Database::Open(supplierPath);

  main->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso) values (1, "
                               "'VARU', ?)"),
                {vx::Variant(supplierPath)});
  {
    vx::db::Transaction t(*sup);
    auto article = sup->Prepare(QStringLiteral(
        "insert into articolo (codart, desart, przart, imbart) values (?, ?, ?, 12)"));
    auto ean = sup->Prepare(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"));
    for (int i = 1; i <= articles; ++i) {
      article.Reset().Bind(1, i).Bind(2, QStringLiteral("ARTICOLO DI PROVA N. %1").arg(i));
      article.Bind(3, 1.0 + (i % 97) / 10.0);
      article.Run();
      ean.Reset().Bind(1, i).Bind(2, Ean(8000000000000LL + i));
      ean.Run();
    }
    t.Commit();
  }
  {
    vx::db::Transaction t(*main);
    auto row = main->Prepare(QStringLiteral(
        "insert into articoli (vedovo, desart, umart, ivart, imballo, forn1, costo1, colli1, "
        "sel, tipoart, sequenza, ns) values (?, 'ARTICOLO', 'CT', '22', 12, 1, ?, ?, 'X', '1', "
        "?, ?)"));
    auto conv = main->Prepare(
        QStringLiteral("insert into eanconv (codfor, ean, eanalternativo, fatconv, azione) values "
                       "(1, ?, ?, 6, 'M')"));
    const int step = articles / lines;
    for (int i = 1; i <= lines; ++i) {
      // One line in fifty has an EAN the catalogue lacks, and no conversion row: it is
      // written as the missing article.
      const qint64 code = i % 50 == 0 ? 7000000000000LL + i : 8000000000000LL + i * step;
      row.Reset()
          .Bind(1, Ean(code))
          .Bind(2, 2.5 + (i % 13))
          .Bind(3, 1 + i % 7)
          .Bind(4, i)
          .Bind(5, i);
      row.Run();
      if (i % 5 == 0 && i % 50 != 0) {
        conv.Reset().Bind(1, Ean(code)).Bind(2, Ean(8000000000000LL + i * step - 1));
        conv.Run();
      }
    }
    t.Commit();
  }

  // The starting point of the bare-SQL order: the supplier's database as it is now.
  const QString baselinePath = dir.filePath(QStringLiteral("baseline.mdb"));
  if (!QFile::copy(vx::fs::HostPath(supplierPath), baselinePath)) return 1;
  // The same catalogue for the three-supplier order, and for its bare-SQL one.
  const QString threePath = QStringLiteral("C:\\tre\\dati.mdb");
  vx::fs::CreateFolder(QStringLiteral("C:\\tre"));
  const QString threeBaseline = dir.filePath(QStringLiteral("baseline3.mdb"));
  if (!QFile::copy(baselinePath, vx::fs::HostPath(threePath)) ||
      !QFile::copy(baselinePath, threeBaseline)) {
    return 1;
  }

  // Each way writes the order three times (orders 1, 2 and 3, each a new order); the best
  // time of each counts.

  NewOrderPrompts prompts;
  QElapsedTimer timer;
  double ms = 1e18;
  vx::comparison::SlotOrderResult result;
  for (int round = 1; round <= kRounds; ++round) {
    timer.start();
    result = vx::comparison::WriteSlotOrder(1, values, prompts);
    ms = std::min(ms, timer.nsecsElapsed() / 1e6);
    if (result.outcome != vx::comparison::OrderOutcome::Written ||
        result.orders != std::vector<qint32>{round}) {
      return 1;
    }
  }

  sqlite3* base = nullptr;
  if (sqlite3_open(baselinePath.toUtf8().constData(), &base) != SQLITE_OK) return 1;
  const int year = vx::Today().year();
  Exec(base, QStringLiteral("ATTACH %1 AS m").arg(Quoted(vx::fs::HostPath(values.percorso_db))));
  const double baselineMs = BareOrdersMs(base, OrderLinesSql, year, values.ragione_sociale.str());

  // Same lines: every column of every line, numbers to a thousandth.
  Exec(base, QStringLiteral("ATTACH %1 AS o").arg(Quoted(vx::fs::HostPath(supplierPath))));
  const double baseLines = Scalar(base, "SELECT count(*) FROM movimenti");
  const double orderLines = Scalar(base, "SELECT count(*) FROM o.movimenti");
  const double missing =
      Scalar(base,
             "SELECT count(*) FROM o.movimenti WHERE articoli = 999999 AND descrizione = "
             "'AAAAA !!!! articolo inesistente' AND prezzo = 0 AND totrig = 0");
  const double converted =
      Scalar(base,
             "SELECT count(*) FROM o.movimenti l JOIN m.articoli a ON a.ns = l.bns WHERE "
             "l.eanrig <> a.vedovo AND l.bnumer = 1");
  const double different = DifferingLines(base);
  sqlite3_close(base);

  std::printf(
      "order lines of %d orders: %d each (bare SQL %.0f, order %.0f), missing articles %.0f, "
      "through an "
      "alternative EAN %.0f; lines that differ: %.0f\n",
      kRounds, result.lines, baseLines, orderLines, missing, converted, different);
  std::printf("order of %d lines against %d articles, best of %d: %.1f ms (%.1f us a line)\n",
              result.lines, articles, kRounds, ms, ms * 1000.0 / std::max(1, result.lines));
  std::printf("bare SQL baseline, best of %d:                          %.1f ms\n", kRounds,
              baselineMs);
  std::printf("ratio: %.2f\n", ms / baselineMs);
  const bool same = orderLines == kRounds * lines && baseLines == kRounds * lines &&
                    different == 0 && missing == kRounds * (lines / 50) && converted > 0;

  // The three-supplier order: slot 2 on a catalogue as the first one was, the EANs it lacks
  // in the store's list (two codes each, the lower one counts).
  main->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso) values (2, "
                               "'TRE', ?)"),
                {vx::Variant(threePath)});
  {
    vx::db::Transaction t(*main);
    main->Execute(QStringLiteral(
        "update articoli set forn2 = 2, costo2 = costo1, colli2 = colli1, umart = 'PZ', "
        "desart = 'ARTICOLO CON UNA DESCRIZIONE DI QUARANTA C'"));
    auto store =
        main->Prepare(QStringLiteral("insert into listi01 (codart, cobart) values (?, ?)"));
    auto ean = main->Prepare(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"));
    for (int i = 50; i <= lines; i += 50) {
      for (int k = 1; k >= 0; --k) {
        const int code = 2 * i + k;
        store.Reset().Bind(1, code).Bind(2, 1.25 + k + (i % 7));
        store.Run();
        ean.Reset().Bind(1, code).Bind(2, Ean(7000000000000LL + i));
        ean.Run();
      }
    }
    t.Commit();
  }
  double threeMs = 1e18;
  vx::comparison::SlotOrderResult three;
  for (int round = 1; round <= kRounds; ++round) {
    timer.start();
    three =
        vx::comparison::WriteSlotOrder(2, values, prompts, vx::comparison3::ThreeSupplierOrders());
    threeMs = std::min(threeMs, timer.nsecsElapsed() / 1e6);
    if (three.outcome != vx::comparison::OrderOutcome::Written ||
        three.orders != std::vector<qint32>{round}) {
      return 1;
    }
  }
  if (sqlite3_open(threeBaseline.toUtf8().constData(), &base) != SQLITE_OK) return 1;
  Exec(base, QStringLiteral("ATTACH %1 AS m").arg(Quoted(vx::fs::HostPath(values.percorso_db))));
  const double threeBare =
      BareOrdersMs(base, ThreeSupplierLinesSql, year, values.ragione_sociale.str());
  Exec(base, QStringLiteral("ATTACH %1 AS o").arg(Quoted(vx::fs::HostPath(threePath))));
  const double threeLines = Scalar(base, "SELECT count(*) FROM o.movimenti");
  const double storePriced =
      Scalar(base, "SELECT count(*) FROM o.movimenti WHERE articoli = 0 AND prezzo > 0");
  const double threeDifferent = DifferingLines(base);
  sqlite3_close(base);
  std::printf(
      "three-supplier order lines of %d orders: %d each (order %.0f), priced from listi01 "
      "%.0f; lines that differ: %.0f\n",
      kRounds, three.lines, threeLines, storePriced, threeDifferent);
  std::printf("three-supplier order of %d lines, best of %d: %.1f ms; bare SQL %.1f ms\n",
              three.lines, kRounds, threeMs, threeBare);
  std::printf("ratio: %.2f\n", threeMs / threeBare);
  const bool threeSame =
      threeLines == kRounds * lines && threeDifferent == 0 && storePriced == kRounds * (lines / 50);
  return same && threeSame ? 0 : 3;
}
