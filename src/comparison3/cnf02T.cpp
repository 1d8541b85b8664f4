#include "comparison3/cnf02T.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>

#include "common/main_window.h"
#include "common/shared_values.h"
#include "comparison/cnf02_marks.h"
#include "comparison/cnf02_query.h"
#include "comparison/supplier_names.h"
#include "comparison3/cnf02T_query.h"
#include "comparison3/price_list_note.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/application.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/textbox.h"

namespace vx::comparison3 {

using comparison::ComposeWhere;
using comparison::FormatCellNumber;
using ui::Named;

namespace {

constexpr int kFormatted = 14000;  // rows formatted and coloured after a reload
constexpr int kKeyDown = 40;
constexpr int kEnter = 13;

constexpr std::array<int, kCols3> kWidths = {250, 350, 1400, 3700, 400, 400, 600, 0, 0, 800, 600,
                                             800, 600, 800,  600,  800, 800, 800, 0, 0, 0};

// Clears a radio button that its group would keep selected, without its click.
void Deselect(QRadioButton* option) {
  const QSignalBlocker quiet(option);
  option->setAutoExclusive(false);
  option->setChecked(false);
  option->setAutoExclusive(true);
}

}  // namespace

cnf02T::cnf02T() {
  setObjectName(QStringLiteral("cnf02T"));
  SetCaption(QStringLiteral("Confronto listini fornitori"));
  resize(1000, 700);
  BuildControls();
}

cnf02T::~cnf02T() = default;

void cnf02T::BuildControls() {
  art = Named(new db::DataControl(this), "art");
  forn = Named(new db::DataControl(this), "forn");
  testa = Named(new db::DataControl(this), "testa");

  Label1 = Named(new QLabel(QStringLiteral("Confronto listini Fornitori"), this), "Label1");
  QFont title = Label1->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 4);
  Label1->setFont(title);
  Label1->setAlignment(Qt::AlignCenter);

  auto* suppliers = new QHBoxLayout;
  QGroupBox** frames[] = {&Frame2, &Frame3, &Frame4};
  ui::TextBox** names[] = {&forn1, &forn2, &forn3};
  QLabel** notes[] = {&des1, &des2, &des3};
  for (int n = 0; n < 3; ++n) {
    auto* frame = new QGroupBox(QStringLiteral("Fornitore #%1").arg(n + 1), this);
    frame->setObjectName(QStringLiteral("Frame%1").arg(n + 2));
    auto* box = new ui::TextBox(frame);
    box->setObjectName(QStringLiteral("forn%1").arg(n + 1));
    auto* note = new QLabel(frame);
    note->setObjectName(QStringLiteral("des%1").arg(n + 1));
    auto* l = new QVBoxLayout(frame);
    l->addWidget(box);
    l->addWidget(note);
    *frames[n] = frame;
    *names[n] = box;
    *notes[n] = note;
    suppliers->addWidget(frame);
  }

  Frame8 = Named(new QGroupBox(QStringLiteral("Selezione prezzi"), this), "Frame8");
  Check1 = Named(new QCheckBox(QStringLiteral("Per convenienza"), Frame8), "Check1");
  (new QVBoxLayout(Frame8))->addWidget(Check1);

  Frame6 = Named(new QGroupBox(QStringLiteral("Selezione articoli"), this), "Frame6");
  Option5 = Named(new QRadioButton(QStringLiteral("Tutti"), Frame6), "Option5");
  Option1 = Named(new QRadioButton(QStringLiteral("In comune"), Frame6), "Option1");
  Option5->setChecked(true);
  auto* f6 = new QVBoxLayout(Frame6);
  f6->addWidget(Option5);
  f6->addWidget(Option1);

