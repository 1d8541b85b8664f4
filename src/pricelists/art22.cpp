#include "pricelists/art22.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/picture.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"

namespace vx::pricelists {

namespace {

// At most this many damaged lines are named in the closing message; the rest are counted.
constexpr int kListedDamaged = 30;

// The log and the bar as the import's sink. The bar stays shown when a pass ends and no
// button is hidden; the yields repaint without taking the operator's input, since the
// import holds its transaction open.
class WindowSink : public common::ProgressSink {
 public:
  WindowSink(ui::StatusBox& log, ui::ProgressBar& bar) : log_(log), bar_(bar) {}
  void Status(const QString& message) override { log_.AppendLine(message); }
  void Begin(int maximum) override {
    bar_.SetValue(bar_.Min());
    bar_.SetMax(maximum);
    bar_.SetVisible(true);
  }
  void Step() override {
    if (bar_.Max() >= bar_.Value() + 1) bar_.SetValue(bar_.Value() + 1);
  }
  void Yield() override { ui::DoEvents(); }

 private:
  ui::StatusBox& log_;
  ui::ProgressBar& bar_;
};

using ui::Named;

void SetBold(QWidget* w, bool bold) {
  QFont f = w->font();
  f.setBold(bold);
  w->setFont(f);
}

}  // namespace

art22::art22() {
  SetCaption(QStringLiteral("Aggiorna Listino CORVALIA"));
  BuildControls();
}

void art22::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  Label2 = Named(new QLabel(QStringLiteral("Aggiorna listino CORVALIA"), this),
                 QStringLiteral("Label2"));
  QFont heading = Label2->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 4);
  Label2->setFont(heading);
  Label2->setAlignment(Qt::AlignCenter);
  auto* title = new QHBoxLayout;
  Image1 = ui::Picture(this, QStringLiteral("Image1"), QStringLiteral(":/pictures/price_tag.png"));
  Image2 = ui::Picture(this, QStringLiteral("Image2"), QStringLiteral(":/pictures/cart.png"));
  title->addWidget(Image1);
  title->addWidget(Label2, 1);
  title->addWidget(Image2);
  outer->addLayout(title);

  Frame9 = Named(new QGroupBox(QStringLiteral("Attenzione"), this), QStringLiteral("Frame9"));
  auto* warn = new QVBoxLayout(Frame9);
  Label3 = Named(new QLabel(Frame9), QStringLiteral("Label3"));
  Label3->setWordWrap(true);
  warn->addWidget(Label3);
  outer->addWidget(Frame9);

  Frame5 =
      Named(new QGroupBox(QStringLiteral("Selezionare Fornitore"), this), QStringLiteral("Frame5"));
  auto* pick = new QHBoxLayout(Frame5);
  DBCombo3 = Named(new ui::DBCombo(Frame5), QStringLiteral("DBCombo3"));
  codforw = Named(new ui::TextBox(Frame5), QStringLiteral("codforw"));
  codforw->setMaximumWidth(80);
  pick->addWidget(DBCombo3, 1);
  pick->addWidget(codforw);
  outer->addWidget(Frame5);

  auto* buttons = new QHBoxLayout;
  Command1 = ui::IconButton(this, QStringLiteral("Command1"), QStyle::SP_DialogApplyButton,
                            QStringLiteral("Aggiorna listino"), QStringLiteral("Importa fattura "));
  Command2 = ui::IconButton(this, QStringLiteral("Command2"), QStyle::SP_DialogCloseButton,
                            QStringLiteral("Uscita"), QStringLiteral("Uscita programma"));
  buttons->addWidget(Command1);
  buttons->addStretch();
  buttons->addWidget(Command2);
  outer->addLayout(buttons);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

  txtStatus = Named(new ui::StatusBox(this), QStringLiteral("txtStatus"));
  outer->addWidget(txtStatus, 1);
  pb1 = Named(new ui::ProgressBar(this), QStringLiteral("pb1"));
  outer->addWidget(pb1);

  fornitori = Named(new db::DataControl(this), QStringLiteral("fornitori"));
  DBCombo3->ListField = QStringLiteral("descr");
  DBCombo3->BoundColumn = QStringLiteral("codice");
  DBCombo3->SetRowSource(fornitori);
  connect(DBCombo3, &ui::DBCombo::Click, this, [this] { DBCombo3_Click(); });

  sink_ = std::make_unique<WindowSink>(*txtStatus, *pb1);
  resize(600, 480);
}

QString art22::DriveLetter() const {
  const QString d = common::G().drive.str().trimmed().toUpper();
  return d.isEmpty() ? QStringLiteral("C") : d;
}

void art22::Form_Load() {
  pb1->SetVisible(false);
  common::G().codice_fornitore = 0;
  common::G().descrizione_fornitore = QString();
  const QString drive = DriveLetter();
  Label3->setText(QStringLiteral("Devi aver scaricato i listini in formato TESTO nella cartella "
                                 "%1:\\Programmi\\tolmo\\corvalia\\")
                      .arg(drive));
  fornitori->DatabaseName = common::G().percorso_db;
  fornitori->RecordSource = QStringLiteral("SELECT * FROM fornitori WHERE descr like '*corvalia*'");
  try {
    fornitori->Refresh();
  } catch (const db::DbError& e) {
    art22_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
  }
  cartella_listino = drive + QStringLiteral(":\\Programmi\\tolmo\\corvalia\\");
  modello_a = cartella_listino + QStringLiteral("A*.txt");
  modello_b = cartella_listino + QStringLiteral("B*.txt");
  modello_t = cartella_listino + QStringLiteral("T*.txt");
  art22_scrivi_stato(QStringLiteral("Inzio elaborazione ..."));
}

