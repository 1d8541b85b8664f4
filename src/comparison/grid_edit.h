// Editing of the comparison grids: the mark, unit and package cells changed by clicks and
// keys, each change written back at once to its article's row of the grid's view, and the
// mark toggle of the rows without packages. The grids differ in their columns and slots.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/variant.h"

namespace vx::db {
class Recordset;
}
namespace vx::ui {
class FlexGrid;
}

namespace vx::comparison {

// Where a grid keeps the cells that editing touches.
struct GridColumns {
  int sel = 1;
  int ean = 2;
  int um = 4;
  int slotCount = 4;
  std::function<int(int col)> slotOfPackageColumn;  // slot 1..slots, 0 for other columns
  std::function<int(int slot)> packageColumn;
};

struct CellText {
  int row;
  int col;
  QString text;
};

// One change of a grid row: the view's fields to write and the cells' texts before it.
struct RowEdit {
  std::vector<std::pair<QString, Variant>> fields;
  std::vector<CellText> undo;
  bool markOrUnit = false;  // a click on the mark or the unit (it sets the current EAN)
};

// The grid's rules, applied to its cells; the write that follows, nothing when the cell or
// key has no rule. A click on the mark: "X" on, off ("") only when the row's packages add up
// to 0 or less; on the unit: "CT" to "PZ", anything else to "CT"; on packages: the cell's
// number written. Delete or Cancel on packages: "0" and the mark " ". A digit on packages of
// fewer than 4 characters: the number grows by the digit and the row is marked.
std::optional<RowEdit> ClickEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c);
std::optional<RowEdit> DeleteKeyEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c,
                                     int keyCode);
std::optional<RowEdit> DigitKeyEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c,
                                    int keyAscii);

// Writes the edit into the view's row with the grid row's EAN, in one transaction; a row
// that the view does not hold (inserted again since its query) is found in the table by the
// EAN. When the table no longer holds the EAN, the cells take back their texts and a box
// tells the operator to reload the grid. On a database error the cells take back their texts
// and the error's text is returned. An edit that changed no cell (a click on packages) tells
// neither.
std::optional<QString> WriteRowEdit(db::Recordset* view, ui::FlexGrid& grid,
                                    const GridColumns& cols, int r, const RowEdit& edit);

// "Seleziona o  Deseleziona tutti": every row of the view whose packages of slots 1..slots
// add up to 0 switches its mark ("X" to " ", anything else to "X"), in one transaction. With
// nullLeavesRow a row with a Null package is left as it is; otherwise Null counts as 0.
// Throws db::DbError (nothing changed).
void ToggleUnpackedMarks(db::Recordset& view, int slotCount, bool nullLeavesRow);

// "Elimina Dati": every row of the view deleted in one transaction; when that empties the
// comparison table, its written orders and its load's under-way mark go too. Throws
// db::DbError (nothing deleted).
void DeleteViewRows(db::Recordset& view);

}  // namespace vx::comparison
