#include "masterdata/ute01.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <initializer_list>

#include "common/main_window.h"
#include "common/shared_values.h"
#include "data/store_record.h"
#include "platform/clock.h"
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
using common::SharedValues;
using ui::MakeControl;

namespace {

const QString kDeleteQuestion =
    QStringLiteral("ATTENZIONE ! ! !. Sei sicuro di voler cancellare questo Utente...");
const QString kCannotDelete = QStringLiteral(
    "Questo Utente non può essere eliminato perchè ha dei movimenti in scadenze ...");

constexpr int kAttivitaLength = 20;

const char* const kLegend[8] = {"Blk=Lira",        "PDT=PDT3100 - VARU",  "PDM=Evergreen",
                                "IT7=Wi-Fi",       "SIS=Allegro Varu",    "PDC=PDT3100-DIZA",
                                "PD6=PDT6100-VOD", "630=General Code 630"};

bool Filled(const Variant& v) { return !v.isNull() && !v.isEmpty() && !v.str().isEmpty(); }

QString Text(const Variant& v) { return v.isNull() || v.isEmpty() ? QString() : v.str(); }

void Fail(const std::exception& e) {
  ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + QString::fromUtf8(e.what()));
}

QGroupBox* Frame(QWidget* parent, const char* name, double left, double top, double width,
                 double height, const char* caption) {
  return MakeControl<QGroupBox>(parent, name, left, top, width, height, QString::fromUtf8(caption));
}

}  // namespace

ute01::ute01() {
  setObjectName(QStringLiteral("ute01"));
  SetCaption(QStringLiteral("Gestione Dati Società"));
  resize(ui::TwipsToPixels(9600), ui::TwipsToPixels(8880));
  BuildControls();
}

