// The comparison grid's four view conditions and their controls: the view buttons ("Vedi
// selezionati", "Vedi Promo"), the article selection ("Tutti", "In comune"), the convenience
// options, the searches by description and by EAN, and the paging by 500 running numbers.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison/cnf02_query.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

constexpr qint64 kSearchBack = 0xC0FFFF;  // light yellow of the search boxes at start
constexpr int kKeyDown = 40;              // arrow down
constexpr int kEnter = 13;

using ui::Named;

// Clears a radio button that its group would keep selected.
void Deselect(QRadioButton* option) {
  option->setAutoExclusive(false);
  option->setChecked(false);
  option->setAutoExclusive(true);
}

}  // namespace

QLayout* cnf02::BuildFilters() {
  auto* articles = Named(new QGroupBox(QStringLiteral("Selezione articoli"), this),
                         QStringLiteral("FrameSelezioneArticoli"));
  Option5 = Named(new QRadioButton(QStringLiteral("Tutti"), articles), QStringLiteral("Option5"));
  Option1 =
      Named(new QRadioButton(QStringLiteral("In comune"), articles), QStringLiteral("Option1"));
  Option5->setChecked(true);
  auto* a = new QVBoxLayout(articles);
  a->addWidget(Option5);
  a->addWidget(Option1);

  auto* prices = Named(new QGroupBox(QStringLiteral("Selezione prezzi"), this),
                       QStringLiteral("FrameSelezionePrezzi"));
  Check1 =
      Named(new QCheckBox(QStringLiteral("Per convenienza"), prices), QStringLiteral("Check1"));
  Frame5 = Named(new QGroupBox(QStringLiteral("Selezione per Convenienza"), prices),
                 QStringLiteral("Frame5"));
  auto* f5 = new QGridLayout(Frame5);
  QRadioButton** options[] = {&Option2, &Option3, &Option4, &Option6};
  const char* names[] = {"Option2", "Option3", "Option4", "Option6"};
  for (int k = 0; k < 4; ++k) {
    *options[k] =
        Named(new QRadioButton(QStringLiteral("Convenienti Fornitore %1").arg(k + 1), Frame5),
              QString::fromLatin1(names[k]));
    f5->addWidget(*options[k], k / 2, k % 2);
  }
  Frame5->setEnabled(false);
  auto* p = new QHBoxLayout(prices);
  p->addWidget(Check1);
  p->addWidget(Frame5);

  auto* searches =
      Named(new QGroupBox(QStringLiteral("Ricerche"), this), QStringLiteral("FrameRicerche"));
  ricw = Named(new ui::TextBox(searches), QStringLiteral("ricw"));
  eanw = Named(new ui::TextBox(searches), QStringLiteral("eanw"));
  eanw->setMaxLength(13);
  for (ui::TextBox* box : {ricw, eanw}) ui::SetBackColor(box, ui::VbColor(kSearchBack));
  auto* r = new QGridLayout(searches);
  r->addWidget(new QLabel(QStringLiteral("Per descrizione"), searches), 0, 0);
  r->addWidget(ricw, 0, 1);
  r->addWidget(new QLabel(QStringLiteral("Per EAN"), searches), 1, 0);
  r->addWidget(eanw, 1, 1);

  auto* row = new QHBoxLayout;
  row->addWidget(articles);
  row->addWidget(prices);
  row->addWidget(searches, 1);
  return row;
}

void cnf02::ConnectFilters() {
  connect(Command3, &QPushButton::clicked, this, [this] { cnf02_Command3_Click(); });
  connect(Command7, &QPushButton::clicked, this, [this] { cnf02_Command7_Click(); });
  connect(Option1, &QRadioButton::clicked, this, [this] { cnf02_Option1_Click(); });
  connect(Option5, &QRadioButton::clicked, this, [this] { cnf02_Option5_Click(); });
  connect(Option2, &QRadioButton::clicked, this, [this] { cnf02_Option2_Click(); });
  connect(Option3, &QRadioButton::clicked, this, [this] { cnf02_Option3_Click(); });
  connect(Option4, &QRadioButton::clicked, this, [this] { cnf02_Option4_Click(); });
  connect(Option6, &QRadioButton::clicked, this, [this] { cnf02_Option6_Click(); });
  connect(Check1, &QCheckBox::clicked, this, [this] { cnf02_Check1_Click(); });
  connect(Pic1, &QPushButton::clicked, this, [this] { cnf02_Pic1_Click(); });
  connect(Pic2, &QPushButton::clicked, this, [this] { cnf02_Pic2_Click(); });
  connect(ricw, &ui::TextBox::GotFocus, this, [this] { cnf02_ricw_GotFocus(); });
  connect(ricw, &ui::TextBox::KeyDown, this,
          [this](int& keyCode, int shift) { cnf02_ricw_KeyDown(keyCode, shift); });
  connect(ricw, &ui::TextBox::KeyPress, this, [this](int& key) { cnf02_ricw_KeyPress(key); });
  connect(eanw, &ui::TextBox::GotFocus, this, [this] { cnf02_eanw_GotFocus(); });
  connect(eanw, &ui::TextBox::KeyDown, this,
          [this](int& keyCode, int shift) { cnf02_eanw_KeyDown(keyCode, shift); });
  connect(eanw, &ui::TextBox::KeyPress, this, [this](int& key) { cnf02_eanw_KeyPress(key); });
}

std::array<bool, 4> cnf02::NamedSlots() const {
  return {IsNamed(1), IsNamed(2), IsNamed(3), IsNamed(4)};
}

