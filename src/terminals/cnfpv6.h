// The Allegro-Varu (MC3000) terminal import: the first "<drive>:\MC3000\dati\MC*.txt", the
// code in columns 24-36 read as a number and written as 13 digits, the quantity in 44-49,
// the chain rule over slots 1 to 4; the file is deleted before the success message, so the
// next run takes the next one.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv6 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv6();
};

}  // namespace vx::terminals
