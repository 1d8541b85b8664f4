#include "comparison/cnf01.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "common/shared_values.h"
#include "comparison/cnf02.h"
#include "data_drive.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "support/file_bytes.h"
#include "support/loader_fixture.h"
#include "support/scripted_messages.h"

namespace vx::comparison {
namespace {

using testing::LoaderFixture;

const QString kEan = QStringLiteral("8001234567890");

class Cnf01Test : public LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    varu_ = AddSupplier(1, "VARU", "varu", 2.5);
    diza_ = AddSupplier(3, "DIZA", "diza", 10);
    main_->Execute(
        "update fornitori set flagconv = '1', flagdes = '0', creazioneordine = 1 "
        "where codice = 1");
    AddPriced(varu_, 1, kEan, 2, "VARU PASTA");
    AddPriced(diza_, 7, kEan, 4, "DIZA PASTA");
    AddPriced(diza_, 8, "8000000000008", 1, "DIZA RISO");
  }
  void TearDown() override {
    ui::Forms::Unload<cnf02>();
    ui::Forms::Unload<cnf01>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LoaderFixture::TearDown();
  }
  cnf01* Window() { return ui::Forms::Get<cnf01>(); }
  Variant Supplier(int codice, const QString& column) {
    return Scalar(QStringLiteral("select %1 from fornitori where codice = ?").arg(column), codice);
  }
  Variant LastComparisonDate() {
    return Scalar(QStringLiteral("select ultimadata from utenti where codutente = 1"));
  }
  // The status lines without their time.
  static QStringList Lines(cnf01* w) {
    QStringList lines = w->txtStatus->Text().split("\r\n");
    for (QString& l : lines) l = l.mid(QStringLiteral("10:30:00: ").size());
    return lines;
  }
  QString varu_, diza_;
};

TEST_F(Cnf01Test, LoadFillsTheSlotsOfTheSupplierRows) {
  AddSupplierRow(7, "ALTRO", "C:\\altro\\dati.mdb");  // not a slot: ignored
  cnf01* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Caption(), "Confronta listini Fornitori");
  EXPECT_EQ(w->objectName(), "cnf01");
  EXPECT_EQ(w->codfor1w->Text(), "1");
  EXPECT_EQ(w->DBCombo1->Text(), "VARU");
  EXPECT_EQ(w->perce1w->Text(), "2,50");
  EXPECT_TRUE(w->Check1->isChecked());
  EXPECT_FALSE(w->des1->isChecked());
  EXPECT_TRUE(w->crea1->isChecked());
  EXPECT_TRUE(w->ela1->isChecked());
  EXPECT_EQ(w->codfor3w->Text(), "3");
  EXPECT_EQ(w->perce3w->Text(), "10,00");
  EXPECT_FALSE(w->Check3->isChecked());
  EXPECT_TRUE(w->ela3->isChecked());
  for (int n : {2, 4}) {
    EXPECT_EQ(w->CodeBox(n)->Text(), "") << n;
    EXPECT_FALSE(w->LoadBox(n)->isChecked()) << n;
  }
  EXPECT_EQ(w->DBCombo2->ListTexts(), QStringList({"VARU", "DIZA", "ALTRO"}));
  EXPECT_FALSE(w->ProgressBar1->isVisibleTo(w));
  EXPECT_EQ(w->findChild<QPushButton*>("Command1")->text(), "Elabora dati");
}

TEST_F(Cnf01Test, PickingInAListPutsItsCodeInTheCodeBox) {
  cnf01* w = Window();
  const int row = w->DBCombo1->ListTexts().indexOf("DIZA");
  ASSERT_GE(row, 0);
  w->DBCombo1->setCurrentIndex(row);
  emit w->DBCombo1->activated(row);
  EXPECT_EQ(w->codfor1w->Text(), "3");
}

