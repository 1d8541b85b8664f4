// The store settings against a real data drive: what the window shows, what "Conferma"
// writes to the tables and the store record file, the fresh main window, and the deletes.
#include "masterdata/ute01.h"

#include <sqlite3.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "common/shared_values.h"
#include "masterdata/masterdata_fixture.h"
#include "platform/clock.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"

using vx::Variant;
using vx::common::G;
using vx::masterdata::ute01;
using vx::shell::Main;
using vx::ui::Forms;
using vx::ui::MsgAnswer;

namespace {

const QString kDeleteQuestion = "ATTENZIONE ! ! !. Sei sicuro di voler cancellare questo Utente...";
const QString kCannotDelete =
    "Questo Utente non può essere eliminato perchè ha dei movimenti in scadenze ...";

class StoreSettingsTest : public MasterDataTest {
 protected:
  void SetStoreColumn(const QString& column, const Variant& value) const {
    MainDb()->Execute("update utenti set [" + column + "] = ? where codutente = 1", {value});
  }
  Variant StoreColumn(const QString& column) const {
    return Scalar(*MainDb(), "select [" + column + "] from utenti where codutente = 1");
  }
  Variant Operator1AutoStart() const {
    return Scalar(*MainDb(), "select auto_start from commessi where codcommesso = 1");
  }
  // An SQL text run by SQLite as it stands.
  void Native(const char* sql) const {
    ASSERT_EQ(sqlite3_exec(MainDb()->handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK);
  }
  QByteArray StoreRecord() const {
    QFile f(drive.storeRecordFile);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The main window loaded, then the store settings opened from its menu.
  ute01* OpenFromMain() {
    main_ = Forms::Show<Main>();
    main_->mnute->trigger();
    return Forms::IsLoaded<ute01>() ? Forms::Get<ute01>() : nullptr;
  }
  // True when a main window other than the first is the loaded one and the first is gone.
  bool MainWasRenewed() {
    QPointer<Main> first = main_;
    Settle();
    return first.isNull() && Forms::IsLoaded<Main>() && Forms::Get<Main>() != main_;
  }

  Main* main_ = nullptr;
};

TEST_F(StoreSettingsTest, ShowsStoreOneAndTheYearOfTheStoreBefore) {
  SetStoreColumn("indirizzo", "VIA ROMA 1");
  SetStoreColumn("cab", "posta@bottega.it");
  SetStoreColumn("abi", "www.bottega.it");
  SetStoreColumn("note", "");
  SetStoreColumn("ncr", "PDT");
  SetStoreColumn("dimeti", 0);
  SetStoreColumn("fileuni", Variant::null());
  StoreDb()->Execute("insert into inizio (codute, codope, desute, annox) values (2, 1, 'B', 2024)");
  G().codutente = 2;
  G().anno = 0;
  ute01* w = Forms::Show<ute01>();
  EXPECT_EQ(G().anno, 2024);
  EXPECT_EQ(G().codutente, 1);
  EXPECT_EQ(w->desutew->Text(), "MARKET BELLAVISTA");
  EXPECT_EQ(w->indirw->Text(), "VIA ROMA 1");
  EXPECT_EQ(w->sitow->Text(), "www.bottega.it");
  EXPECT_EQ(w->ncrw->Text(), "PDT");
  EXPECT_EQ(G().dimeti, 75);
  EXPECT_EQ(G().fileuni.str(), " ");
  EXPECT_TRUE(w->attivapsw->isChecked());  // the shipped operator 1 holds "N"
  EXPECT_EQ(w->focusWidget(), w->Command3);

  // A click lights most boxes; the e-mail box lights on focus; the name never.
  Activate(w);
  QTest::mouseClick(w->codfiw, Qt::LeftButton);
  EXPECT_EQ(vx::ui::BackColor(w->codfiw), vx::ui::VbColor(vx::ui::kVbYellow));
  w->emailw->setFocus();
  EXPECT_EQ(vx::ui::BackColor(w->emailw), vx::ui::VbColor(vx::ui::kVbYellow));
  EXPECT_EQ(vx::ui::BackColor(w->codfiw), vx::ui::VbColor(vx::ui::kVbSystemWindow));
  QTest::mouseClick(w->desutew, Qt::LeftButton);
  EXPECT_EQ(vx::ui::BackColor(w->desutew), vx::ui::VbColor(vx::ui::kVbSystemWindow));
  EXPECT_EQ(vx::ui::BackColor(w->emailw), vx::ui::VbColor(vx::ui::kVbYellow));
}

TEST_F(StoreSettingsTest, ConfirmWritesTheWholeNameAndThirtyCharactersToTheFile) {
  const QString name = "SUPERMERCATO ALIMENTARI FRATELLI ESPOSIT";  // 40 characters
  ute01* w = OpenFromMain();
  ASSERT_NE(w, nullptr);
  w->desutew->SetText(name);
  w->Command2->click();
  EXPECT_TRUE(boxes->Texts().isEmpty());
  EXPECT_EQ(StoreColumn("dscutente").str(), name);
  EXPECT_EQ(Scalar(*StoreDb(), "select desute from inizio where codute = 1 and codope = 1").str(),
            name);
  const QByteArray record = StoreRecord();
  ASSERT_GE(record.size(), 256);
  EXPECT_EQ(record.mid(130, 30), name.left(30).toLatin1());
  EXPECT_EQ(record.mid(160, 2), "1 ");
  EXPECT_EQ(G().ragione_sociale.str(), name.left(30));

  EXPECT_FALSE(Forms::IsLoaded<ute01>());
  ASSERT_TRUE(MainWasRenewed());
  EXPECT_TRUE(Forms::Get<Main>()->windowTitle().contains(name.left(30)));
}

TEST_F(StoreSettingsTest, ConfirmResetsTheFixedColumnsAndWritesNoNulls) {
  for (const char* c : {"margsini", "margsup", "codrepa", "nrpos", "Fid_Rep"}) SetStoreColumn(c, 9);
  SetStoreColumn("dimeti", 60);
  SetStoreColumn("Fid_Card", "1234567");
  SetStoreColumn("tiposta", "X");
  SetStoreColumn("filecasse", "casse.txt");
  SetStoreColumn("fileuni", Variant::null());
  SetStoreColumn("fax", Variant::null());
  MainDb()->Execute("update commessi set auto_start = 'S' where codcommesso = 1");
  ute01* w = Forms::Show<ute01>();
  EXPECT_FALSE(w->attivapsw->isChecked());
  EXPECT_EQ(G().dimeti, 60);
  w->Command2->click();
  for (const char* c : {"margsini", "margsup", "codrepa", "nrpos", "Fid_Rep", "dimeti"}) {
    EXPECT_EQ(StoreColumn(c).toLong(), 0) << c;
  }
  EXPECT_EQ(G().dimeti, 0);
  EXPECT_EQ(StoreColumn("Fid_Card").str(), "0000000");
  EXPECT_TRUE(StoreColumn("tiposta").isNull());
  EXPECT_TRUE(StoreColumn("filecasse").isNull());
  EXPECT_EQ(StoreColumn("fileuni").str(), " ");
  EXPECT_TRUE(StoreColumn("fax").isText());
  EXPECT_EQ(StoreColumn("fax").str(), "");
  EXPECT_TRUE(Operator1AutoStart().isNull());

  // Ticked, the switch is stored as "N".
  w = Forms::Show<ute01>();
  w->attivapsw->setChecked(true);
  w->Command2->click();
  EXPECT_EQ(Operator1AutoStart().str(), "N");
}

TEST_F(StoreSettingsTest, FirstSaveMakesTheRecordFileAndTheYearRow) {
  ASSERT_TRUE(QFile::remove(drive.storeRecordFile));
  StoreDb()->Execute("delete from inizio");
  SetStoreColumn("dscutente", Variant::null());
  ute01* w = Forms::Show<ute01>();
  EXPECT_EQ(w->desutew->Text(), "");
  EXPECT_EQ(G().anno, vx::Today().year());
  w->desutew->SetText("BOTTEGA");
  w->Command2->click();
  const QByteArray record = StoreRecord();
  ASSERT_EQ(record.size(), 256);
  EXPECT_EQ(record.mid(130, 32), ("BOTTEGA" + QString(23, ' ') + "1 ").toLatin1());
  auto rs = StoreDb()->OpenRecordset("select * from inizio");
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Field("codute").toLong(), 1);
  EXPECT_EQ(rs->Field("codope").toLong(), 1);
  EXPECT_EQ(rs->Field("desute").str(), "BOTTEGA");
  EXPECT_TRUE(rs->Field("annox").isNull());
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
}

TEST_F(StoreSettingsTest, ExitOrABlankFirstCharacterSavesNothingAndRenewsTheMainWindow) {
  const QByteArray recordBefore = StoreRecord();
  for (const bool confirm : {false, true}) {
    ute01* w = OpenFromMain();
    ASSERT_NE(w, nullptr);
    w->desutew->SetText(" ALTRO NOME");
    w->attivapsw->setChecked(false);
    (confirm ? w->Command2 : w->Command6)->click();
    EXPECT_EQ(StoreColumn("dscutente").str(), "MARKET BELLAVISTA") << confirm;
    EXPECT_EQ(Operator1AutoStart().str(), "N") << confirm;
    EXPECT_EQ(StoreRecord(), recordBefore) << confirm;
    EXPECT_FALSE(Forms::IsLoaded<ute01>()) << confirm;
    EXPECT_TRUE(MainWasRenewed()) << confirm;
    Forms::Unload<Main>();
  }
  EXPECT_TRUE(boxes->Texts().isEmpty());
}

TEST_F(StoreSettingsTest, DeleteRefusedThenDoneThenNothingLeftToDelete) {
  ute01* w = OpenFromMain();
  ASSERT_NE(w, nullptr);
  Native("create trigger keep_store before delete on utenti begin select raise(abort, 'no'); end");
  w->codfiw->SetText("RSSMRA80A01H501U");
  boxes->Answer(MsgAnswer::Yes);
  w->Command3->click();
  EXPECT_EQ(boxes->Texts(), (QStringList{kDeleteQuestion, kCannotDelete}));
  EXPECT_TRUE(Forms::IsLoaded<ute01>());
  EXPECT_EQ(w->codfiw->Text(), "");
  EXPECT_EQ(w->desutew->Text(), "MARKET BELLAVISTA");

  Native("drop trigger keep_store");
  boxes->Clear();
  boxes->Answer(MsgAnswer::Yes);
  w->Command3->click();
  EXPECT_EQ(boxes->Texts(), QStringList{kDeleteQuestion});
  EXPECT_TRUE(StoreColumn("dscutente").isEmpty());  // no row left
  EXPECT_FALSE(Forms::IsLoaded<ute01>());
  Settle();
  EXPECT_EQ(Forms::Get<Main>(), main_);  // the main window is left alone

  w = Forms::Show<ute01>();
  EXPECT_EQ(w->desutew->Text(), "");
  boxes->Clear();
  boxes->Answer(MsgAnswer::Yes);
  w->Command3->click();
  EXPECT_EQ(boxes->Texts(), (QStringList{kDeleteQuestion, kCannotDelete}));
  EXPECT_TRUE(Forms::IsLoaded<ute01>());
}

TEST_F(StoreSettingsTest, UnwritableRecordFileSavesNothing) {
  ASSERT_TRUE(QFile::remove(drive.storeRecordFile));
  ASSERT_TRUE(QDir().mkdir(drive.storeRecordFile));  // a folder where the file should be
  ute01* w = OpenFromMain();
  ASSERT_NE(w, nullptr);
  w->desutew->SetText("NUOVO NOME");
  w->attivapsw->setChecked(false);
  w->Command2->click();
  ASSERT_EQ(boxes->Texts().size(), 1);
  EXPECT_TRUE(boxes->Texts()[0].contains("C:\\tolmodati.txt", Qt::CaseInsensitive))
      << boxes->Texts()[0].toStdString();
  EXPECT_EQ(boxes->Boxes()[0].icon, vx::ui::MsgIcon::Critical);
  EXPECT_TRUE(Forms::IsLoaded<ute01>());
  EXPECT_EQ(w->desutew->Text(), "NUOVO NOME");
  Settle();
  EXPECT_EQ(Forms::Get<Main>(), main_);
  EXPECT_EQ(StoreColumn("dscutente").str(), "MARKET BELLAVISTA");
  EXPECT_EQ(Scalar(*StoreDb(), "select desute from inizio where codute = 1").str(),
            "MARKET BELLAVISTA");
  EXPECT_EQ(Operator1AutoStart().str(), "N");
}

}  // namespace
