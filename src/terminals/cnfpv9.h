// The General Code 630 terminal import: one reading per line of "<drive>:\archivio.txt",
// zero quantities skipped, the readings numbered into `sequenza`, the accumulating rule over
// slots 1 to 4, codes not found printed large; the file is deleted once the window has
// closed after a completed run.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv9 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv9();
};

}  // namespace vx::terminals
