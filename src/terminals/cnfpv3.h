// The PDM (Evergreen) terminal import: the first "<drive>:\pdt3100\dati*" file, PDC columns,
// every reading applied (0 as 0), the three-slot rule with the slot-2 fallback; the file is
// deleted after a completed run, so the next run takes the next one.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv3 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv3();
};

}  // namespace vx::terminals
