// The supplier record: one row of the supplier table, whose code is the supplier's
// comparison slot 1 to 4, chosen with four option buttons; saving writes the chosen slot's
// row, deleting deletes it.
#pragma once

#include "platform/ui/form.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class TextBox;
}

namespace vx::masterdata {

class for01 : public ui::Form {
  Q_OBJECT
 public:
  for01();

  // The controls, named as the window names them (also their objectName).
  QGroupBox* Frame1 = nullptr;  // "Fornitore"
  ui::TextBox* codfow = nullptr;
  ui::TextBox* desforw = nullptr;
  QTabWidget* SSTab1 = nullptr;  // the tab "Generale"
  QGroupBox* Frame2 = nullptr;   // "Posizione confronto"
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QRadioButton* Option4 = nullptr;
  QGroupBox* Frame3 = nullptr;  // "Percorso DB"
  ui::TextBox* percorsow = nullptr;
  QGroupBox* Frame4 = nullptr;  // "Percorso PRG"
  ui::TextBox* programmaw = nullptr;
  QGroupBox* Frame5 = nullptr;  // "Tipo Creazione  Ordine"
  QCheckBox* crea = nullptr;
  QGroupBox* Frame6 = nullptr;      // the buttons
  QPushButton* Command4 = nullptr;  // save
  QPushButton* Command3 = nullptr;  // delete
  QPushButton* Command6 = nullptr;  // close
  db::DataControl* Data6 = nullptr;

  // The slot of the chosen option button, 0 when none is chosen.
  int ChosenSlot() const;

  // Event procedures.
  void Command4_Click();
  void Command3_Click();
  void Command6_Click();

  // The window's procedures.
  void anagr();
  void chiaro();

 protected:
  void Form_Load() override;

 private:
  void BuildControls();
  // Data6 on the row of the slot; a database error propagates.
  void OpenSlot(int slot);
};

}  // namespace vx::masterdata
