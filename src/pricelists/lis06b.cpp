#include "pricelists/lis06b.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/paths.h"
#include "platform/ui/colors.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/filelist.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::pricelists {

namespace {

using ui::Named;

// The count and article boxes as the import's display; each box is repainted at once.
class WindowDisplay : public ImportDisplay {
 public:
  explicit WindowDisplay(lis06b& w) : w_(w) {}
  void ShowCount(int count) override { Put(w_.artw, QString::number(count)); }
  void ShowArticle(const ArticleShown& a) override {
    Put(w_.c2w, a.ean);
    Put(w_.c3w, a.description);
    Put(w_.c4w, a.price);
    Put(w_.c5w, a.iva);
    Put(w_.c6w, a.imballo);
  }

 private:
  static void Put(ui::TextBox* box, const QString& text) {
    box->SetText(text);
    box->repaint();
  }
  lis06b& w_;
};

// A name the operator may delete: one the file list shows, exactly, and no pattern or path.
bool DeletableName(const QString& name, const QStringList& listed) {
  for (const QChar c : {QLatin1Char('*'), QLatin1Char('?'), QLatin1Char('\\'), QLatin1Char('/')}) {
    if (name.contains(c)) return false;
  }
  if (name.contains(QLatin1String(".."))) return false;
  return listed.contains(name);
}

}  // namespace

lis06b::lis06b() {
  SetCaption(QStringLiteral("Elaborazione files Excel"));
  BuildControls();
}

