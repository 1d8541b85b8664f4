#include "comparison/differences.h"

#include <algorithm>
#include <array>
#include <vector>

#include "comparison/loader_values.h"
#include "comparison/written_orders.h"
#include "comparison/yield_batch.h"
#include "data/comparison_load.h"
#include "platform/db/database.h"

namespace vx::comparison {

namespace {

const char* const kDiffColumns[] = {"diff12", "diff23", "diff31", "diff14", "diff24", "diff34"};

}  // namespace

DifferenceRule FourSupplierDifferences() { return {}; }

DifferenceRule ThreeSupplierDifferences() {
  DifferenceRule rule;
  rule.slotCount = 3;
  rule.noDivisor = 1000;
  rule.emptyCostReadsZero = true;
  rule.runningNumber = false;
  return rule;
}

DifferencesOutcome ComputeDifferences(db::Database& main, common::ProgressSink& sink,
                                      const DifferenceRule& rule) {
  const bool four = rule.slotCount == 4;
  const int diffs = four ? 6 : 3;
  DifferencesOutcome out;
  bool begun = false;
  sink.Status(QStringLiteral(
      "Inizio calcolo differenze percentuali tra i costi sui listini fornitori ..."));
  try {
    // The rows in description order (storage order without running numbers), fixed when the
    // pass starts: their position is their running number. They are rewritten in storage
    // order, which gives the same rows many times faster than hopping through the table in
    // description order. Each row's costs are read when the pass reaches it, and a row
    // deleted meanwhile is passed over: the costs come from one walk of the table in storage
    // order, closed before every yield (the only time anything else can change them) and
    // opened again after it.
    struct Row {
      qint64 rowid;
      int ns;
    };
    std::vector<Row> rows;
    {
      db::Statement st = main.Prepare(
          rule.runningNumber ? QStringLiteral("select rowid from articoli ORDER BY desart")
                             : QStringLiteral("select rowid from articoli"));
      while (st.Step()) rows.push_back({st.Column(0).toLong(), static_cast<int>(rows.size()) + 1});
      st.Reset();
    }
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return a.rowid < b.rowid; });
    if (rows.empty()) {
      data::MarkLoadEnded(main);
      out.completed = true;
      sink.Status(QStringLiteral("Fine calcolo differenze percentuali."));
      return out;
    }
    sink.Status(QStringLiteral("Ci sono %1 articoli da confrontare ...").arg(rows.size()));
    sink.Begin(static_cast<int>(rows.size()));
    begun = true;

    // The pass belongs to the load: the table is partial until it ends, and the packages it
    // clears take the orders written from them along.
    data::MarkLoadBegun(main);
    if (four) {
      ForgetWrittenOrders(main);
    } else {
      ForgetWrittenOrders(main, {1, 2, 3});
    }

    std::array<ColumnFit, 6> kinds;
    for (int i = 0; i < diffs; ++i) kinds[i] = FitOf(main, "articoli", kDiffColumns[i]);
    db::Statement read = main.Prepare(
        four ? QStringLiteral("select rowid, costo1, costo2, costo3, costo4 from articoli where "
                              "rowid >= ? order by rowid")
             : QStringLiteral("select rowid, costo1, costo2, costo3, null from articoli where "
                              "rowid >= ? order by rowid"));
    QString update = four ? QStringLiteral(
                                "update articoli set colli1 = 0, colli2 = 0, colli3 = 0, colli4 = "
                                "0, diff12 = ?, diff23 = ?, diff31 = ?, diff14 = ?, diff24 = ?, "
                                "diff34 = ?")
                          : QStringLiteral(
                                "update articoli set colli1 = 0, colli2 = 0, colli3 = 0, diff12 = "
                                "?, diff23 = ?, diff31 = ?");
    update += rule.runningNumber ? QStringLiteral(", ns = ? where rowid = ?")
                                 : QStringLiteral(" where rowid = ?");
    db::Statement write = main.Prepare(update);

    YieldBatch batch(main, sink);
    try {
      bool walking = false;  // `read` stands on a row at or past the one in hand
      for (const Row& row : rows) {
        const Variant rowid(row.rowid);
        if (!walking) {
          read.Reset();
          read.Bind(1, rowid);
          walking = read.Step();
        }
        qint64 at = walking ? read.Column(0).toLong() : 0;
        while (walking && at < row.rowid) {
          walking = read.Step();
          if (walking) at = read.Column(0).toLong();
        }
        if (!walking || at != row.rowid) continue;
        const Differences d =
            DifferencesOf(read.Column(1), read.Column(2), read.Column(3), read.Column(4),
                          rule.noDivisor, rule.emptyCostReadsZero);
        ++out.rows;
        const double values[] = {d.d12, d.d23, d.d31, d.d14, d.d24, d.d34};
        write.Reset();
        int p = 1;
        for (int i = 0; i < diffs; ++i) write.Bind(p++, Fit(kinds[i], values[i]));
        if (rule.runningNumber) write.Bind(p++, row.ns);
        write.Bind(p, rowid);
        write.Run();
        sink.Step();
        // The walk's statement ends before the yield, so that no lock is held across it.
        if (batch.Due()) {
          read.Reset();
          walking = false;
          batch.RowDone();
        }
      }
      read.Reset();
      batch.Finish();
      data::MarkLoadEnded(main);
    } catch (...) {
      // Each row is written by one statement: the rows done so far are whole, keep them.
      try {
        batch.Finish();
      } catch (...) {
      }
      throw;
    }
    out.completed = true;
  } catch (const std::exception& e) {
    const auto* dbe = dynamic_cast<const db::DbError*>(&e);
    sink.Status(QStringLiteral("ERRORE: calcolo differenze interrotto: %1")
                    .arg(dbe ? dbe->message() : QString::fromUtf8(e.what())));
  }
  if (begun) {
    sink.End();
    sink.Yield();
  }
  if (out.completed) sink.Status(QStringLiteral("Fine calcolo differenze percentuali."));
  return out;
}

}  // namespace vx::comparison