void cnf02::SwitchView(QPushButton* pressed, const QString& condition, const QString& offCaption) {
  Frame1->setEnabled(false);
  repaint();
  if (flag_vista) {
    cond_vista.clear();
    pressed->setText(offCaption);
  } else {
    cond_vista = condition;
    pressed->setText(QStringLiteral("Vedi tutti"));
  }
  pressed->repaint();
  flag_vista = !flag_vista;
  art->DatabaseName = common::G().percorso_db;
  Requery();
  Frame1->setEnabled(true);
  repaint();
}

void cnf02::cnf02_Command3_Click() {
  SwitchView(Command3, ViewMarked(), QStringLiteral("Vedi selezioni"));
}

void cnf02::cnf02_Command7_Click() {
  SwitchView(Command7, ViewPromo(), QStringLiteral("Vedi Promo"));
}

void cnf02::cnf02_Option1_Click() {
  cond_ricerca.clear();
  cnf02_attesa(true);
  cond_selezione = InCommon(NamedSlots());
  Requery();
}

void cnf02::cnf02_Option5_Click() {
  cnf02_attesa(true);
  Pic1->setEnabled(true);
  Pic2->setEnabled(true);
  cond_selezione.clear();
  cond_vista.clear();
  Requery();
}

void cnf02::Convenienza(int k) {
  cnf02_attesa(true);
  Pic1->setEnabled(false);
  Pic2->setEnabled(false);
  cond_ricerca.clear();
  // The options of suppliers 3 and 4 keep "In comune".
  if (k <= 2) cond_selezione.clear();
  cond_convenienza = Convenience(k, NamedSlots());
  Requery();
}

void cnf02::cnf02_Option2_Click() { Convenienza(1); }
void cnf02::cnf02_Option3_Click() { Convenienza(2); }
void cnf02::cnf02_Option4_Click() { Convenienza(3); }
void cnf02::cnf02_Option6_Click() { Convenienza(4); }

void cnf02::cnf02_Check1_Click() {
  Pic1->setEnabled(true);
  Pic2->setEnabled(true);
  if (Check1->isChecked()) {
    Frame5->setEnabled(true);
    return;
  }
  Frame5->setEnabled(false);
  for (QRadioButton* option : {Option2, Option3, Option4, Option6}) Deselect(option);
  cond_convenienza = ConvenienceCleared();
  cnf02_attesa(true);
  art->DatabaseName = common::G().percorso_db;
  Requery();
}

void cnf02::cnf02_colori_ricerca() {
  for (ui::TextBox* box : {ricw, eanw}) ui::SetBackColor(box, ui::VbColor(ui::kVbSystemWindow));
}

void cnf02::cnf02_ricw_GotFocus() {
  cnf02_colori_ricerca();
  ui::SetBackColor(ricw, ui::VbColor(ui::kVbYellow));
}

void cnf02::cnf02_ricw_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode == kKeyDown) flex1->setFocus();
}

void cnf02::cnf02_ricw_KeyPress(int& KeyAscii) {
  // Every key drops the four conditions; the grid shows it at the next refill.
  cond_vista.clear();
  cond_ricerca.clear();
  cond_selezione.clear();
  cond_convenienza.clear();
  if (KeyAscii != kEnter) return;
  cnf02_attesa(true);
  const QString text = ricw->text().trimmed();
  if (!text.isEmpty()) cond_ricerca = DescriptionSearch(text);
  order_confronto = OrderByDescription();
  Requery();
}

void cnf02::cnf02_eanw_GotFocus() {
  cnf02_colori_ricerca();
  ui::SetBackColor(eanw, ui::VbColor(ui::kVbYellow));
}

void cnf02::cnf02_eanw_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode == kKeyDown) flex1->setFocus();
}

void cnf02::cnf02_eanw_KeyPress(int& KeyAscii) {
  Pic1->setEnabled(false);
  Pic2->setEnabled(false);
  cond_vista.clear();
  cond_ricerca.clear();
  cond_selezione.clear();
  cond_convenienza.clear();
  // Set only when it changes, so that the caret stays where the operator types.
  if (const QString trimmed = eanw->text().trimmed(); trimmed != eanw->text()) {
    eanw->setText(trimmed);
  }
  if (KeyAscii != kEnter) return;
  cnf02_attesa(true);
  const QString text = eanw->text();
  if (!text.isEmpty()) cond_ricerca = EanSearch(text);
  order_confronto = OrderByEan();
  Requery();
}

void cnf02::ApplyPageStep(const PageStep& step) {
  common::G().pagina = step.pagina;
  flag_avanti = step.flagAvanti;
  cond_ricerca = step.condRicerca;
  if (step.pic1Enabled) {
    Pic1->setEnabled(*step.pic1Enabled);
    Pic1->repaint();
  }
  order_confronto = OrderByDescription();
  Requery();
  if (step.pic2Enabled) {
    Pic2->setEnabled(*step.pic2Enabled);
    Pic2->repaint();
  }
}

void cnf02::cnf02_Pic1_Click() {
  cnf02_attesa(true);
  auto& g = common::G();
  ApplyPageStep(PageForward(g.pagina, flag_avanti, g.nrec));
}

void cnf02::cnf02_Pic2_Click() {
  cnf02_attesa(true);
  auto& g = common::G();
  ApplyPageStep(PageBack(g.pagina, flag_avanti, g.nrec));
}

}  // namespace vx::comparison