void ute01::BuildControls() {
  // The buttons are made first: the focus order begins with "Cancella", "Uscita", "Conferma".
  Command3 = MakeControl<QPushButton>(this, "Command3", 3360, 7920, 3000, 720,
                                      style()->standardIcon(QStyle::SP_TrashIcon),
                                      QStringLiteral("Cancella"));
  Command3->setToolTip(QStringLiteral("Eliminazione Utente"));
  Command6 = MakeControl<QPushButton>(this, "Command6", 6480, 7920, 3000, 720,
                                      style()->standardIcon(QStyle::SP_DialogCloseButton),
                                      QStringLiteral("Uscita"));
  Command6->setToolTip(QStringLiteral("Uscita programma"));
  Command2 = MakeControl<QPushButton>(this, "Command2", 120, 7920, 3120, 720,
                                      style()->standardIcon(QStyle::SP_DialogApplyButton),
                                      QStringLiteral("Conferma"));
  Command2->setToolTip(QStringLiteral("Aggiorna dati Società"));

  Frame1 = Frame(this, "Frame1", 120, 60, 9360, 720, "Ragione Sociale");
  desutew = MakeControl<ui::TextBox>(Frame1, "desutew", 120, 300, 9120, 330);
  desutew->setMaxLength(50);
  Frame2 = Frame(this, "Frame2", 120, 840, 9360, 720, "Indirizzo");
  indirw = MakeControl<ui::TextBox>(Frame2, "indirw", 120, 300, 9120, 330);
  indirw->setMaxLength(50);
  Frame3 = Frame(this, "Frame3", 120, 1620, 9360, 720, "Cap,Località,Provincia");
  capw = MakeControl<ui::TextBox>(Frame3, "capw", 120, 300, 1200, 330);
  capw->setMaxLength(5);
  cittaw = MakeControl<ui::TextBox>(Frame3, "cittaw", 1440, 300, 6600, 330);
  cittaw->setMaxLength(20);
  provw = MakeControl<ui::TextBox>(Frame3, "provw", 8160, 300, 1080, 330);
  provw->setMaxLength(2);
  Frame4 = Frame(this, "Frame4", 120, 2400, 9360, 720, "Codice Fiscale e Partita Iva");
  codfiw = MakeControl<ui::TextBox>(Frame4, "codfiw", 120, 300, 4500, 330);
  codfiw->setMaxLength(16);
  pivaw = MakeControl<ui::TextBox>(Frame4, "pivaw", 4740, 300, 4500, 330);
  pivaw->setMaxLength(11);

  SSTab1 = MakeControl<QTabWidget>(this, "SSTab1", 120, 3240, 9360, 4560);
  auto* general = new QWidget;
  general->setObjectName(QStringLiteral("Generale"));
  auto* other = new QWidget;
  other->setObjectName(QStringLiteral("AltriDati"));
  SSTab1->addTab(general, QStringLiteral("Generale"));
  SSTab1->addTab(other, QStringLiteral("Altri Dati"));
  SSTab1->setCurrentIndex(0);

  ncrfr = Frame(general, "ncrfr", 120, 120, 3000, 720, "Terminalino(3 lettere)");
  ncrw = MakeControl<ui::TextBox>(ncrfr, "ncrw", 120, 300, 1200, 330);
  ncrw->setMaxLength(4);
  for (int i = 0; i < 8; ++i) {
    const QByteArray name = "Label" + QByteArray::number(i + 1);
    Legenda[i] = MakeControl<QLabel>(general, name.constData(), 3360, 120 + i * 300, 5400, 285,
                                     QString::fromLatin1(kLegend[i]));
  }

  Frame5 = Frame(other, "Frame5", 120, 120, 4500, 1800, "DATI");
  const char* const dataLabels[4] = {"Telefono", "Fax", "E-mail", "Sito web"};
  const char* const dataNames[4] = {"telefonow", "faxw", "emailw", "sitow"};
  ui::TextBox** dataBoxes[4] = {&telefonow, &faxw, &emailw, &sitow};
  for (int i = 0; i < 4; ++i) {
    MakeControl<QLabel>(Frame5, QByteArray("LabelDati" + QByteArray::number(i + 1)).constData(),
                        120, 300 + i * 360, 1080, 300, QString::fromLatin1(dataLabels[i]));
    *dataBoxes[i] = MakeControl<ui::TextBox>(Frame5, dataNames[i], 1200, 300 + i * 360, 3180, 330);
  }
  Frame6 = Frame(other, "Frame6", 4740, 120, 4380, 1800, "Attività");
  attivw = MakeControl<QPlainTextEdit>(Frame6, "attivw", 120, 300, 4140, 1380);
  // The box takes at most kAttivitaLength characters, as the column does.
  connect(attivw, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = attivw->toPlainText();
    if (text.size() <= kAttivitaLength) return;
    attivw->setPlainText(text.left(kAttivitaLength));
    attivw->moveCursor(QTextCursor::End);
  });
  Frame7 = Frame(other, "Frame7", 120, 2040, 4500, 1800, "Note");
  notew = MakeControl<QPlainTextEdit>(Frame7, "notew", 120, 300, 4260, 1380);
  notew->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Frame8 = Frame(other, "Frame8", 4740, 2040, 4380, 1080, "BANCA");
  MakeControl<QLabel>(Frame8, "LabelBanca", 120, 300, 1320, 300, QStringLiteral("Nome Banca"));
  Nomebancaw = MakeControl<ui::TextBox>(Frame8, "Nomebancaw", 1440, 300, 2820, 330);
  MakeControl<QLabel>(Frame8, "LabelIban", 120, 660, 1320, 300, QStringLiteral("Codice IBAN"));
  ibanw = MakeControl<ui::TextBox>(Frame8, "ibanw", 1440, 660, 2820, 330);
  ibanw->setMaxLength(50);
  Frame9 = Frame(other, "Frame9", 4740, 3180, 4380, 660, "Attiva Password");
  attivapsw = MakeControl<QCheckBox>(Frame9, "attivapsw", 120, 300, 600, 300);

  utenti = new db::DataControl(this);
  utenti->setObjectName(QStringLiteral("utenti"));
  Data1 = new db::DataControl(this);
  Data1->setObjectName(QStringLiteral("Data1"));

  setTabOrder(Command3, Command6);
  setTabOrder(Command6, Command2);
  setTabOrder(Command2, desutew);

  connect(Command2, &QPushButton::clicked, this, &ute01::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &ute01::Command3_Click);
  connect(Command6, &QPushButton::clicked, this, &ute01::Command6_Click);

  // A click highlights most boxes; the e-mail and web site boxes light up on any focus.
  for (QWidget* w : std::initializer_list<QWidget*>{codfiw, pivaw, indirw, capw, cittaw, provw,
                                                    notew, telefonow, faxw, ibanw, Nomebancaw}) {
    ui::HighlightOnClick(w, [this] { chiaro(); });
  }
  ui::HighlightOnFocus(emailw, [this] { chiaro(); });
  ui::HighlightOnFocus(sitow, [this] { chiaro(); });
}

