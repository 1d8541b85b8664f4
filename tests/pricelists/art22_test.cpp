#include "pricelists/art22.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <random>

#include "common/shared_values.h"
#include "common/windows.h"
#include "data/shipped_schema.h"
#include "demo_corvalia.h"
#include "platform/db/datacontrol.h"
#include "platform/files.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "pricelists/corvalia_fixture.h"
#include "shell/window_registry.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using ui::MsgAnswer;
using ui::MsgIcon;

const QString kSuccess = QStringLiteral("Aggiornamento listino Corvalia effettuato con successo.");
const QString kStopped = "Aggiornamento interrotto: il listino non è stato modificato.";
const QString kQuestion =
    QStringLiteral("Sei sicuro di voler aggiornare il listino del fornitore?");
const QString kMissing = QStringLiteral(
    "ATTENZIONE!!! Nella cartella C:\\programmi\\tolmo\\corvalia\\ non sono stati trovati i file "
    "necessari per l'aggiornamento.");

class Art22Test : public testing::CorvaliaFixture {
 protected:
  void TearDown() override {
    ui::Forms::Unload<art22>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CorvaliaFixture::TearDown();
  }
  art22* Window() { return ui::Forms::Show<art22>(); }
  void Pick(art22* w, const QString& descr) {
    const int row = w->DBCombo3->findText(descr);
    ASSERT_GE(row, 0) << descr.toStdString();
    w->DBCombo3->setCurrentIndex(row);
    emit w->DBCombo3->activated(row);
  }
  // The log's lines without their time.
  static QStringList Log(art22* w) {
    QStringList lines = w->txtStatus->Text().split("\r\n");
    for (QString& l : lines) l = l.mid(QStringLiteral("hh:mm:ss: ").size());
    return lines;
  }
  // Picks CORVALIA SPA and presses "Aggiorna listino", answering Yes.
  void RunImport(art22* w, ScriptedMessages& boxes) {
    Pick(w, "CORVALIA SPA");
    boxes.Answer(MsgAnswer::Yes);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
  }
  void ExpectOldCatalogue() {
    EXPECT_EQ(Count("articolo"), 1);
    EXPECT_EQ(Article(1, "desart").str(), "VECCHIO ARTICOLO");
    EXPECT_EQ(Eans(), QStringList{"1|8000000000001"});
  }
};

