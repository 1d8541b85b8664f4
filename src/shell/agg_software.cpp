#include "shell/agg_software.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/shared_values.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/sys/launcher.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/statusbox.h"
#include "shell/Main.h"

namespace vx::shell {

using common::G;

namespace {

// The maker's update account. The password is the account's; the names are ours and lie in
// a domain that never resolves, so that no attempt reaches a stranger's server.
const QString kHost = QStringLiteral("ftp.marvento.invalid");
const QString kUser = QStringLiteral("aggiornamenti@marvento.invalid");
const QString kPassword = QStringLiteral("7rqm4vze");
const QString kRemoteFolder = QStringLiteral("www.marvento.invalid/download");
const QString kArchive = QStringLiteral("vantorelix.rar");

using ui::Named;

// The hourglass over the window for a scope.
class WaitPointer {
 public:
  explicit WaitPointer(QWidget* w) : w_(w) { w_->setCursor(Qt::WaitCursor); }
  ~WaitPointer() { w_->unsetCursor(); }

 private:
  QWidget* w_;
};

}  // namespace

agg_software::agg_software() {
  setObjectName(QStringLiteral("agg_software"));
  SetCaption(QStringLiteral("Aggiornamento Software"));
  auto* outer = new QVBoxLayout(this);

  Label2 = Named(new QLabel(QStringLiteral("Aggiornamento Software"), this), "Label2");
  QFont title = Label2->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 4);
  Label2->setFont(title);
  Label2->setAlignment(Qt::AlignCenter);
  Label3 = Named(new QLabel(QStringLiteral("Questo programma procederà al download e "
                                           "all'aggiornamento del software "),
                            this),
                 "Label3");
  Label3->setWordWrap(true);
  Label1 = Named(new QLabel(QStringLiteral("MARVENTO"), this), "Label1");
  QFont maker = Label1->font();
  maker.setBold(true);
  Label1->setFont(maker);
  Label1->setAlignment(Qt::AlignCenter);
  Label4 = Named(new QLabel(QStringLiteral("ATTENDERE..."), this), "Label4");
  Label4->setAlignment(Qt::AlignCenter);
  Label4->setAutoFillBackground(true);
  QPalette warn = Label4->palette();
  warn.setColor(QPalette::Window, QColor(255, 255, 0));
  warn.setColor(QPalette::WindowText, QColor(255, 0, 0));
  Label4->setPalette(warn);
  Label4->setVisible(false);
  for (QLabel* l : {Label2, Label3, Label1, Label4}) outer->addWidget(l);

  txtStatus = Named(new ui::StatusBox(this), "txtStatus");
  txtStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtStatus->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  outer->addWidget(txtStatus, 1);

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  Command1 = ui::IconButton(this, "Command1", QStyle::SP_ArrowDown, QString(),
                            QStringLiteral("Scarica e aggiorna il software"));
  Command2 = ui::IconButton(this, "Command2", QStyle::SP_DialogCancelButton, QString(),
                            QStringLiteral("Annulla"));
  for (QPushButton* b : {Command1, Command2}) b->setIconSize(QSize(32, 32));
  buttons->addWidget(Command1);
  buttons->addStretch();
  buttons->addWidget(Command2);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  resize(520, 380);
}

agg_software::Server agg_software::UpdateServer() {
  Server server{kHost, 21};
  const QString env = qEnvironmentVariable("VANTORELIX_UPDATE_SERVER").trimmed();
  if (env.isEmpty()) return server;
  server.host = env;
  const qsizetype colon = env.lastIndexOf(QLatin1Char(':'));
  if (colon > 0 && env.indexOf(QLatin1Char(':')) == colon) {
    bool ok = false;
    const int port = env.mid(colon + 1).toInt(&ok);
    if (ok && port > 0 && port < 65536) {
      server.host = env.left(colon);
      server.port = port;
    }
  }
  return server;
}

