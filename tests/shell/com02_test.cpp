// The login window driven through its controls against a real data drive.
#include "shell/com02.h"

#include <sqlite3.h>

#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>

#include "common/shared_values.h"
#include "platform/db/datacontrol.h"
#include "platform/paths.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"
#include "shell/shell_fixture.h"
#include "support/child_test.h"
#include "support/file_bytes.h"

using vx::Variant;
using vx::common::G;
using vx::shell::com02;
using vx::shell::Main;
using vx::ui::Forms;

namespace {

const Variant kNull = Variant::null();

class LoginTest : public ShellTest {
 protected:
  // Operators of a store that asks for the password.
  void SetUp() override {
    ShellTest::SetUp();
    SetOperators({{1, "AMMINISTRATORE", "admin", "N"},
                  {2, "GIULIA", "stessa", kNull},
                  {3, "MARCO", "stessa", kNull},
                  {4, "SENZA", "   ", kNull},
                  {5, "APOSTROFO", "l'ape", kNull}});
  }

  com02* Login() {
    com02* w = Forms::Get<com02>();
    if (w) w->Show();
    return w;
  }
  void Pick(com02* w, const QString& name) { w->DBCombo1->SetText(name); }
  void Type(com02* w, const QString& text) {
    w->passw->clear();
    QTest::keyClicks(w->passw, text);
  }
};

TEST_F(LoginTest, ListsTheOperatorsInNameOrderAndWaitsForThePassword) {
  com02* w = Login();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->DBCombo1->ListTexts(),
            (QStringList{"AMMINISTRATORE", "APOSTROFO", "GIULIA", "MARCO", "SENZA"}));
  EXPECT_FALSE(Forms::IsLoaded<Main>());
  // The drive list names the drive in lower case, as the paths built from it do.
  EXPECT_EQ(G().drive.str(), "c");
  EXPECT_EQ(G().percorso_db, "c:\\Programmi\\tolmo\\dizizOrezav.mdb");
  EXPECT_EQ(G().percorso_client, "c:\\pelko\\client.mdb");
  EXPECT_EQ(G().codutente, 1);
  EXPECT_EQ(G().codlis.str(), "01");
}

TEST_F(LoginTest, ThePasswordAloneIdentifiesTheOperator) {
  com02* w = Login();
  Pick(w, "MARCO");
  EXPECT_EQ(G().password_attesa.str(), "stessa    ");
  Type(w, "  stessa ");  // blanks around match the stored password trimmed
  w->Command4->click();
  Settle();
  // Two operators share the password: the first row the query returns logs in.
  EXPECT_EQ(G().codcommesso, 2);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
  EXPECT_FALSE(Forms::IsLoaded<com02>());
  EXPECT_TRUE(boxes->Boxes().empty());

  // Case does not count, blanks around do not either; another text is refused.
  for (const auto& [typed, operatorCode] :
       {std::pair{"ADMIN", 1}, {"  Admin ", 1}, {"admin1", 0}}) {
    SCOPED_TRACE(typed);
    Forms::UnloadAll();
    Settle();
    boxes->Clear();
    Type(w = Login(), typed);
    w->Command4->click();
    Settle();
    EXPECT_EQ(G().codcommesso, operatorCode);
    EXPECT_EQ(Forms::IsLoaded<Main>(), operatorCode != 0);
    EXPECT_EQ(boxes->Boxes().size(), operatorCode != 0 ? 0u : 1u);
  }
}

