// The Wi-Fi terminal import: asks first, then takes the rows of the table `ordine` of
// "C:\brunelvatto\dati.mdb" through the data control `brunef`, the three-slot rule with the
// slot-2 fallback, a quantity of 0 as 1; every row handled is deleted, in a transaction of
// that database committed right after the comparison table's; the window unloads on every
// path.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

class cnfpv5 : public TerminalWindow {
  Q_OBJECT
 public:
  cnfpv5();

  db::DataControl* brunef = nullptr;

 protected:
  bool BeforeRun() override;
  void AfterRun(const std::vector<Reading>& readings) override;
};

}  // namespace vx::terminals