TEST_F(Cnf01Test, ElaboraDatiSavesTheSlotsLoadsComparesAndLogs) {
  cnf01* w = Window();
  // Slot 1 shows supplier 3 and an empty percentage; slot 3 is not ticked.
  w->codfor1w->SetText("3");
  w->perce1w->SetText("");
  w->des1->setChecked(true);
  w->Check1->setChecked(false);
  w->ela3->setChecked(false);
  w->perce3w->SetText("-5");
  w->Check3->setChecked(true);

  w->Command1->click();

  EXPECT_EQ(w->perce1w->Text(), "0");
  EXPECT_DOUBLE_EQ(Supplier(1, "perce").toDouble(), 0) << "slot 1 settings go to row 1";
  EXPECT_EQ(Supplier(1, "flagconv").str(), "0");
  EXPECT_EQ(Supplier(1, "flagdes").str(), "1");
  EXPECT_DOUBLE_EQ(Supplier(3, "perce").toDouble(), -5) << "saved though not loaded";
  EXPECT_EQ(Supplier(3, "flagconv").str(), "1");
  EXPECT_EQ(LastComparisonDate().toDate(), Day());

  EXPECT_EQ(RowCount(), 2) << "supplier 3's catalogue in slot 1";
  EXPECT_FLOAT_EQ(Cell(kEan, "costo1").toDouble(), 4.0f);
  EXPECT_EQ(Cell(kEan, "desart").str(), "DIZA PASTA");
  EXPECT_EQ(Cell(kEan, "tipoart").str(), "F") << "type box shown from creazioneordine";
  EXPECT_TRUE(SlotUntouched(kEan, 3));
  EXPECT_EQ(Cell("8000000000008", "ns").toLong(), 2);
  EXPECT_EQ(Cell(kEan, "ns").toLong(), 1);
  EXPECT_EQ(common::G().ean_corrente.str(), "8000000000008");
  EXPECT_EQ(common::G().azione_conv.str(), "M");

  const QStringList lines = Lines(w);
  EXPECT_EQ(lines.value(0), "Inizio elaborazione ...");
  EXPECT_EQ(lines.value(1), "Inizio caricamento dati del fornitore DIZA.");
  EXPECT_TRUE(lines.contains("Fine calcolo differenze percentuali."));
  EXPECT_EQ(lines.mid(lines.size() - 3),
            QStringList({"Fine elaborazione.... ", " ", "ATTENDERE PREGO ..."}));
  EXPECT_TRUE(w->Command1->isVisibleTo(w));
  EXPECT_TRUE(w->Command2->isVisibleTo(w));
  EXPECT_FALSE(w->ProgressBar1->isVisibleTo(w));
  EXPECT_FALSE(w->busy());
  EXPECT_TRUE(ui::Forms::IsLoaded<cnf02>()) << "the grid is shown";
  EXPECT_TRUE(ui::Forms::IsLoaded<cnf01>()) << "the loader stays beneath it";
}

TEST_F(Cnf01Test, ACodeTypedByHandIsLoadedAndBadCodesAreSkipped) {
  cnf01* w = Window();
  w->codfor1w->SetText("abc");  // no leading number: skipped without a message
  w->codfor3w->SetText("");
  w->codfor2w->SetText("3");  // typed by hand, the list left empty
  w->ela2->setChecked(true);
  w->Command1->click();
  EXPECT_FLOAT_EQ(Cell(kEan, "costo2").toDouble(), 4.0f);
  EXPECT_TRUE(SlotUntouched(kEan, 1));
  EXPECT_EQ(Lines(w).filter("Inizio caricamento").size(), 1);
}

