// The software update window against an FTP server on loopback, a stand-in terminal and a
// stand-in archiver on a real data drive.
#include "shell/agg_software.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "common/shared_values.h"
#include "platform/ftp/ftp_client.h"
#include "platform/ui/statusbox.h"
#include "shell/Main.h"
#include "shell/shell_fixture.h"
#include "support/ftp_server.h"
#include "support/requirements.h"
#include "support/stand_in_terminal.h"

using vx::common::G;
using vx::shell::agg_software;
using vx::shell::Main;
using vx::ui::Forms;
using vx::ui::MsgAnswer;

namespace {

const QByteArray kBatch =
    "@ECHO ATTENDERE LA CHIUSURA DEL PROGRAMMA E PREMERE UN TASTO PER CONTINUARE\r\n"
    "PAUSE\r\n"
    "cd c:\\programmi\\tolmo\r\n"
    "c:\\programmi\\winrar\\rar e -o+ c:\\programmi\\tolmo\\vantorelix.rar\r\n"
    "@ECHO programma aggiornato. Premere un tasto per terminare\r\n"
    "PAUSE\r\n";

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class UpdateTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    VX_REQUIRE_TOOL(!LocalFtpServer::Python().isEmpty(), "python3-pyftpdlib");
    G().drive = "c";  // as the login leaves it
    G().percorso_db = "c:\\Programmi\\tolmo\\dizizOrezav.mdb";
    G().percorso_client = "c:\\pelko\\client.mdb";
    G().codcommesso = 1;
    program = QFileInfo(drive.mainDb).absolutePath();
    for (int i = 0; i < 70000; ++i) archive += char(i * 7 % 256);  // every byte value
    download = served.path() + "/www.marvento.invalid/download";
    QDir().mkpath(download);
    Serve(archive);
    ASSERT_TRUE(server.Start(served.path(), "aggiornamenti@marvento.invalid", "7rqm4vze"))
        << server.error().toStdString();
    UseServer(QString("127.0.0.1:%1").arg(server.port()));
    terminal = std::make_unique<StandInTerminal>("xy");
    WriteScript(root.root() + "/C/Programmi/winrar/rar", "pwd > '" + root.root().toUtf8() +
                                                             "/rar.log'\n"
                                                             "for a; do echo \"$a\" >> '" +
                                                             root.root().toUtf8() +
                                                             "/rar.log'; done\n");
  }
  void TearDown() override {
    // Unloading the update window shows the main window: unload that too.
    Forms::UnloadAll();
    terminal.reset();
    ShellTest::TearDown();
    qunsetenv("VANTORELIX_UPDATE_SERVER");
  }

  void Serve(const QByteArray& bytes) const {
    QFile f(download + "/vantorelix.rar");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static void UseServer(const QString& hostPort) {
    qputenv("VANTORELIX_UPDATE_SERVER", hostPort.toUtf8());
  }
  // The update window as the main window's menu opens it: the main window closes.
  agg_software* Open() {
    Main* m = Forms::Show<Main>();
    EXPECT_TRUE(m->agg_sw->isEnabled());
    m->agg_sw->trigger();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded<Main>());
    return Forms::IsLoaded<agg_software>() ? Forms::Get<agg_software>() : nullptr;
  }
  // Presses the start button with the operator's answer; the status box's lines.
  QStringList Start(agg_software* w, MsgAnswer answer) {
    boxes->Answer(answer);
    w->Command1->click();
    const QStringList lines = w->txtStatus->Text().split("\r\n");
    Settle();
    return lines;
  }
  QString Archive() const { return program + "/vantorelix.rar"; }
  QString Batch() const { return program + "/aggiorna.bat"; }

  QTemporaryDir served;
  QString download;
  QByteArray archive;
  LocalFtpServer server;
  std::unique_ptr<StandInTerminal> terminal;
  QString program;
};

TEST_F(UpdateTest, DownloadsTheArchiveAndStartsTheBatchThatUnpacksIt) {
  agg_software* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->Label4->isVisibleTo(w));
  const QStringList lines = Start(w, MsgAnswer::Yes);
  EXPECT_EQ(lines,
            (QStringList{"- Collegamento al sito MARVENTO", "- Collegamento riuscito",
                         "- Inizio download programma ", "- Il programma è stato scaricato "}));
  ASSERT_EQ(boxes->Boxes().size(), 1u);
  const auto& ask = boxes->Boxes()[0];
  EXPECT_EQ(ask.text, "Sei sicuro di voler procedere");
  EXPECT_EQ(ask.title, "Aggiornamento software");
  EXPECT_EQ(ask.buttons, vx::ui::MsgButtons::YesNo);
  EXPECT_EQ(ask.defaultButton, MsgAnswer::No);
  // Both windows gone: the program ends and the batch takes over.
  EXPECT_FALSE(Forms::IsLoaded<agg_software>());
  EXPECT_FALSE(Forms::IsLoaded<Main>());
  EXPECT_EQ(Read(Archive()), archive);
  EXPECT_EQ(Read(Batch()), kBatch);

  const auto output = terminal->WaitForOutput();
  ASSERT_TRUE(output.has_value());
  EXPECT_EQ(*output,
            "ATTENDERE LA CHIUSURA DEL PROGRAMMA E PREMERE UN TASTO PER CONTINUARE\n"
            "Premere un tasto per continuare . . . \n"
            "programma aggiornato. Premere un tasto per terminare\n"
            "Premere un tasto per continuare . . . \n");
  EXPECT_EQ(terminal->StartFolder(), program);
  EXPECT_EQ(QString::fromUtf8(Read(root.root() + "/rar.log")).split('\n', Qt::SkipEmptyParts),
            (QStringList{program, "e", "-o+", Archive()}));
}

