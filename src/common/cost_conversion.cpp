#include "common/cost_conversion.h"

namespace vx::common {

double ConvertCost(double cost, double factor, const QString& action, ZeroFactor zero) {
  const bool multiplies = action == QLatin1String("M");
  if (factor == 0) return multiplies && zero == ZeroFactor::MultiplyToZero ? 0.0 : cost;
  return multiplies ? cost * factor : cost / factor;
}

double ConvertToSupplierPrice(double cost, double factor, const QString& action) {
  if (factor == 0) return cost;
  return action == QLatin1String("M") ? cost / factor : cost * factor;
}

}  // namespace vx::common
