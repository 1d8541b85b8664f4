// The three-supplier comparison's purchase orders: the rows with packages for the slot in the
// table's own order, never split, each line priced with the comparison cost when the supplier's
// catalogue holds the article, else with the store's own cost from `listi01`, else 0; the
// row's unit and description go into the line. The order itself is the shared writer's
// (comparison/orders.h).
#pragma once

#include "comparison/orders.h"

namespace vx::comparison3 {

comparison::OrderPolicy ThreeSupplierOrders();

// The rows whose packages the three-supplier grid clears: colli1 + colli2 + colli3 > 0.
comparison::PackageRows ThreeSupplierPackageRows();

}  // namespace vx::comparison3
