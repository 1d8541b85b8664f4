#include "common/cost_conversion.h"

#include <gtest/gtest.h>

namespace vx::common {
namespace {

// Each row goes there and back: the store's cost from the supplier's price, and the price
// again from that cost. Only the capital "M" multiplies; a factor of 0 converts nothing.
TEST(CostConversionTest, ForwardAndBackThroughFactorAndAction) {
  struct Row {
    double price;
    double factor;
    const char* action;
    double cost;
  };
  const Row rows[] = {{2, 6, "M", 12}, {12, 6, "D", 2}, {12, 6, "m", 2},
                      {12, 6, " ", 2}, {7, 0, "M", 7},  {7, 0, "D", 7}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.action);
    EXPECT_DOUBLE_EQ(ConvertCost(r.price, r.factor, r.action), r.cost);
    EXPECT_DOUBLE_EQ(ConvertToSupplierPrice(r.cost, r.factor, r.action), r.price);
  }
}

}  // namespace
}  // namespace vx::common
