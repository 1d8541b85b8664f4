// The four-supplier loader window: for each comparison slot the supplier, its percentage
// and options; "Elabora dati" saves the slot settings, loads the ticked slots into the
// comparison table, computes the differences and shows the comparison grid.
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

namespace vx::comparison {

class cnf01 : public ui::Form {
  Q_OBJECT
 public:
  cnf01();

  // The controls, named as the window names them (also their objectName).
  QLabel* Label1 = nullptr;           // heading
  std::array<QGroupBox*, 5> Frame{};  // Frame[1..4]: "Selezionare Fornitore N#"
  ui::DBCombo* DBCombo1 = nullptr;
  ui::DBCombo* DBCombo2 = nullptr;
  ui::DBCombo* DBCombo3 = nullptr;
  ui::DBCombo* DBCombo4 = nullptr;
  ui::TextBox* codfor1w = nullptr;
  ui::TextBox* codfor2w = nullptr;
  ui::TextBox* codfor3w = nullptr;
  ui::TextBox* codfor4w = nullptr;
  ui::TextBox* perce1w = nullptr;
  ui::TextBox* perce2w = nullptr;
  ui::TextBox* perce3w = nullptr;
  ui::TextBox* perce4w = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QCheckBox* Check3 = nullptr;
  QCheckBox* Check4 = nullptr;
  QCheckBox* des1 = nullptr;
  QCheckBox* des2 = nullptr;
  QCheckBox* des3 = nullptr;
  QCheckBox* des4 = nullptr;
  QCheckBox* ela1 = nullptr;
  QCheckBox* ela2 = nullptr;
  QCheckBox* ela3 = nullptr;
  QCheckBox* ela4 = nullptr;
  QCheckBox* crea1 = nullptr;
  QCheckBox* crea2 = nullptr;
  QCheckBox* crea3 = nullptr;
  QCheckBox* crea4 = nullptr;
  QPushButton* Command1 = nullptr;  // "Elabora dati"
  QPushButton* Command2 = nullptr;  // "Uscita"
  ui::StatusBox* txtStatus = nullptr;
  ui::ProgressBar* ProgressBar1 = nullptr;
  db::DataControl* forn = nullptr;  // the supplier rows: lists and slot settings

  // The controls of slot n (1 to 4).
  ui::DBCombo* List(int n) const;
  ui::TextBox* CodeBox(int n) const;
  ui::TextBox* PercentBox(int n) const;
  QCheckBox* ConversionBox(int n) const;
  QCheckBox* DescriptionBox(int n) const;
  QCheckBox* LoadBox(int n) const;
  QCheckBox* TypeBox(int n) const;

  // Event procedures.
  void Command1_Click();  // "Elabora dati"
  void Command2_Click();  // "Uscita"
  void DBCombo_Click(int n);

  // The window's procedures.
  void cnf01_scrivi_stato(const QString& message);
  // Loads one slot (the texts of its code and percentage boxes, the values of its boxes).
  void cnf01_carica_fornitore(const QString& codice, qint16 slot, const QString& percentuale,
                              double applica, qint16 descrizione, qint16 tipologia);
  void cnf01_calcola_differenze();

  // True while "Elabora dati" runs; the window then refuses to close.
  bool busy() const { return busy_; }

 protected:
  void Form_Load() override;
  bool CanClose() override { return !busy_; }

 private:
  void BuildControls();
  bool CheckPercentages();
  void SaveSlotSettings();
  void StampComparisonDate();
  // The main database, or null after an ERRORE line in the status box.
  std::shared_ptr<db::Database> ApriArchivioPrincipale();

  bool busy_ = false;
  std::vector<SlotFrame> slots_;
  RunErrors runErrors_;
};

}  // namespace vx::comparison