TEST_F(LoginTest, EnterInThePasswordBoxLogsIn) {
  com02* w = Login();
  Pick(w, "AMMINISTRATORE");
  Type(w, "admin");
  QTest::keyClick(w->passw, Qt::Key_Return);
  Settle();
  EXPECT_EQ(G().codcommesso, 1);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, AWrongPasswordIsRefusedAndTheListKeepsEveryOperator) {
  com02* w = Login();
  Pick(w, "GIULIA");
  Type(w, "sbagliata");
  w->Command4->click();
  EXPECT_EQ(boxes->Texts(), QStringList{"ATTENZIONE!!! La password inserita non è corretta ..."});
  EXPECT_EQ(boxes->Boxes()[0].icon, vx::ui::MsgIcon::Critical);
  EXPECT_EQ(w->passw->text(), "sbagliata");
  EXPECT_EQ(w->DBCombo1->ListTexts().size(), 5);
  EXPECT_EQ(G().codcommesso, 2);  // taken from the list before the rules
  EXPECT_FALSE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, AQuoteInThePasswordIsTakenAsText) {
  com02* w = Login();
  Type(w, "l'ape");
  w->Command4->click();
  Settle();
  EXPECT_TRUE(boxes->Boxes().empty());
  EXPECT_EQ(G().codcommesso, 5);

  Forms::UnloadAll();
  Settle();
  w = Login();
  Type(w, "x' or '1'='1");
  w->Command4->click();
  EXPECT_EQ(boxes->Texts(), QStringList{"ATTENZIONE!!! La password inserita non è corretta ..."});
}

TEST_F(LoginTest, RulesForAnEmptyOrBlankBox) {
  com02* w = Login();
  w->Command4->click();  // no operator, nothing typed
  Pick(w, "GIULIA");
  w->Command4->click();  // an empty box never logs in
  Type(w, "   ");
  w->Command4->click();  // blanks only: GIULIA has a password
  EXPECT_EQ(boxes->Texts(), (QStringList{"ATTENZIONE!!! Selezionare l'operatore desiderato...",
                                         "ATTENZIONE!!! La Password inserita non è corretta...",
                                         "ATTENZIONE!!! La Password inserita non è corretta..."}));
  EXPECT_FALSE(Forms::IsLoaded<Main>());

  Pick(w, "SENZA");  // blanks only and a blank stored password: logs in
  Type(w, "  ");
  w->Command4->click();
  Settle();
  EXPECT_EQ(G().codcommesso, 4);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, UscitaUnloadsTheWindow) {
  com02* w = Login();
  w->Command1->click();
  Settle();
  EXPECT_FALSE(Forms::IsLoaded<com02>());
  EXPECT_FALSE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, OperatorOneWithoutAutoStartLogsInBeforeTheWindowIsSeen) {
  SetOperators({{1, "AMMINISTRATORE", "admin", kNull}, {2, "GIULIA", "g", kNull}});
  EXPECT_EQ(Forms::Get<com02>(), nullptr);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
  EXPECT_EQ(G().codcommesso, 1);

  Forms::UnloadAll();
  Settle();
  SetOperators({{1, "AMMINISTRATORE", "admin", " "}});  // blank counts as not set
  EXPECT_EQ(Forms::Get<com02>(), nullptr);
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, AutomaticLoginWithoutAStoredPasswordStopsAtThePasswordMessage) {
  SetOperators({{1, "AMMINISTRATORE", kNull, kNull}});
  com02* w = Forms::Get<com02>();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(boxes->Texts(), QStringList{"ATTENZIONE!!! La Password inserita non è corretta..."});
  EXPECT_EQ(w->DBCombo1->Text(), "AMMINISTRATORE");
  EXPECT_FALSE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, TheStoreDatabaseIsCopiedFromTheDriveRootWhenMissing) {
  const QString storeFolder = root.Folder("C/pelko");
  ASSERT_TRUE(vx::fs::CopyFile(drive.storeDb, root.root() + "/C/client.mdb"));
  ASSERT_TRUE(QDir(storeFolder).removeRecursively());

  ASSERT_NE(Login(), nullptr);
  EXPECT_TRUE(QFileInfo::exists(root.root() + "/C/pelko/client.mdb"));
  EXPECT_TRUE(QFileInfo::exists(root.root() + "/C/client.mdb"));
  EXPECT_TRUE(boxes->Boxes().empty());
}

// After the start stopped, neither the password box nor the LOGIN button opens the main
// window, whatever is typed.
void ExpectNoLogin(com02* w) {
  EXPECT_FALSE(w->Command4->isEnabled());
  EXPECT_FALSE(w->passw->isEnabled());
  w->passw->setText("admin");
  QTest::keyClick(w->passw, Qt::Key_Return);
  QTest::mouseClick(w->Command4, Qt::LeftButton);
  w->Command4_Click();
  EXPECT_FALSE(Forms::IsLoaded<Main>());
}

