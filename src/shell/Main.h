// The main window: the hub from which the operator reaches every other window. Its load
// fills the shared values from the store's files and databases; its activation relabels the
// supplier buttons; its closing stops the suppliers' ordering programs.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "common/main_window.h"
#include "platform/ui/form.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace vx::db {
class DataControl;
}
namespace vx::sys {
class ProcessList;
}
namespace vx::ui {
class DriveList;
class ProgressBar;
}  // namespace vx::ui

namespace vx::shell {

class Main : public ui::Form, public common::MainWindowLink {
  Q_OBJECT
 public:
  Main();
  ~Main() override;

  // Load and resize.
  QGroupBox* scadenze = nullptr;  // shown while the comparison grid loads
  ui::ProgressBar* pb1 = nullptr;
  QLabel* Label5 = nullptr;
  ui::DriveList* Drive1 = nullptr;
  QLabel* Label6 = nullptr;     // "Società"
  QLabel* l1 = nullptr;         // the store's name
  QLabel* l2 = nullptr;         // "Utima Data Confronto"
  QLabel* l3 = nullptr;         // date of the last comparison
  QGroupBox* Frame1 = nullptr;  // "Anno contabile"
  QLineEdit* annow = nullptr;
  QLineEdit* dataw = nullptr;
  QLabel* Label2 = nullptr;  // the main database's path
  QLabel* Label9 = nullptr;  // release label
  QLabel* Picture1 = nullptr;
  QGroupBox* FrameSem = nullptr;
  QLabel* Image2 = nullptr;
  QLineEdit* Text1 = nullptr;
  db::DataControl* stampanti = nullptr;

  // Commands.
  QMenuBar* menuBar = nullptr;
  QMenu* mnufile = nullptr;
  QMenu* mnuarchivi = nullptr;
  QAction* copiarch = nullptr;
  QAction* agg_sw = nullptr;
  QAction* mnuesci = nullptr;
  QAction* mnute = nullptr;
  QAction* tabMolt = nullptr;
  QAction* agg_lis_varu = nullptr;
  QAction* agg_lis_corv = nullptr;
  QAction* mafor = nullptr;
  QToolBar* Toolbar1 = nullptr;
  // Toolbar1's buttons by index 1 to 8 (index 0 unused), each with its key as objectName.
  std::array<QAction*, 9> Buttons{};
  db::DataControl* fornitori = nullptr;
  db::DataControl* variatil = nullptr;
  std::unique_ptr<sys::ProcessList> ListKillProcess1;

  // The toolbar's click on the button with this key ("usci", "lis", "impOrd", "For",
  // "far5" .. "far8").
  void Toolbar1_ButtonClick(const QString& key);
  void mnuesci_Click();

  // The terminal window for a terminal type, "" for a type of no window.
  static QString TerminalWindowFor(const QString& tipo_terminale);

  // What the subsystems' windows ask of this one.
  QWidget* ProgressFrame() override;
  ui::ProgressBar* ProgressBar() override;
  void Reload() override;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Form_Unload() override;

 private:
  void BuildCommands();
  void BuildClientArea();
  void ReadStoreRow();
  void ReadAccountingYear();
  void RebuildPrinterTable();
  void RestartBackgroundProcess();
  void ShowReleaseLabel();
  // Points the data control at the main database with the source and refreshes it; a
  // database error is shown and gives false.
  bool RefreshOnMainDatabase(db::DataControl* control, const QString& source);
  // True when the comparison table's last load did not end (read through `variatil`).
  bool LastLoadUnfinished();
  QWidget* client_ = nullptr;  // the area below the menu bar, in which sizes are in twips
};

}  // namespace vx::shell
