// "Crea Ordini" of the three-supplier grid: one order per slot with packages in the view,
// through the comparisons' shared order writer.
#include <QLabel>

#include "common/shared_values.h"
#include "comparison/order_run.h"
#include "comparison3/cnf02T.h"
#include "comparison3/orders3.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/textbox.h"

namespace vx::comparison3 {

void cnf02T::cnf02T_crea_ordine(int n) {
  comparison::WindowOrderPrompts prompts;
  comparison::WriteSlotOrder(n, common::G(), prompts, ThreeSupplierOrders());
}

void cnf02T::Command4_Click() {
  cnf02T_attesa(true);
  comparison::OrderRun run;
  run.slotCount = 3;
  run.view = art->recordset();
  run.main = art->database().get();
  run.policy = ThreeSupplierOrders();
  run.supplierName = [this](int n) { return NameBox(n)->text(); };
  run.showStatus = [this](const QString& text) {
    Label3->setText(text);
    repaint();
  };
  run.fail = [this](const QString& action, const QString& error) { MostraErrore(action, error); };
  const std::vector<comparison::SlotOrderResult> results = comparison::WriteOrders(run);
  cnf02T_attesa(false);

  const comparison::ClearChoice choice = comparison::AskClearPackages(results);
  if (!choice.clear) return;
  if (choice.all) {
    Command5_Click();
    return;
  }
  // Some orders were not written: their packages stay for another try.
  if (choice.written.empty() || !art->database()) return;
  cnf02T_attesa(true);
  try {
    comparison::ClearWrittenPackages(*art->database(), choice.written, ThreeSupplierPackageRows());
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  Ricarica(false);
}

}  // namespace vx::comparison3
