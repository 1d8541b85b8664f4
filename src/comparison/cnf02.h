// The comparison grid window "Confronto listini fornitori": the comparison table `articoli`
// as a grid with the dearest and cheapest cost of each article marked, the suppliers' names
// over the cost columns, the marks and packages typed into the grid and written back at
// once, and the buttons that act on many rows.
//
// Files: cnf02.cpp (window, load, grid load, busy indicator, "Elimina Dati", "Uscita"),
// cnf02_filters.cpp (view buttons, selections, searches, paging), cnf02_edit.cpp (marks and
// packages), cnf02_orders.cpp ("Crea Ordini"), cnf02_print.cpp ("Stampa elenco ").
#pragma once

#include <QString>
#include <array>
#include <vector>

#include "platform/ui/form.h"
#include "platform/variant.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLayout;
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
struct PageStep;
struct RowEdit;
}

namespace vx::comparison {

class cnf02 : public ui::Form {
  Q_OBJECT
 public:
  cnf02();
  ~cnf02() override;

  // Controls, named as the window names them (also their objectName).
  ui::FlexGrid* flex1 = nullptr;
  db::DataControl* art = nullptr;   // the grid's view of `articoli` on the main database
  db::DataControl* forn = nullptr;  // main database, used for the supplier names only
  ui::TextBox* forn1 = nullptr;     // supplier names of slots 1..4
  ui::TextBox* forn2 = nullptr;
  ui::TextBox* forn3 = nullptr;
  ui::TextBox* forn4 = nullptr;
  QGroupBox* Frame7 = nullptr;       // busy frame
  QLabel* Label3 = nullptr;          // "Elaborazione in corso. Attendere prego..."
  ui::TextBox* nrartw = nullptr;     // rows of the view
  QPushButton* Pic1 = nullptr;       // "Pagina avanti"
  QPushButton* Pic2 = nullptr;       // "Pagina indietro"
  QPushButton* Command1 = nullptr;   // "Seleziona o  Deseleziona tutti"
  QPushButton* Command2 = nullptr;   // "Elimina Dati"
  QPushButton* Command4 = nullptr;   // "Crea Ordini"
  QPushButton* Command5 = nullptr;   // "Pulisci Colli"
  QPushButton* Command6 = nullptr;   // "Uscita"
  QPushButton* Command3 = nullptr;   // "Vedi selezionati"
  QPushButton* Command7 = nullptr;   // "Vedi Promo"
  QPushButton* Command10 = nullptr;  // "Stampa elenco "
  QGroupBox* Frame1 = nullptr;       // the command buttons
  QRadioButton* Option5 = nullptr;   // "Tutti"
  QRadioButton* Option1 = nullptr;   // "In comune"
  QCheckBox* Check1 = nullptr;       // "Per convenienza"
  QGroupBox* Frame5 = nullptr;       // "Selezione per Convenienza"
  QRadioButton* Option2 = nullptr;   // "Convenienti Fornitore 1" .. 4
  QRadioButton* Option3 = nullptr;
  QRadioButton* Option4 = nullptr;
  QRadioButton* Option6 = nullptr;
  ui::TextBox* ricw = nullptr;  // search by description
  ui::TextBox* eanw = nullptr;  // search by EAN

  // The view conditions joined by cnf02_componi_where; all empty until filters set them.
  QString cond_vista;
  QString cond_ricerca;
  QString cond_selezione;
  QString cond_convenienza;
  bool flag_vista = false;
  bool flag_avanti = false;  // a forward page step set a window, until the next backward one

  // The grid query and its order: the record source is select & WHERE clause & order.
  QString select_confronto;
  QString order_confronto;

  // The supplier name box of slot 1..4.
  ui::TextBox* NameBox(int slot) const;
  // A slot takes part in headings and marks when its name box is not blank.
  bool IsNamed(int slot) const;