void lis06b::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  Label2 = Named(new QLabel(QStringLiteral("Importa file Excel"), this), "Label2");
  QFont heading = Label2->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 4);
  Label2->setFont(heading);
  Label2->setAlignment(Qt::AlignCenter);
  outer->addWidget(Label2);

  auto* columns = new QHBoxLayout;
  outer->addLayout(columns);

  Frame2 = Named(new QGroupBox(QStringLiteral("Selezione file Excel "), this), "Frame2");
  auto* f2 = new QVBoxLayout(Frame2);
  File1 = Named(new ui::FileList(Frame2), "File1");
  Label1 = Named(new QLabel(QStringLiteral("File selezionato"), Frame2), "Label1");
  numfatw = Named(new ui::TextBox(Frame2), "numfatw");
  Command3 =
      ui::IconButton(Frame2, "Command3", QStyle::SP_TrashIcon, QStringLiteral("Elimina file"),
                     QStringLiteral("Cancellazione file fatture ricevute"));
  f2->addWidget(File1, 1);
  f2->addWidget(Label1);
  f2->addWidget(numfatw);
  f2->addWidget(Command3);
  columns->addWidget(Frame2, 1);

  auto* right = new QVBoxLayout;
  columns->addLayout(right, 1);
  Frame1 = Named(new QGroupBox(QStringLiteral("Dati Excel"), this), "Frame1");
  auto* f1 = new QGridLayout(Frame1);
  Label9 = Named(new QLabel(QStringLiteral("Elaborazione dalla  riga"), Frame1), "Label9");
  inizw = Named(new ui::TextBox(Frame1), "inizw");
  Label10 = Named(new QLabel(QStringLiteral("Alla riga"), Frame1), "Label10");
  finew = Named(new ui::TextBox(Frame1), "finew");
  artw = Named(new ui::TextBox(Frame1), "artw");
  c2w = Named(new ui::TextBox(Frame1), "c2w");
  c3w = Named(new ui::TextBox(Frame1), "c3w");
  c4w = Named(new ui::TextBox(Frame1), "c4w");
  c5w = Named(new ui::TextBox(Frame1), "c5w");
  c6w = Named(new ui::TextBox(Frame1), "c6w");
  Label3 = Named(new QLabel(QStringLiteral("Tutti i campi devono essere pieni"), Frame1), "Label3");
  f1->addWidget(Label9, 0, 0);
  f1->addWidget(inizw, 0, 1);
  f1->addWidget(Label10, 0, 2);
  f1->addWidget(finew, 0, 3);
  f1->addWidget(artw, 1, 0, 1, 4);
  f1->addWidget(c2w, 2, 0, 1, 2);
  f1->addWidget(c3w, 2, 2, 1, 2);
  f1->addWidget(c4w, 3, 0);
  f1->addWidget(c5w, 3, 1);
  f1->addWidget(c6w, 3, 2);
  f1->addWidget(Label3, 4, 0, 1, 4);
  right->addWidget(Frame1);

  auto* options = new QHBoxLayout;
  right->addLayout(options);
  Frame4 = Named(new QGroupBox(QStringLiteral("Importazione file Fornitore"), this), "Frame4");
  auto* f4 = new QVBoxLayout(Frame4);
  rbm = Named(new QRadioButton(QStringLiteral("RBM"), Frame4), "rbm");
  smv = Named(new QRadioButton(QStringLiteral("SEMVRA"), Frame4), "smv");
  tpr = Named(new QRadioButton(QStringLiteral("SDA"), Frame4), "tpr");
  vol = Named(new QRadioButton(QStringLiteral("VARU"), Frame4), "vol");
  for (QRadioButton* b : {rbm, smv, tpr, vol}) f4->addWidget(b);
  options->addWidget(Frame4);
  Frame3 = Named(new QGroupBox(QStringLiteral("Tipo File"), this), "Frame3");
  auto* f3 = new QVBoxLayout(Frame3);
  listino = Named(new QRadioButton(QStringLiteral("LISTINO"), Frame3), "listino");
  promozioni = Named(new QRadioButton(QStringLiteral("PROMOZIONI"), Frame3), "promozioni");
  f3->addWidget(listino);
  f3->addWidget(promozioni);
  options->addWidget(Frame3);

  Frame5 = Named(new QGroupBox(QStringLiteral("Stampante"), this), "Frame5");
  auto* f5 = new QVBoxLayout(Frame5);
  fstampa = Named(new QCheckBox(QStringLiteral("Stampa Articoli Nuovi"), Frame5), "fstampa");
  DBCombo1 = Named(new ui::DBCombo(Frame5), "DBCombo1");
  f5->addWidget(fstampa);
  f5->addWidget(DBCombo1);
  right->addWidget(Frame5);
  stampanti = Named(new db::DataControl(this), "stampanti");
  DBCombo1->ListField = QStringLiteral("descrizione");
  DBCombo1->BoundColumn = QStringLiteral("codice");
  DBCombo1->SetRowSource(stampanti);

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  Command4 = ui::IconButton(this, "Command4", QStyle::SP_DialogApplyButton,
                            QStringLiteral("Importa"), QStringLiteral("Stampa"));
  Command2 = ui::IconButton(this, "Command2", QStyle::SP_DialogCloseButton,
                            QStringLiteral("Uscita"), QStringLiteral("Uscita programma"));
  buttons->addWidget(Command4);
  buttons->addStretch();
  buttons->addWidget(Command2);

  connect(vol, &QRadioButton::clicked, this, [this] { vol_Click(); });
  connect(tpr, &QRadioButton::clicked, this, [this] { tpr_Click(); });
  connect(smv, &QRadioButton::clicked, this, [this] { smv_Click(); });
  connect(rbm, &QRadioButton::clicked, this, [this] { rbm_Click(); });
  connect(File1, &ui::FileList::Click, this, [this] { File1_Click(); });
  connect(numfatw, &ui::TextBox::GotFocus, this, [this] { numfatw_GotFocus(); });
  connect(DBCombo1, &ui::DBCombo::Click, this, [this] { DBCombo1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  resize(760, 480);
}

void lis06b::Form_Load() {
  File1->SetFileName(QStringLiteral("C:\\varu\\*.xls*"));
  stampanti->DatabaseName = common::G().percorso_client;
  stampanti->RecordSource = QStringLiteral("SELECT * FROM stampanti ORDER BY [descrizione]");
  try {
    stampanti->Refresh();
  } catch (const db::DbError& e) {
    ui::MsgCritical(
        QStringLiteral("Impossibile leggere l'elenco delle stampanti:\n%1").arg(e.message()));
  }
  DBCombo1->SetText(QStringLiteral("PDFCreator"));
  inizw->SetText(QStringLiteral("1"));
  finew->SetText(QStringLiteral("10000"));
  listino->setChecked(true);
  vol->setChecked(true);
  marks = OpeningMarks();
}

void lis06b::Form_Activate() {
  if (const QScreen* s = screen()) {
    const QRect r = s->geometry();
    move(r.x() + (r.width() - frameGeometry().width()) / 2,
         r.y() + (r.height() - frameGeometry().height()) / 2);
  }
}

void lis06b::vol_Click() { File1->SetFileName(QStringLiteral("C:\\varu\\*.xls")); }

void lis06b::tpr_Click() {
  File1->SetFileName(QStringLiteral("C:\\sda\\*.xls"));
  finew->SetText(QStringLiteral("40000"));
  finew->repaint();
}

void lis06b::smv_Click() {
  File1->SetFileName(QStringLiteral("C:\\semvra\\*.xls*"));
  finew->SetText(QStringLiteral("15000"));
  finew->repaint();
}

void lis06b::rbm_Click() {
  File1->SetFileName(QStringLiteral("C:\\rbm\\*.xls*"));
  finew->SetText(QStringLiteral("45000"));
  finew->repaint();
}

void lis06b::File1_Click() {
  numfatw->SetText(File1->FileName());
  numfatw->repaint();
}

void lis06b::numfatw_GotFocus() { ui::SetBackColor(numfatw, ui::VbColor(ui::kVbYellow)); }

void lis06b::DBCombo1_Click() {
  try {
    common::G().codstampante = CInt(Val(DBCombo1->BoundText()));
  } catch (const ConversionError&) {
    common::G().codstampante = 0;
  }
}

void lis06b::Command2_Click() { Unload(); }

void lis06b::Command3_Click() {
  if (!ui::AskYesNo(
          QStringLiteral("Attenzione  !!  Sei sicuro di voler Eliminare il file selezionato ?"),
          QStringLiteral("Elimina file"), ui::MsgIcon::Information, ui::MsgAnswer::No)) {
    return;
  }
  const QString name = numfatw->Text();
  if (name.isEmpty()) {
    ui::MessageRecord box;
    box.text = QStringLiteral("Attenzione !!! Devi prima selezionare il file ...");
    box.buttons = ui::MsgButtons::YesNo;
    box.defaultButton = ui::MsgAnswer::Yes;
    ui::MsgBox(box);
    return;
  }
  // Only a file the list shows is deleted: a typed pattern or path deletes nothing.
  if (!DeletableName(name, File1->Names())) {
    ui::MsgCritical(QStringLiteral("Il file \"%1\" non è tra i file elencati: nessun file è stato "
                                   "eliminato.")
                        .arg(name));
    return;
  }
  const QString path = File1->Path() + QLatin1Char('\\') + name;
  if (!fs::DeleteFile(path)) {
    ui::MsgCritical(QStringLiteral("Impossibile eliminare il file %1.").arg(path));
    return;
  }
  numfatw->SetText(QString());
  numfatw->repaint();
  File1->Refresh();
}

void lis06b::Command4_Click() {
  if (Val(finew->Text()) == 0) {
    ui::MsgCritical(
        QStringLiteral("ATTENZIONE !!!! Inserire il numero della riga finale da elaborare ..."));
    return;
  }
  if (Val(inizw->Text()) < 1) {
    ui::MsgCritical(
        QStringLiteral("ATTENZIONE !!!! Inserire il numero della riga iniziale da elaborare ..."));
    return;
  }
  if (numfatw->Text().isEmpty()) {
    ui::MsgCritical(
        QStringLiteral("ATTENZIONE !!!! Non è stato selezionato un file da elaborare ..."));
    return;
  }
  RunImport(ChosenSupplier(), ChosenKind());
}

void lis06b::for2() { RunImport(Supplier::Varu, FileKind::Listino); }
void lis06b::for2c() { RunImport(Supplier::Sda, FileKind::Listino); }
void lis06b::for3() { RunImport(Supplier::Semvra, FileKind::Listino); }
void lis06b::for3p() { RunImport(Supplier::Semvra, FileKind::Promozioni); }
void lis06b::for4() { RunImport(Supplier::Rbm, FileKind::Listino); }

void lis06b::RunImport(Supplier supplier, FileKind kind) {
  const ImportProcedure procedure = ImportProcedureFor(supplier, kind);
  if (!procedure) return;
  if (supplier == Supplier::Semvra && kind == FileKind::Promozioni) {
    // The promotions always run to row 3000.
    finew->SetText(QStringLiteral("3000"));
    finew->repaint();
  }
  WindowDisplay display(*this);
  ShowImportMessages(procedure(Request(), &display, marks));
}

Supplier lis06b::ChosenSupplier() const {
  if (tpr->isChecked()) return Supplier::Sda;
  if (smv->isChecked()) return Supplier::Semvra;
  if (rbm->isChecked()) return Supplier::Rbm;
  return Supplier::Varu;
}

FileKind lis06b::ChosenKind() const {
  return promozioni->isChecked() ? FileKind::Promozioni : FileKind::Listino;
}

ImportRequest lis06b::Request() const {
  ImportRequest r;
  r.numfatw = numfatw->Text();
  r.inizw = inizw->Text();
  r.finew = finew->Text();
  r.fstampa = fstampa->isChecked();
  r.printerName = DBCombo1->Text();
  return r;
}

}  // namespace vx::pricelists
