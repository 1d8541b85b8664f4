// The database layer against bare SQLite statements doing the same work: 100,000 rows written
// through AddNew/Update in one transaction, then each found again by its key with FindFirst;
// then the same rows written by an INSERT text with bound values (Execute), against the same
// bare inserts.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/locale_it.h"

namespace {

constexpr int kRows = 100000;

QString Key(int i) { return QStringLiteral("K%1").arg(i, 9, 10, QLatin1Char('0')); }

struct Times {
  double write = 0, read = 0, execute = 0;
  qint64 sum = 0;  // of what was read back: equal when both ways read the same rows
};

Times Layer(const QString& path) {
  using namespace vx::db;
  auto db = Database::Open(path);
  db->Execute(QStringLiteral(
      "create table [articoli] ([codice] text(13), [descr] text(50), [prezzo] double, "
      "[colli] int, [peso] single)"));
  db->Execute(QStringLiteral("create index codice on articoli (codice)"));
  Times t;
  QElapsedTimer clock;
  clock.start();
  auto rs = db->OpenRecordset(QStringLiteral("select * from articoli"));
  db->BeginTrans();
  for (int i = 0; i < kRows; ++i) {
    rs->AddNew();
    rs->SetField(QStringLiteral("codice"), vx::Variant(Key(i)));
    rs->SetField(QStringLiteral("descr"), vx::Variant(QStringLiteral("Articolo numero %1").arg(i)));
    rs->SetField(QStringLiteral("prezzo"), vx::Variant(i * 0.25));
    rs->SetField(QStringLiteral("colli"), vx::Variant(i % 12));
    rs->SetField(QStringLiteral("peso"), vx::Variant(i * 0.1));
    rs->Update();
  }
  db->CommitTrans();
  t.write = clock.nsecsElapsed() / 1e6;
  clock.restart();
  qint64 sum = 0;
  for (int i = 0; i < kRows; ++i) {
    if (!rs->FindFirst(QStringLiteral("codice = '") + Key(i) + QLatin1Char('\''))) {
      std::fprintf(stderr, "layer: %d not found\n", i);
      std::exit(1);
    }
    sum += rs->Field(QStringLiteral("descr")).str().size() +
           rs->Field(QStringLiteral("colli")).toLong();
  }
  t.read = clock.nsecsElapsed() / 1e6;
  if (sum == 0) std::exit(1);
  t.sum = sum;

  db->Execute(QStringLiteral("delete from articoli"));
  clock.restart();
  db->BeginTrans();
  const QString insert = QStringLiteral(
      "insert into articoli (codice, descr, prezzo, colli, peso) values (?, ?, ?, ?, ?)");
  for (int i = 0; i < kRows; ++i) {
    db->Execute(insert,
                {vx::Variant(Key(i)), vx::Variant(QStringLiteral("Articolo numero %1").arg(i)),
                 vx::Variant(i * 0.25), vx::Variant(i % 12), vx::Variant(i * 0.1)});
  }
  db->CommitTrans();
  t.execute = clock.nsecsElapsed() / 1e6;
  return t;
}

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

Times Bare(const QString& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
  Check(sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), db);
  Check(sqlite3_exec(db,
                     "CREATE TABLE articoli (codice TEXT(13) COLLATE NOCASE, descr TEXT(50) "
                     "COLLATE NOCASE, prezzo DOUBLE, colli INT, peso SINGLE);"
                     "CREATE INDEX ix ON articoli (codice)",
                     nullptr, nullptr, nullptr),
        db);
  Times t;
  QElapsedTimer clock;
  clock.start();
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO articoli VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr),
        db);
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
  for (int i = 0; i < kRows; ++i) {
    const QByteArray key = Key(i).toUtf8();
    const QByteArray descr = QStringLiteral("Articolo numero %1").arg(i).toUtf8();
    sqlite3_bind_text(insert, 1, key.constData(), key.size(), SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, descr.constData(), descr.size(), SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 3, i * 0.25);
    sqlite3_bind_int(insert, 4, i % 12);
    sqlite3_bind_double(insert, 5, static_cast<float>(i * 0.1));
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  sqlite3_finalize(insert);
  t.write = clock.nsecsElapsed() / 1e6;
  clock.restart();
  sqlite3_stmt* find = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT * FROM articoli WHERE codice = ?", -1, &find, nullptr), db);
  qint64 sum = 0;
  for (int i = 0; i < kRows; ++i) {
    const QByteArray key = Key(i).toUtf8();
    sqlite3_bind_text(find, 1, key.constData(), key.size(), SQLITE_TRANSIENT);
    if (sqlite3_step(find) != SQLITE_ROW) {
      std::fprintf(stderr, "bare: %d not found\n", i);
      std::exit(1);
    }
    const QString descr = QString::fromUtf8(
        reinterpret_cast<const char*>(sqlite3_column_text(find, 1)), sqlite3_column_bytes(find, 1));
    sum += descr.size() + sqlite3_column_int(find, 3);
    sqlite3_reset(find);
  }
  sqlite3_finalize(find);
  t.read = clock.nsecsElapsed() / 1e6;
  sqlite3_close_v2(db);
  if (sum == 0) std::exit(1);
  t.sum = sum;
  return t;
}

}  // namespace

// The best of a few rounds, each on fresh files: the disk's flushes make single runs noisy.
constexpr int kRounds = 3;

Times Best(const Times& a, const Times& b) {
  return {std::min(a.write, b.write), std::min(a.read, b.read), std::min(a.execute, b.execute),
          b.sum};
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vx::InstallItalianLocale();
  Times bare{1e18, 1e18, 1e18}, layer{1e18, 1e18, 1e18};
  for (int round = 0; round < kRounds; ++round) {
    QTemporaryDir dir;
    const QString layerPath = dir.filePath(QStringLiteral("layer.mdb"));
    const QString barePath = dir.filePath(QStringLiteral("bare.mdb"));
    for (const QString& p : {layerPath, barePath}) {
      QFile f(p);
      if (!f.open(QIODevice::WriteOnly)) return 1;
    }
    bare = Best(bare, Bare(barePath));
    layer = Best(layer, Layer(layerPath));
  }
  std::printf("%d rows, best of %d  bare SQLite   layer     ratio\n", kRows, kRounds);
  std::printf("AddNew/Update    %8.1f ms  %8.1f ms  %5.2f\n", bare.write, layer.write,
              layer.write / bare.write);
  std::printf("FindFirst by key %8.1f ms  %8.1f ms  %5.2f\n", bare.read, layer.read,
              layer.read / bare.read);
  std::printf("Execute INSERT   %8.1f ms  %8.1f ms  %5.2f\n", bare.write, layer.execute,
              layer.execute / bare.write);
  const double b = bare.write + bare.read, l = layer.write + layer.read;
  std::printf("total            %8.1f ms  %8.1f ms  %5.2f\n", b, l, l / b);
  std::printf("rows read back: %s\n", bare.sum == layer.sum ? "the same" : "DIFFERENT");
  std::printf("ratio: %.2f\n", l / b);
  return bare.sum == layer.sum ? 0 : 3;
}
