// The three-supplier loader window driven through its controls offscreen.
#include "comparison3/cnf01T.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "common/shared_values.h"
#include "common/windows.h"
#include "data_drive.h"
#include "platform/db/datacontrol.h"
#include "platform/paths.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "support/loader_fixture.h"

namespace vx::comparison3 {
namespace {

using comparison::testing::LoaderFixture;

const QString kEan = QStringLiteral("8001234567890");
const QString kRice = QStringLiteral("8000000000008");

class Cnf01TTest : public LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    varu_ = AddSupplier(1, "VARU", "varu", 2.5);
    sda_ = AddSupplier(2, "SDA", "sda");
    diza_ = AddSupplier(3, "DIZA", "diza", 10);
    corv_ = AddSupplier(4, "CORVALIA", "corvalia");
    SetNote(varu_, "LISTINO VARU", "31/03/2026");
    SetNote(sda_, "LISTINO SDA", "");
    SetNote(diza_, "LISTINO DIZA", "30/04/2026");
    SetNote(corv_, "LISTINO CORVALIA", "");
    main_->Execute("update fornitori set flagconv = '1', flagdes = '0' where codice = 1");
    AddPriced(varu_, 1, kEan, 2, "VARU PASTA");
    AddPriced(sda_, 2, kEan, 2.2, "SDA PASTA");
    AddPriced(diza_, 7, kEan, 4, "DIZA PASTA");
    AddPriced(diza_, 8, kRice, 1, "DIZA RISO");
    AddPriced(corv_, 9, kEan, 3, "CORVALIA PASTA");
    common::RegisterWindow("cnf02T", [this] { ++gridShown_; });
  }
  void TearDown() override {
    common::RegisterWindow("cnf02T", [] {});
    ui::Forms::Unload<cnf01T>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LoaderFixture::TearDown();
  }
  void SetNote(const QString& percorso, const QString& note, const QString& datafine) {
    Supplier(percorso)->Execute("update listini set note = ?, datafine = ? where codlis = '01'",
                                {note, datafine});
  }
  cnf01T* Window() { return ui::Forms::Get<cnf01T>(); }
  Variant SupplierField(int codice, const QString& column) {
    return Scalar(QStringLiteral("select %1 from fornitori where codice = ?").arg(column), codice);
  }
  // The status lines without their time.
  static QStringList Lines(cnf01T* w) {
    QStringList lines = w->txtStatus->Text().split("\r\n");
    for (QString& l : lines) l = l.mid(QStringLiteral("10:30:00: ").size());
    return lines;
  }
  QString varu_, sda_, diza_, corv_;
  int gridShown_ = 0;
};

TEST_F(Cnf01TTest, LoadShowsTheNotesAndTicksOnlyTheSlotsWithAPriceList) {
  // Table order: a missing file first, then rows whose notes still show.
  main_->Execute("delete from fornitori");
  AddSupplierRow(2, "PERSO", "C:\\perso\\dati.mdb", 1);
  AddSupplierRow(1, "VARU", varu_, 2.5);
  AddSupplierRow(3, "DIZA", diza_);
  main_->Execute("update fornitori set flagconv = '1', flagdes = '0' where codice = 1");
  main_->Execute("update fornitori set flagconv = '2', flagdes = 'x' where codice = 3");
  main_->Execute("insert into fornitori (codice) values (4)");  // not a slot
  Supplier(diza_)->Execute("delete from listini");
  Supplier(diza_)->Execute("insert into listini (codlis, note) values ('02', 'ALTRO')");

  cnf01T* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->objectName(), "cnf01T");
  EXPECT_EQ(w->Caption(), "Confronta listini Fornitori");
  EXPECT_EQ(w->Frame5->title(), "Selezionare Fornitore 1#");
  EXPECT_EQ(w->Frame2->title(), "Selezionare Fornitore 3#");
  EXPECT_EQ(w->label1[1]->text(), "%  \"+/-\"");
  EXPECT_EQ(w->des1l->text(), "LISTINO VARU  31/03/2026");
  EXPECT_EQ(w->ela1->checkState(), Qt::Checked);
  EXPECT_EQ(w->codfor1w->Text(), "1");
  EXPECT_EQ(w->DBCombo1->Text(), "VARU");
  EXPECT_EQ(w->perce1w->Text(), "2,50");
  EXPECT_TRUE(w->Check1->isChecked());
  EXPECT_EQ(w->des1->checkState(), Qt::Unchecked);
  // Missing file: the frame is filled, without note and unticked.
  EXPECT_EQ(w->codfor2w->Text(), "2");
  EXPECT_EQ(w->perce2w->Text(), "1,00");
  EXPECT_EQ(w->des2l->text(), "");
  EXPECT_EQ(w->ela2->checkState(), Qt::Unchecked);
  // No row '01': no note; a flag of 2 shows grey, one that is no number leaves it unticked.
  EXPECT_EQ(w->des3l->text(), "");
  EXPECT_EQ(w->ela3->checkState(), Qt::Unchecked);
  EXPECT_EQ(w->Check3->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(w->des3->checkState(), Qt::Unchecked);
  EXPECT_EQ(w->DBCombo2->ListTexts().size(), 4);
  EXPECT_FALSE(w->ProgressBar1->isVisibleTo(w));
  EXPECT_EQ(w->Command1->text(), "Elabora dati");
  EXPECT_EQ(w->Command2->toolTip(), "Uscita programma");

  // A pick puts the bound code in the box and changes nothing else.
  const int row = w->DBCombo1->ListTexts().indexOf("DIZA");
  w->DBCombo1->setCurrentIndex(row);
  emit w->DBCombo1->activated(row);
  EXPECT_EQ(w->codfor1w->Text(), "3");
  EXPECT_EQ(w->perce1w->Text(), "2,50");
  EXPECT_EQ(w->des1l->text(), "LISTINO VARU  31/03/2026");
}

