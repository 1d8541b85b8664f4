// The three-supplier grid's query texts: its SELECT, the "In comune" selection and the three
// convenience options. The WHERE joining, the searches and the orders are the four-supplier
// grid's (comparison/cnf02_query.h).
#pragma once

#include <QString>

namespace vx::comparison3 {

// The grid query over `articoli` for slots 1..3; the EAN is the column [vedovo].
QString GridSelect3();
// "In comune": every pair of the three slots has a cost.
QString InCommon3();
// "Più convenienti Fornitore k" (k = 1..3): k has a price and no other priced slot is cheaper.
QString Convenience3(int k);

// The grid's columns (column 0 is the fixed column).
inline constexpr int kCols3 = 21;
inline constexpr int kColSel3 = 1;
inline constexpr int kColEan3 = 2;
inline constexpr int kColUm3 = 4;
inline constexpr int kColIva3 = 5;
inline constexpr int kColDiff3 = 15;  // 15, 16, 17
// Cost and packages column of slot n = 1..3.
constexpr int CostColumn3(int n) { return 7 + 2 * n; }
constexpr int PackageColumn3(int n) { return 8 + 2 * n; }
constexpr int SlotOfPackageColumn3(int col) {
  return (col == 10 || col == 12 || col == 14) ? (col - 8) / 2 : 0;
}

}  // namespace vx::comparison3
