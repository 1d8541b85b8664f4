#include "comparison3/cnf01T.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "common/shared_values.h"
#include "common/windows.h"
#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "comparison3/price_list_note.h"
#include "comparison3/three_supplier_load.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/application.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/picture.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "platform/ui/twips.h"

namespace vx::comparison3 {

namespace {

using comparison::SlotFrame;

// The window's status box, progress bar and buttons as the long procedures' sink.
class WindowSink : public comparison::LoaderSink {
 public:
  WindowSink(cnf01T& w, comparison::RunErrors& errors)
      : LoaderSink(
            w, [&w](const QString& message) { w.cnf01T_scrivi_stato(message); }, w.ProgressBar1,
            w.Command1, w.Command2, errors) {}
};

// Places the controls of a slot frame as the window's design gives them (twips, inside the
// frame), widened where our fonts need more room for the captions: "Elabora" takes some of the
// code box, which holds a supplier number, and the two options and the note move right; the
// note sits lower in frame 1 than in frames 2 and 3.
void PlaceSlot(const SlotFrame& f, double top) {
  ui::Place(f.frame, 120, top, 8295, 1575);
  ui::Place(f.code, 1200, 360, 735, 315);
  ui::Place(f.list, 2040, 360, 5175, 315);
  ui::Place(f.percentHeading, 7320, 120, 855, 240);
  ui::Place(f.percent, 7320, 360, 855, 315);
  ui::Place(f.load, 120, 480, 1065, 255);
  ui::Place(f.conversion, 120, 960, 2895, 255);
  ui::Place(f.description, 3015, 960, 2130, 255);
  ui::Place(f.note, 5160, f.slot == 1 ? 960 : 840, 3015, 495);
}

}  // namespace

cnf01T::cnf01T() {
  setObjectName(QStringLiteral("cnf01T"));
  SetCaption(QStringLiteral("Confronta listini Fornitori"));
  BuildControls();
}

void cnf01T::BuildControls() {
  resize(ui::TwipsToPixels(14115), ui::TwipsToPixels(7905));
  Label2 = ui::MakeControl<QLabel>(this, "Label2", 0, 0, 13815, 615,
                                   QStringLiteral("Confronto listini Fornitori"));
  QFont heading = Label2->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 4);
  Label2->setFont(heading);
  Label2->setAlignment(Qt::AlignCenter);
  Image1 = ui::Picture(this, QStringLiteral("Image1"), QStringLiteral(":/pictures/price_tag.png"));
  ui::Place(Image1, 120, 0, 615, 615);
  Image2 = ui::Picture(this, QStringLiteral("Image2"), QStringLiteral(":/pictures/cart.png"));
  ui::Place(Image2, 13080, 0, 615, 615);

  forn = new vx::db::DataControl(this);
  forn->setObjectName(QStringLiteral("forn"));
  testa = new vx::db::DataControl(this);
  testa->setObjectName(QStringLiteral("testa"));
  db = new vx::db::DataControl(this);
  db->setObjectName(QStringLiteral("db"));

  const std::array<const char*, 3> frameNames{"Frame5", "Frame1", "Frame2"};
  const std::array<double, 3> tops{840, 2520, 4200};
  comparison::SlotFrameOptions options;
  options.noteLabel = true;
  options.headingName = QStringLiteral("label1");
  for (int n = 1; n <= 3; ++n) {
    const SlotFrame f =
        comparison::MakeSlotFrame(this, n, QString::fromLatin1(frameNames[n - 1]), options, forn);
    PlaceSlot(f, tops[n - 1]);
    slots_.push_back(f);
    label1[n - 1] = f.percentHeading;
    connect(f.list, &ui::DBCombo::Click, this, [this, n] { DBCombo_Click(n); });
  }
  Frame5 = Slot(1).frame;
  Frame1 = Slot(2).frame;
  Frame2 = Slot(3).frame;
  DBCombo1 = Slot(1).list;
  DBCombo2 = Slot(2).list;
  DBCombo3 = Slot(3).list;
  codfor1w = Slot(1).code;
  codfor2w = Slot(2).code;
  codfor3w = Slot(3).code;
  perce1w = Slot(1).percent;
  perce2w = Slot(2).percent;
  perce3w = Slot(3).percent;
  Check1 = Slot(1).conversion;
  Check2 = Slot(2).conversion;
  Check3 = Slot(3).conversion;
  des1 = Slot(1).description;
  des2 = Slot(2).description;
  des3 = Slot(3).description;
  ela1 = Slot(1).load;
  ela2 = Slot(2).load;
  ela3 = Slot(3).load;
  des1l = Slot(1).note;
  des2l = Slot(2).note;
  des3l = Slot(3).note;

