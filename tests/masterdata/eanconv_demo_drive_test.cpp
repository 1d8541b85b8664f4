// The conversion table on the demo data drive, as a new user meets it: the list, a row's
// card with the prices of slot 1 and of the converting slot, a changed factor, "Conferma",
// and "Aggiorna" after a comparison.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/progress.h"
#include "common/shared_values.h"
#include "comparison/load_supplier.h"
#include "data_drive.h"
#include "masterdata/ali01.h"
#include "masterdata/art03.h"
#include "masterdata/slot_price.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::masterdata {
namespace {

void ClickRow(ali01* list, int row) {
  ui::FlexGrid* g = list->flex1;
  const QModelIndex index = g->model()->index(row, 2);
  g->scrollTo(index);
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
}

void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(EanConversionDemoDriveTest, TheTableShowsConvertsSavesAndUpdatesTheComparison) {
  TempDataRoot root;
  ScriptedMessages boxes;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 300;
  options.today = QDate(2026, 3, 10);
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  SetClock([&] { return QDateTime(options.today, QTime(9, 0)); });
  common::G().Reset();
  common::G().percorso_db = drive.mainDbWindows;
  common::G().ragione_sociale = QStringLiteral("MARKET BELLAVISTA");
  auto main = db::Database::Open(drive.mainDbWindows);
  common::ProgressSink quiet;
  for (int slot = 1; slot <= 4; ++slot) {
    comparison::SlotLoad load;
    load.supplierCode = QString::number(slot);
    load.slot = slot;
    ASSERT_TRUE(comparison::LoadSupplier(*main, load, quiet).completed);
  }

  ali01* list = ui::Forms::Show<ali01>();
  ASSERT_GT(list->flex1->Rows(), 4);
  // The first row that converts through another slot.
  int row = 0, slot = 0;
  for (int r = 1; r < list->flex1->Rows() && !slot; ++r) {
    for (int n = 2; n <= 4; ++n) {
      if (!list->flex1->TextMatrix(r, 5 + n).isEmpty()) {
        row = r;
        slot = n;
      }
    }
  }
  ASSERT_GT(slot, 0);
  const QString ean = list->flex1->TextMatrix(row, 2);
  ClickRow(list, row);
  art03* card = ui::Forms::Get<art03>();
  ASSERT_NE(card, nullptr);
  EXPECT_GT(PriceValue(card->przc[1]->Text()), 0);
  const double before = PriceValue(card->przc[slot]->Text());
  EXPECT_GT(before, 0);
  const qint64 factor = card->fatconvw[slot]->Text().toLongLong();
  card->fatconvw[slot]->clear();
  QTest::keyClicks(card->fatconvw[slot], QString::number(factor * 2));
  const double changed = PriceValue(card->przc[slot]->Text());
  EXPECT_NE(changed, before);
  card->Command1->click();
  Settle();
  EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
  EXPECT_FALSE(ui::Forms::IsLoaded<art03>());

  // Opened again, the card shows the saved factor; "Aggiorna" puts its price into the grid's
  // cost of that slot.
  ClickRow(list, row);
  card = ui::Forms::Get<art03>();
  EXPECT_EQ(card->fatconvw[slot]->Text(), QString::number(factor * 2));
  EXPECT_EQ(PriceValue(card->przc[slot]->Text()), changed);
  card->Command4->click();
  Settle();
  EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join("|").toStdString();
  auto cost =
      main->Prepare(QStringLiteral("select costo%1 from articoli where vedovo = ?").arg(slot));
  cost.Bind(1, ean);
  ASSERT_TRUE(cost.Step());
  EXPECT_FLOAT_EQ(cost.Column(0).toDouble(), static_cast<float>(changed));
  cost.Reset();

  // Slot 2 lists rows too; the one whose supplier-1 EAN no supplier lists is refused.
  list->fo2->click();
  ASSERT_GE(list->flex1->Rows(), 3);
  int unlisted = 0;
  for (int r = 1; r < list->flex1->Rows(); ++r) {
    if (list->flex1->TextMatrix(r, 6) != list->flex1->TextMatrix(r, 2)) unlisted = r;
  }
  ASSERT_GT(unlisted, 0);
  ClickRow(list, unlisted);
  card = ui::Forms::Get<art03>();
  EXPECT_FALSE(card->desarw->Text().isEmpty());
  card->Command1->click();
  EXPECT_EQ(boxes.Texts(), QStringList{" Attenzione !!!! Codice Ean non presente nel listino "
                                       "fornitore   ..."});
  ui::Forms::Unload<art03>();
  ui::Forms::Unload<ali01>();
  Settle();
  main.reset();
  common::G().Reset();
  SetClock({});
}

}  // namespace
}  // namespace vx::masterdata
