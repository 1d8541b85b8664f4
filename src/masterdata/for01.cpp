#include "masterdata/for01.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <array>

#include "common/shared_values.h"
#include "masterdata/for03.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {

using common::G;
using ui::MakeControl;

namespace {

const QString kEmptyDescription =
    QStringLiteral("La descrizione del Fornitore non puo essere blanks....");
const QString kNoSlot =
    QStringLiteral("ATTENZIONE !!!. Selezionare prima la posizione di confronto ...");
const QString kDeleteQuestion =
    QStringLiteral("Sei sicuro di voler cancellare questo Fornitore ...");

QString Text(const Variant& v) { return v.isNull() || v.isEmpty() ? QString() : v.str(); }

}  // namespace

for01::for01() {
  setObjectName(QStringLiteral("for01"));
  SetCaption(QStringLiteral("Gestione Fornitori"));
  resize(ui::TwipsToPixels(7440), ui::TwipsToPixels(6000));
  BuildControls();
}

void for01::BuildControls() {
  Frame1 = MakeControl<QGroupBox>(this, "Frame1", 120, 60, 7200, 900, QStringLiteral("Fornitore"));
  codfow = MakeControl<ui::TextBox>(Frame1, "codfow", 120, 360, 1200, 390);
  codfow->setReadOnly(true);
  codfow->setMaxLength(20);
  desforw = MakeControl<ui::TextBox>(Frame1, "desforw", 1440, 300, 5640, 450);
  desforw->setMaxLength(30);
  QFont bold = desforw->font();
  bold.setBold(true);
  bold.setPointSize(12);
  desforw->setFont(bold);

  SSTab1 = MakeControl<QTabWidget>(this, "SSTab1", 120, 1080, 7200, 4800);
  auto* general = new QWidget;
  general->setObjectName(QStringLiteral("Generale"));
  SSTab1->addTab(general, QStringLiteral("Generale"));

  Frame2 = MakeControl<QGroupBox>(general, "Frame2", 120, 120, 6840, 700,
                                  QStringLiteral("Posizione confronto"));
  const std::array<const char*, 4> names = {"Option1", "Option2", "Option3", "Option4"};
  const std::array<const char*, 4> captions = {"Prima", "Seconda", "Terza", "Quarta"};
  std::array<QRadioButton**, 4> options = {&Option1, &Option2, &Option3, &Option4};
  for (int i = 0; i < 4; ++i) {
    *options[i] = MakeControl<QRadioButton>(Frame2, names[i], 120 + i * 1680, 300, 1560, 300,
                                            QString::fromLatin1(captions[i]));
  }

  Frame3 =
      MakeControl<QGroupBox>(general, "Frame3", 120, 900, 6840, 720, QStringLiteral("Percorso DB"));
  percorsow = MakeControl<ui::TextBox>(Frame3, "percorsow", 120, 300, 6600, 330);
  percorsow->setMaxLength(30);
  Frame4 = MakeControl<QGroupBox>(general, "Frame4", 120, 1700, 6840, 720,
                                  QStringLiteral("Percorso PRG"));
  programmaw = MakeControl<ui::TextBox>(Frame4, "programmaw", 120, 300, 6600, 330);
  programmaw->setMaxLength(30);
  Frame5 = MakeControl<QGroupBox>(general, "Frame5", 120, 2500, 6840, 720,
                                  QStringLiteral("Tipo Creazione  Ordine"));
  crea = MakeControl<QCheckBox>(Frame5, "crea", 120, 300, 6600, 300,
                                QStringLiteral("Creazione Ordine diviso per tipologia prodotti"));

  Frame6 = MakeControl<QGroupBox>(general, "Frame6", 120, 3300, 6840, 900);
  Command4 =
      MakeControl<QPushButton>(Frame6, "Command4", 120, 180, 840, 600,
                               style()->standardIcon(QStyle::SP_DialogSaveButton), QString());
  Command4->setToolTip(QStringLiteral("Conferma dati modificati"));
  Command4->setAutoDefault(true);
  Command3 = MakeControl<QPushButton>(Frame6, "Command3", 1080, 180, 840, 600,
                                      style()->standardIcon(QStyle::SP_TrashIcon), QString());
  Command3->setToolTip(QStringLiteral("Elimina Fornitore"));
  Command6 =
      MakeControl<QPushButton>(Frame6, "Command6", 5880, 180, 840, 600,
                               style()->standardIcon(QStyle::SP_DialogCloseButton), QString());
  Command6->setToolTip(QStringLiteral("Uscita programma"));

  Data6 = new db::DataControl(this);
  Data6->setObjectName(QStringLiteral("Data6"));

  connect(Command4, &QPushButton::clicked, this, &for01::Command4_Click);
  connect(Command3, &QPushButton::clicked, this, &for01::Command3_Click);
  connect(Command6, &QPushButton::clicked, this, &for01::Command6_Click);

  for (QWidget* w : std::initializer_list<QWidget*>{desforw, percorsow, programmaw, Command4}) {
    ui::HighlightOnFocus(w, [this] { chiaro(); });
  }
  // Enter moves on: description, database path, program path, save button.
  const std::array<std::pair<ui::TextBox*, QWidget*>, 3> next = {
      {{desforw, percorsow}, {percorsow, programmaw}, {programmaw, Command4}}};
  for (const auto& [box, to] : next) {
    QWidget* target = to;
    connect(box, &ui::TextBox::KeyPress, this, [target](int& keyAscii) {
      if (keyAscii != 13) return;
      keyAscii = 0;
      target->setFocus(Qt::OtherFocusReason);
    });
  }
}