TEST_F(LoginTest, AMissingStoreDatabaseStopsTheStart) {
  ASSERT_TRUE(QFile::remove(drive.storeDb));
  com02* w = Login();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(boxes->Texts(), QStringList{"Attenzione ... File c:\\pelko\\client.mdb  non esiste "});
  EXPECT_TRUE(w->DBCombo1->ListTexts().isEmpty());
  EXPECT_TRUE(G().percorso_db.isEmpty());
  ExpectNoLogin(w);
}

TEST_F(LoginTest, AFailedUpgradeStopsTheStart) {
  // A table the upgrade adds columns to, replaced by a view: the upgrade cannot alter it.
  MainDb()->Execute("DROP TABLE articoli");
  MainDb()->Execute("CREATE VIEW articoli AS SELECT codcommesso AS x FROM commessi");
  com02* w = Login();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(boxes->Boxes().size(), 1u);
  EXPECT_TRUE(boxes->Texts()[0].startsWith("Attenzione ... ")) << boxes->Texts()[0].toStdString();
  ExpectNoLogin(w);
}

TEST_F(LoginTest, AMainDatabaseThatCannotBeOpenedIsReportedWithItsPath) {
  ASSERT_TRUE(QFile::remove(drive.mainDb));
  com02* w = Login();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(boxes->Boxes().size(), 1u);
  EXPECT_TRUE(boxes->Texts()[0].contains("dizizOrezav.mdb")) << boxes->Texts()[0].toStdString();
  EXPECT_TRUE(w->DBCombo1->ListTexts().isEmpty());
  ExpectNoLogin(w);
}

