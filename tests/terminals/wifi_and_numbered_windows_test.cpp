// The Wi-Fi table window and the two windows that number their readings, driven through
// their buttons against a real comparison table and the Wi-Fi terminal's database.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "common/shared_values.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/ui/form.h"
#include "support/other_program_lock.h"
#include "support/qt_print.h"
#include "support/requirements.h"
#include "terminals/cnfpv5.h"
#include "terminals/cnfpv8.h"
#include "terminals/cnfpv9.h"
#include "terminals/terminal_fixture.h"

namespace vx::terminals::testing {
namespace {

const QString kNoDatabase = " Attenzione !! Data Base confronta prezzi non esiste ";
const QString kNoFile = " Attenzione !! File terminalino non esiste ";
const QString kDone = " Elaborazione terminata con successo ";
const QString kWifiDb = "C:\\brunelvatto\\dati.mdb";
const QString k630File = "C:\\archivio.txt";
const QString kPdt6100File = "C:\\brunelvatto\\filedati.001";

template <class W>
W* Confirm() {
  W* w = ui::Forms::Show<W>();
  if (w) QTest::mouseClick(w->Command1, Qt::LeftButton);
  return w;
}

// A General Code 630 line: code in 1-13, quantity in 14-21.
QString Line630(const QString& code, const QString& quantity) {
  return code.leftJustified(13, ' ') + quantity.leftJustified(8, ' ') + "fine";
}

// A PDT6100 record of 22 characters.
QString Record(const QString& code, const QString& quantity) {
  return code.leftJustified(13, ' ') + quantity.leftJustified(7, ' ') + "..";
}

class WifiAndNumberedWindowsTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    AddArticle("0000012345678", {2.10, 1.90, 1.80, 0});     // slot 3 alone lowest
    AddArticle("8001234567890", {1.00, 2.00, 3.00, 4.00});  // slot 1 alone lowest
    AddArticle("8009999999999", {0, 0, 0, 0});              // no cost
    wifi_ = db::Database::Open(kWifiDb);
  }
  void TearDown() override {
    wifi_.reset();
    TerminalTest::TearDown();
  }

  void AddOrdine(const Variant& eanrig, const Variant& colli) {
    wifi_->Execute("insert into ordine (eanrig, colli) values (?, ?)", {eanrig, colli});
  }
  int OrdineRows() const {
    return int(wifi_->OpenRecordset("select * from ordine")->RecordCount());
  }
  double Packages(const QString& ean, int slot) const {
    return Column(ean, QString("colli%1").arg(slot)).toDouble();
  }

  std::shared_ptr<db::Database> wifi_;
};

TEST_F(WifiAndNumberedWindowsTest, WifiTakesEveryRowOfOrdineAndEmptiesIt) {
  AddOrdine("0000012345678", 0);  // 0 becomes 1
  AddOrdine("12345678", 3);       // 8 digits: blank-filled, not found, still deleted
  AddOrdine("8001234567890", 2);
  AddOrdine("8001234567890", 5);                // the later row replaces
  AddOrdine(Variant::null(), Variant::null());  // no code: listed, and the row stays
  boxes_->Answer(ui::MsgAnswer::Yes);
  cnfpv5* w = Confirm<cnfpv5>();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Caption(), "Conferma confronta PV WI-FI");
  EXPECT_EQ(w->brunef->objectName(), "brunef");
  ASSERT_EQ(boxes_->Texts(),
            (QStringList{"Vuoi procedere ? ...",
                         "ATTENZIONE!!! Elaborazione terminata: 1 lettura non registrata, elencata "
                         "nella stampa con il numero della riga; le righe restano nella tabella "
                         "ordine."}));
  EXPECT_EQ(boxes_->Boxes()[0].icon, ui::MsgIcon::None);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
  EXPECT_EQ(Packages("0000012345678", 3), 1);
  EXPECT_EQ(Packages("8001234567890", 1), 5);
  EXPECT_EQ(Column("8001234567890", "sel").str(), "X");
  EXPECT_EQ(OrdineRows(), 1);
  EXPECT_EQ(common::G().ean_corrente.str(), QString(13, ' '));  // the last row's
  EXPECT_FLOAT_EQ(common::G().quantita, 1);

  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString printed = PrintedText();
  EXPECT_TRUE(printed.contains(QRegularExpression("Codice non trovato: 12345678\\s+Quantità: 3")))
      << printed.toStdString();
  EXPECT_EQ(printed.count("Codice non trovato"), 1);
  EXPECT_TRUE(printed.contains("Riga 5 non registrata (codice mancante)")) << printed.toStdString();
  wifi_->Execute("delete from ordine");

  // An empty table: the message, nothing printed, the window goes.
  ProcessDeferredDeletes();
  boxes_->Clear();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Confirm<cnfpv5>();
  EXPECT_EQ(boxes_->Texts().last(), kDone);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
}

