#include "masterdata/art03.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "masterdata/ali01.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {

namespace {

constexpr int kEanWidth = 13;
constexpr int kDescriptionWidth = 35;
constexpr qint64 kCardColor = 0xC0E0FF;
constexpr qint64 kReadOnlyColor = 0xE0E0E0;

const QString kNoEan = QStringLiteral(" Attenzione !!!! Codice ean non inserito ...");
const QString kBadEan = QStringLiteral(" Attenzione !!!! Codice EAN errato o inesistente ...");
const QString kBadFactor = QStringLiteral(" Attenzione !!!! Fattore conversione errato  ...");
const QString kNotListed =
    QStringLiteral(" Attenzione !!!! Codice Ean non presente nel listino fornitore   ...");

// A slot's column of `eanconv`: no digit for slot 1.
QString SlotColumn(const char* name, int slot) {
  return QString::fromLatin1(name) + (slot == 1 ? QString() : QString::number(slot));
}

QString RowQuery(qint32 slot, const QString& ean) {
  return QStringLiteral("SELECT * FROM eanconv  WHERE codfor = %1  and ean = ").arg(slot) +
         db::Quote(ean);
}

bool InRange(qint32 slot) { return slot >= 1 && slot <= 4; }

ui::TextBox* Box(QWidget* parent, const QString& name, bool readOnly, int maxLength = 0) {
  auto* box = new ui::TextBox(parent);
  box->setObjectName(name);
  box->setReadOnly(readOnly);
  if (maxLength > 0) box->setMaxLength(maxLength);
  ui::SetBackColor(box, ui::VbColor(readOnly ? kReadOnlyColor : ui::kVbWhite));
  return box;
}

// Room for a box's text of `chars` characters in the box's font: capitals for descriptions,
// digits for codes and numbers, and the box's own frame and margins.
int BoxWidthFor(const QWidget* box, int chars, bool capitals) {
  const QFontMetrics fm(box->font());
  const QString sample =
      capitals ? QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ") : QStringLiteral("0123456789");
  const int text = (fm.horizontalAdvance(sample) * chars + sample.size() - 1) / sample.size();
  return text + 16;
}

using ui::Named;

}  // namespace

art03::art03() {
  SetCaption(QStringLiteral("Visualizzazione Articoli"));
  BuildControls();
}

