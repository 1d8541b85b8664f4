// The PDT3100 (DIZA) terminal import: as the PDT window with the code in columns 18-30 and
// the quantity in 31-36; each load first starts "<drive>:\pdt3100\scarico.bat" and waits
// for the operator's OK.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv7 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv7();

 protected:
  void Form_Load() override;
};

}  // namespace vx::terminals
