// The default terminal import (a store without a terminal type): "<drive>:\mvterminal\ordini.txt",
// code in columns 1-13 by the blank-cut zero fill, quantity in 15-22, the pairwise rule over
// slots 1 to 3; codes not found are passed over without a report, and the file stays.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv();
};

}  // namespace vx::terminals
