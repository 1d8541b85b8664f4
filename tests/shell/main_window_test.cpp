// The main window's load, activation, toolbar and closing against a real data drive.
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "common/shared_values.h"
#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "data/comparison_load.h"
#include "data/store_record.h"
#include "masterdata/ali01.h"
#include "platform/clock.h"
#include "platform/db/recordset.h"
#include "platform/sys/processes.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "shell/Main.h"
#include "shell/com02.h"
#include "shell/shell_fixture.h"
#include "terminals/cnfpv2.h"

using vx::Variant;
using vx::common::G;
using vx::shell::Main;
using vx::ui::Forms;

namespace {

class MainWindowTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    vx::SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); });
    // What the login leaves behind.
    G().drive = "C";
    G().percorso_db = "C:\\Programmi\\tolmo\\dizizOrezav.mdb";
    G().percorso_client = "C:\\pelko\\client.mdb";
    G().codcommesso = 1;
  }
  void TearDown() override {
    ShellTest::TearDown();
    vx::SetClock({});
  }

  void WriteStoreRecord(const QString& name, const QString& code) const {
    vx::data::rec_negozio r;
    r.nome_negozio = name;
    r.codice_negozio = code;
    ASSERT_TRUE(vx::data::WriteStoreRecord(drive.storeRecordFile, r));
  }
  void SetStoreColumn(const QString& column, const Variant& value) const {
    MainDb()->Execute("update utenti set [" + column + "] = ? where codutente = 1", {value});
  }
  Main* Load() { return Forms::Get<Main>(); }
};