void art22::DBCombo3_Click() {
  qint32 code = 0;
  try {
    code = CLng(Val(DBCombo3->BoundText()));
  } catch (const ConversionError&) {
    // A bound value out of a Long's range names no supplier.
  }
  common::G().codice_fornitore = code;
  common::G().descrizione_fornitore = DBCombo3->Text();
  codforw->SetText(QString::number(code));
}

bool art22::Prepare() {
  const QString folder = cartella_listino;
  QString names[3];
  const QString* patterns[3] = {&modello_a, &modello_b, &modello_t};
  for (int i = 0; i < 3; ++i) {
    const QString& pattern = *patterns[i];
    names[i] = FirstMatchingFile(folder, pattern.mid(pattern.lastIndexOf(QLatin1Char('\\')) + 1));
    if (names[i].trimmed().isEmpty()) {
      Refuse(QStringLiteral("ATTENZIONE!!! Nella cartella %1:\\programmi\\tolmo\\corvalia\\ "
                            "non sono stati ")
                 .arg(DriveLetter()) +
             QStringLiteral("trovati i file necessari per l'aggiornamento."));
      return false;
    }
  }
  if (!ui::AskYesNo(QStringLiteral("Sei sicuro di voler aggiornare il listino del fornitore?"),
                    QString(), ui::MsgIcon::None, ui::MsgAnswer::Yes)) {
    return false;
  }
  // Everything the run needs is at hand before anything is deleted.
  try {
    files_.a = ReadCorvaliaFile(folder + names[0]);
    files_.b = ReadCorvaliaFile(folder + names[1]);
    files_.t = ReadCorvaliaFile(folder + names[2]);
    CheckCorvaliaFiles(files_);
    target_ = OpenCorvaliaCatalogue(DriveLetter() + QStringLiteral(":\\corvalia\\dati.mdb"));
  } catch (const CorvaliaError& e) {
    Refuse(e.message());
    return false;
  }
  return true;
}

void art22::Command1_Click() {
  if (busy_) return;
  if (common::G().codice_fornitore == 0) {
    Refuse(QStringLiteral("ATTENZIONE!!! Devi selezionare il fornitore Corvalia."));
    return;
  }
  busy_ = true;
  struct Idle {
    art22* w;
    ~Idle() {
      w->busy_ = false;
      w->target_.reset();
      w->files_ = CorvaliaFiles();
    }
  } idle{this};
  if (!Prepare()) return;

  damaged_.clear();
  try {
    db::Transaction tx(*target_);
    art22_pulizia_archivi();
    art22_elabora_tipo_b();
    art22_elabora_tipo_t();
    art22_elabora_tipo_a();
    tx.Commit();
  } catch (const db::DbError& e) {
    SetBold(txtStatus, false);
    art22_scrivi_stato(QStringLiteral("ERRORE: ") + e.message());
    Refuse(QStringLiteral("ATTENZIONE!!! Aggiornamento listino Corvalia non riuscito: "
                          "il listino è rimasto com'era.\n") +
           e.message());
    return;
  }
  // One closing message: the success, then the lines that were not imported.
  QStringList closing{QStringLiteral("Aggiornamento listino Corvalia effettuato con successo.")};
  if (!damaged_.empty()) {
    closing << QString()
            << QStringLiteral(
                   "ATTENZIONE!!! Le seguenti righe non sono state importate perché il codice o "
                   "il prezzo non è numerico o la riga è incompleta:");
  }
  const int n = static_cast<int>(damaged_.size());
  for (int i = 0; i < n && i < kListedDamaged; ++i) {
    closing << QStringLiteral("%1 riga %2").arg(damaged_[i].file).arg(damaged_[i].line) +
                   (damaged_[i].incomplete ? QStringLiteral(" (riga incompleta)") : QString());
  }
  if (n > kListedDamaged) {
    closing << QStringLiteral("... e altre %1 righe.").arg(n - kListedDamaged);
  }
  ui::MsgExclamation(closing.join(QLatin1Char('\n')));
}

void art22::Refuse(const QString& message) {
  art22_scrivi_stato(
      QStringLiteral("Aggiornamento interrotto: il listino non è stato modificato."));
  ui::MsgCritical(message);
}

void art22::Command2_Click() {
  if (busy_) return;
  Unload();
}

void art22::art22_pulizia_archivi() { EmptyCorvaliaCatalogue(*target_, *sink_); }

void art22::art22_elabora_tipo_b() {
  SetBold(txtStatus, true);
  ImportCorvaliaTypeB(*target_, files_.b, common::G().descrizione_fornitore, *sink_, damaged_);
}

void art22::art22_elabora_tipo_t() {
  const PassOutcome out = ImportCorvaliaTypeT(*target_, files_.t, *sink_, damaged_);
  if (!out.lastKey.isEmpty()) common::G().ean_corrente = out.lastKey;
}

void art22::art22_elabora_tipo_a() {
  const PassOutcome out = ImportCorvaliaTypeA(*target_, files_.a, *sink_, damaged_);
  if (out.lastCode != 0) common::G().codart = out.lastCode;
  SetBold(txtStatus, false);
}

void art22::art22_scrivi_stato(const QString& messaggio) { txtStatus->AppendLine(messaggio); }

}  // namespace vx::pricelists
