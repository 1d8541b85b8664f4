// The main road on the demo data drive: the four demo suppliers loaded with their conversion
// rows, packages typed for each slot, and every slot's order found in its database.
#include <gtest/gtest.h>

#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison/orders/orders_fixture.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "support/temp_data_root.h"

namespace vx::comparison::testing {
namespace {

TEST(DemoDriveOrdersTest, EverySlotWithPackagesGetsItsOrder) {
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 300;
  options.today = QDate(2026, 3, 10);
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  const QDateTime now(options.today, QTime(9, 0));
  SetClock([now] { return now; });

  auto main = db::Database::Open(drive.mainDbWindows);
  common::ProgressSink quiet;
  for (int slot = 1; slot <= 4; ++slot) {
    SlotLoad load;
    load.supplierCode = QString::number(slot);
    load.slot = slot;
    load.applyConversion = true;
    ASSERT_TRUE(LoadSupplier(*main, load, quiet).completed) << slot;
  }
  ComputeDifferences(*main, quiet);
  // The operator's packages: three articles per slot where the slot has a price.
  for (int slot = 1; slot <= 4; ++slot) {
    main->Execute(QStringLiteral("update articoli set colli%1 = 2, sel = 'X' where vedovo in "
                                 "(select vedovo from articoli where costo%1 > 0 order by "
                                 "vedovo limit 3)")
                      .arg(slot));
  }

  common::SharedValues values;
  values.percorso_db = drive.mainDbWindows;
  values.ragione_sociale = "MARKET BELLAVISTA";
  ScriptedPrompts prompts;
  for (int slot = 1; slot <= 4; ++slot) {
    const SlotOrderResult r = WriteSlotOrder(slot, values, prompts);
    ASSERT_EQ(r.outcome, OrderOutcome::Written) << slot << " " << r.error.toStdString();
    EXPECT_EQ(r.lines, 3) << slot;
    auto sup = db::Database::Open(r.databasePath);
    auto st = sup->Prepare(
        "select count(*), sum(totrig), min(prezzo) from movimenti where bannoc = 2026");
    ASSERT_TRUE(st.Step());
    EXPECT_EQ(st.Column(0).toLong(), 3) << slot;
    EXPECT_GT(st.Column(1).toDouble(), 0) << slot;
    st.Reset();
  }
  EXPECT_TRUE(prompts.failures.isEmpty());
  SetClock({});
}

}  // namespace
}  // namespace vx::comparison::testing
