// The PDT6100 (VOD) terminal import: the records of the first line of
// "<drive>:\brunelvatto\filedati.001", zero quantities skipped, the readings numbered into
// `sequenza`, the accumulating rule over slots 1 to 4, codes not found printed large; the
// file is deleted once the window has closed after a completed run.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv8 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv8();
};

}  // namespace vx::terminals
