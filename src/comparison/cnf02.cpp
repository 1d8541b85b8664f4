#include "comparison/cnf02.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "common/main_window.h"
#include "common/shared_values.h"
#include "comparison/cnf02_marks.h"
#include "comparison/cnf02_query.h"
#include "comparison/grid_edit.h"
#include "comparison/supplier_names.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

constexpr int kPageLimit = 12000;  // above this many rows "Pagina avanti" starts enabled

// Widths in twips of the columns 0..26; 27..32 keep the grid's default.
constexpr std::array<int, 27> kWidths = {250, 350, 1400, 3700, 400, 400, 400, 0,   0,
                                         700, 200, 500,  700,  200, 500, 700, 200, 500,
                                         700, 200, 500,  500,  500, 500, 500, 500, 500};

// The widest text of a column where the design width cuts it in our fonts: the costs, and
// the differences to slot 4, shown as stored (two decimals).
QString WidestText(int col) {
  if (col == CostColumn(1) || col == CostColumn(2) || col == CostColumn(3) || col == CostColumn(4))
    return QString::fromLatin1(kWidestCostCell);
  if (col >= 24 && col <= 26) return QString::fromLatin1(kWidestDifferenceCell);
  return QString();
}

using ui::Named;

}  // namespace

cnf02::cnf02() {
  setObjectName(QStringLiteral("cnf02"));
  SetCaption(QStringLiteral("Confronto listini fornitori"));
  resize(1000, 680);

  art = Named(new db::DataControl(this), "art");
  forn = Named(new db::DataControl(this), "forn");

  auto* top = new QHBoxLayout;
  ui::TextBox** boxes[] = {&forn1, &forn2, &forn3, &forn4};
  for (int n = 0; n < 4; ++n) {
    auto* frame = new QGroupBox(QStringLiteral("Fornitore #%1").arg(n + 1), this);
    frame->setObjectName(QStringLiteral("FrameFornitore%1").arg(n + 1));
    auto* box = new ui::TextBox(frame);
    box->setObjectName(QStringLiteral("forn%1").arg(n + 1));
    auto* l = new QVBoxLayout(frame);
    l->addWidget(box);
    *boxes[n] = box;
    top->addWidget(frame);
  }

  flex1 = Named(new ui::FlexGrid(this), "flex1");
  flex1->SetCols(kGridCols);
  flex1->SetDataSource(art);
  flex1->viewport()->installEventFilter(this);

  Frame7 = Named(new QGroupBox(this), "Frame7");
  Label3 = Named(new QLabel(QStringLiteral("Elaborazione in corso. Attendere prego..."), Frame7),
                 "Label3");
  Label3->setAlignment(Qt::AlignCenter);
  QFont big = Label3->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  Label3->setFont(big);
  auto* f7 = new QVBoxLayout(Frame7);
  f7->addWidget(Label3);
  // The busy frame stands over the grid and covers it.
  Frame7->setAutoFillBackground(true);
  Frame7->hide();

  auto* centre = new QGridLayout;
  centre->addWidget(flex1, 0, 0);
  centre->addWidget(Frame7, 0, 0);

  auto button = [this](const char* name, const QString& caption) {
    return Named(new QPushButton(caption, this), name);
  };
  Command1 = button("Command1", QStringLiteral("Seleziona o  Deseleziona tutti"));
  Command5 = button("Command5", QStringLiteral("Pulisci Colli"));
  Command4 = button("Command4", QStringLiteral("Crea Ordini"));
  Command2 = button("Command2", QStringLiteral("Elimina Dati"));
  Command6 = button("Command6", QStringLiteral("Uscita"));
  Command3 = button("Command3", QStringLiteral("Vedi selezionati"));
  Command7 = button("Command7", QStringLiteral("Vedi Promo"));
  Command10 = button("Command10", QStringLiteral("Stampa elenco "));
  Pic2 = button("Pic2", QStringLiteral("Pagina indietro"));
  Pic1 = button("Pic1", QStringLiteral("Pagina avanti"));
  Pic1->setEnabled(false);
  Pic2->setEnabled(false);
  nrartw = Named(new ui::TextBox(this), "nrartw");
  nrartw->setReadOnly(true);
  nrartw->setMaximumWidth(90);

  Frame1 = Named(new QGroupBox(this), "Frame1");
  auto* commands = new QHBoxLayout(Frame1);
  for (QPushButton* b : {Command1, Command5, Command4, Command3, Command7, Command10}) {
    b->setParent(Frame1);
    commands->addWidget(b);
  }
  commands->addStretch();
  for (QPushButton* b : {Command2, Command6}) {
    b->setParent(Frame1);
    commands->addWidget(b);
  }

  auto* paging = new QHBoxLayout;
  paging->addWidget(Pic2);
  paging->addWidget(Pic1);
  paging->addStretch();
  paging->addWidget(new QLabel(QStringLiteral("N. articoli"), this));
  paging->addWidget(nrartw);

  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addLayout(BuildFilters());
  main->addLayout(centre, 1);
  main->addLayout(paging);
  main->addWidget(Frame1);

  connect(Command1, &QPushButton::clicked, this, [this] { cnf02_Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { cnf02_Command2_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { cnf02_Command4_Click(); });
  connect(Command5, &QPushButton::clicked, this, [this] { cnf02_Command5_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { cnf02_Command6_Click(); });
  connect(flex1, &ui::FlexGrid::Click, this, [this] { cnf02_flex1_Click(); });
  connect(flex1, &ui::FlexGrid::KeyDown, this,
          [this](int& keyCode, int shift) { cnf02_flex1_KeyDown(keyCode, shift); });
  connect(flex1, &ui::FlexGrid::KeyPress, this,
          [this](int& keyAscii) { cnf02_flex1_KeyPress(keyAscii); });
  connect(Command10, &QPushButton::clicked, this, [this] { cnf02_Command10_Click(); });
  ConnectFilters();
}

cnf02::~cnf02() = default;

ui::TextBox* cnf02::NameBox(int slot) const {
  switch (slot) {
    case 1:
      return forn1;
    case 2:
      return forn2;
    case 3:
      return forn3;
    default:
      return forn4;
  }
}

bool cnf02::IsNamed(int slot) const { return !NameBox(slot)->text().trimmed().isEmpty(); }

void cnf02::Form_Load() {
  auto& g = common::G();
  flag_vista = false;
  flag_avanti = false;
  cond_vista.clear();
  cond_ricerca.clear();
  cond_selezione.clear();
  cond_convenienza.clear();
  select_confronto = GridSelect();
  order_confronto = OrderByDescription();
  g.nrec = 0;
  g.pagina = 1;
  try {
    cnf02_nomi_fornitori();
    art->DatabaseName = g.percorso_db;
    art->RecordSource = RecordSource();
    art->Refresh();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
  }
  g.nrec = art->recordset() ? qint32(art->recordset()->RecordCount()) : 0;
  if (g.nrec > kPageLimit) Pic1->setEnabled(true);
  ui::DoEvents();
  cnf02_carica_griglia();
}

void cnf02::cnf02_nomi_fornitori() {
  FillSupplierNames(*forn, common::G().percorso_db, {forn1, forn2, forn3, forn4});
}

void cnf02::cnf02_componi_where(QString& where) {
  where = ComposeWhere(cond_vista, cond_ricerca, cond_selezione, cond_convenienza);
}

QString cnf02::RecordSource() {
  QString where;
  cnf02_componi_where(where);
  return select_confronto + where + order_confronto;
}

namespace {

// The costs of a grid row with the named flags of the window's name boxes.
RowCosts CostsOfRow(const cnf02& w, long riga) {
  RowCosts row;
  for (int n = 1; n <= 4; ++n) {
    row.named[n - 1] = w.IsNamed(n);
    row.cost[n - 1] = MarkCost(Variant(w.flex1->TextMatrix(int(riga), CostColumn(n))));
  }
  return row;
}

}  // namespace

int cnf02::cnf02_colonna_costo_max(long riga) const {
  return DearestCostColumn(CostsOfRow(*this, riga));
}

int cnf02::cnf02_colonna_costo_min(long riga) const {
  return CheapestCostColumn(CostsOfRow(*this, riga));
}

void cnf02::cnf02_carica_griglia() {
  for (int c = 0; c < int(kWidths.size()); ++c) flex1->SetColWidthFor(c, kWidths[c], WidestText(c));
  db::Recordset* rs = art->recordset();
  const long count = rs ? rs->RecordCount() : 0;

  SetCostHeadings(*flex1, {forn1, forn2, forn3, forn4},
                  {CostColumn(1), CostColumn(2), CostColumn(3), CostColumn(4)}, 5);

  common::MainWindowLink* main = common::MainWindow();
  ui::ProgressBar* pb1 = main ? main->ProgressBar() : nullptr;
  const float step = (count > 0 && pb1) ? float(pb1->Max()) / float(count) : 0.0f;
  const QColor dearFore = ui::VbColor(0), dearBack = ui::VbColor(255);
  const QColor cheapFore = ui::VbColor(0xFF0000), cheapBack = ui::VbColor(62720);

  const int rows = flex1->Rows();
  if (pb1) {
    for (int i = 1; i < rows; ++i) {
      const float value = float(pb1->Value());
      pb1->SetValue(value + 1 > float(pb1->Max()) - step ? 0.0f : value + step);
    }
  }
  // Each row is marked and formatted when it is first read or shown: a view shows a few rows
  // of many.
  flex1->DecorateRows(
      1, rows - 1,
      [named = NamedSlots(), dearFore, dearBack, cheapFore, cheapBack](ui::GridModel& grid, int i) {
        RowCosts row;
        row.named = named;
        // The costs with four decimals serve both the marks and the cells' text.
        std::array<QString, 4> costs;
        for (int n = 0; n < 4; ++n) {
          costs[n] = FormatCellNumber(grid.Text(i, CostColumn(n + 1)), 4, 1);
          row.cost[n] = MarkCostOfFormatted(costs[n]);
        }
        if (const int c = DearestCostColumn(row); c != 0) {
          grid.SetFore(i, c, dearFore);
          grid.SetBack(i, c, dearBack);
        }
        if (const int c = CheapestCostColumn(row); c != 0) {
          grid.SetFore(i, c, cheapFore);
          grid.SetBack(i, c, cheapBack);
        }
        grid.SetText(i, kColIva, FormatCellNumber(grid.Text(i, kColIva), 0, 2));
        for (int n = 0; n < 4; ++n) grid.SetText(i, CostColumn(n + 1), costs[n]);
        for (int c = kColD12; c <= kColD13; ++c)
          grid.SetText(i, c, DifferenceText(grid.Text(i, c)));
      });

  nrartw->setText(QString::number(count));
  if (count > 0) rs->MoveFirst();
}

void cnf02::cnf02_attesa(bool flag) {
  // Already busy (a view change turns the indicator on, then its re-query again): the window
  // shows it, nothing is left to paint.
  if (flag && !Frame7->isHidden() && !isEnabled() && flex1->isHidden()) return;
  Frame7->setVisible(flag);
  setEnabled(!flag);
  // The grid goes or comes before the paint, so that the one paint shows the window as it
  // stays: the grid is painted once, with the rows of the new view, never beneath the busy
  // frame. A widget that is shown asks for its paint through a posted event; delivered now,
  // that paint joins this one instead of following it.
  flex1->setVisible(!flag);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
  repaint();
}

bool cnf02::Requery() {
  cnf02_attesa(true);
  art->RecordSource = RecordSource();
  return RicaricaVista();
}

bool cnf02::RicaricaVista() {
  bool ok = true;
  try {
    art->Refresh();
  } catch (const db::DbError& e) {
    ok = false;
    MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
  }
  cnf02_carica_griglia();
  cnf02_attesa(false);
  return ok;
}

void cnf02::NascondiScadenze() {
  if (common::MainWindowLink* main = common::MainWindow()) {
    main->ProgressFrame()->setVisible(false);
    main->ProgressBar()->SetVisible(false);
  }
}

// However the window goes (its buttons or the title bar), the main window's loading frame
// goes with it.
void cnf02::Form_Unload() { NascondiScadenze(); }

void cnf02::MostraErrore(const QString& action, const QString& error) {
  ui::MsgCritical(QStringLiteral("ATTENZIONE !!! Errore durante %1.\n%2").arg(action, error),
                  windowTitle());
}

void cnf02::cnf02_Command2_Click() {
  if (!ui::AskYesNo(
          QStringLiteral("Attenzione!!!  Sei sicuro di voler eliminare i dati confrontati?"),
          QStringLiteral("Elimina Confronto Fornitori"), ui::MsgIcon::Question,
          ui::MsgAnswer::No)) {
    return;
  }
  if (db::Recordset* rs = art->recordset()) {
    try {
      DeleteViewRows(*rs);
    } catch (const db::DbError& e) {
      // Nothing was deleted: the view stays on screen as it is in the table.
      MostraErrore(QStringLiteral("l'eliminazione dei dati"), e.message());
      try {
        art->Refresh();
      } catch (const db::DbError&) {
      }
      cnf02_carica_griglia();
      return;
    }
  }
  Unload();
}

void cnf02::cnf02_Command6_Click() { Unload(); }

bool cnf02::eventFilter(QObject* watched, QEvent* event) {
  if (watched == flex1->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* me = static_cast<QMouseEvent*>(event);
    const QModelIndex index = flex1->indexAt(me->position().toPoint());
    pressOnHeading_ =
        !index.isValid() || index.row() < flex1->FixedRows() || index.column() < flex1->FixedCols();
  }
  return ui::Form::eventFilter(watched, event);
}

}  // namespace vx::comparison
