#include "shell/shared_values.h"

namespace vx::shell {

SharedValues& G() {
  static SharedValues values;
  return values;
}

}  // namespace vx::shell
