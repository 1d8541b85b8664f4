#include "comparison3/grid3_fixture.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QTest>

#include "common/shared_values.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "platform/clock.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/textbox.h"

namespace vx::comparison3::testing {

QString Ean(qint64 n) { return QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')); }

void Grid3Test::SetUp() {
  root_ = std::make_unique<TempDataRoot>();
  auto& g = common::G();
  g.Reset();
  g.percorso_db = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");
  g.ragione_sociale = "MARKET DI PROVA";
  data::CreateMainDatabase(fs::HostPath(g.percorso_db), QStringLiteral("MARKET DI PROVA"));
  data::inserisco_nuovi_campi_bancaean(g.percorso_db);
  main_ = db::Database::Open(g.percorso_db);
  SetClock([] { return QDateTime(QDate(2026, 3, 10), QTime(10, 30)); });
  boxes_ = std::make_unique<ScriptedMessages>();
}

void Grid3Test::TearDown() {
  ui::Forms::UnloadAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  w_ = nullptr;
  boxes_.reset();
  SetClock({});
  main_.reset();
  root_.reset();
}

std::shared_ptr<db::Database> Grid3Test::AddSupplier(int slot, const QString& name) {
  const QString path = QStringLiteral("C:\\forn%1\\dati.mdb").arg(slot);
  main_->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso) values (?, ?, ?)"),
                 {Variant(slot), Variant(name), Variant(path)});
  fs::CreateFolder(QStringLiteral("C:\\forn%1").arg(slot));
  data::CreateSupplierDatabase(fs::HostPath(path));
  return Supplier(slot);
}

std::shared_ptr<db::Database> Grid3Test::Supplier(int slot) {
  return db::Database::Open(QStringLiteral("C:\\forn%1\\dati.mdb").arg(slot));
}

void Grid3Test::Add(const Row3& r) {
  std::vector<Variant> v = {Variant(r.ean), Variant(r.desart), Variant(r.umart),
                            Variant("04"),  Variant(r.sel),    Variant(r.imballo)};
  for (int n = 0; n < 3; ++n) {
    v.push_back(Variant(n + 1));
    v.push_back(r.costo[n]);
    v.push_back(r.colli[n]);
  }
  for (const Variant& d : r.diff) v.push_back(d);
  main_->Execute(
      QStringLiteral("insert into articoli (vedovo, desart, umart, ivart, sel, imballo, forn1, "
                     "costo1, colli1, forn2, costo2, colli2, forn3, costo3, colli3, diff12, "
                     "diff23, diff31) values (?,?,?,?,?,?, ?,?,?, ?,?,?, ?,?,?, ?,?,?)"),
      v);
}

void Grid3Test::AddMany(int n) {
  db::Transaction tx(*main_);
  db::Statement st = main_->Prepare(QStringLiteral(
      "insert into articoli (vedovo, desart, umart, ivart, sel, imballo, forn1, costo1, forn2, "
      "costo2, forn3, costo3, colli1, colli2, colli3, diff12, diff23, diff31) "
      "values (?, ?, 'PZ', '10', ' ', 12, 1, ?, 2, ?, 3, ?, 0, 0, 0, 1.5, 2.5, 3.5)"));
  for (int i = 1; i <= n; ++i) {
    st.Bind(1, Ean(8000000000000 + i))
        .Bind(2, QStringLiteral("ART %1").arg(i, 5, 10, QLatin1Char('0')))
        .Bind(3, 1.0 + i % 7)
        .Bind(4, 1.5 + i % 5)
        .Bind(5, 2.0 + i % 3)
        .Run();
  }
  tx.Commit();
}

cnf02T* Grid3Test::Open() {
  w_ = ui::Forms::Show<cnf02T>();
  QCoreApplication::processEvents();
  return w_;
}

int Grid3Test::RowOf(const QString& ean) const {
  for (int r = 1; r < w_->flex1->Rows(); ++r) {
    if (w_->flex1->TextMatrix(r, 2) == ean) return r;
  }
  return -1;
}

Variant Grid3Test::Column(const QString& ean, const QString& column) const {
  auto rs =
      main_->OpenRecordset("select " + column + " from articoli where vedovo = " + db::Quote(ean));
  return rs->Eof() ? Variant() : rs->Field(0);
}

long long Grid3Test::Count(const QString& where) const {
  auto rs = main_->OpenRecordset("select count(*) from articoli " + where);
  return rs->Field(0).toLong();
}

void Grid3Test::BreakRow(const QString& ean, const QString& operation) {
  const QString sql = QStringLiteral(
                          "create trigger broken_%1 before %1 on articoli when old.vedovo = '%2' "
                          "begin select raise(abort, 'riga bloccata'); end")
                          .arg(operation, ean);
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(main_->handle(), sql.toUtf8().constData(), nullptr, nullptr, &error),
            SQLITE_OK)
      << (error ? error : "");
}

void Grid3Test::ClickCell(int row, int col) {
  ui::FlexGrid* g = w_->flex1;
  const QModelIndex index = g->model()->index(row, col);
  g->scrollTo(index);
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
}

void Grid3Test::TypeKeys(const QString& keys) {
  for (QChar c : keys) QTest::keyClick(w_->flex1, c.toLatin1());
}

void Grid3Test::PressKey(Qt::Key key) { QTest::keyClick(w_->flex1, key); }

void Grid3Test::Search(ui::TextBox* box, const QString& text) {
  box->setFocus();
  if (!text.isEmpty()) box->clear();
  QTest::keyClicks(box, text);
  QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace vx::comparison3::testing
