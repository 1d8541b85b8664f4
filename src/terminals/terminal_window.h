// The window every terminal import shares: a label, a progress bar, "Conferma" and a button
// that closes it, and the run of one download (importa_quantita_terminale). A window of a
// terminal type gives its settings and, where it has one, its pre-step and its end.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/form.h"
#include "terminals/terminal_import.h"

class QLabel;
class QPushButton;

namespace vx::ui {
class ProgressBar;
}
namespace vx::db {
class DataControl;
class Recordset;
}  // namespace vx::db

namespace vx::terminals {

// What becomes of the source file after a completed run, and when it goes: before the
// success message, right after it, or once the window has closed and the report printed.
enum class SourceAfterSuccess { Keep, DeleteBeforeMessage, DeleteAfterMessage, DeleteAtEnd };

// A table of another database as the source: one reading per row, each row deleted once
// handled, in step with the commit of the comparison table's changes.
struct TableSource {
  const char* control = "";  // the name of the window's data control over the table
  QString database;          // Windows path
  QString table;
  QString recordSource;
  std::function<Reading(const db::Recordset& row)> read;
};

struct TerminalSettings {
  QString caption;
  // The source's Windows path on the data drive; with sourceIsPattern a file pattern of
  // which the first match (in the folder's stable order) is read.
  std::function<QString(const QString& drive)> source;
  bool sourceIsPattern = false;
  // One line of the source to its reading.
  std::function<Reading(const QString& line)> parse;
  // The readings of the whole file where they are not one per line (parse is unused then).
  std::function<std::vector<Reading>(const QStringList& lines)> readAll;
  // A table instead of a file (source, parse and readAll are unused then).
  std::optional<TableSource> table;
  ImportRule rule;
  double reportFontSize = 0;
  SourceAfterSuccess sourceAfterSuccess = SourceAfterSuccess::Keep;
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
  // The data control over a table source (null for a file source).
  db::DataControl* SourceControl = nullptr;

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
  // The readings of the table source through SourceControl; the message to show when the
  // database or its table is missing, cannot be read, or lies outside the data drive, ""
  // when they were read.
  QString ReadTable(std::vector<Reading>& readings, std::vector<long>& positions);
  // A check failed or the run stopped: the window waits for "Conferma" again, or unloads.
  void StopRun();

  TerminalSettings settings_;
};

}  // namespace vx::terminals
