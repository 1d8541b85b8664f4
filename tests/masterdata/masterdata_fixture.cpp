#include "masterdata/masterdata_fixture.h"

#include <QApplication>
#include <QTest>

#include "common/shared_values.h"
#include "platform/db/recordset.h"
#include "platform/print/printers.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"

using vx::Variant;
using vx::common::G;

void MasterDataTest::SetUp() {
  G().Reset();
  vx::print::SetPrinterList(QStringList{QStringLiteral("PDF")});
  drive = vx::tools::MakeDataDrive(root.root(), options);
  boxes = std::make_unique<ScriptedMessages>();
  // What the login and the main window's load leave behind.
  G().drive = "C";
  G().percorso_db = "C:\\Programmi\\tolmo\\dizizOrezav.mdb";
  G().percorso_client = "C:\\pelko\\client.mdb";
  G().file_sup = "C:\\tolmodati.txt";
  G().codcommesso = 1;
  G().codutente = 1;
}

void MasterDataTest::TearDown() {
  vx::ui::Forms::UnloadAll();
  Settle();
  boxes.reset();
  vx::print::SetPrinterList(std::nullopt);
  G().Reset();
}

std::shared_ptr<vx::db::Database> MasterDataTest::MainDb() const {
  return vx::db::Database::Open(drive.mainDb);
}

std::shared_ptr<vx::db::Database> MasterDataTest::StoreDb() const {
  return vx::db::Database::Open(drive.storeDb);
}

void MasterDataTest::SetSuppliers(const std::vector<SupplierRow>& rows) const {
  auto db = MainDb();
  db->Execute(QStringLiteral("delete from fornitori"));
  for (const auto& r : rows) {
    db->Execute(QStringLiteral("insert into fornitori (codice, descr, percorso, programma, perce, "
                               "flagconv, flagdes, codfor, creazioneordine, posiz0) "
                               "values (?, ?, ?, ?, ?, '1', '1', ?, 0, 'X')"),
                {r.codice, r.descr, r.percorso, r.programma, r.perce, r.codice});
  }
}

Variant MasterDataTest::SupplierColumn(int codice, const QString& column) const {
  auto rs = MainDb()->OpenRecordset(
      QStringLiteral("select * from fornitori where codice = %1").arg(codice));
  return rs->Eof() ? Variant() : rs->Field(column);
}

std::vector<int> MasterDataTest::SupplierCodes() const {
  std::vector<int> codes;
  auto rs = MainDb()->OpenRecordset(QStringLiteral("select codice from fornitori order by codice"));
  for (; !rs->Eof(); rs->MoveNext()) codes.push_back(int(rs->Field(0).toLong()));
  return codes;
}

Variant MasterDataTest::Scalar(vx::db::Database& db, const QString& sql) {
  auto rs = db.OpenRecordset(sql);
  return rs->Eof() ? Variant() : rs->Field(0);
}

void MasterDataTest::Activate(QWidget* w) {
  w->show();
  w->activateWindow();
  QApplication::setActiveWindow(w);
  EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

void MasterDataTest::Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

void MasterDataTest::ClickCell(vx::ui::FlexGrid* grid, int row, int col) {
  const QModelIndex index = grid->model()->index(row, col);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void MasterDataTest::DoubleClickCell(vx::ui::FlexGrid* grid, int row, int col) {
  const QModelIndex index = grid->model()->index(row, col);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QStringList MasterDataTest::Column(const vx::ui::FlexGrid* grid, int col) {
  QStringList texts;
  for (int r = grid->FixedRows(); r < grid->Rows(); ++r) texts << grid->TextMatrix(r, col);
  return texts;
}
