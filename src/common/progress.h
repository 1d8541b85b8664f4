// The small sink through which the comparison's long procedures (loading a supplier, the
// differences pass) report: status lines, a progress bar with its buttons, and yielding to
// the event queue. The loader window wires it to its status box, progress bar and buttons;
// the default does nothing, which suits tools and benchmarks.
#pragma once

#include <QString>

namespace vx::common {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;

  // One status line (the window prefixes the time).
  virtual void Status(const QString& message) { (void)message; }
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
