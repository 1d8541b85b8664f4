#include "support/demo_comparison.h"

#include "common/progress.h"
#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "platform/db/database.h"

bool LoadDemoComparison(const QString& mainDb, int slotCount, QString* failure) {
  auto main = vx::db::Database::Open(mainDb);
  vx::common::ProgressSink quiet;
  for (int slot = 1; slot <= slotCount; ++slot) {
    vx::comparison::SlotLoad load;
    load.supplierCode = QString::number(slot);
    load.slot = slot;
    if (!vx::comparison::LoadSupplier(*main, load, quiet).completed) {
      *failure = QStringLiteral("slot %1 did not load").arg(slot);
      return false;
    }
  }
  if (!vx::comparison::ComputeDifferences(*main, quiet).completed) {
    *failure = QStringLiteral("the differences were not computed");
    return false;
  }
  return true;
}