void art03::BuildControls() {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ui::VbColor(kCardColor));
  pal.setColor(QPalette::Button, ui::VbColor(kCardColor));
  setPalette(pal);

  auto* outer = new QVBoxLayout(this);

  // Supplier band.
  auto* supplier = new QHBoxLayout;
  outer->addLayout(supplier);
  codforw = Box(this, QStringLiteral("codforw"), true);
  codforw->setMaximumWidth(50);
  desfow = Box(this, QStringLiteral("desfow"), true, kDescriptionWidth);
  percpw = Box(this, QStringLiteral("percpw"), true);
  percpw->setMaximumWidth(80);
  supplier->addWidget(codforw);
  supplier->addWidget(desfow, 1);
  supplier->addWidget(new QLabel(QStringLiteral("+/- % Var.prezzo "), this));
  supplier->addWidget(percpw);

  // Article band.
  auto* article = new QHBoxLayout;
  outer->addLayout(article);
  Frame3 = Named(new QGroupBox(QStringLiteral("Codice Ean"), this), QStringLiteral("Frame3"));
  auto* eanBox = new QHBoxLayout(Frame3);
  eanw = Box(Frame3, QStringLiteral("eanw"), false);
  eanBox->addWidget(eanw);
  article->addWidget(Frame3);
  Frame4 = Named(new QGroupBox(QStringLiteral("Descrizione"), this), QStringLiteral("Frame4"));
  auto* desBox = new QHBoxLayout(Frame4);
  desarw = Box(Frame4, QStringLiteral("desarw"), true, kDescriptionWidth);
  desarw->setMinimumWidth(BoxWidthFor(desarw, kDescriptionWidth, true));
  QPalette red = desarw->palette();
  red.setColor(QPalette::Text, Qt::red);
  desarw->setPalette(red);
  desBox->addWidget(desarw);
  article->addWidget(Frame4, 1);
  auto* details = new QHBoxLayout;
  outer->addLayout(details);
  umw = Box(this, QStringLiteral("umw"), true);
  imbw = Box(this, QStringLiteral("imbw"), true);
  ivaw = Box(this, QStringLiteral("ivaw"), true);
  prezzow = Box(this, QStringLiteral("prezzow"), true);
  for (ui::TextBox* b : {umw, imbw, ivaw, prezzow}) details->addWidget(b);
  details->addStretch();

  // The four slots.
  Frame1 = Named(new QGroupBox(QStringLiteral("Codice alternativo del fornitore"), this),
                 QStringLiteral("Frame1"));
  auto* slotList = new QVBoxLayout(Frame1);
  std::array<ui::TextBox**, 5> descriptions{nullptr, &des1w, &des2w, &des3w, &des4w};
  for (int n = 1; n <= 4; ++n) {
    const QString i = QStringLiteral("(%1)").arg(n);
    auto* frame = Named(new QGroupBox(QStringLiteral("Fornitore %1").arg(n), Frame1),
                        QStringLiteral("Frame2") + i);
    frame->setStyleSheet(QStringLiteral("QGroupBox { color: red; }"));
    Frame2[n] = frame;
    auto* g = new QGridLayout(frame);
    eanaltw[n] = Box(frame, QStringLiteral("eanaltw") + i, false);
    *descriptions[n] = Box(frame, QStringLiteral("des%1w").arg(n), true, kDescriptionWidth);
    przca[n] = Box(frame, QStringLiteral("przca") + i, true);
    perc[n] = Box(frame, QStringLiteral("perc") + i, true);
    MoDi[n] = Box(frame, QStringLiteral("MoDi") + i, true);
    ui::SetBackColor(MoDi[n], ui::VbColor(ui::kVbWhite));
    fatconvw[n] = Box(frame, QStringLiteral("fatconvw") + i, false);
    przc[n] = Box(frame, QStringLiteral("przc") + i, true);
    g->addWidget(new QLabel(QStringLiteral("Prezzo Listino"), frame), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("+/-%"), frame), 0, 3);
    g->addWidget(new QLabel(QStringLiteral("M/D"), frame), 0, 4);
    g->addWidget(new QLabel(QStringLiteral("Fatt.M/D"), frame), 0, 5);
    g->addWidget(new QLabel(QStringLiteral("Prezzo Calc."), frame), 0, 6);
    g->addWidget(eanaltw[n], 1, 0);
    g->addWidget(*descriptions[n], 1, 1);
    g->addWidget(przca[n], 1, 2);
    g->addWidget(perc[n], 1, 3);
    g->addWidget(MoDi[n], 1, 4);
    g->addWidget(fatconvw[n], 1, 5);
    g->addWidget(przc[n], 1, 6);
    // A slot's description whole (the operator reads which article the alternative EAN
    // found); the numbers take no more room than they need.
    eanaltw[n]->setMinimumWidth(BoxWidthFor(eanaltw[n], kEanWidth, false));
    (*descriptions[n])->setMinimumWidth(BoxWidthFor(*descriptions[n], kDescriptionWidth, true));
    for (ui::TextBox* b : {przca[n], perc[n], fatconvw[n], przc[n]})
      b->setMaximumWidth(BoxWidthFor(b, 10, false));
    MoDi[n]->setMaximumWidth(BoxWidthFor(MoDi[n], 3, true));
    g->setColumnStretch(1, 1);
    slotList->addWidget(frame);

    ui::HighlightOnFocus(eanaltw[n], [this] { chiaro(); });
    connect(eanaltw[n], &ui::TextBox::KeyPress, this,
            [this, n](int& k) { eanaltw_KeyPress(n, k); });
    connect(fatconvw[n], &ui::TextBox::Change, this, [this, n] { fatconvw_Change(n); });
    connect(fatconvw[n], &ui::TextBox::KeyPress, this,
            [this, n](int& k) { fatconvw_KeyPress(n, k); });
    connect(MoDi[n], &ui::TextBox::Change, this, [this, n] { MoDi_Change(n); });
    connect(MoDi[n], &ui::TextBox::DblClick, this, [this, n] { MoDi_DblClick(n); });
    connect(MoDi[n], &ui::TextBox::KeyPress, this, [this, n](int& k) { MoDi_KeyPress(n, k); });
  }
  outer->addWidget(Frame1);

  Frame5 = Named(new QGroupBox(QStringLiteral("Sostituire  il codice Ean con il seguente"), this),
                 QStringLiteral("Frame5"));
  auto* replace = new QHBoxLayout(Frame5);
  eansostiw = Box(Frame5, QStringLiteral("eansostiw"), false);
  replace->addWidget(eansostiw);
  outer->addWidget(Frame5);

  ui::HighlightOnFocus(eanw, [this] { chiaro(); });
  connect(eanw, &ui::TextBox::Change, this, [this] { eanw_Change(); });
  connect(eanw, &ui::TextBox::KeyPress, this, [this](int& k) { eanw_KeyPress(k); });

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  Command1 = Named(new QPushButton(QStringLiteral("Conferma"), this), QStringLiteral("Command1"));
  Command3 = Named(new QPushButton(QStringLiteral("Elimina"), this), QStringLiteral("Command3"));
  Command2 =
      Named(new QPushButton(QStringLiteral("Inserimento"), this), QStringLiteral("Command2"));
  Command4 = Named(new QPushButton(QStringLiteral("Aggiorna"), this), QStringLiteral("Command4"));
  Cmdann =
      Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QString(), this),
            QStringLiteral("Cmdann"));
  for (QPushButton* b : {Command1, Command3, Command2, Command4}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(Cmdann);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Cmdann, &QPushButton::clicked, this, [this] { Cmdann_Click(); });

  Data1 = Named(new db::DataControl(this), QStringLiteral("Data1"));
  Data2 = Named(new db::DataControl(this), QStringLiteral("Data2"));
  Data3 = Named(new db::DataControl(this), QStringLiteral("Data3"));
  resize(900, 640);
}

