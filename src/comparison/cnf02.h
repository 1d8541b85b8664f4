// The comparison grid window "Confronto listini fornitori": the comparison table `articoli`
// as a grid with the dearest and cheapest cost of each article marked, the suppliers' names
// over the cost columns, the marks and packages typed into the grid and written back at
// once, and the buttons that act on many rows.
//
// Files: cnf02.cpp (window, load, grid load, busy indicator, "Elimina Dati", "Uscita"),
// cnf02_edit.cpp (marks and packages), cnf02_orders.cpp ("Crea Ordini").
#pragma once

#include <QString>
#include <vector>

#include "platform/ui/form.h"
#include "platform/variant.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::db {
class DataControl;
}

namespace vx::ui {
class FlexGrid;
class TextBox;
}  // namespace vx::ui

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
  QGroupBox* Frame7 = nullptr;      // busy frame
  QLabel* Label3 = nullptr;         // "Elaborazione in corso. Attendere prego..."
  ui::TextBox* nrartw = nullptr;    // rows of the view
  QPushButton* Pic1 = nullptr;      // "Pagina avanti"
  QPushButton* Pic2 = nullptr;      // "Pagina indietro"
  QPushButton* Command1 = nullptr;  // "Seleziona o  Deseleziona tutti"
  QPushButton* Command2 = nullptr;  // "Elimina Dati"
  QPushButton* Command4 = nullptr;  // "Crea Ordini"
  QPushButton* Command5 = nullptr;  // "Pulisci Colli"
  QPushButton* Command6 = nullptr;  // "Uscita"

  // The view conditions joined by cnf02_componi_where; all empty until filters set them.
  QString cond_vista;
  QString cond_ricerca;
  QString cond_selezione;
  QString cond_convenienza;
  bool flag_vista = false;

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
  // clause & order, refresh, grid load, busy indicator off.
  void Requery();

  void cnf02_Command1_Click();       // "Seleziona o  Deseleziona tutti"
  void cnf02_Command2_Click();       // "Elimina Dati"
  void cnf02_Command4_Click();       // "Crea Ordini" (cnf02_orders.cpp)
  void cnf02_Command5_Click();       // "Pulisci Colli"
  void cnf02_Command6_Click();       // "Uscita"
  void cnf02_crea_ordine(qint16 N);  // the order of slot N (cnf02_orders.cpp)

  void cnf02_flex1_Click();
  void cnf02_flex1_KeyDown(int& KeyCode, int Shift);
  void cnf02_flex1_KeyPress(int& KeyAscii);

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct CellText {
    int row;
    int col;
    QString text;
  };
  // Writes fields of the table row shown on grid row `riga` in one transaction. On a
  // database error the grid cells in `undo` take back their texts and a critical message
  // tells the error. A row whose EAN is not in the view is left alone.
  void ScriviRiga(int riga, const std::vector<std::pair<QString, Variant>>& fields,
                  const std::vector<CellText>& undo);
  // Runs the view's query again and reloads the grid, then switches the busy indicator off.
  void RicaricaVista();
  // Record source of the current view.
  QString RecordSource();
  // The critical message of a failed database action.
  void MostraErrore(const QString& action, const QString& error);
  // The main window's frame `scadenze` hidden, when the main window is loaded.
  static void NascondiScadenze();

  bool pressOnHeading_ = false;  // the last mouse press hit a fixed cell
};

}  // namespace vx::comparison
