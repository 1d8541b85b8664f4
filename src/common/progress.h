// The small sink through which the long procedures (loading a supplier, the differences
// pass, the text price-list import) report: status lines, a progress bar with its buttons,
// and yielding to the event queue. Each window wires it to its status box, progress bar and
// buttons as its own rules say (the loader hides its buttons while it works, the text import
// leaves them and its bar shown); the default does nothing, which suits tools and benchmarks.
#pragma once

#include <QString>

namespace vx::common {

// A supplier database that could not be opened or read as a catalogue, and whom that cost.
struct DatabaseFault {
  QString path;      // the file, as the supplier row names it
  QString text;      // what happened to it, naming it, with the technical detail
  QString supplier;  // the supplier's name
  int slot = 0;      // the slot whose load met it
  bool own = false;  // the slot's own supplier (not loaded), else an alternative (cost 0)
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;

  // One status line (the window prefixes the time).
  virtual void Status(const QString& message) { (void)message; }
  // A database fault, told on the status line `message`.
  virtual void Fault(const DatabaseFault& fault, const QString& message) {
    (void)fault;
    Status(message);
  }
  // Work of `maximum` steps begins: the bar runs from its minimum to maximum and shows,
  // the window's buttons hide, the window repaints.
  virtual void Begin(int maximum) { (void)maximum; }
  // One step done: the bar advances by one while value + 1 does not exceed its maximum.
  virtual void Step() {}
  // The work has ended (or never began): buttons shown again, bar hidden, repaint.
  virtual void End() {}
  // Lets pending events run (repaints, input, other windows).
  virtual void Yield() {}
};

}  // namespace vx::common