TEST_F(Cnf01Test, APercentageThatIsNoNumberStopsTheRunBeforeAnythingIsWritten) {
  // "10.5" would read as 105 by the regional rules: a point that groups no thousands is
  // refused as typed.
  for (const char* typed : {"10%", "10.5"}) {
    SCOPED_TRACE(typed);
    cnf01* w = Window();
    w->perce3w->SetText(typed);
    w->Command1->click();
    const QStringList lines = Lines(w);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("ERRORE: ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("3#"));
    EXPECT_DOUBLE_EQ(Supplier(1, "perce").toDouble(), 2.5);
    EXPECT_TRUE(LastComparisonDate().isNull());
    EXPECT_EQ(RowCount(), 0);
    w->Unload();
  }
}

TEST_F(Cnf01Test, DatabasesThatCannotBeOpenedAreToldInABoxAndEveryOtherLoadEnds) {
  AddSupplierRow(2, "PERSO", "C:\\perso\\dati.mdb");
  AddPriced(AddSupplier(4, "CORVALIA", "corvalia"), 1, kEan, 5);
  AddPriced(varu_, 2, "8000000000002", 3);
  AddPriced(varu_, 3, "8000000000003", 3);
  for (const QString& ean : {kEan, QStringLiteral("8000000000002")}) {
    AddConversion(1, ean, {Variant::null(), Variant::null(), kEan}, {1, 1, 1}, {"M", "M", "M"});
  }
  WriteAll(fs::HostPath(diza_), "riga uno\r\nriga due\r\n");
  ScriptedMessages boxes;
  boxes.OnShow([](const ui::MessageRecord&) { EXPECT_FALSE(ui::Forms::IsLoaded<cnf02>()); });
  cnf01* w = Window();
  ASSERT_TRUE(w->ela2->isChecked());
  w->Command1->click();
  const QStringList errors = Lines(w).filter("ERRORE");
  ASSERT_EQ(errors.size(), 3) << "supplier 3 as slot 1's alternative (once), slot 2, slot 3";
  EXPECT_TRUE(errors[0].contains("Impossibile aprire il database " + diza_));
  EXPECT_TRUE(errors[1].contains("C:\\perso\\dati.mdb"));
  EXPECT_EQ(Lines(w).filter("Fine caricamento dati del fornitore.").size(), 2) << "slots 1, 4";
  EXPECT_EQ(Scalar("select sum(costo1 > 0) from articoli").toLong(), 1);
  EXPECT_TRUE(Lines(w).contains("ATTENDERE PREGO ..."));
  EXPECT_TRUE(w->Command1->isVisibleTo(w));
  ASSERT_EQ(boxes.Texts().size(), 1);
  EXPECT_TRUE(boxes.Texts()[0].startsWith("Attenzione"));
  // Each file once, with whom it cost.
  const QString box = boxes.Texts()[0];
  EXPECT_EQ(box.count("dati.mdb: "), 2) << box.toStdString();
  EXPECT_TRUE(
      box.contains("\n   Fornitore DIZA: posizione 3 non caricata; come alternativo nella "
                   "posizione 1, costo 0.\n"));
  EXPECT_TRUE(box.endsWith("\n   Fornitore PERSO: posizione 2 non caricata."));
}

TEST_F(Cnf01Test, UscitaSavesNothing) {
  cnf01* w = Window();
  w->perce1w->SetText("7");
  w->des1->setChecked(true);
  w->Command2->click();
  EXPECT_FALSE(ui::Forms::IsLoaded<cnf01>());
  EXPECT_DOUBLE_EQ(Supplier(1, "perce").toDouble(), 2.5);
  EXPECT_EQ(Supplier(1, "flagdes").str(), "0");
  EXPECT_TRUE(LastComparisonDate().isNull());
}

TEST_F(Cnf01Test, ClosingIsRefusedWhileTheRunIsUnderWay) {
  cnf01* w = Window();
  int attempts = 0;
  bool closedDuringRun = true;
  // Runs at the first yield of the run.
  QTimer::singleShot(0, w, [&] {
    ++attempts;
    closedDuringRun = w->close();
    w->Command2->click();
  });
  w->Command1->click();
  EXPECT_EQ(attempts, 1);
  EXPECT_FALSE(closedDuringRun);
  ASSERT_TRUE(ui::Forms::IsLoaded<cnf01>());
  EXPECT_TRUE(Lines(w).contains("ATTENDERE PREGO ..."));
  EXPECT_TRUE(w->close()) << "closing is allowed again once the run is over";
}

TEST_F(Cnf01Test, WithoutSupplierRowsTheRunOnlyStampsTheDateAndCompares) {
  main_->Execute("delete from fornitori");
  main_->Execute(
      "insert into articoli (vedovo, desart, costo1, costo2) values "
      "('8000000000001', 'X', 5, 4)");
  cnf01* w = Window();
  w->Command1->click();
  EXPECT_EQ(LastComparisonDate().toDate(), Day());
  EXPECT_DOUBLE_EQ(Cell("8000000000001", "diff12").toDouble(), 25);
  EXPECT_EQ(Lines(w).filter("Inizio caricamento").size(), 0);
}

TEST(Cnf01DemoTest, ElaboraDatiLoadsTheFourDemoSuppliers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 300;
  const tools::DataDrive drive = tools::MakeDataDrive(dir.path(), options);
  fs::SetDataRoot(dir.path());
  common::G().Reset();
  common::G().percorso_db = drive.mainDbWindows;
  common::G().codutente = 1;

  cnf01* w = ui::Forms::Get<cnf01>();
  ASSERT_NE(w, nullptr);
  w->Command1->click();
  const QStringList lines = w->txtStatus->Text().split("\r\n");
  ui::Forms::Unload<cnf02>();
  ui::Forms::Unload<cnf01>();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_EQ(lines.filter("Fine caricamento dati del fornitore.").size(), 4);
  EXPECT_EQ(lines.filter("ERRORE").size(), 0) << lines.join("\n").toStdString();
  auto main = db::Database::Open(drive.mainDbWindows);
  auto count = [&](const QString& where) {
    db::Statement st = main->Prepare("select count(*) from articoli where " + where);
    const qint64 n = st.Step() ? st.Column(0).toLong() : -1;
    st.Reset();
    return n;
  };
  for (int j = 1; j <= 4; ++j) {
    EXPECT_GT(count(QStringLiteral("forn%1 = %1 and costo%1 > 0").arg(j)), 100) << j;
  }
  EXPECT_EQ(count("ns is null"), 0);
  EXPECT_GT(count("diff12 <> 0"), 0);
  common::G().Reset();
}

}  // namespace
}  // namespace vx::comparison
