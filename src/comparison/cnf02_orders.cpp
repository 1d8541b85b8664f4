// "Crea Ordini" of the comparison grid: one purchase order per supplier slot that has
// packages in the current view, written into that supplier's database.
#include <QLabel>
#include <algorithm>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison/orders.h"
#include "comparison/written_orders.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

// The order writing's questions and messages as the window's boxes.
class WindowPrompts : public OrderPrompts {
 public:
  bool AskNewOrder() override {
    return ui::MsgBox({NewOrderQuestion(), NewOrderCaption(), ui::MsgIcon::Information,
                       ui::MsgButtons::YesNo, ui::MsgAnswer::No}) == ui::MsgAnswer::Yes;
  }
  void MissingDatabase(const QString& path) override {
    ui::MsgBox({MissingDatabaseText(path), QString(), ui::MsgIcon::None, ui::MsgButtons::Ok,
                ui::MsgAnswer::Ok});
  }
  void OrderFailed(const QString& supplier, const QString& path, const QString& reason) override {
    ui::MsgCritical(OrderFailedText(supplier, path, reason));
  }
};

SlotOrderResult WriteOrderOfSlot(qint16 N) {
  WindowPrompts prompts;
  return WriteSlotOrder(N, common::G(), prompts);
}

QString WaitText() { return QStringLiteral("Elaborazione in corso. Attendere prego..."); }

}  // namespace

void cnf02::cnf02_crea_ordine(qint16 N) { WriteOrderOfSlot(N); }

void cnf02::cnf02_Command4_Click() {
  cnf02_attesa(true);
  std::vector<SlotOrderResult> results;
  db::Recordset* view = art->recordset();
  // The slots with packages in the current view: filters, search and page apply. A slot
  // whose view cannot be read is a failed slot: its packages stay.
  std::vector<int> withPackages;
  for (qint16 n = 1; n <= 4 && view; ++n) {
    try {
      if (view->FindFirst(SlotPackagesCriteria(n))) withPackages.push_back(n);
    } catch (const db::DbError& e) {
      MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
      results.push_back(FailedSlot(n, NameBox(n)->text(), e.message()));
    }
  }

  // Orders an earlier run wrote from these same packages (a run stopped before they were
  // cleared) are written again only when the operator says so.
  std::vector<WrittenOrder> earlier;
  std::vector<int> toWrite;
  for (int n : withPackages) {
    try {
      std::vector<WrittenOrder> w =
          art->database() ? WrittenOrdersOf(*art->database(), n) : std::vector<WrittenOrder>{};
      earlier.insert(earlier.end(), w.begin(), w.end());
      toWrite.push_back(n);
    } catch (const db::DbError& e) {
      MostraErrore(QStringLiteral("la lettura degli ordini già creati"), e.message());
      results.push_back(FailedSlot(n, NameBox(n)->text(), e.message()));
    }
  }
  const bool writeAgain =
      earlier.empty() ||
      ui::MsgBox({WriteAgainQuestion(earlier), NewOrderCaption(), ui::MsgIcon::Exclamation,
                  ui::MsgButtons::YesNo, ui::MsgAnswer::No}) == ui::MsgAnswer::Yes;

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
    Label3->setText(QStringLiteral("Creazione Ordine per ") + NameBox(n)->text() +
                    QStringLiteral(". Attendere prego..."));
    repaint();
    results.push_back(WriteOrderOfSlot(static_cast<qint16>(n)));
  }
  std::stable_sort(
      results.begin(), results.end(),
      [](const SlotOrderResult& a, const SlotOrderResult& b) { return a.slot < b.slot; });
  Label3->setText(WaitText());
  repaint();
  cnf02_attesa(false);

  const bool clear = ui::MsgBox({ClosingQuestion(results), QString(), ui::MsgIcon::None,
                                 ui::MsgButtons::YesNo, ui::MsgAnswer::Yes}) == ui::MsgAnswer::Yes;
  if (!clear) return;
  if (AllOrdersWritten(results)) {
    cnf02_Command5_Click();
    return;
  }
  // Some orders were not written: their packages stay for another try.
  std::vector<int> written;
  for (const SlotOrderResult& r : results) {
    if (OrderInPlace(r)) written.push_back(r.slot);
  }
  if (written.empty() || !art->database()) return;
  cnf02_attesa(true);
  try {
    ClearWrittenPackages(*art->database(), written);
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  RicaricaVista();
}

}  // namespace vx::comparison
