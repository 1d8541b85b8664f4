// Marks and packages of the comparison grid: clicks and keys on the grid, each written back
// to its article's row at once, and the two buttons that act on many rows.
#include <utility>

#include "comparison/cnf02.h"
#include "comparison/cnf02_marks.h"
#include "comparison/grid_edit.h"
#include "comparison/written_orders.h"
#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/flexgrid.h"

namespace vx::comparison {

namespace {

GridColumns FourSupplierColumns() {
  GridColumns cols;
  cols.sel = kColSel;
  cols.ean = kColEan;
  cols.um = kColUm;
  cols.slotCount = 4;
  cols.slotOfPackageColumn = SlotOfPackageColumn;
  cols.packageColumn = PackageColumn;
  return cols;
}

}  // namespace

void cnf02::ScriviRiga(int riga, const RowEdit& edit) {
  if (auto error = WriteRowEdit(art->recordset(), *flex1, FourSupplierColumns(), riga, edit)) {
    MostraErrore(
        QStringLiteral("l'aggiornamento dell'articolo ") + flex1->TextMatrix(riga, kColEan),
        *error);
  }
}

void cnf02::cnf02_flex1_Click() {
  // A press on a heading leaves the current cell where it was: nothing to do.
  if (std::exchange(pressOnHeading_, false)) return;
  const int r = flex1->Row();
  if (auto edit = ClickEdit(*flex1, FourSupplierColumns(), r, flex1->Col())) ScriviRiga(r, *edit);
}

void cnf02::cnf02_flex1_KeyDown(int& KeyCode, int /*Shift*/) {
  const int r = flex1->Row();
  if (auto edit = DeleteKeyEdit(*flex1, FourSupplierColumns(), r, flex1->Col(), KeyCode)) {
    ScriviRiga(r, *edit);
  }
}

void cnf02::cnf02_flex1_KeyPress(int& KeyAscii) {
  const int r = flex1->Row();
  if (auto edit = DigitKeyEdit(*flex1, FourSupplierColumns(), r, flex1->Col(), KeyAscii)) {
    ScriviRiga(r, *edit);
  }
}

void cnf02::cnf02_Command1_Click() {
  cnf02_attesa(true);
  db::Recordset* rs = art->recordset();
  if (!rs || rs->RecordCount() == 0) {
    cnf02_carica_griglia();
    cnf02_attesa(false);
    return;
  }
  try {
    ToggleUnpackedMarks(*rs, 4, false);
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la selezione degli articoli"), e.message());
  }
  RicaricaVista();
}

void cnf02::cnf02_Command5_Click() {
  if (flex1->Rows() <= 1 || !art->database()) return;
  cnf02_attesa(true);
  try {
    db::Transaction tx(*art->database());
    // All marked rows of the table, whatever the view shows, in one statement.
    art->database()->Execute(
        QStringLiteral("update articoli set colli1 = 0, colli2 = 0, colli3 = 0, colli4 = 0, "
                       "sel = ' ' where sel = 'X'"));
    // The orders written from these packages go with them.
    ForgetWrittenOrders(*art->database());
    tx.Commit();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  RicaricaVista();
}

}  // namespace vx::comparison