void for01::Form_Load() { anagr(); }

void for01::chiaro() {
  for (QWidget* w : std::initializer_list<QWidget*>{desforw, percorsow, programmaw, Command4}) {
    ui::SetBackColor(w, ui::VbColor(ui::kVbWhite));
  }
}

void for01::anagr() {
  chiaro();
  ui::SetBackColor(desforw, ui::VbColor(ui::kVbYellow));
  codfow->SetText(QString::number(G().codice_fornitore));
  try {
    OpenSlot(G().codice_fornitore);
    db::Recordset* rs = Data6->recordset();
    if (rs->Eof()) return;
    desforw->SetText(Text(rs->Field(QStringLiteral("descr"))));
    percorsow->SetText(Text(rs->Field(QStringLiteral("percorso"))));
    programmaw->SetText(Text(rs->Field(QStringLiteral("programma"))));
    const Variant creazione = rs->Field(QStringLiteral("creazioneordine"));
    if (!creazione.isNull() && !creazione.isEmpty()) crea->setChecked(creazione.toDouble() != 0);
    const Variant codice = rs->Field(QStringLiteral("codice"));
    const double slot = codice.isNull() ? 0 : codice.toDouble();
    const std::array<QRadioButton*, 4> options = {Option1, Option2, Option3, Option4};
    for (int i = 1; i <= 4; ++i) {
      if (slot == i) options[i - 1]->setChecked(true);
    }
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
  }
}

int for01::ChosenSlot() const {
  const std::array<QRadioButton*, 4> options = {Option1, Option2, Option3, Option4};
  for (int i = 0; i < 4; ++i) {
    if (options[i]->isChecked()) return i + 1;
  }
  return 0;
}

void for01::OpenSlot(int slot) {
  Data6->DatabaseName = G().percorso_db;
  Data6->RecordSource =
      QStringLiteral("SELECT * FROM fornitori WHERE codice = ") + QString::number(slot);
  Data6->Refresh();
}

void for01::Command4_Click() {
  // Only the empty text is refused: a description of blanks is a description.
  if (desforw->Text().isEmpty()) {
    ui::MsgCritical(kEmptyDescription);
    return;
  }
  const int slot = ChosenSlot();
  if (slot == 0) {
    ui::MsgCritical(kNoSlot);
    return;
  }
  try {
    OpenSlot(slot);
    db::Recordset* rs = Data6->recordset();
    if (rs->Eof()) {
      rs->AddNew();
      rs->SetField(QStringLiteral("codice"), slot);
    } else {
      rs->Edit();
    }
    rs->SetField(QStringLiteral("percorso"), percorsow->Text());
    rs->SetField(QStringLiteral("descr"), desforw->Text().left(15));
    rs->SetField(QStringLiteral("codfor"), slot);
    rs->SetField(QStringLiteral("creazioneordine"), crea->isChecked() ? 1 : 0);
    rs->SetField(QStringLiteral("programma"), programmaw->Text());
    rs->Update();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
    return;
  }
  Unload();
}

void for01::Command3_Click() {
  const int slot = ChosenSlot();
  if (slot == 0) {
    ui::MsgCritical(kNoSlot);
    return;
  }
  if (!ui::AskYesNo(kDeleteQuestion, {})) return;
  try {
    OpenSlot(slot);
    db::Recordset* rs = Data6->recordset();
    if (!rs->Eof()) rs->Delete();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
    return;
  }
  // Only a loaded list is refreshed: loading a hidden one would keep the program running.
  ui::Forms::IfLoaded<for03>([](for03& list) { list.Requery(); });
  Unload();
}

void for01::Command6_Click() { Unload(); }

}  // namespace vx::masterdata
