#include "shell/com02.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "common/shared_values.h"
#include "common/windows.h"
#include "data/paths_db.h"
#include "data/schema_upgrade.h"
#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/paths.h"
#include "platform/ui/colors.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/drivelist.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"

namespace vx::shell {

using common::G;
using common::mod_ridimensiona;
using common::mod_salva_layout;
using common::SharedValues;
using ui::MakeControl;

namespace {

const QString kWrongPassword =
    QStringLiteral("ATTENZIONE!!! La password inserita non è corretta ...");
const QString kNoOperator = QStringLiteral("ATTENZIONE!!! Selezionare l'operatore desiderato...");
const QString kPasswordMissing =
    QStringLiteral("ATTENZIONE!!! La Password inserita non è corretta...");

}  // namespace

com02::com02() {
  setObjectName(QStringLiteral("com02"));
  SetCaption(kProductTitle);
  resize(ui::TwipsToPixels(6000), ui::TwipsToPixels(3600));

  Frame1 = MakeControl<QGroupBox>(this, "Frame1", 240, 240, 5520, 2400, QStringLiteral("ACCEDI"));
  Label1 = MakeControl<QLabel>(Frame1, "Label1", 240, 480, 1300, 300, QStringLiteral("UTENTE"));
  DBCombo1 = MakeControl<ui::DBCombo>(Frame1, "DBCombo1", 1620, 420, 3600, 360);
  Label2 = MakeControl<QLabel>(Frame1, "Label2", 240, 1080, 1300, 300, QStringLiteral("PASSWORD"));
  passw = MakeControl<ui::TextBox>(Frame1, "passw", 1620, 1020, 3600, 360);
  passw->setEchoMode(QLineEdit::Password);
  Command4 =
      MakeControl<QPushButton>(Frame1, "Command4", 1620, 1680, 1680, 480, QStringLiteral("LOGIN"));
  Command1 =
      MakeControl<QPushButton>(Frame1, "Command1", 3540, 1680, 1680, 480, QStringLiteral("USCITA"));
  Drive1 = MakeControl<ui::DriveList>(this, "Drive1", 240, 2880, 1500, 360);

  Data1 = new db::DataControl(this);
  Data1->setObjectName(QStringLiteral("Data1"));
  Data1->Connect = QStringLiteral("Access 2000;");
  DBCombo1->SetRowSource(Data1);
  DBCombo1->ListField = QStringLiteral("dsccommesso");
  DBCombo1->BoundColumn = QStringLiteral("codcommesso");

  connect(Command4, &QPushButton::clicked, this, &com02::Command4_Click);
  connect(Command1, &QPushButton::clicked, this, &com02::Command1_Click);
  connect(passw, &ui::TextBox::KeyPress, this, &com02::passw_KeyPress);
  connect(DBCombo1, &ui::DBCombo::Change, this, &com02::DBCombo1_Change);
  ui::HighlightOnFocus(passw, [this] { chiaro(); });
  ui::HighlightOnFocus(DBCombo1, [this] { chiaro(); });
}

void com02::Form_Load() {
  SharedValues& g = G();
  layout_finestra_ = mod_salva_layout(this);
  g.drive = Drive1->Drive().left(1);
  const QString drive = g.drive.str();

  g.percorso_client = data::StoreDatabasePath(drive);
  if (!ProvisionStoreDatabase()) return;

  g.percorso_db = data::MainDatabasePath(drive);
  g.codutente = 1;
  g.codlis = "01";
  if (!UpgradeDatabases()) return;

  try {
    Data1->DatabaseName = g.percorso_db;
    Data1->RecordSource = QStringLiteral("SELECT * FROM commessi ORDER BY [dsccommesso]");
    Data1->Refresh();
  } catch (const db::DbError& e) {
    return StopStart(e.kind() == db::DbErrorKind::InUse
                         ? InUseText(g.percorso_db, e)
                         : QStringLiteral("ATTENZIONE!!! Impossibile leggere gli operatori: %1")
                               .arg(e.message()));
  }

  // Operator 1 without auto_start logs in by itself with the stored password.
  db::Recordset* rs = Data1->recordset();
  if (rs->FindFirst(QStringLiteral("codcommesso = 1")) &&
      rs->Field(QStringLiteral("auto_start")).str().trimmed().isEmpty()) {
    const QString name = rs->Field(QStringLiteral("dsccommesso")).str();
    const QString password = rs->Field(QStringLiteral("password")).str();
    DBCombo1->SetText(name);
    passw->setText(password);
    Command4_Click();
  }
}

bool com02::ProvisionStoreDatabase() {
  const SharedValues& g = G();
  const QString drive = g.drive.str();
  const QString folder = data::StoreFolder(drive);
  if (!fs::IsFolder(folder)) fs::CreateFolder(folder);
  if (fs::Exists(g.percorso_client)) return true;
  const QString rootCopy = data::RootStoreDatabasePath(drive);
  if (fs::Exists(rootCopy) && fs::CopyFile(rootCopy, g.percorso_client)) return true;
  StopStart(QStringLiteral("Attenzione ... File ") + g.percorso_client +
            QStringLiteral("  non esiste "));
  return false;
}

bool com02::UpgradeDatabases() {
  const SharedValues& g = G();
  try {
    // An empty file would open as an empty database and take the upgrade's tables.
    for (const QString& path : {g.percorso_client, g.percorso_db}) {
      const QFileInfo file(fs::HostPath(path));
      if (file.isFile() && file.size() == 0) {
        throw data::UpgradeError(
            path, QString(),
            db::DbError(db::DbErrorKind::Damaged, path, QStringLiteral("il file è vuoto")));
      }
    }
    data::inserisco_nuovi_campi_client(g.percorso_client);
    data::inserisco_nuovi_campi_bancaean(g.percorso_db);
    return true;
  } catch (const data::UpgradeError& e) {
    // A database that cannot be opened or upgraded stops the start: the program needs both.
    // Where the window's own sentence says what happened, the error adds its detail only.
    switch (e.kind()) {
      case db::DbErrorKind::InUse:
        StopStart(InUseText(e.path(), e));
        break;
      case db::DbErrorKind::Damaged:
        StopStart(db::WithDetail(
            QStringLiteral("Attenzione ... File %1 vuoto o danneggiato: non è un archivio.")
                .arg(e.path()),
            e.technical()));
        break;
      default:
        StopStart(QStringLiteral("Attenzione ... ") + e.message());
    }
    return false;
  }
}

QString com02::InUseText(const QString& path, const db::DbError& e) {
  return db::WithDetail(
      QStringLiteral(
          "Attenzione ... L'archivio %1 è in uso da un altro programma: chiudere l'altro "
          "programma e avviare di nuovo.")
          .arg(path),
      e.technical());
}

void com02::StopStart(const QString& message) {
  // The controls are off before the box opens: a click queued while it is open finds them so.
  passw->setEnabled(false);
  DBCombo1->setEnabled(false);
  Command4->setEnabled(false);
  ui::MsgCritical(message);
}

void com02::Form_Resize() { mod_ridimensiona(layout_finestra_); }

void com02::DBCombo1_Change() {
  SharedValues& g = G();
  g.password_attesa = QString();
  if (g.percorso_db.isEmpty()) return;
  try {
    auto db = db::Database::Open(g.percorso_db);
    auto rs = db->OpenRecordset(QStringLiteral("commessi"), db::RecordsetType::Table);
    rs->SetIndex(QStringLiteral("codcommesso"));
    if (!rs->Seek(QStringLiteral("="), Variant(Val(DBCombo1->BoundText())))) return;
    const QString name = rs->Field(QStringLiteral("dsccommesso")).str();
    if (DBCombo1->Text() != name) DBCombo1->SetText(name);
    const QString password = rs->Field(QStringLiteral("password")).str();
    if (!password.isEmpty()) g.password_attesa = password;
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
  }
}

void com02::passw_KeyPress(int& keyAscii) {
  if (keyAscii == 13) {
    keyAscii = 0;
    Command4_Click();
  }
}

void com02::Command4_Click() {
  if (!Command4->isEnabled()) return;  // the start stopped at a failed load step
  SharedValues& g = G();
  g.codcommesso = qint32(RoundHalfEven(Val(DBCombo1->BoundText())));
  const QString typed = passw->text();
  const QString trimmed = typed.trimmed();

  // Rule 1: the password alone identifies the operator. It runs on a query of its own, so
  // the operator list keeps every operator, and the typed text is bound, never part of the
  // SQL text: an error's technical detail quotes that text, and must not show a password.
  // A bound value brings no collation and trim() drops the column's, so the comparison
  // names its own: passwords compare without regard to case, as all text does.
  if (!trimmed.isEmpty()) {
    try {
      auto db = db::Database::Open(g.percorso_db);
      db::Statement st = db->Prepare(QStringLiteral(
          "SELECT codcommesso, dsccommesso FROM commessi where trim(password) = ? COLLATE NOCASE"));
      if (!st.Bind(1, Variant(trimmed)).Step()) {
        ui::MsgCritical(kWrongPassword);
        passw->setFocus();
        return;
      }
      g.codcommesso = qint32(st.Column(0).toLong());
      const QString name = st.Column(1).str();
      if (DBCombo1->Text() != name) DBCombo1->SetText(name);
    } catch (const db::DbError& e) {
      ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
      return;
    }
    LoginSucceeded();
    return;
  }
  if (DBCombo1->Text().isEmpty()) {  // Rule 2
    ui::MsgCritical(kNoOperator);
    DBCombo1->setFocus();
    return;
  }
  if (typed.isEmpty() || !g.password_attesa.str().trimmed().isEmpty()) {  // Rules 3 and 4
    ui::MsgCritical(kPasswordMissing);
    passw->setFocus();
    return;
  }
  LoginSucceeded();
}

namespace {

QString& WindowAfterLogin() {
  static QString name;
  return name;
}

}  // namespace

void com02::ShowAfterLogin(const QString& windowName) { WindowAfterLogin() = windowName; }

void com02::LoginSucceeded() {
  // The main window comes up before this one goes, so the program never has no window.
  ui::Forms::Show<Main>();
  if (const QString over = std::exchange(WindowAfterLogin(), QString()); !over.isEmpty()) {
    common::OpenWindow(over);
  }
  Unload();
}

void com02::Command1_Click() { Unload(); }

void com02::chiaro() { ui::SetBackColor(DBCombo1, ui::VbColor(ui::kVbSystemWindow)); }

}  // namespace vx::shell