void ute01::Form_Load() {
  SharedValues& g = G();
  try {
    utenti->DatabaseName = g.percorso_db;
    utenti->RecordSource = QStringLiteral("SELECT * FROM utenti ORDER BY [Dscutente]");
    utenti->Refresh();
    Data1->DatabaseName = g.percorso_client;
    Data1->RecordSource = QStringLiteral("SELECT * FROM inizio WHERE codute = ") +
                          QString::number(g.codutente) + QLatin1Char(' ');
    Data1->Refresh();
    db::Recordset* rs = Data1->recordset();
    if (!rs->Eof()) {
      const Variant annox = rs->Field(QStringLiteral("annox"));
      g.anno = annox.isNull() ? 0 : CInt(annox.toDouble());
    }
  } catch (const std::runtime_error& e) {
    Fail(e);
  }
  if (g.anno == 0) g.anno = qint16(Today().year());
  anagr();
  Command3->setFocus(Qt::OtherFocusReason);
}

void ute01::anagr() {
  SharedValues& g = G();
  g.fileuni = " ";
  azzera();
  chiaro();
  g.codutente = 1;
  try {
    auto database = db::Database::Open(g.percorso_db);
    auto rs = database->OpenRecordset(QStringLiteral("utenti"), db::RecordsetType::Table);
    rs->SetIndex(QStringLiteral("codutente"));
    if (!rs->Seek(QStringLiteral("="), Variant(1))) return;

    auto field = [&rs](const char* name) { return rs->Field(QString::fromUtf8(name)); };
    // Each box or value takes its column only when the column holds some text.
    auto copy = [&field](const char* name, auto&& set) {
      const Variant v = field(name);
      if (Filled(v)) set(v.str());
    };
    auto box = [](ui::TextBox* b) { return [b](const QString& t) { b->SetText(t); }; };
    auto memo = [](QPlainTextEdit* b) { return [b](const QString& t) { b->setPlainText(t); }; };
    auto number = [&field](const char* name, qint16& target) {
      const Variant v = field(name);
      if (!v.isNull()) target = CInt(v.toDouble());
    };

    desutew->SetText(Text(field("dscutente")));
    copy("indirizzo", box(indirw));
    copy("località", box(cittaw));
    copy("codfis", box(codfiw));
    copy("attività", memo(attivw));
    copy("piva", box(pivaw));
    copy("cap", box(capw));
    copy("pr", box(provw));
    copy("note", memo(notew));
    copy("codlis", [&g](const QString& t) { g.codlis = t; });
    copy("telefono1", box(telefonow));
    copy("fax", box(faxw));
    copy("banca", box(Nomebancaw));
    copy("iban", box(ibanw));
    copy("cab", box(emailw));
    copy("abi", box(sitow));
    copy("tipocassa", [&g](const QString& t) { g.tipocassa = t; });
    copy("fileuni", [&g](const QString& t) { g.fileuni = t; });
    copy("ncr", box(ncrw));
    number("dimeti", g.dimeti);
    number("affil", g.affil);
    if (!field("calpv").isNull()) g.calpv = field("calpv").str();
    number("trxbilplu", g.trxbilplu);
    if (g.dimeti == 0) g.dimeti = 75;

    // Operator 1's switch: ticked when a password must be typed.
    Data1->DatabaseName = g.percorso_db;
    Data1->RecordSource = QStringLiteral("SELECT * FROM commessi ORDER BY [dsccommesso]");
    Data1->Refresh();
    db::Recordset* op = Data1->recordset();
    if (op->FindFirst(QStringLiteral("codcommesso = 1"))) {
      const Variant autoStart = op->Field(QStringLiteral("auto_start"));
      attivapsw->setChecked(!autoStart.isNull() && autoStart.str() == QLatin1String("N"));
    }
  } catch (const std::runtime_error& e) {
    Fail(e);
  }
}

void ute01::azzera() {
  for (ui::TextBox* b : {codfiw, pivaw, indirw, capw, cittaw, provw}) b->SetText(QString());
  notew->clear();
  attivw->clear();
}

void ute01::chiaro() {
  const QColor normal = ui::VbColor(ui::kVbSystemWindow);
  for (QWidget* w :
       std::initializer_list<QWidget*>{desutew, indirw, codfiw, pivaw, capw, cittaw, provw, attivw,
                                       notew, telefonow, faxw, ibanw, sitow, emailw, Nomebancaw}) {
    ui::SetBackColor(w, normal);
  }
}

void ute01::Command2_Click() {
  SharedValues& g = G();
  g.ragione_sociale = desutew->Text();
  // A name that is empty or begins with a blank saves nothing.
  if (!g.ragione_sociale.str().startsWith(QLatin1Char(' '))) {
    if (!aggiorna()) return;
  }
  ReloadMainAndClose();
}

