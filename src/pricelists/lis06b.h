// The Excel import window: the supplier, the kind of file, a workbook of the supplier's
// folder and the rows to read; "Importa" runs the supplier's import, showing the count and
// the article being written.
#pragma once

#include <QString>

#include "platform/ui/form.h"
#include "pricelists/importers.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class DBCombo;
class FileList;
class TextBox;
}  // namespace vx::ui

namespace vx::pricelists {

class lis06b : public ui::Form {
  Q_OBJECT
 public:
  lis06b();

  // The controls, named as the window names them (also their objectName).
  QLabel* Label2 = nullptr;
  QGroupBox* Frame2 = nullptr;
  ui::FileList* File1 = nullptr;
  QLabel* Label1 = nullptr;
  ui::TextBox* numfatw = nullptr;
  QPushButton* Command3 = nullptr;  // "Elimina file"
  QGroupBox* Frame1 = nullptr;
  QLabel* Label9 = nullptr;
  ui::TextBox* inizw = nullptr;
  QLabel* Label10 = nullptr;
  ui::TextBox* finew = nullptr;
  ui::TextBox* artw = nullptr;
  ui::TextBox* c2w = nullptr;
  ui::TextBox* c3w = nullptr;
  ui::TextBox* c4w = nullptr;
  ui::TextBox* c5w = nullptr;
  ui::TextBox* c6w = nullptr;
  QLabel* Label3 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QRadioButton* rbm = nullptr;
  QRadioButton* smv = nullptr;
  QRadioButton* tpr = nullptr;
  QRadioButton* vol = nullptr;
  QGroupBox* Frame3 = nullptr;
  QRadioButton* listino = nullptr;
  QRadioButton* promozioni = nullptr;
  QGroupBox* Frame5 = nullptr;
  QCheckBox* fstampa = nullptr;
  ui::DBCombo* DBCombo1 = nullptr;
  db::DataControl* stampanti = nullptr;
  QPushButton* Command4 = nullptr;  // "Importa"
  QPushButton* Command2 = nullptr;  // "Uscita"

  // Event procedures.
  void vol_Click();
  void tpr_Click();
  void smv_Click();
  void rbm_Click();
  void File1_Click();
  void numfatw_GotFocus();
  void DBCombo1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();

  // The VARU price-list import (what "Importa" runs for VARU and LISTINO).
  void for2();
  // Runs the procedure of the supplier and kind with the boxes' values and shows its
  // messages; nothing when there is no such procedure.
  void RunImport(Supplier supplier, FileKind kind);

  // The supplier and kind the options choose.
  Supplier ChosenSupplier() const;
  FileKind ChosenKind() const;
  // The boxes' values as an import reads them.
  ImportRequest Request() const;

 protected:
  void Form_Load() override;
  void Form_Activate() override;

 private:
  void BuildControls();
};

}  // namespace vx::pricelists