ui::TextBox* art03::DesBox(int n) const { return std::array{des1w, des2w, des3w, des4w}.at(n - 1); }

void art03::ReportDbError(const db::DbError& e) {
  if (toldOnLoad_) {
    if (toldOnLoad_->contains(e.message())) return;
    toldOnLoad_->append(e.message());
  }
  ui::MsgCritical(QStringLiteral("ATTENZIONE !!! Errore nell'archivio: %1").arg(e.message()));
}

std::optional<art03::SupplierRow> art03::ReadSupplier(qint32 slot) {
  Data2->DatabaseName = common::G().percorso_db;
  Data2->RecordSource = QStringLiteral("SELECT * FROM fornitori  WHERE codice =  %1  ").arg(slot);
  Data2->Refresh();
  db::Recordset* rs = Data2->recordset();
  if (rs->RecordCount() == 0) return std::nullopt;
  rs->MoveFirst();
  return SupplierRow{BoxText(rs->Field("descr")), rs->Field("perce"),
                     BoxText(rs->Field("percorso"))};
}

bool art03::LookUpArticle(const QString& percorso, const QString& ean) {
  Data3->OnDataDrive = true;
  Data3->DatabaseName = percorso;
  Data3->RecordSource =
      QStringLiteral("SELECT  * FROM codean,articolo  WHERE  codare=codart and eanare = ") +
      db::Quote(ean) + QStringLiteral(" ");
  Data3->Refresh();
  db::Recordset* rs = Data3->recordset();
  if (rs->RecordCount() == 0) return false;
  rs->MoveFirst();
  return true;
}