TEST_F(Cnf01TTest, NullDescriptionAndPercentageShowEmptyAndZero) {
  main_->Execute("update fornitori set descr = null, perce = null where codice = 2");
  cnf01T* w = Window();
  EXPECT_EQ(w->DBCombo2->Text(), "");
  EXPECT_EQ(w->perce2w->Text(), "0,00");
}

TEST_F(Cnf01TTest, ElaboraDatiSavesLoadsComparesAndShowsTheGrid) {
  cnf01T* w = Window();
  // Frame 1 loads supplier 4 with an empty percentage; frame 2 loads supplier 3 too.
  w->codfor1w->SetText("4");
  w->perce1w->SetText("");
  w->des1->setChecked(true);
  w->Check1->setChecked(false);
  w->codfor2w->SetText("3");
  w->perce3w->SetText("-5");
  main_->Execute("insert into articoli (vedovo, desart) values (?, 'VECCHIA')", {kEan});

  w->Command1->click();

  EXPECT_EQ(w->perce1w->Text(), "0");
  EXPECT_DOUBLE_EQ(SupplierField(1, "perce").toDouble(), 0) << "frame 1 saves on row 1";
  EXPECT_EQ(SupplierField(1, "flagconv").str(), "0");
  EXPECT_EQ(SupplierField(1, "flagdes").str(), "1");
  EXPECT_DOUBLE_EQ(SupplierField(3, "perce").toDouble(), -5);

  EXPECT_EQ(Cell(kEan, "forn1").toLong(), 4);
  EXPECT_FLOAT_EQ(Cell(kEan, "costo1").toDouble(), 3.0f);
  EXPECT_EQ(Cell(kEan, "forn2").toLong(), 3) << "one supplier in two frames";
  EXPECT_FLOAT_EQ(Cell(kEan, "costo2").toDouble(), 4.0f);
  EXPECT_EQ(Cell(kEan, "forn3").toLong(), 3);
  EXPECT_FLOAT_EQ(Cell(kEan, "costo3").toDouble(), 3.8f);
  EXPECT_EQ(Cell(kEan, "desart").str(), "CORVALIA PASTA") << "only slot 1 replaces it";
  EXPECT_NEAR(Cell(kEan, "diff12").toDouble(), -25, 1e-4);
  EXPECT_NEAR(Cell(kEan, "diff23").toDouble(), 5.26, 1e-4);
  EXPECT_NEAR(Cell(kEan, "diff31").toDouble(), -21.05, 1e-4);
  EXPECT_NEAR(Cell(kRice, "diff12").toDouble(), -100, 1e-4) << "no slot 1 price reads 0";
  EXPECT_TRUE(Cell(kEan, "ns").isNull());
  EXPECT_EQ(common::G().ean_corrente.str(), kRice);

  const QStringList lines = Lines(w);
  EXPECT_EQ(lines.value(0), "Inizio elaborazione ...");
  EXPECT_EQ(lines.value(1), "Inizio caricamento dati del fornitore CORVALIA.");
  EXPECT_EQ(lines.filter("Fine caricamento dati del fornitore.").size(), 3);
  EXPECT_EQ(lines.last(), "Fine elaborazione. Attendere prego ...");
  EXPECT_EQ(gridShown_, 1);
  EXPECT_TRUE(ui::Forms::IsLoaded<cnf01T>());
  EXPECT_TRUE(w->Command1->isVisibleTo(w));
  EXPECT_FALSE(w->ProgressBar1->isVisibleTo(w));
  EXPECT_FALSE(w->busy());
}