TEST_F(Art22Test, LoadListsTheCorvaliaSuppliersAndPickingOneSetsTheSharedValues) {
  common::G().codice_fornitore = 9;
  art22* w = Window();
  EXPECT_EQ(w->Caption(), "Aggiorna Listino CORVALIA");
  EXPECT_EQ(w->Label2->text(), "Aggiorna listino CORVALIA");
  EXPECT_EQ(w->Frame9->title(), "Attenzione");
  EXPECT_EQ(w->Label3->text(),
            "Devi aver scaricato i listini in formato TESTO nella cartella "
            "C:\\Programmi\\tolmo\\corvalia\\");
  EXPECT_EQ(w->Frame5->title(), "Selezionare Fornitore");
  EXPECT_EQ(w->Command1->toolTip(), "Importa fattura ");
  EXPECT_EQ(w->Command2->toolTip(), "Uscita programma");
  EXPECT_FALSE(w->pb1->isVisible());
  EXPECT_EQ(Log(w), QStringList{"Inzio elaborazione ..."});
  EXPECT_EQ(common::G().codice_fornitore, 0);
  EXPECT_EQ(w->modello_b, "C:\\Programmi\\tolmo\\corvalia\\B*.txt");
  EXPECT_EQ(w->DBCombo3->ListTexts(), (QStringList{"CORVALIA SPA", "Ingrosso Corvalia Sud"}));

  Pick(w, "Ingrosso Corvalia Sud");
  EXPECT_EQ(common::G().codice_fornitore, 5);
  EXPECT_EQ(w->codforw->Text(), "5");
  EXPECT_EQ(common::G().descrizione_fornitore.str(), "Ingrosso Corvalia Sud" + QString(24, ' '));

  // Opened again after closing: the load runs again.
  QTest::mouseClick(w->Command2, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(ui::Forms::IsLoaded<art22>());
  w = Window();
  EXPECT_EQ(Log(w), QStringList{"Inzio elaborazione ..."});
  EXPECT_EQ(common::G().codice_fornitore, 0);
  EXPECT_EQ(w->codforw->Text(), "");
  EXPECT_EQ(w->DBCombo3->Text(), "");

  // On another data drive the folder texts name its letter.
  ui::Forms::Unload<art22>();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  common::G().drive = "d";
  w = Window();
  EXPECT_TRUE(w->Label3->text().endsWith("cartella D:\\Programmi\\tolmo\\corvalia\\"));
  EXPECT_EQ(w->modello_a, "D:\\Programmi\\tolmo\\corvalia\\A*.txt");
  ScriptedMessages boxes;
  Pick(w, "CORVALIA SPA");
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  EXPECT_EQ(boxes.Texts(), QStringList{QString(kMissing).replace("C:", "D:")});
}

TEST_F(Art22Test, TheChecksBeforeTheRunTouchNothing) {
  ScriptedMessages boxes;
  art22* w = Window();
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  Pick(w, "CORVALIA SPA");
  QTest::mouseClick(w->Command1, Qt::LeftButton);  // no files at all
  WriteEdgeCaseFiles();
  QDir(root_.Folder("C/Programmi/tolmo/corvalia")).remove("T0612.TXT");
  QTest::mouseClick(w->Command1, Qt::LeftButton);  // no type T file
  WriteEdgeCaseFiles();
  boxes.Answer(MsgAnswer::No);
  QTest::mouseClick(w->Command1, Qt::LeftButton);

  EXPECT_EQ(boxes.Texts(), (QStringList{"ATTENZIONE!!! Devi selezionare il fornitore Corvalia.",
                                        kMissing, kMissing, kQuestion}));
  EXPECT_EQ(boxes.Boxes()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Boxes()[3].icon, MsgIcon::None);
  EXPECT_EQ(boxes.Boxes()[3].buttons, ui::MsgButtons::YesNo);
  // Each refusal ends the log; the operator's No adds nothing.
  EXPECT_EQ(Log(w), (QStringList{"Inzio elaborazione ...", kStopped, kStopped, kStopped}));
  ExpectOldCatalogue();
}

TEST_F(Art22Test, AnImportLogsEachStepDrivesTheBarAndRefusesTheButtonsWhileItRuns) {
  WriteEdgeCaseFiles();
  ScriptedMessages boxes;
  art22* w = Window();
  Pick(w, "CORVALIA SPA");
  boxes.Answer(MsgAnswer::Yes);

  // What the window shows each time the run yields; on the first yield of the type B pass
  // the operator tries both buttons and closing the window.
  QStringList seen;
  bool tried = false;
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const QString last = Log(w).last();
    seen << last + (w->txtStatus->font().bold() ? " [bold]" : "");
    if (!tried && last == "Elaborazione file Tipo B ...") {
      tried = true;
      EXPECT_TRUE(w->pb1->isVisible());
      QTest::mouseClick(w->Command1, Qt::LeftButton);
      QTest::mouseClick(w->Command2, Qt::LeftButton);
      w->close();
    }
  });
  probe.start();
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  probe.stop();

  EXPECT_TRUE(tried);
  EXPECT_TRUE(ui::Forms::IsLoaded<art22>());
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(seen.contains("Pulizia archivi ... Attendere prego"));
  EXPECT_TRUE(seen.contains("Elaborazione file Tipo B ... [bold]"));
  EXPECT_TRUE(seen.contains("Elaborazione file Tipo A ... [bold]"));
  EXPECT_EQ(Log(w), (QStringList{
                        "Inzio elaborazione ...",
                        "Pulizia archivi ... Attendere prego",
                        "Pulizia archivi terminata ...",
                        "Elaborazione file Tipo B ...",
                        "File b0612.TXT: 2 righe non valide scartate (codice o prezzo non "
                        "numerico).",
                        "Elaborazione file Tipo B ... TERMINATA",
                        "Elaborazione file Tipo T ...",
                        "File T0612.TXT: 1 righe non valide scartate (codice o prezzo non "
                        "numerico).",
                        "Elaborazione file Tipo T ...TERMINATA",
                        "Elaborazione file Tipo A ...",
                        "Elaborazione file Tipo A ...TERMINATA",
                    }));
  EXPECT_FALSE(w->txtStatus->font().bold());

  // The success message, then the damaged lines in one message; nothing from the refused
  // clicks.
  ASSERT_EQ(boxes.Texts().size(), 2);
  EXPECT_TRUE(boxes.Texts()[1].startsWith(kSuccess + "\n"));
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(boxes.Texts()[1].endsWith("b0612.TXT riga 6\nb0612.TXT riga 7\nT0612.TXT riga 9"))
      << boxes.Texts()[1].toStdString();

  // The bar shows the last pass, whole; the files stay.
  EXPECT_TRUE(w->pb1->isVisible());
  EXPECT_EQ(w->pb1->Max(), 5);
  EXPECT_EQ(w->pb1->Value(), 5);
  EXPECT_EQ(QDir(root_.Folder("C/Programmi/tolmo/corvalia")).entryList(QDir::Files),
            (QStringList{"A0612.TXT", "b0612.TXT", "B0613.TXT", "T0612.TXT"}));

  EXPECT_EQ(Count("articolo"), 3);
  EXPECT_EQ(Article(777, "desfor").str(), "CORVALIA SPA" + QString(23, ' '));
  EXPECT_FLOAT_EQ(Article(12345, "przart").toDouble(), 123.45f);
  EXPECT_EQ(Count("codean"), 4);
  EXPECT_EQ(common::G().ean_corrente.str(), "'QUO'1234    ");
  EXPECT_EQ(common::G().codart, 54321);
  EXPECT_FALSE(w->busy());
}

