// The conversion table window's two batch passes against bare SQL: the description refresh
// (`vedo`) and the move of supplier 1's alternative EANs, over one slot of N rows (default
// 5,000) against ten times as many comparison rows, through the functions the window calls
// (prepared, indexed lookups and the list's record set, one transaction each), then the same
// work as one UPDATE per pass on a copy of the database; three rounds on fresh copies, the
// best of each side. Prints both times and their ratio, and checks that both ways leave the
// same rows.
//
//   eanconv_bench [rows]
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "bench_sql.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "masterdata/ali01.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"

namespace {

using bench::Exec;
using bench::Quoted;
using bench::Scalar;

const QString kMain = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
const QString kBare = QStringLiteral("C:\\Programmi\\tolmo\\bare.mdb");

QString Ean(int n) { return QStringLiteral("80%1").arg(n, 11, 10, QLatin1Char('0')); }

void Fill(vx::db::Database& db, int rows) {
  vx::db::Transaction tx(db);
  auto article = db.Prepare(QStringLiteral("insert into articoli (vedovo, desart) values (?, ?)"));
  for (int n = 0; n < rows * 10; ++n) {
    article.Bind(1, Ean(n)).Bind(2, QStringLiteral("ARTICOLO CONFRONTO %1").arg(n));
    article.Run();
  }
  auto conv = db.Prepare(
      QStringLiteral("insert into eanconv (codfor, ean, desart, fatconv, azione, eanalternativo, "
                     "eanalternativo2) values (1, ?, ?, 1, 'M', ?, ?)"));
  for (int n = 0; n < rows; ++n) {
    // Every other row's EAN is in the comparison table; two rows in three have an alternative.
    const int code = n % 2 == 0 ? n * 7 : rows * 20 + n;
    conv.Bind(1, Ean(code))
        .Bind(2, QStringLiteral("RIGA %1").arg(n))
        .Bind(3, n % 3 == 0 ? QString() : Ean(rows * 30 + n))
        .Bind(4, Ean(rows * 40 + n));
    conv.Run();
  }
  tx.Commit();
}

QString Digest(const QString& path) {
  auto db = vx::db::Database::Open(path);
  auto st = db->Prepare(QStringLiteral(
      "select group_concat(ifnull(desart,'~') || '|' || ifnull(eanalternativo,'~') || '|' || "
      "ifnull(eanalternativo2,'~'), ';') from (select * from eanconv order by ean)"));
  const QString out = st.Step() ? st.Column(0).str() : QString();
  st.Reset();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rows = argc > 1 ? std::max(10, atoi(argv[1])) : 5000;
  QTemporaryDir temp;
  vx::fs::SetDataRoot(temp.path());
  vx::fs::CreateFolder(QStringLiteral("C:\\Programmi\\tolmo"));
  vx::data::CreateMainDatabase(vx::fs::HostPath(kMain), QStringLiteral("BENCH"));
  vx::data::inserisco_nuovi_campi_bancaean(kMain);
  {
    auto db = vx::db::Database::Open(kMain);
    Fill(*db, rows);
  }
  const QString pristine = vx::fs::HostPath(kMain) + QStringLiteral(".pristine");
  QFile::copy(vx::fs::HostPath(kMain), pristine);

  // Three rounds, each on fresh copies: the window's passes, then the bare SQL; the best of
  // each side, both timed under the same conditions of the machine.
  double window = 1e12, sql = 1e12;
  for (int round = 0; round < 3; ++round) {
    for (const QString& copy : {kMain, kBare}) {
      QFile::remove(vx::fs::HostPath(copy));
      QFile::copy(pristine, vx::fs::HostPath(copy));
    }
    QElapsedTimer timer;
    timer.start();
    {
      auto db = vx::db::Database::Open(kMain);
      auto list = db->OpenRecordset(vx::masterdata::ListSelect() +
                                    QStringLiteral(" WHERE codfor = 1  ORDER BY [desart]"));
      vx::masterdata::CopyComparisonDescriptions(*list);
      list = db->OpenRecordset(vx::masterdata::OptionSource(1));
      vx::masterdata::MoveFirstAlternatives(*list);
    }
    window = std::min(window, timer.nsecsElapsed() / 1e6);

    sqlite3* bare = nullptr;
    if (sqlite3_open(vx::fs::HostPath(kBare).toUtf8().constData(), &bare) != SQLITE_OK) return 2;
    timer.restart();
    Exec(bare, "BEGIN");
    Exec(bare,
         "UPDATE eanconv SET desart = (SELECT a.desart FROM articoli a WHERE a.vedovo = "
         "substr(ifnull(eanconv.ean, '') || '             ', 1, 13)) WHERE codfor = 1 AND "
         "EXISTS (SELECT 1 FROM articoli a WHERE a.vedovo = substr(ifnull(eanconv.ean, '') || "
         "'             ', 1, 13))");
    Exec(bare,
         "UPDATE eanconv SET eanalternativo2 = eanalternativo, eanalternativo = '' WHERE codfor "
         "= 1 AND trim(ifnull(eanalternativo, '')) <> ''");
    Exec(bare, "COMMIT");
    sql = std::min(sql, timer.nsecsElapsed() / 1e6);
    sqlite3_close(bare);
  }

  const bool same = Digest(kMain) == Digest(kBare);
  std::printf("eanconv: %d rows of slot 1 against %d comparison rows\n", rows, rows * 10);
  std::printf("  window passes (vedo + transfer): %10.1f ms\n", window);
  std::printf("  bare SQL (two UPDATEs):          %10.1f ms\n", sql);
  std::printf("  same rows: %s\n", same ? "yes" : "NO");
  std::printf("ratio: %.2f\n", window / std::max(sql, 0.001));
  return same ? 0 : 1;
}
