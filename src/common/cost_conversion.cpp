#include "common/cost_conversion.h"

namespace vx::common {

double ConvertCost(double cost, double factor, const QString& action) {
  if (factor == 0) return cost;
  return action == QLatin1String("M") ? cost * factor : cost / factor;
}

double ConvertToSupplierPrice(double cost, double factor, const QString& action) {
  if (factor == 0) return cost;
  return action == QLatin1String("M") ? cost / factor : cost * factor;
}

}  // namespace vx::common
