// The backup window driven through its controls against a real data drive.
#include "shell/arc02.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include "common/shared_values.h"
#include "platform/clock.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"
#include "shell/com02.h"
#include "shell/shell_fixture.h"

using vx::common::G;
using vx::shell::arc02;
using vx::shell::com02;
using vx::shell::Main;
using vx::ui::Forms;

namespace {

class BackupTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    vx::SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(7, 5, 9)); });
    G().drive = "C";
    G().percorso_db = "C:\\Programmi\\tolmo\\dizizOrezav.mdb";
    G().percorso_client = "C:\\pelko\\client.mdb";
    G().codcommesso = 1;
    program = QFileInfo(drive.mainDb).absolutePath();
    backup = program + "/bkp/Dati202612090705.MDB";
  }
  void TearDown() override {
    ShellTest::TearDown();
    vx::SetClock({});
  }

  // The backup window opened from the main window's menu.
  arc02* Open() {
    Main* m = Forms::Show<Main>();
    EXPECT_TRUE(m->copiarch->isEnabled());
    m->copiarch->trigger();
    return Forms::IsLoaded<arc02>() ? Forms::Get<arc02>() : nullptr;
  }
  static QString Line(const QString& message) { return "07:05:09: " + message; }
  static qint64 Operators(const QString& dbFile) {
    auto db = vx::db::Database::Open(dbFile);
    auto count = db->Prepare("select count(*) from commessi");
    count.Step();
    return count.Column(0).toLong();
  }
  void AddOperator(int code) const {
    MainDb()->Execute("insert into commessi (codcommesso, dsccommesso, password) values (?,?,?)",
                      {code, "NUOVO", "x"});
  }

  QString program;  // the program's folder on the data drive
  QString backup;   // the proposed backup file
};

TEST_F(BackupTest, LoadMakesTheFolderWhenMissingAndProposesTheName) {
  for (const bool present : {false, true}) {
    SCOPED_TRACE(present ? "bkp present" : "bkp missing");
    QDir(program + "/bkp").removeRecursively();
    if (present) root.WriteFile("C/Programmi/tolmo/bkp/vecchia.MDB", "v");
    arc02* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "Creazione file di backup ");
    // The main window's load takes the drive from its drive list, in lower case.
    EXPECT_EQ(w->nuovow->Text(), "c:\\programmi\\tolmo\\bkp\\Dati202612090705");
    EXPECT_TRUE(QFileInfo(program + "/bkp").isDir());
    EXPECT_EQ(QFileInfo::exists(program + "/bkp/vecchia.MDB"), present);
    EXPECT_EQ(w->txtStatus->Text(), Line("Pronto per eseguire la copia degli archivi"));
    EXPECT_TRUE(w->Command1->text().isEmpty());
    EXPECT_FALSE(w->Command1->toolTip().isEmpty());
    Forms::UnloadAll();
    Settle();
  }
}