TEST_F(Art22Test, AFailureRollsBackToTheOldCatalogueWithAMessage) {
  WriteEdgeCaseFiles();
  ScriptedMessages boxes;
  art22* w = Window();
  Pick(w, "CORVALIA SPA");
  // The catalogue refuses every write, as a read-only file does.
  ASSERT_EQ(sqlite3_exec(catalogue_->handle(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr),
            SQLITE_OK);
  boxes.Answer(MsgAnswer::Yes);
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  sqlite3_exec(catalogue_->handle(), "PRAGMA query_only = OFF", nullptr, nullptr, nullptr);

  ASSERT_EQ(boxes.Texts().size(), 2);
  EXPECT_TRUE(
      boxes.Texts()[1].startsWith("ATTENZIONE!!! Aggiornamento listino Corvalia non "
                                  "riuscito"));
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Critical);
  EXPECT_EQ(Log(w).filter("ERRORE: ").size(), 1);
  EXPECT_EQ(Log(w).last(), kStopped);
  EXPECT_FALSE(w->txtStatus->font().bold());
  ExpectOldCatalogue();
  EXPECT_EQ(catalogue_->transactionDepth(), 0);

  // A catalogue without its barcode table: named before anything is deleted.
  catalogue_->Execute(QStringLiteral("drop table codean"));
  boxes.Clear();
  boxes.Answer(MsgAnswer::Yes);
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  ASSERT_EQ(boxes.Texts().size(), 2);
  EXPECT_EQ(boxes.Texts()[1],
            "ATTENZIONE!!! Nel database C:\\corvalia\\dati.mdb manca la tabella codean.");
  EXPECT_EQ(Count("articolo"), 1);
}