  void cnf02_nomi_fornitori();
  void cnf02_componi_where(QString& where);
  // Lays out, formats and colours the grid after every query.
  void cnf02_carica_griglia();
  // Grid column of the dearest / cheapest cost of a grid row; 0 for none.
  int cnf02_colonna_costo_max(long riga) const;
  int cnf02_colonna_costo_min(long riga) const;
  // Busy indicator: the frame in place of the grid, the window disabled.
  void cnf02_attesa(bool flag);
  // The refill of every view change: busy indicator on, record source = grid query & WHERE
  // clause & order, refresh, grid load, busy indicator off. False when the query failed
  // (its message shown).
  bool Requery();

  void cnf02_Command1_Click();       // "Seleziona o  Deseleziona tutti"
  void cnf02_Command2_Click();       // "Elimina Dati"
  void cnf02_Command4_Click();       // "Crea Ordini" (cnf02_orders.cpp)
  void cnf02_Command5_Click();       // "Pulisci Colli"
  void cnf02_Command6_Click();       // "Uscita"
  void cnf02_crea_ordine(qint16 N);  // the order of slot N (cnf02_orders.cpp)

  // Filters, searches and paging (cnf02_filters.cpp).
  void cnf02_Command3_Click();  // "Vedi selezionati"
  void cnf02_Command7_Click();  // "Vedi Promo"
  void cnf02_Option1_Click();   // "In comune"
  void cnf02_Option5_Click();   // "Tutti"
  void cnf02_Option2_Click();   // "Convenienti Fornitore 1" .. 4
  void cnf02_Option3_Click();
  void cnf02_Option4_Click();
  void cnf02_Option6_Click();
  void cnf02_Check1_Click();  // "Per convenienza"
  void cnf02_Pic1_Click();    // "Pagina avanti"
  void cnf02_Pic2_Click();    // "Pagina indietro"
  void cnf02_colori_ricerca();
  void cnf02_ricw_GotFocus();
  void cnf02_ricw_KeyDown(int& KeyCode, int Shift);
  void cnf02_ricw_KeyPress(int& KeyAscii);
  void cnf02_eanw_GotFocus();
  void cnf02_eanw_KeyDown(int& KeyCode, int Shift);
  void cnf02_eanw_KeyPress(int& KeyAscii);

  // The printed list of the ticked rows (cnf02_print.cpp).
  void cnf02_Command10_Click();  // "Stampa elenco "
  // The list's page heading, numbered `page`, with this window's supplier names over the
  // columns.
  void testap2(print::PrintJob& job, int page);

  void cnf02_flex1_Click();
  void cnf02_flex1_KeyDown(int& KeyCode, int Shift);
  void cnf02_flex1_KeyPress(int& KeyAscii);

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Writes an edit of grid row `riga` back (grid_edit.h); a failure is told in a critical
  // message.
  void ScriviRiga(int riga, const RowEdit& edit);
  // Runs the view's query again and reloads the grid, then switches the busy indicator off.
  // False when the query failed (its message shown).
  bool RicaricaVista();
  // Record source of the current view.
  QString RecordSource();
  // The frames of the filters and searches, and their connections (cnf02_filters.cpp).
  QLayout* BuildFilters();
  void ConnectFilters();
  // The view buttons' shared switch: on with `condition` and "Vedi tutti", off with
  // `offCaption` on the pressed button.
  void SwitchView(QPushButton* pressed, const QString& condition, const QString& offCaption);
  // A convenience option of slot k.
  void Convenienza(int k);
  // A page step's values and buttons applied, then the page shown.
  void ApplyPageStep(const PageStep& step);
  // The named flags of the four slots.
  std::array<bool, 4> NamedSlots() const;
  // Prints every row of the view, in its order, and ends the document.
  print::PrintResult cnf02_stampa_confronto();
  // The critical message of a failed database action.
  void MostraErrore(const QString& action, const QString& error);
  // The main window's frame `scadenze` hidden, when the main window is loaded.
  static void NascondiScadenze();

  bool pressOnHeading_ = false;  // the last mouse press hit a fixed cell
};

}  // namespace vx::comparison
