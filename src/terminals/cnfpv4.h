// The CipherLab terminal import: each "Conferma" starts "<drive>:\cipherlab\IR_read.exe" and
// asks whether the download is done; "<drive>:\cipherlab\dati.txt" holds code, comma and
// quantity; the three-slot rule with the slot-2 fallback; the file is deleted after a
// completed run; the window unloads on every path.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv4 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv4();

 protected:
  bool BeforeRun() override;
  void AfterRun(const std::vector<Reading>& readings) override;
};

}  // namespace vx::terminals