TEST_F(Art22Test, AFileThatIsNoTextOrGivesNoLineLeavesTheCatalogueWithAMessage) {
  catalogue_->Execute(
      QStringLiteral("update articolo set umart = 'PZ', imbart = 6, ivart = 22 where codart = 1"));
  QByteArray random(200 * 1024, '\0');
  std::mt19937 rng(7);
  for (char& c : random) c = static_cast<char>(rng());
  const QString noLines = "non contiene righe di listino utilizzabili";
  const QString notText = "non è un testo Windows-1252 (";
  struct Case {
    const char* what;
    std::function<QByteArray(const QByteArray&)> bad;  // from the good file
    QString reason;
    std::function<void(const QString&)> then = nullptr;  // done to the written file
  };
  const auto same = [](const QByteArray& good) { return good; };
  const Case cases[] = {
      {"0 bytes", [](const QByteArray&) { return QByteArray(); }, noLines},
      {"title line only", [](const QByteArray& good) { return good.left(good.indexOf('\n') + 1); },
       noLines},
      {"random bytes", [&](const QByteArray&) { return random; },
       notText + "contiene un byte nullo"},
      {"UTF-16",
       [](const QByteArray& good) {
         const QString text = fs::FromCp1252(good);
         return QByteArray("\xFF\xFE") +
                QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
       },
       notText + "è codificato in UTF-16)"},
      {"a NUL byte",
       [](const QByteArray& good) {
         QByteArray bytes = good;
         bytes[bytes.indexOf('\n') + 5] = '\0';
         return bytes;
       },
       notText + "contiene un byte nullo alla posizione "},
      {"text after a DOS end mark",
       [](QByteArray b) { return b.insert(b.indexOf('\n', 150) + 1, '\x1A'); },
       "è danneggiato: il byte di fine file (0x1A) alla posizione "},
      {"a link to /dev/zero", same, "è un dispositivo, non un file normale",
       [](const QString& f) { QFile::remove(f) && QFile::link("/dev/zero", f); }},
      {"a FIFO", same, "è una pipe (FIFO), non un file normale",
       [](const QString& f) { QFile::remove(f) && mkfifo(QFile::encodeName(f), 0600); }},
      {"beyond a price list's size", same, "supera i 256 MB",
       [](const QString& f) { QFile(f).resize(fs::kMaxPriceListBytes + 1); }},
  };
  ScriptedMessages boxes;
  art22* w = Window();
  for (const QString file : {"b0612.TXT", "T0612.TXT", "A0612.TXT"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(file.toStdString() + ", " + c.what);
      WriteEdgeCaseFiles();
      QFile good(root_.Folder("C/Programmi/tolmo/corvalia") + "/" + file);
      ASSERT_TRUE(good.open(QIODevice::ReadOnly));
      WriteText(file, c.bad(good.readAll()));
      if (c.then) c.then(good.fileName());
      boxes.Clear();
      RunImport(w, boxes);
      ASSERT_EQ(boxes.Texts().size(), 2);
      EXPECT_TRUE(boxes.Texts()[1].startsWith("Il file " + file + " " + c.reason))
          << boxes.Texts()[1].toStdString();
      EXPECT_TRUE(boxes.Texts()[1].endsWith(": listino non aggiornato"));
      EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Critical);
      ExpectOldCatalogue();
      EXPECT_EQ(Article(1, "umart").str(), "PZ");
      EXPECT_EQ(Article(1, "imbart").toLong(), 6);
      good.remove();  // no FIFO or link is written through by the next case
    }
  }
  EXPECT_EQ(Log(w).last(), kStopped);
}

