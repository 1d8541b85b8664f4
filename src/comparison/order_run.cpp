#include "comparison/order_run.h"

#include <algorithm>
#include <memory>

#include "common/shared_values.h"
#include "comparison/written_orders.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/ui/msgbox.h"

namespace vx::comparison {

bool WindowOrderPrompts::AskNewOrder() {
  return ui::MsgBox({NewOrderQuestion(), NewOrderCaption(), ui::MsgIcon::Information,
                     ui::MsgButtons::YesNo, ui::MsgAnswer::No}) == ui::MsgAnswer::Yes;
}

void WindowOrderPrompts::MissingDatabase(const QString& path) {
  ui::MsgBox({MissingDatabaseText(path), QString(), ui::MsgIcon::None, ui::MsgButtons::Ok,
              ui::MsgAnswer::Ok});
}

void WindowOrderPrompts::OrderFailed(const QString& supplier, const QString& path,
                                     const QString& reason) {
  ui::MsgCritical(OrderFailedText(supplier, path, reason));
}

std::vector<SlotOrderResult> WriteOrders(const OrderRun& run) {
  std::vector<SlotOrderResult> results;
  // The slots with packages in the current view: filters and search apply. Where the view's
  // rows have none, its query runs again: a row another program inserted again since then
  // counts with the packages typed into it. A slot whose view cannot be read is a failed
  // slot: its packages stay.
  std::vector<int> withPackages;
  std::unique_ptr<db::Recordset> viewNow;
  for (int n = 1; n <= run.slotCount && run.view; ++n) {
    try {
      const QString criteria = SlotPackagesCriteria(n);
      bool packages = run.view->FindFirst(criteria);
      if (!packages) {
        if (!viewNow) viewNow = run.view->database().OpenRecordset(run.view->source());
        packages = viewNow->FindFirst(criteria);
      }
      if (packages) withPackages.push_back(n);
    } catch (const db::DbError& e) {
      run.fail(QStringLiteral("la lettura del confronto"), e.message());
      results.push_back(FailedSlot(n, run.supplierName(n), e.message()));
    }
  }

  // Orders an earlier run wrote from these same packages (a run stopped before they were
  // cleared) are written again only when the operator says so.
  std::vector<WrittenOrder> earlier;
  std::vector<int> toWrite;
  for (int n : withPackages) {
    try {
      std::vector<WrittenOrder> w =
          run.main ? WrittenOrdersOf(*run.main, n) : std::vector<WrittenOrder>{};
      earlier.insert(earlier.end(), w.begin(), w.end());
      toWrite.push_back(n);
    } catch (const db::DbError& e) {
      run.fail(QStringLiteral("la lettura degli ordini già creati"), e.message());
      results.push_back(FailedSlot(n, run.supplierName(n), e.message()));
    }
  }
  const bool writeAgain =
      earlier.empty() ||
      ui::MsgBox({WriteAgainQuestion(earlier), NewOrderCaption(), ui::MsgIcon::Exclamation,
                  ui::MsgButtons::YesNo, ui::MsgAnswer::No}) == ui::MsgAnswer::Yes;

  WindowOrderPrompts prompts;
  for (int n : toWrite) {
    const bool done = std::any_of(earlier.begin(), earlier.end(),
                                  [n](const WrittenOrder& o) { return o.slot == n; });
    if (done && !writeAgain) {
      SlotOrderResult r;
      r.slot = n;
      r.outcome = OrderOutcome::AlreadyWritten;
      results.push_back(r);
      continue;
    }
    run.showStatus(QStringLiteral("Creazione Ordine per ") + run.supplierName(n) +
                   QStringLiteral(". Attendere prego..."));
    results.push_back(WriteSlotOrder(n, common::G(), prompts, run.policy));
  }
  std::stable_sort(
      results.begin(), results.end(),
      [](const SlotOrderResult& a, const SlotOrderResult& b) { return a.slot < b.slot; });
  run.showStatus(QStringLiteral("Elaborazione in corso. Attendere prego..."));
  return results;
}

ClearChoice AskClearPackages(const std::vector<SlotOrderResult>& results) {
  ClearChoice choice;
  choice.clear = ui::MsgBox({ClosingQuestion(results), QString(), ui::MsgIcon::None,
                             ui::MsgButtons::YesNo, ui::MsgAnswer::Yes}) == ui::MsgAnswer::Yes;
  if (!choice.clear) return choice;
  choice.all = AllOrdersWritten(results);
  for (const SlotOrderResult& r : results) {
    if (OrderInPlace(r)) choice.written.push_back(r.slot);
  }
  return choice;
}

}  // namespace vx::comparison
