// The window every terminal import shares: a label, a progress bar, "Conferma" and a button
// that closes it, and the run of one download (importa_quantita_terminale). A window of a
// terminal type gives its settings and, where it has one, its pre-step and its end.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "platform/ui/form.h"
#include "terminals/terminal_import.h"

class QLabel;
class QPushButton;

namespace vx::ui {
class ProgressBar;
}

namespace vx::terminals {

struct TerminalSettings {
  QString caption;
  // The source's Windows path on the data drive; with sourceIsPattern a file pattern of
  // which the first match (in the folder's stable order) is read.
  std::function<QString(const QString& drive)> source;
  bool sourceIsPattern = false;
  // One line of the source to its reading.
  std::function<Reading(const QString& line)> parse;
  ImportRule rule;
  double reportFontSize = 0;
  bool deleteSourceAfterSuccess = false;
  // After a failed check the window unloads instead of waiting for "Conferma" again.
  bool unloadOnFailedCheck = false;
};

class TerminalWindow : public ui::Form {
  Q_OBJECT
 public:
  QLabel* Label11 = nullptr;
  ui::ProgressBar* ProgressBar1 = nullptr;
  QPushButton* Command1 = nullptr;  // "Conferma"
  QPushButton* Annulla = nullptr;

  void Command1_Click() { importa_quantita_terminale(); }
  void Annulla_Click() { Unload(); }

 protected:
  TerminalWindow(const char* name, TerminalSettings settings);

  // Runs before anything else on each "Conferma"; false ends the run and unloads the window.
  virtual bool BeforeRun() { return true; }
  // After a successful run, with the readings it applied.
  virtual void AfterRun(const std::vector<Reading>& readings) { (void)readings; }

 private:
  void importa_quantita_terminale();
  // The source file to read, "" when there is none.
  QString ResolveSource() const;
  // A check failed or the run stopped: the window waits for "Conferma" again, or unloads.
  void StopRun();

  TerminalSettings settings_;
};

// The three-slot rule as an import rule, with or without the slot-2 fallback.
ImportRule ThreeSlotImport(bool slot2Fallback);

}  // namespace vx::terminals
