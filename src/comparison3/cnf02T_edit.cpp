// Editing of the three-supplier grid: marks, units and packages written back at once, and the
// buttons that act on many rows.
#include <utility>

#include "common/shared_values.h"
#include "comparison/grid_edit.h"
#include "comparison/written_orders.h"
#include "comparison3/cnf02T.h"
#include "comparison3/cnf02T_query.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"

namespace vx::comparison3 {

namespace {

comparison::GridColumns ThreeSupplierColumns() {
  comparison::GridColumns cols;
  cols.sel = kColSel3;
  cols.ean = kColEan3;
  cols.um = kColUm3;
  cols.slotCount = 3;
  cols.slotOfPackageColumn = SlotOfPackageColumn3;
  cols.packageColumn = PackageColumn3;
  return cols;
}

}  // namespace

void cnf02T::ScriviRiga(int riga, const comparison::RowEdit& edit) {
  if (edit.markOrUnit) common::G().ean_corrente = flex1->TextMatrix(riga, kColEan3);
  if (auto error =
          comparison::WriteRowEdit(art->recordset(), *flex1, ThreeSupplierColumns(), riga, edit)) {
    MostraErrore(
        QStringLiteral("l'aggiornamento dell'articolo ") + flex1->TextMatrix(riga, kColEan3),
        *error);
  }
}

void cnf02T::flex1_Click() {
  // A press on a heading leaves the current cell where it was: nothing to do.
  if (std::exchange(pressOnHeading_, false)) return;
  const int r = flex1->Row();
  if (auto edit = comparison::ClickEdit(*flex1, ThreeSupplierColumns(), r, flex1->Col())) {
    ScriviRiga(r, *edit);
  }
}

void cnf02T::flex1_KeyDown(int& KeyCode, int /*Shift*/) {
  const int r = flex1->Row();
  if (auto edit =
          comparison::DeleteKeyEdit(*flex1, ThreeSupplierColumns(), r, flex1->Col(), KeyCode)) {
    ScriviRiga(r, *edit);
  }
}

void cnf02T::flex1_KeyPress(int& KeyAscii) {
  const int r = flex1->Row();
  if (auto edit =
          comparison::DigitKeyEdit(*flex1, ThreeSupplierColumns(), r, flex1->Col(), KeyAscii)) {
    ScriviRiga(r, *edit);
  }
}

void cnf02T::Command1_Click() {
  cnf02T_attesa(true);
  if (db::Recordset* rs = art->recordset(); rs && rs->RecordCount() > 0) {
    try {
      comparison::ToggleUnpackedMarks(*rs, 3, true);
    } catch (const db::DbError& e) {
      MostraErrore(QStringLiteral("la selezione degli articoli"), e.message());
    }
    // The grid is refilled as the table holds it, without the formats and colours.
    try {
      rs->MoveFirst();
      art->Refresh();
    } catch (const db::DbError& e) {
      MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
    }
  }
  cnf02T_attesa(false);
}

void cnf02T::Command2_Click() {
  if (!ui::AskYesNo(
          QStringLiteral("Attenzione!!!  Sei sicuro di voler eliminare i dati confrontati?"),
          QStringLiteral("Elimina Confronto Fornitori"), ui::MsgIcon::Information,
          ui::MsgAnswer::No)) {
    return;
  }
  if (db::Recordset* rs = art->recordset()) {
    try {
      comparison::DeleteViewRows(*rs);
    } catch (const db::DbError& e) {
      // Nothing was deleted: the view stays on screen as the table holds it.
      MostraErrore(QStringLiteral("l'eliminazione dei dati"), e.message());
      Ricarica(false);
      return;
    }
  }
  Unload();
}

void cnf02T::Command5_Click() {
  if (flex1->Rows() <= 1 || !art->database()) return;
  cnf02T_attesa(true);
  db::Database& main = *art->database();
  try {
    // Every row of the table with packages, whatever the view shows; the orders written from
    // those packages go with them.
    db::Transaction tx(main);
    main.Execute(
        QStringLiteral("update articoli set colli1 = 0, colli2 = 0, colli3 = 0, sel = ' ' "
                       "where colli1 + colli2 + colli3 > 0"));
    comparison::ForgetWrittenOrders(main, {1, 2, 3});
    tx.Commit();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  Ricarica(false);
}

void cnf02T::Command6_Click() { Unload(); }

}  // namespace vx::comparison3
