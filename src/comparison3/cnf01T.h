// The three-supplier loader window: for each of the three comparison slots the supplier, its
// percentage, its options and the note of its price list; "Elabora dati" saves the slot
// settings, loads the ticked slots into the comparison table, computes the differences
// between the three costs and shows the three-supplier grid.
#pragma once

#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "comparison/loader_window.h"
#include "platform/ui/form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::db {
class Database;
class DataControl;
}  // namespace vx::db

namespace vx::ui {
class DBCombo;
class ProgressBar;
class StatusBox;
class TextBox;
}  // namespace vx::ui

namespace vx::comparison3 {

class cnf01T : public ui::Form {
  Q_OBJECT
 public:
  cnf01T();

  // The controls, named as the window names them (also their objectName).
  QLabel* Label2 = nullptr;  // "Confronto listini Fornitori"
  QLabel* Image1 = nullptr;  // decoration pictures either side of the title
  QLabel* Image2 = nullptr;
  QGroupBox* Frame5 = nullptr;  // slot 1
  QGroupBox* Frame1 = nullptr;  // slot 2
  QGroupBox* Frame2 = nullptr;  // slot 3
  ui::DBCombo* DBCombo1 = nullptr;
  ui::DBCombo* DBCombo2 = nullptr;
  ui::DBCombo* DBCombo3 = nullptr;
  ui::TextBox* codfor1w = nullptr;
  ui::TextBox* codfor2w = nullptr;
  ui::TextBox* codfor3w = nullptr;
  ui::TextBox* perce1w = nullptr;
  ui::TextBox* perce2w = nullptr;
  ui::TextBox* perce3w = nullptr;
  std::array<QLabel*, 3> label1{};  // the percentage headings of frames 1 to 3
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QCheckBox* Check3 = nullptr;
  QCheckBox* des1 = nullptr;
  QCheckBox* des2 = nullptr;
  QCheckBox* des3 = nullptr;
  QCheckBox* ela1 = nullptr;
  QCheckBox* ela2 = nullptr;
  QCheckBox* ela3 = nullptr;
  QLabel* des1l = nullptr;
  QLabel* des2l = nullptr;
  QLabel* des3l = nullptr;
  ui::StatusBox* txtStatus = nullptr;
  ui::ProgressBar* ProgressBar1 = nullptr;
  QPushButton* Command1 = nullptr;  // "Elabora dati"
  QPushButton* Command2 = nullptr;  // "Uscita"
  // (The member `db` hides the namespace inside the class: names below spell vx::db.)
  vx::db::DataControl* forn = nullptr;   // the supplier rows: lists and slot settings
  vx::db::DataControl* testa = nullptr;  // a supplier's price-list header
  vx::db::DataControl* db = nullptr;     // the comparison table

  // The controls of slot n (1 to 3).
  const comparison::SlotFrame& Slot(int n) const { return slots_.at(n - 1); }

  // Event procedures.
  void Command1_Click();  // "Elabora dati"
  void Command2_Click();  // "Uscita"
  void DBCombo_Click(int n);

  // The window's procedures.
  void cnf01T_scrivi_stato(const QString& message);
  // Loads one slot (the texts of its code and percentage boxes, the values of its boxes).
  void cnf01T_carica_fornitore(const QString& codice, qint16 slot, const QString& perce,
                               double applica, qint16 des);
  void cnf01T_calcola_differenze();

  // True while "Elabora dati" runs; the window then refuses to close.
  bool busy() const { return busy_; }

 protected:
  void Form_Load() override;
  bool CanClose() override { return !busy_; }

 private:
  void BuildControls();
  // The main database, or null after an ERRORE line in the status box.
  std::shared_ptr<vx::db::Database> ApriArchivioPrincipale();

  bool busy_ = false;
  std::vector<comparison::SlotFrame> slots_;
  comparison::RunErrors runErrors_;
};

}  // namespace vx::comparison3