bool ute01::aggiorna() {
  SharedValues& g = G();
  try {
    auto mainDb = db::Database::Open(g.percorso_db);
    auto storeDb = db::Database::Open(g.percorso_client);
    db::Transaction mainTx(*mainDb);
    db::Transaction storeTx(*storeDb);

    db::Recordset* rs = utenti->recordset();
    const QString store = QString::number(g.codutente);
    if (rs && rs->FindFirst(QStringLiteral("codutente = ") + store + QLatin1Char(' '))) {
      rs->Edit();
      auto set = [rs](const char* name, const Variant& v) {
        rs->SetField(QString::fromUtf8(name), v);
      };
      set("dscutente", desutew->Text().left(50));
      set("codfis", codfiw->Text());
      set("piva", pivaw->Text());
      set("indirizzo", indirw->Text().left(50));
      set("cap", capw->Text());
      set("località", cittaw->Text().left(20));
      set("pr", provw->Text());
      set("attività", attivw->toPlainText());
      set("note", notew->toPlainText());
      set("codlis", g.codlis.str());
      set("telefono1", telefonow->Text());
      set("fax", faxw->Text());
      set("banca", Nomebancaw->Text());
      set("iban", ibanw->Text());
      set("abi", sitow->Text());
      set("cab", emailw->Text());
      set("tipocassa", g.tipocassa.str());
      set("tiposta", Variant::null());
      set("filecasse", Variant::null());
      set("fileuni", g.fileuni.str());
      set("margsini", 0);
      set("margsup", 0);
      set("codrepa", 0);
      set("ncr", ncrw->Text());
      set("nrpos", 0);
      set("Fid_Card", "0000000");
      set("Fid_Rep", 0);
      set("calpv", g.calpv.str());
      set("fbiz", int(g.fbiz));
      set("trxbilplu", int(g.trxbilplu));
      set("affil", int(g.affil));
      set("dimeti", 0);
      rs->Update();
    }

    // The store's year row for operator 1.
    Data1->DatabaseName = g.percorso_client;
    Data1->RecordSource = QStringLiteral("SELECT * FROM inizio ORDER BY [annox]");
    Data1->Refresh();
    db::Recordset* year = Data1->recordset();
    if (!year->FindFirst(QStringLiteral("codute = ") + store +
                         QStringLiteral(" and codope = 1 "))) {
      year->AddNew();
      year->SetField(QStringLiteral("codute"), int(g.codutente));
      year->SetField(QStringLiteral("codope"), 1);
    } else {
      year->Edit();
    }
    year->SetField(QStringLiteral("desute"), desutew->Text().left(50));
    year->Update();

    // Operator 1's password switch.
    Data1->DatabaseName = g.percorso_db;
    Data1->RecordSource = QStringLiteral("SELECT * FROM commessi ORDER BY [dsccommesso]");
    Data1->Refresh();
    db::Recordset* op = Data1->recordset();
    if (op->FindFirst(QStringLiteral("codcommesso = 1"))) {
      op->Edit();
      op->SetField(QStringLiteral("auto_start"),
                   attivapsw->isChecked() ? Variant("N") : Variant::null());
      op->Update();
    }

    // Record 1 of the store record file, last: when it can't be written the tables are
    // left as they were.
    data::rec_negozio record = g.rec_negozio;
    record.nome_negozio = g.ragione_sociale.str();
    record.codice_negozio = data::StoreCodeText(g.codutente);
    QString reason;
    if (!data::WriteStoreRecord(g.file_sup, record, &reason)) {
      ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Impossibile scrivere il file %1: %2")
                          .arg(g.file_sup, reason));
      return false;
    }
    storeTx.Commit();
    mainTx.Commit();
  } catch (const db::DbError& e) {
    Fail(e);
    return false;
  }
  g.dimeti = 0;
  g.codope = 1;
  azzera();
  return true;
}

void ute01::Command3_Click() {
  if (!ui::AskYesNo(kDeleteQuestion, {})) return;
  bool deleted = false;
  try {
    db::Recordset* rs = utenti->recordset();
    const QString criteria =
        QStringLiteral("codutente = ") + QString::number(G().codutente) + QLatin1Char(' ');
    // Only the store's own row is deleted; with none there is nothing to delete.
    if (rs && rs->FindFirst(criteria)) {
      rs->Delete();
      deleted = true;
    }
  } catch (const db::DbError&) {
    // Refused by the database: the refusal below.
  }
  if (deleted) {
    azzera();
    Unload();
    return;
  }
  ui::MsgCritical(kCannotDelete);
  azzera();
}

void ute01::Command6_Click() { ReloadMainAndClose(); }

void ute01::ReloadMainAndClose() {
  // The main window comes back before this one goes, so the program never finds itself
  // without a window.
  if (common::MainWindow()) common::MainWindow()->Reload();
  Unload();
}

}  // namespace vx::masterdata