TEST_F(WifiAndNumberedWindowsTest, WifiNoMissingTableOrAFailureLoseNoReading) {
  AddOrdine("8001234567890", 2);
  AddOrdine("0000012345678", 4);
  // No: nothing read, the window goes.
  boxes_->Answer(ui::MsgAnswer::No);
  Confirm<cnfpv5>();
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
  EXPECT_EQ(OrdineRows(), 2);

  // A failure on the second row: both tables as they were, the window goes.
  BreakRow("0000012345678");
  ProcessDeferredDeletes();
  boxes_->Clear();
  boxes_->Answer(ui::MsgAnswer::Yes);
  Confirm<cnfpv5>();
  ASSERT_EQ(boxes_->Texts().size(), 2);
  EXPECT_TRUE(boxes_->Texts()[1].startsWith("ATTENZIONE")) << boxes_->Texts()[1].toStdString();
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
  EXPECT_EQ(OrdineRows(), 2);
  EXPECT_EQ(Packages("8001234567890", 1), 0);
  EXPECT_EQ(Column("8001234567890", "sel").str(), " ");

  // No table, then no database: the file message, the window goes, nothing changes.
  wifi_->Execute("drop table ordine");
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    if (pass == 1) {
      wifi_.reset();
      ASSERT_TRUE(QFile::rename(fs::HostPath(kWifiDb), fs::HostPath(kWifiDb) + ".via"));
    }
    ProcessDeferredDeletes();
    boxes_->Clear();
    boxes_->Answer(ui::MsgAnswer::Yes);
    Confirm<cnfpv5>();
    EXPECT_EQ(boxes_->Texts().last(), kNoFile);
    EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
    EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
  }
  EXPECT_EQ(Packages("8001234567890", 1), 0);
}

TEST_F(WifiAndNumberedWindowsTest, WifiTableThroughALinkOutOfTheDataRootIsNotOpened) {
  AddOrdine("8001234567890", 2);
  wifi_.reset();
  const QString file = fs::HostPath(kWifiDb);
  const QString folder = QFileInfo(file).absolutePath();
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  // The database itself, then its folder, moved out of the data root and linked back.
  const std::pair<QString, QString> moved[] = {
      {file, "il file è un collegamento che porta fuori dal disco dei dati"},
      {folder, "il collegamento C:\\brunelvatto porta fuori dal disco dei dati"}};
  for (const auto& [original, cause] : moved) {
    SCOPED_TRACE(original.toStdString());
    const QString target = outside.filePath(QFileInfo(original).fileName());
    ASSERT_TRUE(QDir().rename(original, target));
    ASSERT_TRUE(QFile::link(target, original));
    ProcessDeferredDeletes();
    boxes_->Clear();
    boxes_->Answer(ui::MsgAnswer::Yes);
    Confirm<cnfpv5>();
    EXPECT_EQ(boxes_->Texts().last(),
              "Impossibile aprire il database C:\\brunelvatto\\dati.mdb: " + cause +
                  ". Dettaglio tecnico: destinazione del collegamento: " + target);
    EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
    EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
    EXPECT_EQ(Packages("8001234567890", 1), 0);
    ASSERT_TRUE(QFile::remove(original));
    ASSERT_TRUE(QDir().rename(target, original));
    wifi_ = db::Database::Open(kWifiDb);
    EXPECT_EQ(OrdineRows(), 1) << "nothing read or deleted through the link";
    wifi_.reset();
  }
}

// The terminal's software holds its database: the window says so, not that it is missing.
TEST_F(WifiAndNumberedWindowsTest, WifiSaysItsDatabaseIsInUseWhileAnotherProgramLocksIt) {
  AddOrdine("8001234567890", 2);
  sqlite3_busy_timeout(wifi_->handle(), 50);  // the window's connection gives up at once
  {
    OtherProgramLock terminalSoftware(fs::HostPath(kWifiDb), OtherProgramLock::Lock::Exclusive);
    ASSERT_TRUE(terminalSoftware.held());
    boxes_->Answer(ui::MsgAnswer::Yes);
    Confirm<cnfpv5>();
  }
  ASSERT_EQ(boxes_->Texts().size(), 2);
  EXPECT_TRUE(boxes_->Texts()[1].contains(
      "Il database 'C:\\brunelvatto\\dati.mdb' è in uso da un altro programma."))
      << boxes_->Texts()[1].toStdString();
  EXPECT_EQ(boxes_->Boxes().back().icon, ui::MsgIcon::Critical);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv5>());
  EXPECT_EQ(OrdineRows(), 1);
  EXPECT_EQ(Packages("8001234567890", 1), 0);
}

