// The program's Qt application set up the way the windows expect it.
#pragma once

class QApplication;

namespace vx::ui {

// Fixes the Italian locale, draws the windows with WindowStyle and leaves ending the process
// to the window registry (the process ends when the last window is unloaded, not when the
// last one is hidden).
void SetupApplication(QApplication& app);

// The one call through which long loops let pending events (repaints, timers, input) run.
// While a write transaction is open anywhere in the process, no user input runs: clicks and
// keys wait until the last such transaction ends, so that no other window writes into a
// transaction it does not own.
void DoEvents();

}  // namespace vx::ui
