#include "shell/arc02.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "platform/clock.h"
#include "platform/db/backup.h"
#include "platform/db/database.h"
#include "platform/paths.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"
#include "shell/com02.h"

namespace vx::shell {

using common::G;

namespace {

using ui::Named;

}  // namespace

arc02::arc02() {
  setObjectName(QStringLiteral("arc02"));
  SetCaption(QStringLiteral("Creazione file di backup "));
  auto* outer = new QVBoxLayout(this);

  Label1 =
      Named(new QLabel(QStringLiteral("Procedura di creazione file di Backup"), this), "Label1");
  QFont heading = Label1->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 3);
  Label1->setFont(heading);
  Label1->setAlignment(Qt::AlignCenter);
  outer->addWidget(Label1);

  Frame1 = Named(new QGroupBox(QStringLiteral("Nome file backup"), this), "Frame1");
  auto* frame = new QHBoxLayout(Frame1);
  nuovow = Named(new ui::TextBox(Frame1), "nuovow");
  frame->addWidget(nuovow);
  outer->addWidget(Frame1);

  txtStatus = Named(new ui::StatusBox(this), "txtStatus");
  txtStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtStatus->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  outer->addWidget(txtStatus, 1);

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  Command1 = ui::IconButton(this, "Command1", QStyle::SP_DialogSaveButton, QString(),
                            QStringLiteral("Esegui la copia degli archivi"));
  Command2 = ui::IconButton(this, "Command2", QStyle::SP_DialogCloseButton, QString(),
                            QStringLiteral("Chiudi"));
  for (QPushButton* b : {Command1, Command2}) b->setIconSize(QSize(32, 32));
  buttons->addWidget(Command1);
  buttons->addStretch();
  buttons->addWidget(Command2);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  resize(560, 360);
}

QString arc02::BackupFolder() {
  return G().drive.str() + QStringLiteral(":\\programmi\\tolmo\\bkp");
}

QString arc02::TargetOf(const QString& name) {
  if (fs::IsWindowsPath(name)) return name;
  // "/x" is the root of the current drive too, as on the system the names come from.
  if (name.startsWith(QLatin1Char('/'))) return G().drive.str() + QLatin1Char(':') + name;
  return G().drive.str() + QStringLiteral(":\\Programmi\\tolmo\\") + name;
}

void arc02::Form_Load() {
  const QString folder = BackupFolder();
  if (!fs::IsFolder(folder)) fs::CreateFolder(folder);
  nuovow->SetText(folder + QStringLiteral("\\Dati") +
                  Now().toString(QStringLiteral("yyyyMMddHHmm")));
  arc02_scrivi_stato(QStringLiteral("Pronto per eseguire la copia degli archivi"));
}

void arc02::Command1_Click() {
  const QString name = nuovow->Text();
  if (name.isEmpty()) {
    ui::MsgCritical(QStringLiteral("Attenzione il nuovo nome non può essere in bianco"));
    return;
  }
  arc02_scrivi_stato(QStringLiteral("Inizio copia degli archivi... Attendere Prego"));
  const QString target = name + QStringLiteral(".MDB");
  ui::Forms::Unload<Main>();
  ui::Forms::Unload<com02>();
  try {
    db::BackupDatabase(G().percorso_db, TargetOf(target));
  } catch (const db::DbError& e) {
    arc02_scrivi_stato(QStringLiteral("ERRORE: copia non riuscita: ") + e.message());
    return;
  }
  arc02_scrivi_stato(QStringLiteral("Copia archivi terminata con successo"));
}

void arc02::Command2_Click() { Unload(); }

void arc02::arc02_scrivi_stato(const QString& message) { txtStatus->AppendLine(message); }

}  // namespace vx::shell
