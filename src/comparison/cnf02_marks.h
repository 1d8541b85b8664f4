// The comparison grid's per-row marks and cell texts: which cost cell is the dearest and
// which the cheapest among the named suppliers, and how the difference cells read.
#pragma once

#include <QString>
#include <array>

#include "platform/variant.h"

namespace vx::comparison {

// Grid columns of the comparison grid (column 0 is the fixed column).
inline constexpr int kColSel = 1;
inline constexpr int kColEan = 2;
inline constexpr int kColUm = 4;
inline constexpr int kColIva = 5;
inline constexpr int kColD12 = 21;
inline constexpr int kColD13 = 23;
inline constexpr int kGridCols = 33;  // fixed column + the 32 fields of the grid query

// The cost column of slot 1..4: 9, 12, 15, 18; the package column follows two to the right.
constexpr int CostColumn(int slot) { return 9 + 3 * (slot - 1); }
constexpr int PackageColumn(int slot) { return CostColumn(slot) + 2; }
// The slot 1..4 of a package column (11, 14, 17, 20), 0 for any other column.
constexpr int SlotOfPackageColumn(int col) {
  return (col >= 11 && col <= 20 && (col - 11) % 3 == 0) ? (col - 11) / 3 + 1 : 0;
}

// A number cell formatted with `decimals` decimals and at least `minWhole` whole digits, as
// Format with "##0.0000" (4, 1), "##0" (0, 1) or "00" (0, 2) writes it: decimal comma, no
// thousands mark, rounded half away from zero. Text that is no number stays as it is.
// Cell texts of plain decimals are rounded on their digits, without a trip through binary.
QString FormatCellNumber(const QString& text, int decimals, int minWhole);

// The widest cost cell the grids make room for: four whole digits and four decimals.
inline constexpr char kWidestCostCell[] = "9999,9999";
// The widest difference cell shown with two decimals that the grids make room for.
inline constexpr char kWidestDifferenceCell[] = "-100,00";

// A cost as the marks read it: the number with four decimals; text is read by the regional
// rules, and anything that is no number (Null, empty, letters) counts as 0.
double MarkCost(const Variant& value);
// The same for a cost cell already formatted with four decimals (FormatCellNumber(text, 4, 1)).
double MarkCostOfFormatted(const QString& formatted);

// Costs and "named" flags of the four slots of one row.
struct RowCosts {
  std::array<double, 4> cost{};
  std::array<bool, 4> named{};
};

// Column of the dearest cost: the last named slot holding the highest cost, where the slots
// that are not named count as trailing zero-cost slots of column 0 (so a row without any
// positive cost gets slot 4's column only when all four are named). 0 means no mark.
int DearestCostColumn(const RowCosts& row);
// Column of the cheapest cost: the first named slot holding the lowest positive cost; when
// none is positive, the first named slot's column; 0 when no slot is named.
int CheapestCostColumn(const RowCosts& row);

// The three-supplier grid's marks on the costs of slots 1..3 (no price: 0, as Null is).
// Dearest: the slot of the highest cost, ties to the later slot. Cheapest: the slot of the
// lowest cost where 0 counts as 100000, ties to the later slot. Both give 3 for 0, 0, 0.
int DearestOfThree(const std::array<double, 3>& cost);
int CheapestOfThree(const std::array<double, 3>& cost);

// Text of a difference cell: the cell formatted with `decimals` decimals ("##0", "##0.00"),
// or "-" when that text reads as -100 or 1000.
QString DifferenceText(const QString& cell, int decimals = 0);

}  // namespace vx::comparison
