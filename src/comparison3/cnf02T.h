// The three-supplier comparison grid "Confronto listini fornitori": the comparison table
// `articoli` for slots 1..3 with the dearest cost of each row white on red and the cheapest
// blue on green, narrowed by four conditions (the view of marked rows, a search, "In comune"
// and the convenience options), edited cell by cell, printed and turned into orders.
//
// Files: cnf02T.cpp (window, opening, grid fill, conditions, searches), cnf02T_edit.cpp
// (marks, units, packages and the buttons on many rows), cnf02T_print.cpp ("Stampa elenco "),
// cnf02T_orders.cpp ("Crea Ordini").
#pragma once

#include <QString>

#include "platform/ui/form.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class FlexGrid;
class TextBox;
}  // namespace vx::ui

namespace vx::print {
class PrintJob;
struct PrintResult;
}  // namespace vx::print

namespace vx::comparison {
struct RowEdit;
}

namespace vx::comparison3 {

class cnf02T : public ui::Form {
  Q_OBJECT
 public:
  cnf02T();
  ~cnf02T() override;

  // Controls, named as the window names them (also their objectName).
  QLabel* Label1 = nullptr;     // "Confronto listini Fornitori"
  QGroupBox* Frame2 = nullptr;  // "Fornitore #1" .. "#3"
  QGroupBox* Frame3 = nullptr;
  QGroupBox* Frame4 = nullptr;
  ui::TextBox* forn1 = nullptr;  // the slots' supplier names
  ui::TextBox* forn2 = nullptr;
  ui::TextBox* forn3 = nullptr;
  QLabel* des1 = nullptr;  // the slots' price-list notes
  QLabel* des2 = nullptr;
  QLabel* des3 = nullptr;
  QGroupBox* Frame8 = nullptr;      // "Selezione prezzi"
  QCheckBox* Check1 = nullptr;      // "Per convenienza"
  QGroupBox* Frame6 = nullptr;      // "Selezione articoli"
  QRadioButton* Option5 = nullptr;  // "Tutti"
  QRadioButton* Option1 = nullptr;  // "In comune"
  QGroupBox* Frame5 = nullptr;      // "Selezione per Convenienza"
  QRadioButton* Option2 = nullptr;  // "Più convenienti Fornitore 1" .. 3
  QRadioButton* Option3 = nullptr;
  QRadioButton* Option4 = nullptr;
  ui::TextBox* maggw = nullptr;
  QLabel* Label12 = nullptr;  // "> %"
  QLabel* Label2 = nullptr;   // "Ricerca alfabetica"
  ui::TextBox* ricw = nullptr;
  QLabel* Label6 = nullptr;  // "Per Ean"
  ui::TextBox* eanw = nullptr;
  QLabel* deslisw = nullptr;  // "Nr. articoli =>  "
  ui::TextBox* nrartw = nullptr;
  ui::TextBox* tiposw = nullptr;
  QGroupBox* Frame1 = nullptr;       // the command buttons
  QPushButton* Command10 = nullptr;  // "Stampa elenco "
  QPushButton* Command2 = nullptr;   // "Elimina Dati"
  QPushButton* Command3 = nullptr;   // "Vedi selezionati"
  QPushButton* Command1 = nullptr;   // "Seleziona o  Deseleziona tutti"
  QPushButton* Command4 = nullptr;   // "Crea Ordini"
  QPushButton* Command6 = nullptr;   // "Uscita"
  QPushButton* Command5 = nullptr;   // "Pulisci Colli"
  QGroupBox* Frame7 = nullptr;       // busy frame
  QLabel* Label3 = nullptr;          // "Elaborazione in corso. Attendere prego..."
  ui::FlexGrid* flex1 = nullptr;
  db::DataControl* art = nullptr;    // the grid's view of `articoli`
  db::DataControl* forn = nullptr;   // `fornitori` and the supplier names
  db::DataControl* testa = nullptr;  // the suppliers' price-list notes

  // The four conditions joined by cnf02T_componi_where.
  QString cond_vista;
  QString cond_ricerca;
  QString cond_selezione;
  QString cond_convenienza;
  bool vista_selezionati = false;
  // This grid's own query and order.
  QString select_confronto;
  QString order_confronto;

  ui::TextBox* NameBox(int slot) const;

  QString cnf02T_componi_where() const;
  void cnf02T_carica_griglia();
  int cnf02T_colonna_costo_max(int row) const;
  int cnf02T_colonna_costo_min(int row) const;
  void cnf02T_nomi_fornitori();
  void cnf02T_colori_ricerca();
  void cnf02T_attesa(bool flag);
  // The grid reload: busy, (the main database,) record source, refresh, fill, not busy.
  // False when the query failed (told in a critical box).
  bool Ricarica(bool setDatabase);

  void Check1_Click();
  void Command3_Click();
  void Option1_Click();
  void Option5_Click();
  void Option2_Click();
  void Option3_Click();
  void Option4_Click();
  void ricw_GotFocus();
  void ricw_KeyDown(int& KeyCode, int Shift);
  void ricw_KeyPress(int& KeyAscii);
  void eanw_GotFocus();
  void eanw_KeyDown(int& KeyCode, int Shift);
  void eanw_KeyPress(int& KeyAscii);

  // Editing (cnf02T_edit.cpp).
  void flex1_Click();
  void flex1_KeyDown(int& KeyCode, int Shift);
  void flex1_KeyPress(int& KeyAscii);
  void Command1_Click();  // "Seleziona o  Deseleziona tutti"
  void Command2_Click();  // "Elimina Dati"
  void Command5_Click();  // "Pulisci Colli"
  void Command6_Click();  // "Uscita"

  // The printed list (cnf02T_print.cpp).
  void Command10_Click();
  print::PrintResult cnf02T_stampa_confronto();
  void testap2(print::PrintJob& job, int page);

  // The orders (cnf02T_orders.cpp).
  void Command4_Click();
  void cnf02T_crea_ordine(int n);

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void Convenienza(const QString& condition);
  void Ricerca(const QString& condition, const QString& order);
  void ScriviRiga(int riga, const comparison::RowEdit& edit);
  void MostraErrore(const QString& action, const QString& error);

  bool pressOnHeading_ = false;  // the last mouse press hit a fixed cell
};

}  // namespace vx::comparison3