  Frame5 = Named(new QGroupBox(QStringLiteral("Selezione per Convenienza"), this), "Frame5");
  QRadioButton** options[] = {&Option2, &Option3, &Option4};
  auto* f5 = new QGridLayout(Frame5);
  for (int k = 0; k < 3; ++k) {
    *options[k] =
        new QRadioButton(QStringLiteral("Più convenienti Fornitore %1").arg(k + 1), Frame5);
    (*options[k])->setObjectName(QStringLiteral("Option%1").arg(k + 2));
    f5->addWidget(*options[k], k, 0, 1, 2);
  }
  maggw = Named(new ui::TextBox(Frame5), "maggw");
  Label12 = Named(new QLabel(QStringLiteral("> %"), Frame5), "Label12");
  f5->addWidget(Label12, 3, 0);
  f5->addWidget(maggw, 3, 1);
  Frame5->setEnabled(false);

  auto* searches = new QGridLayout;
  Label2 = Named(new QLabel(QStringLiteral("Ricerca alfabetica"), this), "Label2");
  ricw = Named(new ui::TextBox(this), "ricw");
  Label6 = Named(new QLabel(QStringLiteral("Per Ean"), this), "Label6");
  eanw = Named(new ui::TextBox(this), "eanw");
  deslisw = Named(new QLabel(QStringLiteral("Nr. articoli =>  "), this), "deslisw");
  nrartw = Named(new ui::TextBox(this), "nrartw");
  nrartw->setReadOnly(true);
  tiposw = Named(new ui::TextBox(this), "tiposw");
  searches->addWidget(Label2, 0, 0);
  searches->addWidget(ricw, 0, 1);
  searches->addWidget(Label6, 1, 0);
  searches->addWidget(eanw, 1, 1);
  searches->addWidget(deslisw, 2, 0);
  searches->addWidget(nrartw, 2, 1);
  searches->addWidget(tiposw, 3, 1);

  auto* filters = new QHBoxLayout;
  filters->addWidget(Frame8);
  filters->addWidget(Frame6);
  filters->addWidget(Frame5);
  filters->addLayout(searches, 1);

  flex1 = Named(new ui::FlexGrid(this), "flex1");
  flex1->SetCols(kCols3);
  flex1->SetDataSource(art);
  flex1->viewport()->installEventFilter(this);

  Frame7 = Named(new QGroupBox(this), "Frame7");
  Label3 = Named(new QLabel(QStringLiteral("Elaborazione in corso. Attendere prego..."), Frame7),
                 "Label3");
  QFont busy(QStringLiteral("Palatino Linotype"));
  busy.setPointSize(14);
  busy.setBold(true);
  Label3->setFont(busy);
  Label3->setAlignment(Qt::AlignCenter);
  (new QVBoxLayout(Frame7))->addWidget(Label3);
  Frame7->hide();

  Frame1 = Named(new QGroupBox(this), "Frame1");
  auto* commands = new QHBoxLayout(Frame1);
  auto button = [this, commands](const char* name, const QString& caption) {
    auto* b = Named(new QPushButton(caption, Frame1), QString::fromLatin1(name));
    commands->addWidget(b);
    return b;
  };
  Command10 = button("Command10", QStringLiteral("Stampa elenco "));
  Command2 = button("Command2", QStringLiteral("Elimina Dati"));
  Command3 = button("Command3", QStringLiteral("Vedi selezionati"));
  Command1 = button("Command1", QStringLiteral("Seleziona o  Deseleziona tutti"));
  Command4 = button("Command4", QStringLiteral("Crea Ordini"));
  Command5 = button("Command5", QStringLiteral("Pulisci Colli"));
  Command6 = button("Command6", QStringLiteral("Uscita"));

  auto* main = new QVBoxLayout(this);
  main->addWidget(Label1);
  main->addLayout(suppliers);
  main->addLayout(filters);
  main->addWidget(flex1, 1);
  main->addWidget(Frame7);
  main->addWidget(Frame1);

  connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
  connect(Option5, &QRadioButton::clicked, this, [this] { Option5_Click(); });
  connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
  connect(Option3, &QRadioButton::clicked, this, [this] { Option3_Click(); });
  connect(Option4, &QRadioButton::clicked, this, [this] { Option4_Click(); });
  connect(ricw, &ui::TextBox::GotFocus, this, [this] { ricw_GotFocus(); });
  connect(ricw, &ui::TextBox::KeyDown, this,
          [this](int& keyCode, int shift) { ricw_KeyDown(keyCode, shift); });
  connect(ricw, &ui::TextBox::KeyPress, this, [this](int& key) { ricw_KeyPress(key); });
  connect(eanw, &ui::TextBox::GotFocus, this, [this] { eanw_GotFocus(); });
  connect(eanw, &ui::TextBox::KeyDown, this,
          [this](int& keyCode, int shift) { eanw_KeyDown(keyCode, shift); });
  connect(eanw, &ui::TextBox::KeyPress, this, [this](int& key) { eanw_KeyPress(key); });
  connect(flex1, &ui::FlexGrid::Click, this, [this] { flex1_Click(); });
  connect(flex1, &ui::FlexGrid::KeyDown, this,
          [this](int& keyCode, int shift) { flex1_KeyDown(keyCode, shift); });
  connect(flex1, &ui::FlexGrid::KeyPress, this, [this](int& key) { flex1_KeyPress(key); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
  connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
}

ui::TextBox* cnf02T::NameBox(int slot) const {
  return slot == 1 ? forn1 : slot == 2 ? forn2 : forn3;
}

void cnf02T::Form_Load() {
  const QString db = common::G().percorso_db;
  vista_selezionati = false;
  try {
    forn->DatabaseName = db;
    forn->RecordSource = QStringLiteral("select * from fornitori");
    forn->Refresh();
    // The price-list note of each slot's supplier.
    if (db::Recordset* rs = forn->recordset(); rs && rs->RecordCount() > 0) {
      rs->MoveFirst();
      while (!rs->Eof()) {
        const qint64 code = qint64(Val(rs->Field(QStringLiteral("codice")).str()));
        const QString path = rs->Field(QStringLiteral("percorso")).str();
        if (code >= 1 && code <= 3) {
          if (auto note = PriceListNote(*testa, path)) {
            QLabel* labels[] = {des1, des2, des3};
            labels[code - 1]->setText(*note);
          }
        }
        rs->MoveNext();
      }
    }
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la lettura dei fornitori"), e.message());
  }
  cond_vista.clear();
  cond_ricerca.clear();
  cond_selezione.clear();
  cond_convenienza.clear();
  select_confronto = GridSelect3();
  order_confronto = comparison::OrderByDescription();
  try {
    cnf02T_nomi_fornitori();
    art->DatabaseName = db;
    art->RecordSource = select_confronto + cnf02T_componi_where() + order_confronto;
    art->Refresh();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
  }
  ui::DoEvents();
  cnf02T_carica_griglia();
}

void cnf02T::cnf02T_nomi_fornitori() {
  comparison::FillSupplierNames(*forn, common::G().percorso_db, {forn1, forn2, forn3});
}

QString cnf02T::cnf02T_componi_where() const {
  return ComposeWhere(cond_vista, cond_ricerca, cond_selezione, cond_convenienza);
}

namespace {

std::array<double, 3> CostsOfRow(const ui::FlexGrid& grid, int row) {
  std::array<double, 3> c{};
  for (int n = 1; n <= 3; ++n) {
    c[n - 1] = comparison::MarkCost(Variant(grid.TextMatrix(row, CostColumn3(n))));
  }
  return c;
}

}  // namespace

int cnf02T::cnf02T_colonna_costo_max(int row) const {
  return CostColumn3(comparison::DearestOfThree(CostsOfRow(*flex1, row)));
}

int cnf02T::cnf02T_colonna_costo_min(int row) const {
  return CostColumn3(comparison::CheapestOfThree(CostsOfRow(*flex1, row)));
}

void cnf02T::cnf02T_carica_griglia() {
  for (int c = 0; c < kCols3; ++c) {
    const bool cost = c == CostColumn3(1) || c == CostColumn3(2) || c == CostColumn3(3);
    const bool difference = c >= kColDiff3 && c < kColDiff3 + 3;
    flex1->SetColWidthFor(c, kWidths[c],
                          QString::fromLatin1(cost         ? comparison::kWidestCostCell
                                              : difference ? comparison::kWidestDifferenceCell
                                                           : ""));
  }
  db::Recordset* rs = art->recordset();
  const long count = rs ? rs->RecordCount() : 0;
  const int limit = int(qMin<long>(count, kFormatted));

  comparison::SetCostHeadings(*flex1, {forn1, forn2, forn3},
                              {CostColumn3(1), CostColumn3(2), CostColumn3(3)}, 6);

  common::MainWindowLink* main = common::MainWindow();
  ui::ProgressBar* pb1 = main ? main->ProgressBar() : nullptr;
  const QColor dearFore = ui::VbColor(0xFFFFFF), dearBack = ui::VbColor(255);
  const QColor cheapFore = ui::VbColor(0xFF0000), cheapBack = ui::VbColor(62720);
  const int last = std::min(limit, flex1->Rows() - 1);
  if (pb1) {
    for (int r = 1; r <= last; ++r) {
      pb1->SetValue(pb1->Value() + 1 > pb1->Max() ? 0 : pb1->Value() + 1);
    }
  }
  // Each row is marked and formatted when it is first read or shown: a view shows a few rows
  // of many.
  flex1->DecorateRows(
      1, last, [dearFore, dearBack, cheapFore, cheapBack](ui::GridModel& grid, int r) {
        // The costs with four decimals serve both the marks and the cells' text.
        std::array<QString, 3> cells;
        std::array<double, 3> costs{};
        for (int n = 1; n <= 3; ++n) {
          cells[n - 1] = FormatCellNumber(grid.Text(r, CostColumn3(n)), 4, 1);
          costs[n - 1] = comparison::MarkCostOfFormatted(cells[n - 1]);
        }
        const int dearest = CostColumn3(comparison::DearestOfThree(costs));
        grid.SetFore(r, dearest, dearFore);
        grid.SetBack(r, dearest, dearBack);
        const int cheapest = CostColumn3(comparison::CheapestOfThree(costs));
        grid.SetFore(r, cheapest, cheapFore);
        grid.SetBack(r, cheapest, cheapBack);
        grid.SetText(r, kColIva3, FormatCellNumber(grid.Text(r, kColIva3), 0, 2));
        for (int n = 1; n <= 3; ++n) grid.SetText(r, CostColumn3(n), cells[n - 1]);
        for (int c = kColDiff3; c < kColDiff3 + 3; ++c) {
          grid.SetText(r, c, comparison::DifferenceText(grid.Text(r, c), 2));
        }
      });

  nrartw->setText(QString::number(count));
  if (count > 0) rs->MoveFirst();
}

void cnf02T::cnf02T_attesa(bool flag) {
  Frame7->setVisible(flag);
  setEnabled(!flag);
  repaint();
}

bool cnf02T::Ricarica(bool setDatabase) {
  cnf02T_attesa(true);
  if (setDatabase) art->DatabaseName = common::G().percorso_db;
  art->RecordSource = select_confronto + cnf02T_componi_where() + order_confronto;
  bool ok = true;
  try {
    art->Refresh();
  } catch (const db::DbError& e) {
    ok = false;
    MostraErrore(QStringLiteral("la lettura del confronto"), e.message());
  }
  cnf02T_carica_griglia();
  cnf02T_attesa(false);
  return ok;
}

void cnf02T::MostraErrore(const QString& action, const QString& error) {
  ui::MsgCritical(QStringLiteral("ATTENZIONE !!! Errore durante %1.\n%2").arg(action, error),
                  windowTitle());
}

void cnf02T::Option1_Click() {
  cond_selezione = InCommon3();
  Ricarica(false);
}

void cnf02T::Option5_Click() {
  cond_selezione.clear();
  Ricarica(false);
}

void cnf02T::Convenienza(const QString& condition) {
  cond_convenienza = condition;
  Ricarica(false);
}

void cnf02T::Option2_Click() { Convenienza(Convenience3(1)); }
void cnf02T::Option3_Click() { Convenienza(Convenience3(2)); }
void cnf02T::Option4_Click() { Convenienza(Convenience3(3)); }

void cnf02T::Check1_Click() {
  if (Check1->isChecked()) {
    Frame5->setEnabled(true);
    return;
  }
  Frame5->setEnabled(false);
  for (QRadioButton* option : {Option2, Option3, Option4}) Deselect(option);
  cond_convenienza = comparison::ConvenienceCleared();
  Ricarica(true);
}

void cnf02T::Command3_Click() {
  Frame1->setEnabled(false);
  repaint();
  if (vista_selezionati) {
    cond_vista.clear();
    Command3->setText(QStringLiteral("Vedi selezioni"));
  } else {
    cond_vista = comparison::ViewMarked();
    Command3->setText(QStringLiteral("Vedi tutti"));
  }
  Command3->repaint();
  vista_selezionati = !vista_selezionati;
  Ricarica(true);
  Frame1->setEnabled(true);
  repaint();
}

void cnf02T::cnf02T_colori_ricerca() {
  for (ui::TextBox* box : {ricw, eanw}) ui::SetBackColor(box, ui::VbColor(ui::kVbSystemWindow));
}

void cnf02T::Ricerca(const QString& condition, const QString& order) {
  cnf02T_attesa(true);
  cond_ricerca = condition;
  order_confronto = order;
  Ricarica(false);
}

void cnf02T::ricw_GotFocus() {
  cnf02T_colori_ricerca();
  ui::SetBackColor(ricw, ui::VbColor(ui::kVbYellow));
}

void cnf02T::ricw_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode == kKeyDown) flex1->setFocus();
}