void art03::Form_Load() {
  const common::SharedValues& g = common::G();
  slot_ = g.codice_fornitore;
  ean_ = g.ean_corrente;
  codforw->SetText(QString::number(slot_));
  toldOnLoad_.emplace();
  const struct Loaded {
    std::optional<QStringList>& told;
    ~Loaded() { told.reset(); }
  } loaded{toldOnLoad_};
  try {
    Data1->DatabaseName = g.percorso_db;
    Data1->RecordSource = RowQuery(slot_, ean_);
    Data1->Refresh();
    if (const auto s = ReadSupplier(slot_)) {
      desfow->SetText(s->descr);
      percpw->SetText(BoxText(s->perce));
    }
    db::Recordset* row = Data1->recordset();
    if (row->RecordCount() == 0) return;
    row->MoveFirst();
    std::array<StoredSlot, 5> stored;
    for (int n = 1; n <= 4; ++n) {
      stored[n] = {row->Field(SlotColumn("eanalternativo", n)),
                   row->Field(SlotColumn("fatconv", n)), row->Field(SlotColumn("azione", n))};
    }
    eanw->SetText(ean_);
    for (int n = 1; n <= 4; ++n) {
      if (stored[n].alternative.isNull()) continue;
      eanaltw[n]->SetText(BoxText(stored[n].alternative));
      if (!stored[n].factor.isNull()) fatconvw[n]->SetText(BoxText(stored[n].factor));
      if (!stored[n].action.isNull()) MoDi[n]->SetText(BoxText(stored[n].action));
      if (!eanaltw[n]->Text().isEmpty()) dearb(eanaltw[n]->Text(), static_cast<qint16>(n));
    }
    if (Val(fatconvw[1]->Text()) == 0) fatconvw[1]->SetText(QStringLiteral("1"));
    dear();
  } catch (const db::DbError& e) {
    ReportDbError(e);
  }
}

void art03::Form_Unload() {
  ui::Forms::IfLoaded<ali01>([](ali01& list) {
    list.Command1->setEnabled(true);
    list.Command2->setEnabled(true);
    list.Command3->setEnabled(true);
  });
}

void art03::dear() {
  // A lookup that finds nothing must not leave the previous article shown.
  for (ui::TextBox* b : {umw, imbw, ivaw, prezzow, desarw}) b->SetText(QString());
  try {
    const std::optional<SupplierRow> s = ReadSupplier(slot_);
    if (s) percorso_fornitore = s->percorso;
    common::G().ean_corrente = FixedText(eanw->Text(), kEanWidth);
    if (!InRange(slot_) || !s || s->percorso.trimmed().isEmpty()) return;
    if (!LookUpArticle(s->percorso, common::G().ean_corrente)) return;
    db::Recordset* rs = Data3->recordset();
    umw->SetText(BoxText(rs->Field("umart")));
    imbw->SetText(BoxText(rs->Field("imbart")));
    ivaw->SetText(BoxText(rs->Field("ivart")));
    prezzow->SetText(BoxText(rs->Field("przart")));
    desarw->SetText(BoxText(rs->Field("desart")));
  } catch (const db::DbError& e) {
    ReportDbError(e);
  }
}

void art03::dearb(const QString& ean, qint16 slot) { SlotLookup(ean, slot); }

art03::Lookup art03::SlotLookup(const QString& ean, qint16 n) {
  if (!InRange(n)) return Lookup::NotFound;
  try {
    const std::optional<SupplierRow> s = ReadSupplier(n);
    if (s) {
      percorso_fornitore = s->percorso;
      Frame2[n]->setTitle(QStringLiteral("Fornitore %1: ").arg(n) + s->descr);
    }
    // A slot without a supplier database looks nothing up.
    if (!s || s->percorso.trimmed().isEmpty()) return Lookup::NotFound;
    if (!LookUpArticle(s->percorso, ean)) return Lookup::NotFound;
    db::Recordset* rs = Data3->recordset();
    perc[n]->SetText(BoxText(s->perce));
    przca[n]->SetText(BoxText(rs->Field("przart")));
    przc[n]->SetText(
        LookupPriceText(przca[n]->Text(), perc[n]->Text(), fatconvw[n]->Text(), MoDi[n]->Text()));
    DesBox(n)->SetText(BoxText(rs->Field("desart")));
    return Lookup::Found;
  } catch (const db::DbError& e) {
    ReportDbError(e);
    return Lookup::Failed;
  }
}