TEST_F(BackupTest, CopyClosesMainAndLoginAndCopiesTheMainDatabase) {
  SetOperators({{1, "AMMINISTRATORE", "admin", "N"}});
  Forms::Show<com02>();
  arc02* w = Open();
  ASSERT_TRUE(Forms::IsLoaded<com02>());
  w->Command1->click();
  Settle();
  EXPECT_EQ(w->txtStatus->Text(), Line("Pronto per eseguire la copia degli archivi") + "\r\n" +
                                      Line("Inizio copia degli archivi... Attendere Prego") +
                                      "\r\n" + Line("Copia archivi terminata con successo"));
  EXPECT_FALSE(Forms::IsLoaded<Main>());
  EXPECT_FALSE(Forms::IsLoaded<com02>());
  EXPECT_TRUE(Forms::IsLoaded<arc02>());
  EXPECT_EQ(Operators(backup), 1);

  // A second copy to the same name replaces the first, and leaves nothing else behind.
  AddOperator(2);
  w->Command1->click();
  EXPECT_TRUE(w->txtStatus->Text().endsWith(Line("Copia archivi terminata con successo")));
  EXPECT_EQ(Operators(backup), 2);
  EXPECT_EQ(QDir(program + "/bkp").entryList(QDir::Files), QStringList{"Dati202612090705.MDB"});

  // A typed extension gets another; a name without a drive is in the program's folder.
  w->nuovow->SetText("copia.MDB");
  w->Command1->click();
  EXPECT_EQ(Operators(program + "/copia.MDB.MDB"), 2);
  EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(BackupTest, AnEmptyNameIsRefusedAndClosesNothing) {
  arc02* w = Open();
  w->nuovow->SetText("");
  w->Command1->click();
  ASSERT_EQ(boxes->Texts(), QStringList{"Attenzione il nuovo nome non può essere in bianco"});
  EXPECT_EQ(boxes->Boxes()[0].icon, vx::ui::MsgIcon::Critical);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
  EXPECT_EQ(w->txtStatus->Text(), Line("Pronto per eseguire la copia degli archivi"));
}

// A copy that cannot be made says why, claims no success and keeps an older backup whole.
TEST_F(BackupTest, AFailedCopyReportsTheReasonAndKeepsTheOlderBackup) {
  root.WriteFile("C/Programmi/tolmo/rotto.mdb", QByteArray(4096, 'x'));
  struct Case {
    const char* what;
    QString source;
    QString name;
  } cases[] = {
      {"missing target folder", G().percorso_db, "C:\\nessuna\\copia"},
      {"source no database", "C:\\Programmi\\tolmo\\rotto.mdb",
       "C:\\programmi\\tolmo\\bkp\\Dati202612090705"},
      {"target is the source", G().percorso_db, "C:\\programmi\\tolmo\\DIZIZOREZAV"},
  };
  const QString older = root.WriteFile("C/Programmi/tolmo/bkp/Dati202612090705.MDB", "vecchio");
  const QByteArray mainBytes = [&] {
    QFile f(drive.mainDb);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    G().percorso_db = c.source;
    arc02* w = Open();
    w->nuovow->SetText(c.name);
    w->Command1->click();
    const QStringList lines = w->txtStatus->Text().split("\r\n");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith(Line("ERRORE: copia non riuscita: ")))
        << lines[2].toStdString();
    EXPECT_GT(lines[2].size(), Line("ERRORE: copia non riuscita: ").size());
    QFile f(older);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "vecchio");
    EXPECT_EQ(QDir(program + "/bkp").entryList(QDir::Files), QStringList{"Dati202612090705.MDB"});
    QFile m(drive.mainDb);
    ASSERT_TRUE(m.open(QIODevice::ReadOnly));
    EXPECT_EQ(m.readAll(), mainBytes);
    Forms::UnloadAll();
    Settle();
    G().percorso_db = "C:\\Programmi\\tolmo\\dizizOrezav.mdb";
  }
}

TEST_F(BackupTest, AWriteStillOpenIsNotCopied) {
  arc02* w = Open();
  auto db = MainDb();
  const qint64 before = Operators(drive.mainDb);
  db->BeginTrans();
  AddOperator(9);
  w->Command1->click();
  db->Rollback();
  EXPECT_TRUE(w->txtStatus->Text().endsWith(Line("Copia archivi terminata con successo")))
      << w->txtStatus->Text().toStdString();
  EXPECT_EQ(Operators(backup), before);
}

TEST_F(BackupTest, ClosingWithoutCopyingLeavesTheMainWindowWorking) {
  arc02* w = Open();
  w->Command2->click();
  Settle();
  EXPECT_FALSE(Forms::IsLoaded<arc02>());
  ASSERT_TRUE(Forms::IsLoaded<Main>());
  Main* m = Forms::Get<Main>();
  EXPECT_TRUE(m->isVisible());
  m->copiarch->trigger();
  EXPECT_TRUE(Forms::IsLoaded<arc02>());
  EXPECT_FALSE(QFileInfo::exists(backup));
}

}  // namespace
