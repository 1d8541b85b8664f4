#include "pricelists/art22.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/shared_values.h"
#include "common/windows.h"
#include "platform/db/datacontrol.h"
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
  EXPECT_EQ(Log(w), QStringList{"Inzio elaborazione ..."});
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
  ASSERT_EQ(boxes.Texts().size(), 3);
  EXPECT_EQ(boxes.Texts()[1], kSuccess);
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(boxes.Texts()[2].contains("b0612.TXT riga 6\nb0612.TXT riga 7\nT0612.TXT riga 9"))
      << boxes.Texts()[2].toStdString();

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
  EXPECT_TRUE(Log(w).last().startsWith("ERRORE: ")) << Log(w).last().toStdString();
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

TEST_F(Art22Test, TheMainWindowEntryOpensTheWindow) {
  shell::RegisterProgramWindows();
  ASSERT_TRUE(common::HasWindow("art22"));
  ASSERT_TRUE(common::OpenWindow("art22"));
  EXPECT_TRUE(ui::Forms::IsLoaded<art22>());
}

}  // namespace
}  // namespace vx::pricelists
