// What the comparison grid drives on the main window: the frame `scadenze` and its
// progress bar `pb1`, reached only while the main window is loaded.
#pragma once

class QWidget;

namespace vx::ui {
class ProgressBar;
}

namespace vx::comparison {

struct MainWindowProgress {
  QWidget* scadenze = nullptr;
  ui::ProgressBar* pb1 = nullptr;
};

// Both null when the main window is not loaded.
MainWindowProgress MainProgress();

}  // namespace vx::comparison
