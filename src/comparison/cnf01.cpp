#include "comparison/cnf01.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison/loader_values.h"
#include "comparison/loader_window.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/application.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

// The window's status box, progress bar and buttons as the long procedures' sink.
class WindowSink : public LoaderSink {
 public:
  WindowSink(cnf01& w, comparison::RunErrors& errors)
      : LoaderSink(
            w, [&w](const QString& message) { w.cnf01_scrivi_stato(message); }, w.ProgressBar1,
            w.Command1, w.Command2, errors) {}
};

using ui::Named;

}  // namespace

cnf01::cnf01() {
  setObjectName(QStringLiteral("cnf01"));
  SetCaption(QStringLiteral("Confronta listini Fornitori"));
  BuildControls();
}

void cnf01::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  Label1 = Named(new QLabel(QStringLiteral("Confronto listini Fornitori"), this),
                 QStringLiteral("Label1"));
  QFont heading = Label1->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 4);
  Label1->setFont(heading);
  Label1->setAlignment(Qt::AlignCenter);
  outer->addWidget(Label1);

  auto* frames = new QGridLayout;
  outer->addLayout(frames);
  forn = Named(new db::DataControl(this), QStringLiteral("forn"));
  std::array<ui::DBCombo**, 5> lists{nullptr, &DBCombo1, &DBCombo2, &DBCombo3, &DBCombo4};
  std::array<ui::TextBox**, 5> codes{nullptr, &codfor1w, &codfor2w, &codfor3w, &codfor4w};
  std::array<ui::TextBox**, 5> percents{nullptr, &perce1w, &perce2w, &perce3w, &perce4w};
  std::array<QCheckBox**, 5> conv{nullptr, &Check1, &Check2, &Check3, &Check4};
  std::array<QCheckBox**, 5> desc{nullptr, &des1, &des2, &des3, &des4};
  std::array<QCheckBox**, 5> load{nullptr, &ela1, &ela2, &ela3, &ela4};
  std::array<QCheckBox**, 5> type{nullptr, &crea1, &crea2, &crea3, &crea4};
  for (int n = 1; n <= 4; ++n) {
    SlotFrameOptions options;
    options.typeBox = true;
    const SlotFrame f = MakeSlotFrame(this, n, QStringLiteral("Frame%1").arg(n), options, forn);
    slots_.push_back(f);
    QGroupBox* frame = Frame[n] = f.frame;
    auto* g = new QGridLayout(frame);
    *lists[n] = f.list;
    *codes[n] = f.code;
    *percents[n] = f.percent;
    *conv[n] = f.conversion;
    *desc[n] = f.description;
    *load[n] = f.load;
    *type[n] = f.type;
    g->addWidget(*lists[n], 0, 0, 1, 3);
    g->addWidget(*codes[n], 0, 3);
    g->addWidget(*percents[n], 1, 0);
    g->addWidget(f.percentHeading, 1, 1);
    g->addWidget(*load[n], 1, 3);
    g->addWidget(*conv[n], 2, 0, 1, 2);
    g->addWidget(*desc[n], 2, 2, 1, 2);
    g->addWidget(*type[n], 3, 0, 1, 2);
    frames->addWidget(frame, (n - 1) / 2, (n - 1) % 2);
    connect(*lists[n], &ui::DBCombo::Click, this, [this, n] { DBCombo_Click(n); });
  }

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  Command1 =
      ui::IconButton(this, QStringLiteral("Command1"), QStyle::SP_DialogApplyButton,
                     QStringLiteral("Elabora dati"), QStringLiteral("Cambia tipo di selezione"));
  Command2 = ui::IconButton(this, QStringLiteral("Command2"), QStyle::SP_DialogCloseButton,
                            QStringLiteral("Uscita"), QStringLiteral("Uscita programma"));
  buttons->addWidget(Command1);
  buttons->addStretch();
  buttons->addWidget(Command2);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

  txtStatus = Named(new ui::StatusBox(this), QStringLiteral("txtStatus"));
  outer->addWidget(txtStatus, 1);
  ProgressBar1 = Named(new ui::ProgressBar(this), QStringLiteral("ProgressBar1"));
  ProgressBar1->SetVisible(false);
  outer->addWidget(ProgressBar1);

  resize(760, 560);
}

ui::DBCombo* cnf01::List(int n) const {
  return std::array{DBCombo1, DBCombo2, DBCombo3, DBCombo4}.at(n - 1);
}
ui::TextBox* cnf01::CodeBox(int n) const {
  return std::array{codfor1w, codfor2w, codfor3w, codfor4w}.at(n - 1);
}
ui::TextBox* cnf01::PercentBox(int n) const {
  return std::array{perce1w, perce2w, perce3w, perce4w}.at(n - 1);
}
QCheckBox* cnf01::ConversionBox(int n) const {
  return std::array{Check1, Check2, Check3, Check4}.at(n - 1);
}
QCheckBox* cnf01::DescriptionBox(int n) const {
  return std::array{des1, des2, des3, des4}.at(n - 1);
}
QCheckBox* cnf01::LoadBox(int n) const { return std::array{ela1, ela2, ela3, ela4}.at(n - 1); }
QCheckBox* cnf01::TypeBox(int n) const { return std::array{crea1, crea2, crea3, crea4}.at(n - 1); }

