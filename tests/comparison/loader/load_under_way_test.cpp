// A load is under way from its first row until the differences pass ends: a program stopped
// midway leaves the mark for the next look at the comparison; a new load forgets the orders
// written from the packages of the last one.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QThread>
#include <csignal>
#include <cstdio>

#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "support/loader_fixture.h"
#include "comparison/written_orders.h"
#include "data/comparison_load.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "support/child_test.h"

namespace vx::comparison::testing {
namespace {

const QString kMain = QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb");

class LoadUnderWayTest : public LoaderFixture {
 protected:
  LoadOutcome Load(int slot) {
    SlotLoad r;
    r.supplierCode = QString::number(slot);
    r.slot = slot;
    return LoadSupplier(*main_, r, sink_);
  }
  RecordingSink sink_;
};

TEST_F(LoadUnderWayTest, MarkedFromTheLoadUntilTheDifferencesPassEnds) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  AddPriced(varu, 1, "8000000000017", 2);
  RecordWrittenOrders(*main_, {{1, "VARU", varu, 2026, 1, 1, 1}});
  ConfirmWrittenOrders(*main_, 1);
  EXPECT_FALSE(data::LoadUnderWay(*main_));

  ASSERT_TRUE(Load(1).completed);
  EXPECT_TRUE(data::LoadUnderWay(*main_));
  // The orders written from the last load's packages no longer apply.
  EXPECT_TRUE(WrittenOrdersOf(*main_, 1).empty());
  ASSERT_TRUE(ComputeDifferences(*main_, sink_).completed);
  EXPECT_FALSE(data::LoadUnderWay(*main_));

  // A load that finds nothing to load writes nothing and marks nothing.
  EXPECT_FALSE(Load(3).completed);
  EXPECT_FALSE(data::LoadUnderWay(*main_));
}

// A sink that slows the load down so that it commits and yields, and stops the program at
// the first yield: rows committed, differences never reached.
class StoppingSink : public common::ProgressSink {
 public:
  void Step() override { QThread::usleep(500); }
  void Yield() override { std::raise(SIGKILL); }
};

// The load of slot 1 in its own process, stopped at its first yield.
CHILD_ENTRY(LoadStoppedMidway) {
  const QString root = qEnvironmentVariable("VX_LOAD_ROOT");
  if (root.isEmpty()) return 2;
  fs::SetDataRoot(root);
  auto main = db::Database::Open(kMain);
  SlotLoad r;
  r.supplierCode = QStringLiteral("1");
  r.slot = 1;
  StoppingSink sink;
  LoadSupplier(*main, r, sink);
  std::fprintf(stderr, "the load ended without yielding\n");
  return 1;
}

TEST_F(LoadUnderWayTest, AProgramStoppedMidwayLeavesTheLoadMarked) {
  const QString varu = AddSupplier(1, "VARU", "varu");
  const int articles = 2000;
  {
    auto sup = Supplier(varu);
    db::Transaction tx(*sup);
    for (int i = 1; i <= articles; ++i) {
      sup->Execute("insert into articolo (codart, desart, przart) values (?, 'ARTICOLO', 2)",
                   {Variant(i)});
      sup->Execute("insert into codean (codare, eanare) values (?, ?)",
                   {Variant(i), Variant(QStringLiteral("80%1").arg(i, 11, 10, QChar('0')))});
    }
    tx.Commit();
  }
  auto child = StartChild("LoadStoppedMidway", {{"VX_LOAD_ROOT", dir_.path()}});
  ASSERT_TRUE(child->waitForFinished(60000));
  EXPECT_EQ(child->exitStatus(), QProcess::CrashExit);

  const int rows = RowCount();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, articles);
  EXPECT_TRUE(data::LoadUnderWay(*main_));
  // Run again to its end, the mark goes.
  ASSERT_TRUE(Load(1).completed);
  ASSERT_TRUE(ComputeDifferences(*main_, sink_).completed);
  EXPECT_EQ(RowCount(), articles);
  EXPECT_FALSE(data::LoadUnderWay(*main_));
}

}  // namespace
}  // namespace vx::comparison::testing
