// The store settings: the row of store 1 in the store table, the store's year row, the
// password switch of operator 1 and record 1 of the store record file. Saving and leaving
// show the main window afresh, so that its load reads the new settings.
#pragma once

#include "platform/ui/form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class TextBox;
}

namespace vx::masterdata {

class ute01 : public ui::Form {
  Q_OBJECT
 public:
  ute01();

  // The controls, named as the window names them (also their objectName).
  QGroupBox* Frame1 = nullptr;  // "Ragione Sociale"
  ui::TextBox* desutew = nullptr;
  QGroupBox* Frame2 = nullptr;  // "Indirizzo"
  ui::TextBox* indirw = nullptr;
  QGroupBox* Frame3 = nullptr;  // "Cap,Località,Provincia"
  ui::TextBox* capw = nullptr;
  ui::TextBox* cittaw = nullptr;
  ui::TextBox* provw = nullptr;
  QGroupBox* Frame4 = nullptr;  // "Codice Fiscale e Partita Iva"
  ui::TextBox* codfiw = nullptr;
  ui::TextBox* pivaw = nullptr;

  QTabWidget* SSTab1 = nullptr;  // "Generale", "Altri Dati"
  QGroupBox* ncrfr = nullptr;    // "Terminalino(3 lettere)"
  ui::TextBox* ncrw = nullptr;
  QLabel* Legenda[8] = {};      // the terminal codes, top to bottom
  QGroupBox* Frame5 = nullptr;  // "DATI"
  ui::TextBox* telefonow = nullptr;
  ui::TextBox* faxw = nullptr;
  ui::TextBox* emailw = nullptr;  // stored in the column cab
  ui::TextBox* sitow = nullptr;   // stored in the column abi
  QGroupBox* Frame6 = nullptr;    // "Attività"
  QPlainTextEdit* attivw = nullptr;
  QGroupBox* Frame7 = nullptr;  // "Note"
  QPlainTextEdit* notew = nullptr;
  QGroupBox* Frame8 = nullptr;  // "BANCA"
  ui::TextBox* Nomebancaw = nullptr;
  ui::TextBox* ibanw = nullptr;
  QGroupBox* Frame9 = nullptr;  // "Attiva Password"
  QCheckBox* attivapsw = nullptr;

  QPushButton* Command2 = nullptr;  // "Conferma"
  QPushButton* Command3 = nullptr;  // "Cancella"
  QPushButton* Command6 = nullptr;  // "Uscita"
  db::DataControl* utenti = nullptr;
  db::DataControl* Data1 = nullptr;

  // Event procedures.
  void Command2_Click();
  void Command3_Click();
  void Command6_Click();

  // The window's procedures.
  void anagr();
  // Writes the store row, the year row, operator 1's switch and record 1 of the store record
  // file as one change; false, after a message naming what failed, when nothing was saved.
  bool aggiorna();
  void azzera();
  void chiaro();

 protected:
  void Form_Load() override;

 private:
  void BuildControls();
  // Closes the main window and shows it afresh, then this window.
  void ReloadMainAndClose();
};

}  // namespace vx::masterdata
