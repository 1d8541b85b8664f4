// The demo drive's SDA, RBM and SEMVRA files imported through the window as a new user
// would, with the window's own row ranges.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

#include "common/shared_values.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/ui/filelist.h"
#include "platform/ui/textbox.h"
#include "pricelists/lis06b.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::pricelists {
namespace {

qint64 Number(db::Database& db, const QString& sql) {
  auto st = db.PrepareNative(sql);
  const qint64 v = st.Step() ? st.Column(0).toLong() : -1;
  st.Reset();
  return v;
}

TEST(DemoExcelSuppliersTest, EachDemoWorkbookImportsFromTheWindow) {
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 200;
  options.today = QDate(2026, 3, 10);
  options.drive = QLatin1Char('D');
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  SetClock([&] { return QDateTime(options.today, QTime(9, 0)); });
  common::G().Reset();
  common::G().percorso_client = drive.storeDbWindows;

  auto* w = ui::Forms::Get<lis06b>();
  ScriptedMessages boxes;
  auto run = [&](QRadioButton* supplier, QRadioButton* kind, const QString& name) {
    supplier->click();
    kind->click();
    ASSERT_TRUE(w->File1->Choose(name)) << w->File1->Names().join(' ').toStdString();
    w->Command4->click();
    EXPECT_EQ(boxes.Texts(), QStringList()) << name.toStdString();
  };
  run(w->tpr, w->listino, "listino_sda.xls");
  run(w->rbm, w->listino, "listino_rbm.xlsx");
  run(w->smv, w->listino, "listino_semvra.xlsx");
  run(w->smv, w->listino, "listino_semvra_NO_FOOD.xlsx");
  run(w->smv, w->promozioni, "promozioni_semvra.xlsx");

  auto sda = db::Database::Open("C:\\sda\\dati.mdb");
  auto rbm = db::Database::Open("C:\\rbm\\dati.mdb");
  auto semvra = db::Database::Open("C:\\semvra\\dati.mdb");
  auto apulia = db::Database::Open(drive.suppliers[1].hostPath);
  EXPECT_EQ(Number(*sda, "select count(*) from articolo"), 60);
  EXPECT_EQ(Number(*sda, "select count(*) from gruppi"), 3);
  // The first price line of listino.txt gave its article the line's price less its discount.
  const auto lines = fs::ReadTextLines("C:\\sda\\listino.txt");
  ASSERT_TRUE(lines && lines->size() > 1);
  const QString line = lines->at(1);
  const double price = ParseRegional(line.mid(115, 7)).value_or(-1);
  const double discount = Val(line.mid(132, 5));
  auto przart = sda->PrepareNative(
      QStringLiteral("select przart from articolo where codart = %1").arg(line.mid(54, 6).toInt()));
  ASSERT_TRUE(przart.Step());
  EXPECT_NEAR(przart.Column(0).toDouble(), price * (1 - discount / 100), 1e-4);
  przart.Reset();
  EXPECT_EQ(Number(*rbm, "select count(*) from articolo"), 60);
  EXPECT_EQ(Number(*semvra, "select count(*) from articolo where tipart = 'F'"), 30);
  EXPECT_EQ(Number(*semvra, "select count(*) from articolo where tipart = 'S'"), 30);
  EXPECT_EQ(Number(*semvra, "select count(*) from articolo where przoff > 0"), 10);
  // The SDA articles share their EANs with the first demo supplier.
  auto firstEan = sda->PrepareNative("select eanare from codean order by eanare limit 1");
  ASSERT_TRUE(firstEan.Step());
  const QString ean = firstEan.Column(0).str();
  firstEan.Reset();
  EXPECT_EQ(
      Number(*apulia, QStringLiteral("select count(*) from codean where eanare = '%1'").arg(ean)),
      1);

  ui::Forms::Unload<lis06b>();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetClock({});
  common::G().Reset();
}

}  // namespace
}  // namespace vx::pricelists