void art03::chiaro() {
  const QColor white = ui::VbColor(ui::kVbWhite);
  ui::SetBackColor(eanw, white);
  for (int n = 1; n <= 4; ++n) {
    ui::SetBackColor(eanaltw[n], white);
    ui::SetBackColor(fatconvw[n], white);
  }
}

void art03::calc_prezzo(qint16 n) {
  if (!InRange(n)) return;
  przc[n]->SetText(RecalculatedPriceText(przca[n]->Text(), perc[n]->Text(), fatconvw[n]->Text(),
                                         MoDi[n]->Text(), przc[n]->Text()));
  przc[n]->repaint();
}

void art03::eanw_Change() {
  if (!InRange(slot_)) return;
  eanaltw[slot_]->SetText(eanw->Text());
  eanaltw[slot_]->repaint();
}

void art03::eanw_KeyPress(int& keyAscii) {
  if (keyAscii != 13) return;
  if (!eanw->Text().trimmed().isEmpty()) {
    dear();
    if (!desarw->Text().trimmed().isEmpty()) return;
  }
  ui::MsgCritical(kBadEan);
}

void art03::eanaltw_KeyPress(int index, int& keyAscii) {
  if (keyAscii == 13) dearb(eanaltw[index]->Text(), static_cast<qint16>(index));
}

void art03::fatconvw_Change(int index) {
  chiaro();
  ui::SetBackColor(fatconvw[index], ui::VbColor(ui::kVbYellow));
  calc_prezzo(static_cast<qint16>(index));
}

void art03::fatconvw_KeyPress(int index, int& keyAscii) {
  if (keyAscii == 13) calc_prezzo(static_cast<qint16>(index));
}

void art03::MoDi_Change(int index) {
  chiaro();
  ui::SetBackColor(MoDi[index], ui::VbColor(ui::kVbYellow));
  calc_prezzo(static_cast<qint16>(index));
}

void art03::MoDi_DblClick(int index) {
  MoDi[index]->SetText(MoDi[index]->Text() == QLatin1String("M") ? QStringLiteral("D")
                                                                 : QStringLiteral("M"));
}

void art03::MoDi_KeyPress(int index, int& keyAscii) {
  if (keyAscii == 13) calc_prezzo(static_cast<qint16>(index));
}

std::optional<Listing> art03::ListingOf(int slot, const QString& ean) {
  const std::optional<SupplierRow> s = ReadSupplier(slot);
  if (!s || s->percorso.trimmed().isEmpty()) return std::nullopt;
  if (!LookUpArticle(s->percorso, ean)) return std::nullopt;
  return Listing{Data3->recordset()->Field("przart"), s->perce};
}

