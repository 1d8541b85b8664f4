// The loader and the order writing on the demo data drive, through the functions the windows
// call: the four demo suppliers loaded with their conversion rows, packages typed for each
// slot, and every slot's order found in its database at the supplier's own prices.
#include <gtest/gtest.h>

#include <map>

#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison/order_values.h"
#include "comparison/orders/orders_fixture.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "support/temp_data_root.h"

namespace vx::comparison::testing {
namespace {

// The supplier's own price of the article listed under the EAN, as the loader takes it: the
// offer price inside its period, else the list price; with its code and description.
struct CataloguePrice {
  bool found = false;
  qint64 code = 0;
  QString description;
  double price = 0;
};

CataloguePrice PriceIn(db::Database& sup, const QString& ean, const QDate& today) {
  CataloguePrice p;
  auto st = sup.Prepare(
      "select a.codart, a.desart, a.przart, a.przoff, a.data1, a.data2 from codean c join "
      "articolo a on a.codart = c.codare where c.eanare = ?");
  st.Bind(1, Variant(ean));
  if (st.Step()) {
    p.found = true;
    p.code = st.Column(0).toLong();
    p.description = st.Column(1).str().left(30);
    p.price = NumberOf(st.Column(2));
    const double offer = NumberOf(st.Column(3));
    if (offer != 0 && !st.Column(4).isNull() && !st.Column(5).isNull() &&
        st.Column(4).toDate() <= today && today <= st.Column(5).toDate()) {
      p.price = offer;
    }
  }
  st.Reset();
  return p;
}

TEST(DemoDriveOrdersTest, LoadedSlotsOrderAtTheSuppliersOwnPrices) {
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
  ASSERT_TRUE(ComputeDifferences(*main, quiet).completed);
  // The operator's packages: three articles per slot where the slot has a price, 2 each.
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
  int converted = 0;
  for (int slot = 1; slot <= 4; ++slot) {
    // What each line must hold, by the EAN the supplier lists the article under: the
    // comparison row's own, or the slot's alternative of its conversion row.
    struct Expected {
      double imballo = 0;
      QString iva;
    };
    std::map<QString, Expected> expected;
    {
      auto st = main->Prepare(
          QStringLiteral("select a.vedovo, a.imballo, a.ivart, (select [eanalternativo%1] from "
                         "eanconv c where c.ean = a.vedovo order by codfor limit 1) from "
                         "articoli a where colli%2 > 0")
              .arg(slot == 1 ? QString() : QString::number(slot))
              .arg(slot));
      while (st.Step()) {
        const QString alternative = st.Column(3).str().trimmed();
        if (!alternative.isEmpty()) ++converted;
        expected[alternative.isEmpty() ? st.Column(0).str() : alternative] = {
            NumberOf(st.Column(1)), st.Column(2).str()};
      }
      st.Reset();
    }
    ASSERT_EQ(expected.size(), 3u) << slot;

    const SlotOrderResult r = WriteSlotOrder(slot, values, prompts);
    ASSERT_EQ(r.outcome, OrderOutcome::Written) << slot << " " << r.error.toStdString();
    ASSERT_EQ(r.orders, std::vector<qint32>{1}) << slot;
    auto sup = db::Database::Open(r.databasePath);
    auto st = sup->Prepare(
        "select bns, articoli, descrizione, prezzo, imballo, quantita, iva, eanrig, colli, "
        "totrig from movimenti where bannoc = 2026 and bnumer = 1 order by bns");
    int line = 0;
    while (st.Step()) {
      ++line;
      SCOPED_TRACE(QStringLiteral("slot %1, line %2").arg(slot).arg(line).toStdString());
      EXPECT_EQ(st.Column(0).toLong(), line);
      const QString ean = st.Column(7).str();
      ASSERT_TRUE(expected.count(ean)) << ean.toStdString();
      const CataloguePrice own = PriceIn(*sup, ean, options.today);
      ASSERT_TRUE(own.found) << ean.toStdString();
      EXPECT_EQ(st.Column(1).toLong(), own.code);
      EXPECT_EQ(st.Column(2).str(), own.description);
      // The cost converted back: the supplier's own price, to the cent.
      const double price = NumberOf(st.Column(3));
      EXPECT_NEAR(price, own.price, 0.0101);
      EXPECT_EQ(NumberOf(st.Column(4)), expected[ean].imballo);
      EXPECT_EQ(NumberOf(st.Column(5)), 2);
      EXPECT_EQ(st.Column(6).str(), expected[ean].iva);
      const double pieces = NumberOf(st.Column(8));
      EXPECT_EQ(pieces, 2 * expected[ean].imballo);
      EXPECT_NEAR(NumberOf(st.Column(9)), pieces * price, 0.005);
      expected.erase(ean);
    }
    st.Reset();
    EXPECT_EQ(line, 3) << slot;
    EXPECT_TRUE(expected.empty()) << slot;
  }
  EXPECT_TRUE(prompts.failures.isEmpty());
  EXPECT_GT(converted, 0);  // some lines went through an alternative EAN
  SetClock({});
}

}  // namespace
}  // namespace vx::comparison::testing
