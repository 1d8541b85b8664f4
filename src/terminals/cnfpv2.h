// The PDT3100 (VARU) terminal import: "<drive>:\pdt3100\dati.txt", code in columns 20-32,
// quantity in 33-38, the three-slot rule; the file stays.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv2 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv2();
};

}  // namespace vx::terminals