TEST_F(Cnf01TTest, SlotsWithoutACodeOrATickAreSkipped) {
  cnf01T* w = Window();
  ASSERT_EQ(w->ela3->checkState(), Qt::Checked);
  w->codfor1w->SetText("0");
  w->codfor2w->SetText("abc");
  w->ela3->setTristate(true);
  w->ela3->setCheckState(Qt::PartiallyChecked);  // grey counts as unticked
  w->Command1->click();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(Lines(w).filter("Inizio caricamento").isEmpty());
  EXPECT_TRUE(Lines(w).contains("Fine calcolo differenze percentuali."));
  EXPECT_EQ(gridShown_, 1);

  w->codfor1w->SetText("");
  w->ela3->setCheckState(Qt::Unchecked);
  w->Command1->click();
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(Cnf01TTest, APercentageThatIsNoNumberStopsTheRunBeforeAnythingIsWritten) {
  for (const char* typed : {"10%", "10.5"}) {
    SCOPED_TRACE(typed);
    cnf01T* w = Window();
    w->perce2w->SetText(typed);
    w->perce1w->SetText("7");
    w->Command1->click();
    const QStringList lines = Lines(w);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("ERRORE: ") && lines[0].contains("2#"))
        << lines[0].toStdString();
    EXPECT_DOUBLE_EQ(SupplierField(1, "perce").toDouble(), 2.5);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(gridShown_, 0);
    w->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(Cnf01TTest, ClosingIsRefusedWhileTheRunIsUnderWay) {
  cnf01T* w = Window();
  int attempts = 0;
  bool closedDuringRun = true;
  QTimer::singleShot(0, w, [&] {
    ++attempts;
    closedDuringRun = w->close();
  });
  w->Command1->click();
  EXPECT_EQ(attempts, 1);
  EXPECT_FALSE(closedDuringRun);
  ASSERT_TRUE(ui::Forms::IsLoaded<cnf01T>());
  EXPECT_TRUE(w->close()) << "closing is allowed again once the run is over";
}

TEST(Cnf01TDemoTest, ElaboraDatiLoadsTheThreeDemoSuppliers) {
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

  cnf01T* w = ui::Forms::Get<cnf01T>();
  ASSERT_NE(w, nullptr);
  // The note and the price list's end date.
  const QRegularExpression noteForm(
      QStringLiteral("^LISTINO .+ \\d\\d/\\d{4}  \\d\\d/\\d\\d/\\d{4}$"));
  for (QLabel* note : {w->des1l, w->des2l, w->des3l}) {
    EXPECT_TRUE(noteForm.match(note->text()).hasMatch()) << note->text().toStdString();
  }
  EXPECT_TRUE(w->ela1->isChecked() && w->ela2->isChecked() && w->ela3->isChecked());
  w->Command1->click();
  const QStringList lines = w->txtStatus->Text().split("\r\n");
  ui::Forms::Unload<cnf01T>();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  EXPECT_EQ(lines.filter("Fine caricamento dati del fornitore.").size(), 3);
  EXPECT_EQ(lines.filter("ERRORE").size(), 0) << lines.join("\n").toStdString();
  auto main = db::Database::Open(drive.mainDbWindows);
  auto count = [&](const QString& where) {
    db::Statement st = main->Prepare("select count(*) from articoli where " + where);
    const qint64 n = st.Step() ? st.Column(0).toLong() : -1;
    st.Reset();
    return n;
  };
  for (int j = 1; j <= 3; ++j) {
    EXPECT_GT(count(QStringLiteral("forn%1 = %1 and costo%1 > 0").arg(j)), 100) << j;
  }
  EXPECT_EQ(count("forn4 is not null or ns is not null"), 0);
  EXPECT_EQ(count("diff12 is null or diff23 is null or diff31 is null"), 0);
  EXPECT_GT(count("diff12 = 1000"), 0);
  common::G().Reset();
}

}  // namespace
}  // namespace vx::comparison3