// Another program's connection holding the write lock of a database while it lives.
class HeldWriteLock {
 public:
  explicit HeldWriteLock(const QString& hostPath) {
    EXPECT_EQ(sqlite3_open_v2(hostPath.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  ~HeldWriteLock() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  HeldWriteLock(const HeldWriteLock&) = delete;
  HeldWriteLock& operator=(const HeldWriteLock&) = delete;

 private:
  sqlite3* db_ = nullptr;
};

TEST_F(LoginTest, ALockAtLoginIsToldWithoutThePasswordAndTheLoginWorksOnceItEnds) {
  com02* w = Login();
  Type(w, "admin");
  auto lock = std::make_unique<HeldWriteLock>(drive.mainDb);
  w->Command4->click();
  lock.reset();
  ASSERT_EQ(boxes->Texts().size(), 1);
  EXPECT_TRUE(boxes->Texts()[0].contains("è in uso da un altro programma"));
  EXPECT_FALSE(boxes->Texts()[0].contains("admin", Qt::CaseInsensitive));
  w->Command4->click();
  Settle();
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

// What a real message box does while it waits for its answer: it runs an event loop, in
// which a click queued on the login window is delivered.
void RunBoxLoop() {
  QEventLoop loop;
  QTimer::singleShot(0, &loop, &QEventLoop::quit);
  loop.exec();
}

void QueueClick(QPushButton* com02::*button) {
  Forms::IfLoaded<com02>([button](com02& w) {
    QMetaObject::invokeMethod(w.*button, &QPushButton::click, Qt::QueuedConnection);
  });
}

TEST_F(LoginTest, AStoreOrMainDatabaseThatCannotServeLeavesOnlyUscita) {
  const QString store = "Attenzione ... File c:\\pelko\\client.mdb ";
  const QString main = "c:\\Programmi\\tolmo\\dizizOrezav.mdb";
  const QByteArray noDatabase = QByteArray("non sono un archivio\r\n").repeated(200);
  const QString damaged = " vuoto o danneggiato: non è un archivio. Dettaglio tecnico: ";
  struct Case {
    const char* name;
    QString file;                       // written with `content` (removed when none)
    std::optional<QByteArray> content;  // nothing written when `file` is empty
    QString message;                    // the whole text of the one box shown
  };
  // Each says what happened once, then at most one technical detail: the innermost one.
  const std::vector<Case> cases = {
      {"store missing", drive.storeDb, std::nullopt, store + " non esiste "},
      {"store empty", drive.storeDb, "", store + damaged.mid(1) + "il file è vuoto"},
      {"store no database", drive.storeDb, noDatabase,
       store + damaged.mid(1) + "file is not a database"},
      {"main empty", drive.mainDb, "", "Attenzione ... File " + main + damaged + "il file è vuoto"},
      {"main missing", drive.mainDb, std::nullopt,
       "Attenzione ... Aggiornamento dell'archivio non riuscito. Il file '" + main +
           "' non esiste. Dettaglio tecnico: percorso sul computer: " + drive.mainDb},
      {"main in use", "", std::nullopt,
       "Attenzione ... L'archivio " + main +
           " è in uso da un altro programma: chiudere l'altro programma e avviare di nuovo. "
           "Dettaglio tecnico: database is locked"},
  };
  const QByteArray storeBytes = ReadAll(drive.storeDb), mainBytes = ReadAll(drive.mainDb);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    G().Reset();
    boxes->Clear();
    std::unique_ptr<HeldWriteLock> lock;
    if (c.file.isEmpty()) {
      lock = std::make_unique<HeldWriteLock>(drive.mainDb);
    } else if (c.content) {
      WriteAll(c.file, *c.content);
    } else {
      ASSERT_TRUE(QFile::remove(c.file));
    }
    // LOGIN clicked while the first box is open: the click is delivered before the answer.
    boxes->OnShow([first = true](const vx::ui::MessageRecord&) mutable {
      if (std::exchange(first, false)) QueueClick(&com02::Command4);
      RunBoxLoop();
    });
    com02* w = Login();
    ASSERT_NE(w, nullptr);
    boxes->OnShow({});
    EXPECT_EQ(boxes->Boxes().size(), 1u) << boxes->Texts().join(" | ").toStdString();
    EXPECT_EQ(boxes->Texts().value(0), c.message);
    EXPECT_TRUE(w->Command1->isEnabled());
    ExpectNoLogin(w);
    Forms::UnloadAll();
    Settle();
    lock.reset();
    WriteAll(drive.storeDb, storeBytes);
    WriteAll(drive.mainDb, mainBytes);
  }
}

// The program's start on a locked main database, in a process of its own: "USCITA" clicked
// while the box is open, then the box answered.
CHILD_ENTRY(QuitWhileTheLockedMainDatabaseIsReported) {
  vx::fs::SetDataRoot(qEnvironmentVariable("VX_ROOT"));
  QStringList texts;
  vx::ui::SetMessageResponder([&texts](const vx::ui::MessageRecord& box) {
    texts << box.text;
    QueueClick(&com02::Command1);
    RunBoxLoop();
    return vx::ui::MsgAnswer::Ok;
  });
  Forms::Show<com02>();
  const bool reported =
      texts.size() == 1 && texts[0].contains(QStringLiteral("è in uso da un altro programma"));
  return reported && Forms::LoadedCount() == 0 ? 0 : 1;
}

TEST_F(LoginTest, UscitaWhileTheLockedDatabaseIsReportedEndsTheStartWithoutACrash) {
  HeldWriteLock lock(drive.mainDb);
  auto child = StartChild("QuitWhileTheLockedMainDatabaseIsReported", {{"VX_ROOT", root.root()}});
  ASSERT_TRUE(child->waitForFinished(60000));
  EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child->exitCode(), 0);
}

TEST_F(LoginTest, ResizingScalesFromTheLoadedLayout) {
  com02* w = Login();
  w->resize(400, 240);
  QCoreApplication::processEvents();
  const QRect frame = w->Frame1->geometry();
  const QRect box = w->passw->geometry();
  const qreal font = w->passw->font().pointSizeF();

  w->resize(w->width() * 2, w->height());
  QCoreApplication::processEvents();
  EXPECT_NEAR(w->passw->x(), box.x() * 2, 1);
  EXPECT_NEAR(w->passw->width(), box.width() * 2, 1);
  EXPECT_EQ(w->passw->height(), box.height());
  EXPECT_NEAR(w->passw->font().pointSizeF(), font, 0.01);

  w->showMinimized();
  QCoreApplication::processEvents();
  w->showNormal();
  w->resize(400, 240);
  QCoreApplication::processEvents();
  EXPECT_EQ(w->Frame1->geometry(), frame);
  EXPECT_EQ(w->passw->geometry(), box);
}

}  // namespace
