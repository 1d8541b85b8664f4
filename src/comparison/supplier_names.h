// The comparison grids' supplier names: each slot's name box filled from the `fornitori` row
// of the highest supplier code the comparison table holds in the slot's column, and the cost
// columns' headings cut from those names.
#pragma once

#include <QString>
#include <vector>

namespace vx::db {
class DataControl;
}
namespace vx::ui {
class FlexGrid;
class TextBox;
}  // namespace vx::ui

namespace vx::comparison {

// Points `forn` at the main database, reads max(forn1) .. max(fornN) of `articoli` (0 for no
// row or no value), then "SELECT * FROM fornitori " and gives each slot's box the `descr` of
// the row with that code; a code without a row leaves its box as it is. Throws db::DbError.
void FillSupplierNames(db::DataControl& forn, const QString& mainDb,
                       const std::vector<ui::TextBox*>& boxes);

// Heading cell (0, costColumns[n]) of each slot: the first `cut` characters of its name box
// when it is not blank, else "CostoN"; on yellow.
void SetCostHeadings(ui::FlexGrid& grid, const std::vector<ui::TextBox*>& boxes,
                     const std::vector<int>& costColumns, int cut);

}  // namespace vx::comparison
