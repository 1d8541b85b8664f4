// The supplier list: every row of the supplier table in a grid, searched by description or
// by code; from it the operator opens a supplier's record, starts a new one or deletes one.
#pragma once

#include <QString>

#include "platform/ui/form.h"

class QLabel;
class QPushButton;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class FlexGrid;
class TextBox;
}  // namespace vx::ui

namespace vx::masterdata {

class for03 : public ui::Form {
  Q_OBJECT
 public:
  for03();

  // The controls, named as the window names them (also their objectName).
  QLabel* Label1 = nullptr;  // "Ricerca alfabetica"
  QLabel* Label2 = nullptr;  // "Per Codice"
  ui::TextBox* ricw = nullptr;
  ui::TextBox* codw = nullptr;
  ui::FlexGrid* flex1 = nullptr;
  db::DataControl* Data1 = nullptr;
  QPushButton* Command2 = nullptr;  // "Nuovo"
  QPushButton* Command4 = nullptr;  // "Visualizza/Modifica"
  QPushButton* Command6 = nullptr;  // "Elimina", pressed by Esc
  QPushButton* Cmdesc = nullptr;    // closes the list

  // The list's query parts, kept while the window is loaded.
  const QString& SelectPart() const { return select_; }
  const QString& WherePart() const { return where_; }
  const QString& OrderPart() const { return order_; }

  // Event procedures.
  void Command2_Click();
  void Command4_Click();
  void Command6_Click();
  void Cmdesc_Click();
  void ricw_Change();
  void codw_Change();
  void flex1_Click();
  void flex1_DblClick();

  // The window's procedures.
  void chiaro();
  void vedo();
  // Runs the query parts again and repaints the grid; a database error is shown.
  void Requery();

 protected:
  void Form_Load() override;

 private:
  void BuildControls();
  // Takes the supplier of the grid's current row when it is a data row.
  void TakeCurrentRow();
  // Opens the current supplier's record, or says that there is none.
  void OpenCurrentSupplier();

  QString select_;
  QString where_;
  QString order_;
};

}  // namespace vx::masterdata