QStringList agg_software::BatchLines(const QString& d) {
  return {QStringLiteral("@ECHO ATTENDERE LA CHIUSURA DEL PROGRAMMA E PREMERE UN TASTO PER "
                         "CONTINUARE"),
          QStringLiteral("PAUSE"),
          QStringLiteral("cd ") + d + QStringLiteral(":\\programmi\\tolmo"),
          d + QStringLiteral(":\\programmi\\winrar\\rar e -o+ ") + d +
              QStringLiteral(":\\programmi\\tolmo\\vantorelix.rar"),
          QStringLiteral("@ECHO programma aggiornato. Premere un tasto per terminare"),
          QStringLiteral("PAUSE")};
}

void agg_software::Command1_Click() {
  {
    WaitPointer hourglass(this);
    if (!ui::AskYesNo(QStringLiteral("Sei sicuro di voler procedere"),
                      QStringLiteral("Aggiornamento software"), ui::MsgIcon::None,
                      ui::MsgAnswer::No)) {
      ui::Forms::Show<Main>();
    } else if (!Update()) {
      return;  // the window stays open for another attempt
    }
  }
  Unload();
}

bool agg_software::Update() {
  Label4->setVisible(true);
  Label4->repaint();
  agg_software_scrivi_stato(QStringLiteral("Collegamento al sito MARVENTO"));

  const Server server = UpdateServer();
  const QString drive = G().drive.str();
  const QString archive = drive + QStringLiteral(":\\programmi\\tolmo\\") + kArchive;
  const QString batch = drive + QStringLiteral(":\\programmi\\tolmo\\aggiorna.bat");
  // The Part's line and then the reason; the connection is closed whatever happened.
  auto fail = [this](const QString& line, const QString& reason) {
    agg_software_scrivi_stato(line);
    if (!reason.isEmpty()) agg_software_scrivi_stato(reason);
    Ftp.Disconnect();
    Label4->setVisible(false);
    return false;
  };

  const ftp::FtpResult connected = Ftp.Connect(server.host, kUser, kPassword, server.port);
  if (!connected) {
    return fail(QStringLiteral("Impossibile connettersi al server ") + server.host +
                    QStringLiteral(". Riprovare più tardi"),
                connected.error);
  }
  agg_software_scrivi_stato(QStringLiteral("Collegamento riuscito"));
  const ftp::FtpResult folder = Ftp.ChangeDir(kRemoteFolder);
  if (!folder) {
    return fail(QStringLiteral("La Directory 'download' non esiste sul server "), folder.error);
  }
  agg_software_scrivi_stato(QStringLiteral("Inizio download programma "));
  // The client writes beside the file and replaces it only with a complete download.
  const ftp::FtpResult got = Ftp.Get(kArchive, fs::HostPath(archive));
  if (!got) {
    return fail(QStringLiteral("Impossibile scaricare il programma. Riprovare più tardi"),
                got.error);
  }
  agg_software_scrivi_stato(QStringLiteral("Il programma è stato scaricato "));

  if (!fs::WriteTextLines(fs::HostPath(batch), BatchLines(drive))) {
    return fail(QStringLiteral("Impossibile scrivere il file ") + batch, {});
  }
  const sys::StartResult run = sys::StartDetached(batch, {}, sys::WindowState::Maximized);
  if (!run.ok) {
    return fail(QStringLiteral("Impossibile avviare l'aggiornamento ") + batch, run.reason);
  }
  started_ = true;
  Ftp.Disconnect();
  return true;
}

void agg_software::Command2_Click() { Unload(); }

void agg_software::Form_Unload() {
  Ftp.Disconnect();
  // The main window comes back before this window goes, so that the program does not end
  // with its last window; only a started update leaves it closed.
  if (!started_) ui::Forms::Show<Main>();
}

void agg_software::agg_software_scrivi_stato(const QString& message) {
  txtStatus->AppendPrefixed(QStringLiteral("- "), message);
}

}  // namespace vx::shell