TEST_F(WifiAndNumberedWindowsTest, GeneralCode630AddsUpAndNumbersItsReadings) {
  db_->Execute("update articoli set colli1 = 3 where vedovo = '8001234567890'");
  WriteSource(k630File, {Line630("8001234567890", "2"), Line630("0000012345678", "   0"),
                         Line630("9999999999999", "7"), Line630("0000012345678", "12,5"),
                         Line630("8001234567890", "4"), Line630("8009999999999", "1")});
  bool fileAtMessage = false;
  boxes_->OnShow([&](const ui::MessageRecord&) { fileAtMessage = SourceExists(k630File); });
  cnfpv9* w = Confirm<cnfpv9>();
  EXPECT_EQ(w->Caption(), "Conferma confronta General Code 630 ");
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_TRUE(fileAtMessage) << "the file goes once the window has closed";
  EXPECT_FALSE(SourceExists(k630File));
  EXPECT_FALSE(ui::Forms::IsLoaded<cnfpv9>());
  // Slot 1: 3 + 2 + 4, the others kept; the zero reading takes no number, the code not
  // found uses its number up.
  EXPECT_EQ(Packages("8001234567890", 1), 9);
  EXPECT_EQ(Column("8001234567890", "sequenza").toDouble(), 4);
  EXPECT_EQ(Packages("0000012345678", 3), 12);
  EXPECT_EQ(Column("0000012345678", "sequenza").toDouble(), 3);
  // No cost at all: no package, but the number and the mark.
  EXPECT_EQ(Packages("8009999999999", 2), 0);
  EXPECT_EQ(Column("8009999999999", "sequenza").toDouble(), 5);
  EXPECT_EQ(Column("8009999999999", "sel").str(), "X");

  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString printed = PrintedText();
  EXPECT_TRUE(
      printed.contains(QRegularExpression("Codice non trovato: 9999999999999\\s+Quantità: 7")))
      << printed.toStdString();
}

TEST_F(WifiAndNumberedWindowsTest, Pdt6100ReadsTheFirstLineOnly) {
  const QString head(104, 'h');
  WriteSource(kPdt6100File, {head + Record("8001234567890", "2") + Record("0000012345678", "0") +
                                 Record("8001234567890", "  5") + "7",
                             head + Record("0000012345678", "9")});
  cnfpv8* w = Confirm<cnfpv8>();
  EXPECT_EQ(w->Caption(), "Conferma confronta PV-PDT6100 ");
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_EQ(Packages("8001234567890", 1), 7);
  EXPECT_EQ(Column("8001234567890", "sequenza").toDouble(), 2);
  EXPECT_EQ(Column("0000012345678", "sel").str(), " ");  // zero, then the second line
  EXPECT_FALSE(SourceExists(kPdt6100File));

  // An empty file: no reading, the message, the file goes.
  ProcessDeferredDeletes();
  boxes_->Clear();
  WriteSource(kPdt6100File, {});
  Confirm<cnfpv8>();
  EXPECT_EQ(boxes_->Texts(), QStringList{kDone});
  EXPECT_FALSE(SourceExists(kPdt6100File));
}

TEST_F(WifiAndNumberedWindowsTest, NumberedWindowsKeepTheirFileWhenTheDatabaseIsMissing) {
  WriteSource(k630File, {Line630("8001234567890", "2")});
  WriteSource(kPdt6100File, {QString(104, 'h') + Record("8001234567890", "2")});
  db_.reset();
  ASSERT_TRUE(QFile::rename(root_->root() + "/C/Programmi/tolmo/dizizOrezav.mdb",
                            root_->root() + "/C/Programmi/tolmo/altro.mdb"));
  for (int window = 0; window < 2; ++window) {
    SCOPED_TRACE(window);
    boxes_->Clear();
    TerminalWindow* w = window == 0 ? static_cast<TerminalWindow*>(Confirm<cnfpv8>())
                                    : static_cast<TerminalWindow*>(Confirm<cnfpv9>());
    EXPECT_EQ(boxes_->Texts(), QStringList{kNoDatabase});
    EXPECT_TRUE(w->IsLoaded());
    EXPECT_FALSE(w->Command1->isHidden());
  }
  EXPECT_TRUE(SourceExists(k630File));
  EXPECT_TRUE(SourceExists(kPdt6100File));
}

}  // namespace
}  // namespace vx::terminals::testing
