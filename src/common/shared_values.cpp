#include "common/shared_values.h"

namespace vx::common {

SharedValues& G() {
  static SharedValues values;
  return values;
}

}  // namespace vx::common