// Connection, folder and download failures: the Part's line and the reason; the window stays
// for another attempt, an earlier archive stays as it was, no batch is written or started.
TEST_F(UpdateTest, AFailedAttemptSaysWhyAndKeepsTheWindow) {
  const QByteArray earlier = "archivio precedente";
  root.WriteFile("C/Programmi/tolmo/vantorelix.rar", earlier);
  struct Case {
    const char* what;
    std::function<void()> arrange;
    QStringList lines;  // before the reason
    QString reason;     // how the reason starts: in Italian, a folder named only when there is one
  } cases[] = {
      {"refused connection",
       [] { UseServer(QString("127.0.0.1:%1").arg(FreeLoopbackPort())); },
       {"- Collegamento al sito MARVENTO",
        "- Impossibile connettersi al server 127.0.0.1. Riprovare più tardi"},
       "- Connessione a 127.0.0.1 non riuscita: il server non risponde o rifiuta il collegamento. "
       "Dettaglio tecnico: "},
      {"missing folder",
       [&] {
         UseServer(QString("127.0.0.1:%1").arg(server.port()));
         QDir(download).removeRecursively();
       },
       {"- Collegamento al sito MARVENTO", "- Collegamento riuscito",
        "- La Directory 'download' non esiste sul server "},
       "- Cartella 'www.marvento.invalid/download': la cartella non esiste sul server o l'accesso "
       "è negato. Dettaglio tecnico: "},
      {"missing file",
       [&] { QDir().mkpath(download); },
       {"- Collegamento al sito MARVENTO", "- Collegamento riuscito",
        "- Inizio download programma ",
        "- Impossibile scaricare il programma. Riprovare più tardi"},
       "- Scaricamento di vantorelix.rar non riuscito: il file non esiste sul server. Dettaglio "
       "tecnico: "},
  };
  agg_software* w = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    w->txtStatus->Clear();
    const QStringList lines = Start(w, MsgAnswer::Yes);
    ASSERT_EQ(lines.size(), c.lines.size() + 1) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.mid(0, c.lines.size()), c.lines);
    EXPECT_TRUE(lines.last().startsWith(c.reason)) << lines.last().toStdString();
    ASSERT_TRUE(Forms::IsLoaded<agg_software>());
    EXPECT_FALSE(w->Label4->isVisibleTo(w));
    EXPECT_NE(w->cursor().shape(), Qt::WaitCursor);
    EXPECT_FALSE(w->Ftp.IsConnected());
    EXPECT_EQ(Read(Archive()), earlier);
    EXPECT_FALSE(QFileInfo::exists(Batch()));
    EXPECT_FALSE(Forms::IsLoaded<Main>());
  }
  EXPECT_FALSE(terminal->Started());
  // The start button can be pressed again.
  Serve(archive);
  EXPECT_TRUE(Start(w, MsgAnswer::Yes).last().startsWith("- Il programma è stato scaricato"));
  EXPECT_EQ(Read(Archive()), archive);
  EXPECT_TRUE(terminal->WaitForOutput().has_value());
}

// No, the cancel button and the close box: the main window comes back, the network untouched.
TEST_F(UpdateTest, DecliningOrClosingBringsTheMainWindowBack) {
  enum Way { No, Cancel, CloseBox };
  for (const Way way : {No, Cancel, CloseBox}) {
    SCOPED_TRACE(way);
    agg_software* w = Open();
    if (way == No) {
      EXPECT_EQ(Start(w, MsgAnswer::No), QStringList{""});
    } else if (way == Cancel) {
      w->Command2->click();
    } else {
      w->close();
    }
    Settle();
    EXPECT_FALSE(Forms::IsLoaded<agg_software>());
    ASSERT_TRUE(Forms::IsLoaded<Main>());
    EXPECT_TRUE(Forms::Get<Main>()->isVisible());
  }
  EXPECT_FALSE(QFileInfo::exists(Archive()));
  // A login of our own shows that the server's log counts them: the window made none.
  vx::ftp::FtpClient probe;
  ASSERT_TRUE(
      probe.Connect("127.0.0.1", "aggiornamenti@marvento.invalid", "7rqm4vze", server.port()));
  EXPECT_EQ(server.Logins(1), 1);
}

TEST_F(UpdateTest, AMissingArchiverIsReportedAndTheBatchRunsOn) {
  QFile::remove(root.root() + "/C/Programmi/winrar/rar");
  agg_software* w = Open();
  Start(w, MsgAnswer::Yes);
  EXPECT_FALSE(Forms::IsLoaded<agg_software>());
  const auto output = terminal->WaitForOutput();
  ASSERT_TRUE(output.has_value());
  EXPECT_TRUE(
      output->endsWith("Programma non trovato: c:\\programmi\\winrar\\rar\n"
                       "programma aggiornato. Premere un tasto per terminare\n"
                       "Premere un tasto per continuare . . . \n"))
      << output->toStdString();
}

TEST_F(UpdateTest, WithoutATerminalTheBatchIsWrittenButNotStarted) {
  terminal.reset();
  terminal = std::make_unique<StandInTerminal>("", StandInTerminal::Presence::Absent);
  agg_software* w = Open();
  const QStringList lines = Start(w, MsgAnswer::Yes);
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[4], "- Impossibile avviare l'aggiornamento c:\\programmi\\tolmo\\aggiorna.bat");
  EXPECT_TRUE(lines[5].contains("x-terminal-emulator")) << lines[5].toStdString();
  EXPECT_TRUE(Forms::IsLoaded<agg_software>());
  EXPECT_EQ(Read(Batch()), kBatch);
  // Closing it now brings the main window back.
  w->Command2->click();
  Settle();
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

}  // namespace
