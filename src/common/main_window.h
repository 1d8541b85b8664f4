// What the subsystems' windows ask of the main window, reached only through this interface
// (the main window implements it and sets itself here while it is loaded): the frame and
// progress bar that the comparison grid drives while it loads, and the reload of the store's
// values after its settings change.
#pragma once

class QWidget;

namespace vx::ui {
class ProgressBar;
}

namespace vx::common {

class MainWindowLink {
 public:
  // The frame shown while the comparison grid loads, and its progress bar.
  virtual QWidget* ProgressFrame() = 0;
  virtual ui::ProgressBar* ProgressBar() = 0;
  // Closes the main window (its closing steps run) and shows a fresh one, whose load reads
  // the store's files and settings again.
  virtual void Reload() = 0;

 protected:
  ~MainWindowLink() = default;
};

// The main window while it is loaded, else null.
MainWindowLink* MainWindow();
// Called by the main window as it is made and destroyed.
void SetMainWindow(MainWindowLink* window);

}  // namespace vx::common
