// The EAN conversion table window: the `eanconv` rows of one comparison slot in a read-only
// grid, narrowed by description or EAN, the article card opened on a clicked row or empty,
// and the batch move of supplier 1's alternative EANs into supplier 2's column.
#pragma once

#include <QString>

#include "platform/ui/form.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vx::db {
class DataControl;
class Recordset;
}  // namespace vx::db

namespace vx::ui {
class FlexGrid;
class TextBox;
}  // namespace vx::ui

namespace vx::masterdata {

// The list's SELECT piece and the fixed record source of option button `slot` (1 to 4).
QString ListSelect();
QString OptionSource(int slot);

// Copies `articoli.desart` into each row of the list whose EAN (as 13 characters) the
// comparison table holds, in one transaction. Returns the last row's EAN as 13 characters
// (blanks when it is Null, or when the list is empty).
QString CopyComparisonDescriptions(db::Recordset& list);

// For each row of the list whose `eanalternativo` is not blank: `eanalternativo2` takes it and
// `eanalternativo` becomes empty; one transaction. Returns the rows moved.
int MoveFirstAlternatives(db::Recordset& list);

class ali01 : public ui::Form {
  Q_OBJECT
 public:
  ali01();

  QGroupBox* Frame1 = nullptr;  // "Selezione Fornitore"
  QRadioButton* fo1 = nullptr;
  QRadioButton* fo2 = nullptr;
  QRadioButton* f03 = nullptr;
  QRadioButton* fo4 = nullptr;
  QGroupBox* Frame10 = nullptr;  // "Ricerche"
  ui::TextBox* ricw = nullptr;   // by description
  ui::TextBox* eanw = nullptr;   // by EAN, 13 characters
  ui::FlexGrid* flex1 = nullptr;
  db::DataControl* Data1 = nullptr;  // the listed `eanconv` rows
  QLabel* Label2 = nullptr;          // the store name
  QLabel* Label9 = nullptr;
  QPushButton* Command3 = nullptr;  // "Inserimento"
  QPushButton* Command4 = nullptr;  // "Trasferisce Ean 1>2"
  QPushButton* Command1 = nullptr;  // "Uscita programma"
  QPushButton* Command2 = nullptr;  // "Uscita programma"

  // The list's query pieces, the window's own.
  QString sql_select;
  QString sql_where;
  QString sql_order;
  QString sql_filtro;

  void vedo();
  void fo_Click(int slot);
  void ricw_Change();
  void ricw_KeyPress(int& keyAscii);
  void eanw_Change();
  void eanw_KeyPress(int& keyAscii);
  void flex1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();

  // The list read again after the card saved or deleted a row: the data control, and with
  // it the grid.
  void RefreshList();

 protected:
  void Form_Load() override;

 private:
  void BuildControls();
  // Opens the list on the main database with the record source; false after a message.
  bool OpenList(const QString& source);
  void SetHeadings();
  void SetWidths();
};

}  // namespace vx::masterdata
