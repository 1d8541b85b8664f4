// The request with which the three-supplier loader fills one slot: the slot's own
// conversion row, the supplier's code in `forn`N, no offer marks and no article type.
#pragma once

#include <QString>

#include "comparison/load_supplier.h"

namespace vx::comparison3 {

comparison::SlotLoad ThreeSupplierLoad(const QString& supplierCode, int slot, double percentage,
                                       bool applyConversion, bool useDescription);

}  // namespace vx::comparison3
