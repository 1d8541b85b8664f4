// The road a new user takes on the demo drive: the Corvalia text files the setup wrote are
// imported through the window, and the comparison then loads the new prices.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <map>

#include "common/shared_values.h"
#include "comparison/load_supplier.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/dbcombo.h"
#include "pricelists/art22.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::pricelists {
namespace {

std::map<qint64, double> Prices(db::Database& catalogue) {
  std::map<qint64, double> out;
  db::Statement st = catalogue.Prepare(QStringLiteral("select codart, przart from articolo"));
  while (st.Step()) out[st.Column(0).toLong()] = st.Column(1).toDouble();
  st.Reset();
  return out;
}

TEST(Art22DemoTest, TheDemoFilesImportAndTheComparisonLoadsTheNewPrices) {
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 40;
  options.today = QDate(2026, 6, 12);
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  SetClock([] { return QDateTime(QDate(2026, 6, 12), QTime(9, 0)); });
  common::G().Reset();
  common::G().drive = "C";
  common::G().percorso_db = drive.mainDbWindows;

  auto catalogue = db::Database::Open(QStringLiteral("C:\\corvalia\\dati.mdb"));
  const std::map<qint64, double> before = Prices(*catalogue);

  {
    ScriptedMessages boxes;
    art22* w = ui::Forms::Show<art22>();
    const int row = w->DBCombo3->findText("CORVALIA");
    ASSERT_GE(row, 0);
    w->DBCombo3->setCurrentIndex(row);
    emit w->DBCombo3->activated(row);
    boxes.Answer(ui::MsgAnswer::Yes);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.Texts().size(), 2) << boxes.Texts().join(" | ").toStdString();
    EXPECT_TRUE(boxes.Texts()[1].startsWith("Aggiornamento listino Corvalia effettuato con "
                                            "successo.\n"));
    // The two damaged type B lines the demo file carries.
    EXPECT_EQ(boxes.Texts()[1].count("B0612.TXT riga"), 2) << boxes.Texts()[1].toStdString();
    ui::Forms::Unload<art22>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  const std::map<qint64, double> after = Prices(*catalogue);
  EXPECT_EQ(after.size(), before.size() + 5);
  int changed = 0;
  for (const auto& [code, price] : before) {
    ASSERT_TRUE(after.count(code)) << code;
    if (std::abs(after.at(code) - price) > 0.001) ++changed;
  }
  EXPECT_GT(changed, static_cast<int>(before.size()) / 2);

  // The comparison takes the new price of an article through its EAN.
  auto main = db::Database::Open(drive.mainDbWindows);
  common::ProgressSink quiet;
  comparison::SlotLoad load;
  load.supplierCode = QStringLiteral("4");
  load.slot = 4;
  ASSERT_TRUE(comparison::LoadSupplier(*main, load, quiet).completed);
  db::Statement st = catalogue->Prepare(
      QStringLiteral("select codare, eanare from codean where eanare like '80*' order by codare"));
  ASSERT_TRUE(st.Step());
  const qint64 code = st.Column(0).toLong();
  const QString ean = st.Column(1).str();
  st.Reset();
  db::Statement cost =
      main->Prepare(QStringLiteral("select costo4 from articoli where vedovo = ?"));
  cost.Bind(1, ean);
  ASSERT_TRUE(cost.Step());
  EXPECT_NEAR(cost.Column(0).toDouble(), after.at(code), 0.0001);
  cost.Reset();
  SetClock({});
  common::G().Reset();
}

}  // namespace
}  // namespace vx::pricelists