bool art03::Save(bool withCosts) {
  if (eanw->Text().trimmed().isEmpty()) {
    ui::MsgCritical(kNoEan);
    return false;
  }
  if (desarw->Text().trimmed().isEmpty()) {
    ui::MsgCritical(kBadEan);
    return false;
  }
  for (int n = 1; n <= 4; ++n) {
    if (Val(fatconvw[n]->Text()) == 0) fatconvw[n]->SetText(QStringLiteral("1"));
    if (!IsNumeric(Variant(fatconvw[n]->Text()))) {
      ui::MsgCritical(kBadFactor);
      return false;
    }
  }
  for (int n = 1; n <= 4; ++n) {
    const QString alternative = eanaltw[n]->Text();
    if (alternative.isEmpty()) continue;
    if (alternative.size() > kEanWidth) {
      ui::MsgCritical(QStringLiteral(" Attenzione !!!! Codice Ean del fornitore %1 più lungo di "
                                     "13 caratteri ...")
                          .arg(n));
      return false;
    }
    // The description shown must come from this lookup, not from an earlier one.
    DesBox(n)->SetText(QString());
    if (SlotLookup(alternative, static_cast<qint16>(n)) == Lookup::Failed) return false;
  }
  for (int n = 1; n <= 4; ++n) {
    if (!eanaltw[n]->Text().isEmpty() && DesBox(n)->Text().isEmpty()) {
      ui::MsgCritical(kNotListed);
      return false;
    }
  }
  const QString ean = FixedText(eanw->Text(), kEanWidth);
  common::G().ean_corrente = ean;
  try {
    Data1->DatabaseName = common::G().percorso_db;
    Data1->RecordSource = RowQuery(slot_, ean);
    Data1->Refresh();
    db::Database& main = *Data1->database();
    db::Transaction tx(main);
    db::Recordset* rs = Data1->recordset();
    if (rs->RecordCount() == 0) {
      rs->AddNew();
      rs->SetField(QStringLiteral("codfor"), Variant(slot_));
      rs->SetField(QStringLiteral("ean"), ean);
    } else {
      rs->MoveFirst();
      rs->Edit();
    }
    for (int n = 1; n <= 4; ++n) {
      rs->SetField(SlotColumn("fatconv", n), Variant(Val(fatconvw[n]->Text())));
      rs->SetField(SlotColumn("azione", n), MoDi[n]->Text());
      rs->SetField(SlotColumn("eanalternativo", n), eanaltw[n]->Text());
    }
    rs->SetField(QStringLiteral("desart"), desarw->Text().left(50));
    rs->Update();
    if (withCosts) {
      // The prices the card shows when it loads the row as it is now stored.
      auto saved = main.OpenRecordset(RowQuery(slot_, ean));
      std::array<double, 5> price{};
      for (int n = 1; n <= 4; ++n) {
        const StoredSlot stored{saved->Field(SlotColumn("eanalternativo", n)),
                                saved->Field(SlotColumn("fatconv", n)),
                                saved->Field(SlotColumn("azione", n))};
        price[n] = PriceValue(LoadedPriceText(
            n, stored, [this, n](const QString& alt) { return ListingOf(n, alt); }));
      }
      auto comparison = main.OpenRecordset(
          QStringLiteral("select * from articoli  WHERE  vedovo = ") + db::Quote(ean));
      if (comparison->RecordCount() > 0) {
        comparison->MoveFirst();
        comparison->Edit();
        for (int n = 1; n <= 4; ++n) {
          if (price[n] != 0) comparison->SetField(QStringLiteral("costo%1").arg(n), price[n]);
        }
        comparison->Update();
      }
    }
    tx.Commit();
  } catch (const db::DbError& e) {
    ReportDbError(e);
    return false;
  }
  Unload();
  RefreshList();
  return true;
}

void art03::conferma() { Save(false); }

void art03::RefreshList() {
  ui::Forms::IfLoaded<ali01>([](ali01& list) { list.RefreshList(); });
}

void art03::Command1_Click() { conferma(); }

void art03::Command2_Click() {
  eanw->SetText(QString());
  common::G().ean_corrente = FixedText(QString(), kEanWidth);
  Unload();
  ui::Forms::Show<art03>();
}

void art03::Command3_Click() {
  if (!ui::AskYesNo(QStringLiteral("Sei sicuro di voler cancellare questo Articolo ..."),
                    QString())) {
    return;
  }
  try {
    Data1->DatabaseName = common::G().percorso_db;
    Data1->RecordSource = RowQuery(slot_, ean_);
    Data1->Refresh();
    db::Recordset* rs = Data1->recordset();
    if (rs->RecordCount() > 0) {
      rs->MoveFirst();
      rs->Delete();
    }
  } catch (const db::DbError& e) {
    ReportDbError(e);
    return;
  }
  Unload();
  RefreshList();
}

void art03::Command4_Click() {
  common::G().ean_corrente = FixedText(eanw->Text(), kEanWidth);
  Save(true);
}

void art03::Cmdann_Click() { Unload(); }

}  // namespace vx::masterdata
