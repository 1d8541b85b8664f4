#include "comparison/grid/grid_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTest>

#include "common/shared_values.h"
#include "data_drive.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"

namespace vx::comparison::testing {

void GridTest::SetUp() {
  root_ = std::make_unique<TempDataRoot>();
  tools::DataDriveOptions options;
  options.force = true;
  const tools::DataDrive drive = tools::MakeDataDrive(root_->root(), options);
  common::G().Reset();
  common::G().percorso_db = drive.mainDbWindows;
  db_ = db::Database::Open(drive.mainDbWindows);
  db_->Execute("delete from articoli");
  SetSuppliers({"Brunelvatto", "Apulia", "DIZA", "Corvalia"});
  boxes_ = std::make_unique<ScriptedMessages>();
}

void GridTest::TearDown() {
  ui::Forms::UnloadAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  w_ = nullptr;
  boxes_.reset();
  db_.reset();
  root_.reset();
}

void GridTest::SetSuppliers(const std::array<QString, 4>& names) {
  db_->Execute("delete from fornitori");
  for (int n = 0; n < 4; ++n) {
    if (names[n].isEmpty()) continue;
    db_->Execute("insert into fornitori (codice, descr) values (?, ?)", {n + 1, names[n]});
  }
}

void GridTest::Add(const Article& a) {
  std::vector<Variant> v = {a.ean, a.desart, a.umart, a.ivart, a.sel, 6};
  for (int n = 0; n < 4; ++n) {
    v.push_back(n + 1);
    v.push_back(a.costo[n]);
    v.push_back(a.colli[n]);
  }
  for (double d : a.diff) v.push_back(d);
  db_->Execute(
      "insert into articoli (vedovo, desart, umart, ivart, sel, imballo, "
      "forn1, costo1, colli1, forn2, costo2, colli2, forn3, costo3, colli3, "
      "forn4, costo4, colli4, diff12, diff23, diff31, diff14, diff24, diff34) "
      "values (?,?,?,?,?,?, ?,?,?, ?,?,?, ?,?,?, ?,?,?, ?,?,?,?,?,?)",
      v);
}

void GridTest::AddMany(int n) {
  db::Transaction tx(*db_);
  db::Statement st = db_->Prepare(
      "insert into articoli (vedovo, desart, umart, ivart, sel, imballo, forn1, costo1, "
      "forn2, costo2, forn3, costo3, forn4, costo4, colli1, colli2, colli3, colli4) "
      "values (?, ?, 'PZ', '10', ' ', 12, 1, ?, 2, ?, 3, ?, 4, ?, 0, 0, 0, 0)");
  for (int i = 1; i <= n; ++i) {
    st.Bind(1, QStringLiteral("8%1").arg(i, 12, 10, QLatin1Char('0')))
        .Bind(2, QStringLiteral("ART %1").arg(i, 5, 10, QLatin1Char('0')))
        .Bind(3, 1.0 + i % 7)
        .Bind(4, 1.5 + i % 5)
        .Bind(5, 2.0 + i % 3)
        .Bind(6, 0.0)
        .Run();
  }
  tx.Commit();
}

cnf02* GridTest::Open() {
  w_ = ui::Forms::Show<cnf02>();
  QCoreApplication::processEvents();
  return w_;
}

int GridTest::RowOf(const QString& ean) const {
  for (int r = 1; r < w_->flex1->Rows(); ++r) {
    if (w_->flex1->TextMatrix(r, 2) == ean) return r;
  }
  return -1;
}

Variant GridTest::Column(const QString& ean, const QString& column) const {
  auto rs =
      db_->OpenRecordset("select " + column + " from articoli where vedovo = " + db::Quote(ean));
  return rs->Eof() ? Variant() : rs->Field(0);
}

long long GridTest::Count(const QString& where) const {
  auto rs = db_->OpenRecordset("select count(*) from articoli " + where);
  return rs->Field(0).toLong();
}

void GridTest::BreakRow(const QString& ean, const QString& operation) {
  const QString sql = QStringLiteral(
                          "create trigger broken_%1 before %1 on articoli when old.vedovo = '%2' "
                          "begin select raise(abort, 'riga bloccata'); end")
                          .arg(operation, ean);
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(db_->handle(), sql.toUtf8().constData(), nullptr, nullptr, &error),
            SQLITE_OK)
      << (error ? error : "");
}

void GridTest::ClickCell(int row, int col) {
  ui::FlexGrid* g = w_->flex1;
  const QModelIndex index = g->model()->index(row, col);
  g->scrollTo(index);
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
}

void GridTest::TypeKeys(const QString& keys) {
  for (QChar c : keys) QTest::keyClick(w_->flex1, c.toLatin1());
}

void GridTest::PressKey(Qt::Key key) { QTest::keyClick(w_->flex1, key); }

}  // namespace vx::comparison::testing