  txtStatus = ui::MakeControl<ui::StatusBox>(this, "txtStatus", 8520, 720, 5475, 7005);
  ProgressBar1 = ui::MakeControl<ui::ProgressBar>(this, "ProgressBar1", 120, 6000, 8295, 495);
  ProgressBar1->SetVisible(false);
  Command1 = ui::MakeControl<QPushButton>(this, "Command1", 120, 6600, 1935, 1095,
                                          QStringLiteral("Elabora dati"));
  Command1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  Command1->setToolTip(QStringLiteral("Cambia tipo di selezione"));
  Command2 = ui::MakeControl<QPushButton>(this, "Command2", 6480, 6600, 1935, 1095,
                                          QStringLiteral("Uscita"));
  Command2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  Command2->setToolTip(QStringLiteral("Uscita programma"));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void cnf01T::Form_Load() {
  forn->DatabaseName = common::G().percorso_db;
  forn->RecordSource = QStringLiteral("select * from fornitori ");
  try {
    forn->Refresh();
    vx::db::Recordset* rs = forn->recordset();
    if (rs && rs->RecordCount() > 0) {
      rs->MoveFirst();
      while (!rs->Eof()) {
        // Every supplier's file is read, as the rows come; the slots' rows fill their frames.
        const auto note = PriceListNote(*testa, rs->Field("percorso").str());
        if (const int n = comparison::SlotOfRow(*rs, 3)) {
          const SlotFrame& f = Slot(n);
          if (note) {
            f.note->setText(*note);
            f.load->setCheckState(Qt::Checked);
          }
          comparison::FillSlotFrame(f, *rs, comparison::SlotFillRule{true});
        }
        rs->MoveNext();
      }
      rs->MoveFirst();
    }
    db->DatabaseName = common::G().percorso_db;
    db->RecordSource = QStringLiteral("select * from articoli ");
    db->Refresh();
  } catch (const vx::db::DbError& e) {
    cnf01T_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
  }
}

void cnf01T::DBCombo_Click(int n) { Slot(n).code->SetText(Slot(n).list->BoundText()); }

void cnf01T::cnf01T_scrivi_stato(const QString& message) {
  txtStatus->AppendLine(message);
  runErrors_.Note(message);
}

void cnf01T::Command1_Click() {
  if (busy_) return;
  comparison::BusyScope busy(busy_);
  runErrors_.Start();
  auto status = [this](const QString& m) { cnf01T_scrivi_stato(m); };
  // Empty boxes become "0"; one that is no number stops the run before anything is written.
  if (!comparison::CheckPercentages(slots_, status)) return;
  try {
    comparison::SaveSlotSettings(*forn, slots_);
  } catch (const vx::db::DbError& e) {
    cnf01T_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
    return;
  }
  cnf01T_scrivi_stato(QStringLiteral("Inizio elaborazione ..."));
  for (int n = 1; n <= 3; ++n) {
    // Each slot's boxes are read just before its load: they stay usable meanwhile.
    const SlotFrame& f = Slot(n);
    const QString code = f.code->Text();
    if (Val(code) > 0 && comparison::BoxValue(f.load) == 1) {
      cnf01T_carica_fornitore(code, static_cast<qint16>(n), f.percent->Text(),
                              comparison::BoxValue(f.conversion),
                              static_cast<qint16>(comparison::BoxValue(f.description)));
    }
  }
  cnf01T_calcola_differenze();
  cnf01T_scrivi_stato(QStringLiteral("Fine elaborazione. Attendere prego ..."));
  ui::DoEvents();
  runErrors_.Warn(windowTitle());
  // The grid in front; this window stays loaded beneath it.
  common::OpenWindow(QStringLiteral("cnf02T"));
}

void cnf01T::Command2_Click() { Unload(); }

std::shared_ptr<vx::db::Database> cnf01T::ApriArchivioPrincipale() {
  try {
    return vx::db::Database::Open(common::G().percorso_db);
  } catch (const vx::db::DbError& e) {
    cnf01T_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
    return nullptr;
  }
}

void cnf01T::cnf01T_carica_fornitore(const QString& codice, qint16 slot, const QString& perce,
                                     double applica, qint16 des) {
  comparison::BusyScope busy(busy_);
  // The box may have been changed while an earlier slot loaded.
  const auto percent = comparison::PercentOf(perce);
  if (!percent) {
    cnf01T_scrivi_stato(comparison::BadPercentMessage(slot, perce));
    return;
  }
  const std::shared_ptr<vx::db::Database> main = ApriArchivioPrincipale();
  if (!main) return;
  const comparison::SlotLoad request =
      ThreeSupplierLoad(codice, slot, *percent, applica == 1, des == 1);
  WindowSink sink(*this, runErrors_);
  const comparison::LoadOutcome out = comparison::LoadSupplier(*main, request, sink);
  if (!out.lastEan.isEmpty()) {
    common::G().ean_corrente = out.lastEan;
    common::G().azione_conv = out.lastAction;
  }
}

void cnf01T::cnf01T_calcola_differenze() {
  comparison::BusyScope busy(busy_);
  const std::shared_ptr<vx::db::Database> main = ApriArchivioPrincipale();
  if (!main) return;
  WindowSink sink(*this, runErrors_);
  comparison::ComputeDifferences(*main, sink, comparison::ThreeSupplierDifferences());
}

}  // namespace vx::comparison3
