// The conversion between a supplier's pack price and the store's cost through the factor
// and action of an EAN conversion row: the loader, the orders, the imports and the article
// card all convert the same way.
#pragma once

#include <QString>

namespace vx::common {

// What a factor of 0 does to a cost.
enum class ZeroFactor {
  KeepCost,        // the cost stays as it is, whatever the action
  MultiplyToZero,  // "M" multiplies it to 0; any other action leaves it
};

// A supplier's price taken into the store's cost: multiplied by the factor when the action
// is exactly "M", divided by it otherwise; a factor of 0 as `zero` says.
double ConvertCost(double cost, double factor, const QString& action,
                   ZeroFactor zero = ZeroFactor::KeepCost);

// The comparison cost converted back into the supplier's price: divided by the factor when
// the action is "M" (the capital letter exactly), multiplied by it for any other action;
// a factor of 0 leaves the cost as it is.
double ConvertToSupplierPrice(double cost, double factor, const QString& action);

}  // namespace vx::common