TEST_F(MainWindowTest, LoadReadsTheStoreFilesAndSettings) {
  WriteStoreRecord("BOTTEGA", "1 ");
  SetStoreColumn("dscutente", "MARKET CENTRO");
  SetStoreColumn("dimeti", 0);
  SetStoreColumn("calpv", Variant::null());
  SetStoreColumn("fbiz", Variant::null());
  SetStoreColumn("codlis", "  ");
  SetStoreColumn("ncr", "PDT");
  SetStoreColumn("ultimadata", Variant(QDate(2026, 11, 30)));
  StoreDb()->Execute("update inizio set annox = 2025 where codute = 1 and codope = 1");

  Main* m = Load();
  EXPECT_EQ(G().ragione_sociale.str(), "MARKET CENTRO" + QString(17, ' '));
  EXPECT_EQ(G().dimeti, 75);
  EXPECT_EQ(G().calpv.str(), "N");
  EXPECT_EQ(G().fbiz, 0);
  EXPECT_EQ(G().codlis.str(), "01");
  EXPECT_EQ(G().tipo_terminale, "PDT");
  EXPECT_EQ(G().anno, 2025);
  EXPECT_EQ(G().codope, 1);
  EXPECT_EQ(m->l3->text(), "30/11/2026");
  EXPECT_EQ(m->dataw->text(), "09/12/2026");
  EXPECT_EQ(m->annow->text(), "2025");
  EXPECT_EQ(m->Label2->text(), G().percorso_db);
  EXPECT_EQ(m->Caption(), "Punto Vendita  1 MARKET CENTRO" + QString(17, ' ') + " 2025");
  EXPECT_FALSE(m->scadenze->isVisibleTo(m));
  EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(MainWindowTest, StoreCodeAndNullsFallBackToTheirDefaults) {
  WriteStoreRecord("BOTTEGA", "  ");
  SetStoreColumn("codlis", Variant::null());
  SetStoreColumn("dscutente", Variant::null());
  SetStoreColumn("tipocassa", Variant::null());
  StoreDb()->Execute("delete from inizio");
  Load();
  EXPECT_EQ(G().codutente, 1);  // a blank code gives store 1
  EXPECT_EQ(G().codlis.str(), "01");
  EXPECT_EQ(G().ragione_sociale.str(), QString(30, ' '));
  EXPECT_EQ(G().anno, 2026);  // no inizio row: the current year
  EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(MainWindowTest, AStoreWithoutItsRowKeepsTheRecordFileName) {
  WriteStoreRecord("NEGOZIO DUE", "2 ");
  Main* m = Load();
  EXPECT_EQ(G().codutente, 2);
  EXPECT_EQ(G().ragione_sociale.str(), "NEGOZIO DUE" + QString(19, ' '));
  EXPECT_EQ(m->l1->text(), G().ragione_sociale.str());
  EXPECT_TRUE(m->l3->text().isEmpty());
}

TEST_F(MainWindowTest, ThePrinterTableIsRebuiltFromTheInstalledPrinters) {
  StoreDb()->Execute("insert into stampanti (codice, descrizione) values (7, 'VECCHIA')");
  vx::print::SetPrinterList(QStringList{"Ufficio", "Magazzino", "PDF"});
  Load();
  auto rs = StoreDb()->OpenRecordset("select * from stampanti order by codice");
  QStringList rows;
  for (; !rs->Eof(); rs->MoveNext()) {
    rows << rs->Field("codice").str() + "=" + rs->Field("descrizione").str();
  }
  EXPECT_EQ(rows, (QStringList{"0=Ufficio", "1=Magazzino", "2=PDF"}));
}

TEST_F(MainWindowTest, TheLogFileIsEmptiedAndAMissingLogFolderIsNoObstacle) {
  const QString log = root.WriteFile("C/Programmi/tolmo/log_tolmo.txt", "vecchio\r\n");
  Load();
  EXPECT_EQ(QFileInfo(log).size(), 0);
}

TEST_F(MainWindowTest, TheBackgroundProgramIsStartedOnlyWhenItsFileIsThere) {
  const QString marker = root.root() + "/avviato";
  Load();
  Forms::UnloadAll();
  Settle();
  EXPECT_FALSE(QFileInfo::exists(marker));

  const QString program = root.WriteFile("C/Programmi/tolmo/vosk2.exe",
                                         ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
  QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
  Load();
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 5000);
}

TEST_F(MainWindowTest, ActivationNamesTheSupplierButtons) {
  auto db = MainDb();
  db->Execute("delete from fornitori");
  db->Execute(
      "insert into fornitori (codice, descr, percorso) values (1, 'DISTRIBUZIONE NORD', "
      "'C:\\x\\dati.mdb')");
  db->Execute(
      "insert into fornitori (codice, descr, percorso) values (2, '   ', 'C:\\y\\dati.mdb')");
  db->Execute(
      "insert into fornitori (codice, descr, percorso) values (3, NULL, 'C:\\z\\dati.mdb')");
  db->Execute(
      "insert into fornitori (codice, descr, percorso) values (4, 'ALFA', 'C:\\w\\dati.mdb')");
  Main* m = Load();
  Activate(m);
  EXPECT_EQ(m->Buttons[5]->text(), "DISTRIBUZIO");
  EXPECT_TRUE(m->Buttons[5]->isVisible());
  EXPECT_FALSE(m->Buttons[6]->isVisible());
  EXPECT_FALSE(m->Buttons[7]->isVisible());
  EXPECT_EQ(m->Buttons[8]->text(), "ALFA");
  EXPECT_FALSE(Forms::IsLoaded<vx::shell::com02>());
}

TEST_F(MainWindowTest, ActivationWithoutAnOperatorAsksForTheLogin) {
  G().codcommesso = 0;
  Main* m = Load();
  Activate(m);
  EXPECT_TRUE(Forms::IsLoaded<vx::shell::com02>());
  EXPECT_TRUE(Forms::IsLoaded<Main>());
}

TEST_F(MainWindowTest, ArticoliOpensTheLoaderOnAnEmptyTableAndTheGridOtherwise) {
  Main* m = Load();
  m->Toolbar1_ButtonClick("lis");
  EXPECT_TRUE(Forms::IsLoaded<vx::comparison::cnf01>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison::cnf02>());
  Forms::Unload<vx::comparison::cnf01>();
  Settle();

  MainDb()->Execute(
      "insert into articoli (vedovo, desart, sel) values ('8000000000017', 'ACQUA', ' ')");
  m->Toolbar1_ButtonClick("lis");
  EXPECT_TRUE(Forms::IsLoaded<vx::comparison::cnf02>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison::cnf01>());
}

TEST_F(MainWindowTest, ArticoliOnAnUnfinishedLoadOpensTheLoaderWithAWordNotTheGrid) {
  MainDb()->Execute(
      "insert into articoli (vedovo, desart, sel) values ('8000000000017', 'ACQUA', ' ')");
  vx::data::MarkLoadBegun(*MainDb());
  Main* m = Load();
  m->Toolbar1_ButtonClick("lis");
  ASSERT_TRUE(Forms::IsLoaded<vx::comparison::cnf01>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison::cnf02>());
  Forms::IfLoaded<vx::comparison::cnf01>([](vx::comparison::cnf01& w) {
    EXPECT_TRUE(w.txtStatus->Text().contains(
        "ATTENZIONE: l'ultima elaborazione dei listini non è terminata"))
        << w.txtStatus->Text().toStdString();
  });
  Forms::Unload<vx::comparison::cnf01>();
  Settle();

  vx::data::MarkLoadEnded(*MainDb());
  m->Toolbar1_ButtonClick("lis");
  EXPECT_TRUE(Forms::IsLoaded<vx::comparison::cnf02>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison::cnf01>());
}

TEST_F(MainWindowTest, TheConversionTableMenuOpensItsWindow) {
  Main* m = Load();
  ASSERT_TRUE(m->tabMolt->isEnabled());
  m->tabMolt->trigger();
  EXPECT_TRUE(Forms::IsLoaded<vx::masterdata::ali01>());
  Forms::Unload<vx::masterdata::ali01>();
  Settle();
}

TEST_F(MainWindowTest, OrdineOpensOnlyTheWindowOfAKnownTerminalCode) {
  EXPECT_EQ(Main::TerminalWindowFor("PDT"), "cnfpv2");
  EXPECT_EQ(Main::TerminalWindowFor(" 630 "), "cnfpv9");
  EXPECT_EQ(Main::TerminalWindowFor(""), "cnfpv");
  EXPECT_EQ(Main::TerminalWindowFor("pdt"), "");  // case counts
  EXPECT_EQ(Main::TerminalWindowFor("XYZ"), "");
  const struct {
    const char* ncr;
    bool opensPdt;
  } stores[] = {{" PDT", true}, {"pdt", false}, {"XYZ", false}};
  for (const auto& store : stores) {
    SCOPED_TRACE(store.ncr);
    SetStoreColumn("ncr", store.ncr);
    Main* m = Load();
    EXPECT_TRUE(m->Buttons[3]->isEnabled());
    const int before = Forms::LoadedCount();
    m->Toolbar1_ButtonClick("impOrd");
    EXPECT_EQ(Forms::IsLoaded<vx::terminals::cnfpv2>(), store.opensPdt);
    EXPECT_EQ(Forms::LoadedCount(), before + (store.opensPdt ? 1 : 0));
    Forms::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  EXPECT_TRUE(boxes->Texts().isEmpty());

  // No store: the message and nothing else.
  SetStoreColumn("ncr", "PDT");
  Main* m = Load();
  G().codutente = 0;
  m->Toolbar1_ButtonClick("impOrd");
  EXPECT_EQ(boxes->Texts(), QStringList{"ATTENZIONE !!!. Utente non selezionato"});
  EXPECT_EQ(boxes->Boxes()[0].icon, vx::ui::MsgIcon::Information);
  EXPECT_FALSE(Forms::IsLoaded<vx::terminals::cnfpv2>());
}

TEST_F(MainWindowTest, AnOrderingProgramThatCannotStartIsReported) {
  Main* m = Load();
  Activate(m);
  m->Toolbar1_ButtonClick("far5");  // the demo row names a program that is not there
  ASSERT_EQ(boxes->Boxes().size(), 1u);
  EXPECT_TRUE(boxes->Texts()[0].startsWith("ATTENZIONE")) << boxes->Texts()[0].toStdString();
  EXPECT_EQ(boxes->Boxes()[0].icon, vx::ui::MsgIcon::Critical);
}

TEST_F(MainWindowTest, UnreadableSuppliersStillLetUscitaCloseTheWindow) {
  Main* m = Load();
  MainDb()->Execute("drop table fornitori");
  m->Toolbar1_ButtonClick("far5");  // no program can be known: nothing is started
  ASSERT_EQ(boxes->Boxes().size(), 1u);
  EXPECT_FALSE(boxes->Texts()[0].contains("avviare")) << boxes->Texts()[0].toStdString();
  m->Toolbar1_ButtonClick("usci");
  EXPECT_EQ(boxes->Boxes().size(), 2u);
  EXPECT_FALSE(Forms::IsLoaded<Main>());
}

// A child process whose executable has the given file name (a copy of sleep).
qint64 StartNamed(const QString& folder, const QString& name, QProcess& p) {
  const QString exe = folder + "/" + name;
  QFile::copy("/bin/sleep", exe);
  QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
  p.start(exe, {"30"});
  return p.waitForStarted() ? p.processId() : 0;
}

TEST_F(MainWindowTest, ClosingStopsTheOrderingProgramsAmongHundredsOfOtherProcesses) {
  // A desktop's worth of processes that are no Windows programs: the list leaves them out,
  // so its limit of 100 entries does not stop the closing from stopping anything.
  std::vector<std::unique_ptr<QProcess>> desktop;
  for (int i = 0; i < 120; ++i) {
    desktop.push_back(std::make_unique<QProcess>());
    desktop.back()->start("/bin/sleep", {"30"});
  }
  for (auto& p : desktop) ASSERT_TRUE(p->waitForStarted());

  const QString folder = root.Folder("bin");
  QProcess varu, xsda, other;
  ASSERT_TRUE(StartNamed(folder, "VARU.EXE", varu));
  ASSERT_TRUE(StartNamed(folder, "xsda.exe", xsda));
  ASSERT_TRUE(StartNamed(folder, "cassa.exe", other));

  Load()->mnuesci_Click();
  EXPECT_TRUE(varu.waitForFinished(5000));
  EXPECT_TRUE(xsda.waitForFinished(5000));
  EXPECT_FALSE(other.waitForFinished(300));
  other.kill();
  for (auto& p : desktop) {
    EXPECT_EQ(p->state(), QProcess::Running);
    p->kill();
    p->waitForFinished();
  }
  other.waitForFinished();
}

TEST_F(MainWindowTest, ClosingWithAHundredProcessesListedStopsNothing) {
  std::vector<qint64> stopped;
  Main* m = Load();
  m->ListKillProcess1 = std::make_unique<vx::sys::ProcessList>(
      [] {
        std::vector<vx::sys::ProcessInfo> list;
        for (int i = 0; i < 100; ++i) list.push_back({1000 + i, "varu.exe"});
        return list;
      },
      [&stopped](qint64 pid) {
        stopped.push_back(pid);
        return true;
      });
  m->mnuesci_Click();
  EXPECT_TRUE(stopped.empty());
}

TEST_F(MainWindowTest, ANarrowWindowGivesThePictureNoWidth) {
  Main* m = Load();
  m->Show();
  m->resize(150, 400);  // 2250 twips: narrower than 3240
  QCoreApplication::processEvents();
  EXPECT_EQ(m->Picture1->width(), 0);
  EXPECT_EQ(m->Text1->x(), 4);  // 60 twips
}

}  // namespace