void cnf01::Form_Load() {
  forn->DatabaseName = common::G().percorso_db;
  forn->RecordSource = QStringLiteral("select * from fornitori ");
  try {
    forn->Refresh();
    db::Recordset* rs = forn->recordset();
    if (rs && rs->RecordCount() > 0) {
      rs->MoveFirst();
      while (!rs->Eof()) {
        if (const int n = SlotOfRow(*rs, 4)) {
          FillSlotFrame(slots_[n - 1], *rs, SlotFillRule{});
          LoadBox(n)->setChecked(true);
        }
        rs->MoveNext();
      }
      rs->MoveFirst();
    }
  } catch (const db::DbError& e) {
    cnf01_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
  }
}

void cnf01::DBCombo_Click(int n) { CodeBox(n)->SetText(List(n)->BoundText()); }

void cnf01::cnf01_scrivi_stato(const QString& message) {
  txtStatus->AppendLine(message);
  runErrors_.Note(message);
}

bool cnf01::CheckPercentages() {
  return comparison::CheckPercentages(slots_, [this](const QString& m) { cnf01_scrivi_stato(m); });
}

void cnf01::StampComparisonDate() {
  auto main = db::Database::Open(common::G().percorso_db);
  auto utenti = main->OpenRecordset(QStringLiteral("utenti"), db::RecordsetType::Table);
  utenti->SetIndex(QStringLiteral("codutente"));
  utenti->Seek(QStringLiteral("="), Variant(static_cast<int>(common::G().codutente)));
  if (utenti->NoMatch()) return;
  utenti->Edit();
  utenti->SetField(QStringLiteral("ultimadata"), Variant(Today()));
  utenti->Update();
}

// Every supplier row is saved; rows 1 to 4 take the settings of the slot of their code,
// whichever supplier that slot's list shows.
void cnf01::SaveSlotSettings() { comparison::SaveSlotSettings(*forn, slots_); }

void cnf01::Command1_Click() {
  if (busy_) return;
  BusyScope busy(busy_);
  runErrors_.Start();
  for (int n = 1; n <= 4; ++n) {
    if (PercentBox(n)->Text().trimmed().isEmpty()) PercentBox(n)->SetText(QStringLiteral("0"));
  }
  // A percentage that is no number could not be stored: stop before anything is written.
  if (!CheckPercentages()) return;
  try {
    StampComparisonDate();
    SaveSlotSettings();
  } catch (const db::DbError& e) {
    cnf01_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
    return;
  }
  cnf01_scrivi_stato(QStringLiteral("Inizio elaborazione ..."));
  for (int n = 1; n <= 4; ++n) {
    // Each slot's boxes are read just before its load: they stay usable meanwhile.
    const QString code = CodeBox(n)->Text();
    if (Val(code) > 0 && LoadBox(n)->isChecked()) {
      cnf01_carica_fornitore(code, static_cast<qint16>(n), PercentBox(n)->Text(),
                             ConversionBox(n)->isChecked() ? 1 : 0,
                             DescriptionBox(n)->isChecked() ? 1 : 0,
                             TypeBox(n)->isChecked() ? 1 : 0);
    }
  }
  cnf01_calcola_differenze();
  cnf01_scrivi_stato(QStringLiteral("Fine elaborazione.... "));
  cnf01_scrivi_stato(QStringLiteral(" "));
  cnf01_scrivi_stato(QStringLiteral("ATTENDERE PREGO ..."));
  ui::DoEvents();
  runErrors_.Warn(windowTitle());
  // The grid in front; this window stays loaded beneath it.
  ui::Forms::Show<cnf02>();
}

void cnf01::Command2_Click() { Unload(); }

std::shared_ptr<db::Database> cnf01::ApriArchivioPrincipale() {
  try {
    return db::Database::Open(common::G().percorso_db);
  } catch (const db::DbError& e) {
    cnf01_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
    return nullptr;
  }
}

void cnf01::cnf01_carica_fornitore(const QString& codice, qint16 slot, const QString& percentuale,
                                   double applica, qint16 descrizione, qint16 tipologia) {
  BusyScope busy(busy_);
  // The box may have been changed while an earlier slot loaded.
  const auto percent = PercentOf(percentuale);
  if (!percent) {
    cnf01_scrivi_stato(BadPercentMessage(slot, percentuale));
    return;
  }
  const std::shared_ptr<db::Database> main = ApriArchivioPrincipale();
  if (!main) return;
  SlotLoad request;
  request.supplierCode = codice;
  request.slot = slot;
  request.percentage = *percent;
  request.applyConversion = applica == 1;
  request.useDescription = descrizione == 1;
  request.byType = tipologia != 0;
  WindowSink sink(*this, runErrors_);
  const LoadOutcome out = LoadSupplier(*main, request, sink);
  if (!out.lastEan.isEmpty()) {
    common::G().ean_corrente = out.lastEan;
    common::G().azione_conv = out.lastAction;
  }
}

void cnf01::cnf01_calcola_differenze() {
  BusyScope busy(busy_);
  WindowSink sink(*this, runErrors_);
  const std::shared_ptr<db::Database> main = ApriArchivioPrincipale();
  if (!main) return;
  ComputeDifferences(*main, sink);
}

}  // namespace vx::comparison
