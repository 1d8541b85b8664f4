// "Crea Ordini" of the comparison grid: one purchase order per supplier slot that has
// packages in the current view, written into that supplier's database.
#include <QLabel>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison/order_run.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

void cnf02::cnf02_crea_ordine(qint16 N) {
  WindowOrderPrompts prompts;
  WriteSlotOrder(N, common::G(), prompts);
}

void cnf02::cnf02_Command4_Click() {
  cnf02_attesa(true);
  OrderRun run;
  run.slotCount = 4;
  run.view = art->recordset();
  run.main = art->database().get();
  run.policy = FourSupplierOrders();
  run.supplierName = [this](int n) { return NameBox(n)->text(); };
  run.showStatus = [this](const QString& text) {
    Label3->setText(text);
    repaint();
  };
  run.fail = [this](const QString& action, const QString& error) { MostraErrore(action, error); };
  const std::vector<SlotOrderResult> results = WriteOrders(run);
  cnf02_attesa(false);

  const ClearChoice choice = AskClearPackages(results);
  if (!choice.clear) return;
  if (choice.all) {
    cnf02_Command5_Click();
    return;
  }
  // Some orders were not written: their packages stay for another try.
  if (choice.written.empty() || !art->database()) return;
  cnf02_attesa(true);
  try {
    ClearWrittenPackages(*art->database(), choice.written);
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  RicaricaVista();
}

}  // namespace vx::comparison