void cnf02T::ricw_KeyPress(int& KeyAscii) {
  if (KeyAscii != kEnter) return;
  const QString text = ricw->text().trimmed();
  Ricerca(text.isEmpty() ? QString() : comparison::DescriptionSearch(text),
          comparison::OrderByDescription());
}

void cnf02T::eanw_GotFocus() {
  cnf02T_colori_ricerca();
  ui::SetBackColor(eanw, ui::VbColor(ui::kVbYellow));
}

void cnf02T::eanw_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode == kKeyDown) flex1->setFocus();
}

void cnf02T::eanw_KeyPress(int& KeyAscii) {
  // Set only when it changes, so that the caret stays where the operator types.
  if (const QString trimmed = eanw->text().trimmed(); trimmed != eanw->text()) {
    eanw->setText(trimmed);
  }
  if (KeyAscii != kEnter) return;
  const QString text = eanw->text();
  Ricerca(text.isEmpty() ? QString() : comparison::EanSearch(text), comparison::OrderByEan());
}

void cnf02T::Form_Unload() {
  // However the window goes, the main window's frame `scadenze` goes with it.
  if (common::MainWindowLink* main = common::MainWindow()) main->ProgressFrame()->setVisible(false);
}

bool cnf02T::eventFilter(QObject* watched, QEvent* event) {
  if (watched == flex1->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* me = static_cast<QMouseEvent*>(event);
    const QModelIndex index = flex1->indexAt(me->position().toPoint());
    pressOnHeading_ =
        !index.isValid() || index.row() < flex1->FixedRows() || index.column() < flex1->FixedCols();
  }
  return ui::Form::eventFilter(watched, event);
}

}  // namespace vx::comparison3