TEST_F(Art22Test, ALastLineCutShortIsListedAsIncompleteAndTheImportGoesOn) {
  using tools::CorvaliaLineA;
  using tools::CorvaliaLineB;
  using tools::CorvaliaLineT;
  // Each file ends in the middle of its third line, with no line end: type B inside the
  // price, type T inside the barcode, type A after the pack, short of the record's end.
  WriteText("B0101.TXT",
            CrLf({CorvaliaLineB("000001001", "UNO", 100), CorvaliaLineB("000001002", "DUE", 200)}) +
                fs::ToCp1252(CorvaliaLineB("000001003", "TRE", 300).left(66)));
  WriteText(
      "T0101.TXT",
      CrLf({CorvaliaLineT("000001001", QLatin1Char('E'), "8001234567890"),
            CorvaliaLineT("000001002", QLatin1Char('E'), "8001234567906")}) +
          fs::ToCp1252(CorvaliaLineT("000001003", QLatin1Char('E'), "8001234567913").left(20)));
  WriteText("A0101.TXT", CrLf({CorvaliaLineA("000001001", "04", "PZ", 6),
                               CorvaliaLineA("000001002", "10", "CT", 12)}) +
                             fs::ToCp1252(CorvaliaLineA("000001002", "22", "KG", 24).left(102)));
  ScriptedMessages boxes;
  art22* w = Window();
  RunImport(w, boxes);

  ASSERT_EQ(boxes.Texts().size(), 2);
  EXPECT_TRUE(boxes.Texts()[1].startsWith(kSuccess + "\n"));
  EXPECT_TRUE(boxes.Texts()[1].endsWith(
      "B0101.TXT riga 3 (riga incompleta)\nT0101.TXT riga 3 (riga incompleta)\n"
      "A0101.TXT riga 3 (riga incompleta)"))
      << boxes.Texts()[1].toStdString();
  for (const char* file : {"B0101.TXT", "T0101.TXT", "A0101.TXT"}) {
    EXPECT_TRUE(Log(w).contains(QStringLiteral("File %1: l'ultima riga (riga 3) è incompleta e "
                                               "non è stata importata.")
                                    .arg(file)))
        << file;
  }
  EXPECT_EQ(Count("articolo"), 2);
  EXPECT_EQ(Eans(), (QStringList{"1001|8001234567890", "1002|8001234567906"}));
  EXPECT_EQ(Article(1002, "umart").str(), "CT");
  EXPECT_EQ(Article(1002, "imbart").toLong(), 12);
}

TEST_F(Art22Test, ACatalogueReachedThroughALinkOutOfTheDataRootIsNeitherReadNorWritten) {
  QTemporaryDir outside;
  const QString outsideDb = outside.path() + "/dati.mdb";
  data::CreateSupplierDatabase(outsideDb);
  db::Database::Open(outsideDb)->Execute(
      QStringLiteral("insert into articolo (codart, desart) values (5, 'FUORI')"));
  QFile file(outsideDb);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  // The run on drive D, whose corvalia folder is a link out of the root.
  WriteEdgeCaseFiles();
  const QString from = root_.Folder("C/Programmi/tolmo/corvalia");
  const QString to = root_.Folder("D/Programmi/tolmo/corvalia");
  for (const char* name : {"A0612.TXT", "b0612.TXT", "T0612.TXT"}) {
    ASSERT_TRUE(QFile::copy(from + "/" + name, to + "/" + name));
  }
  ASSERT_TRUE(QFile::link(outside.path(), root_.root() + "/D/corvalia"));
  common::G().drive = "D";
  ScriptedMessages boxes;
  art22* w = Window();
  RunImport(w, boxes);

  ASSERT_EQ(boxes.Texts().size(), 2);
  EXPECT_EQ(boxes.Texts()[1],
            "Impossibile aprire il database D:\\corvalia\\dati.mdb: il collegamento D:\\corvalia "
            "porta fuori dal disco dei dati. Dettaglio tecnico: destinazione del collegamento: " +
                outside.path());
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Critical);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  EXPECT_EQ(Log(w), (QStringList{"Inzio elaborazione ...", kStopped}));
}

TEST_F(Art22Test, TheMainWindowEntryOpensTheWindow) {
  shell::RegisterProgramWindows();
  ASSERT_TRUE(common::HasWindow("art22"));
  ASSERT_TRUE(common::OpenWindow("art22"));
  EXPECT_TRUE(ui::Forms::IsLoaded<art22>());
}

}  // namespace
}  // namespace vx::pricelists
