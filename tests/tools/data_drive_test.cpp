// The setup tool's data drive, opened through the database layer.
#include "data_drive.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <set>

#include "data/schema_upgrade.h"
#include "data/store_record.h"
#include "ean13.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"

namespace vx::tools {
namespace {

using db::Database;
using db::RecordsetType;

QStringList IndexesOf(Database& database) {
  QStringList out;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(database.handle(), "select name from sqlite_master where type = 'index'", -1,
                     &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) {
    out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  }
  sqlite3_finalize(st);
  return out;
}

long Count(Database& database, const QString& sql) {
  auto rs = database.OpenRecordset(sql);
  return rs->Eof() ? -1 : static_cast<long>(rs->Field(0).toLong());
}

class DemoDriveTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    DataDriveOptions o;
    o.demo = true;
    o.articles = 400;
    o.today = QDate(2024, 6, 15);
    drive_ = new DataDrive(MakeDataDrive(dir_->path(), o));
  }
  static void TearDownTestSuite() {
    delete drive_;
    delete dir_;
  }
  static QTemporaryDir* dir_;
  static DataDrive* drive_;
};
QTemporaryDir* DemoDriveTest::dir_ = nullptr;
DataDrive* DemoDriveTest::drive_ = nullptr;

TEST_F(DemoDriveTest, FilesLieAtTheirWindowsPathsUnderTheRoot) {
  const QString root = dir_->path();
  EXPECT_EQ(drive_->mainDb, root + "/C/Programmi/tolmo/dizizOrezav.mdb");
  EXPECT_EQ(drive_->storeDb, root + "/C/pelko/client.mdb");
  EXPECT_EQ(drive_->storeRecordFile, root + "/C/tolmodati.txt");
  for (const auto& p : {drive_->mainDb, drive_->storeDb, drive_->storeRecordFile}) {
    EXPECT_TRUE(QFileInfo::exists(p)) << p.toStdString();
  }
  ASSERT_GE(drive_->suppliers.size(), 4u);
  EXPECT_EQ(drive_->suppliers[0].windowsPath, "C:\\varu\\dati.mdb");
  for (const auto& s : drive_->suppliers) EXPECT_TRUE(QFileInfo::exists(s.hostPath));
}

TEST_F(DemoDriveTest, MainDatabaseHasItsTablesIndexesAndShippedRows) {
  auto main = Database::Open(drive_->mainDb);
  for (const char* t :
       {"commessi", "utenti", "fornitori", "eanconv", "articoli", "listi01", "codean"}) {
    EXPECT_TRUE(main->HasTable(t)) << t;
  }
  const QStringList indexes = IndexesOf(*main).join(' ').toLower().split(' ');
  for (const char* i : {"codcommesso", "codutente", "vedovo"}) {
    EXPECT_TRUE(indexes.filter(i).size() > 0) << i;
  }

  auto ops = main->OpenRecordset("commessi", RecordsetType::Table);
  ops->SetIndex("codcommesso");
  ASSERT_TRUE(ops->Seek("=", 1));
  EXPECT_EQ(ops->Field("dsccommesso").str(), "AMMINISTRATORE");
  EXPECT_EQ(ops->Field("auto_start").str(), "N");
  EXPECT_FALSE(ops->Field("password").str().trimmed().isEmpty());

  auto store = main->OpenRecordset("utenti", RecordsetType::Table);
  store->SetIndex("codutente");
  ASSERT_TRUE(store->Seek("=", 1));
  EXPECT_EQ(store->Field("codlis").str(), "01");
  EXPECT_EQ(store->Field("dimeti").toLong(), 75);
  EXPECT_EQ(store->Field("dscutente").str(), "MARKET BELLAVISTA");
  EXPECT_TRUE(store->Field("ultimadata").isNull());  // the upgrade has run

  EXPECT_EQ(Count(*main, "select count(*) from articoli"), 0);
}

TEST_F(DemoDriveTest, StoreDatabaseAndRecordFile) {
  auto store = Database::Open(drive_->storeDb);
  auto rs = store->OpenRecordset("SELECT * FROM inizio WHERE codute = 1 and codope= 1");
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Field("annox").toLong(), 0);
  EXPECT_TRUE(store->HasTable("stampanti"));

  const auto rec = data::ReadStoreRecord(drive_->storeRecordFile);
  EXPECT_EQ(rec.nome_negozio.str(), QString("MARKET BELLAVISTA").leftJustified(30, ' '));
  EXPECT_EQ(rec.codice_negozio.str(), "1 ");
}

TEST_F(DemoDriveTest, UpgradeFindsNothingLeftToDo) {
  const auto before = Database::Open(drive_->mainDb)->TableDefs();
  data::inserisco_nuovi_campi_bancaean(drive_->mainDb);
  const auto after = Database::Open(drive_->mainDb)->TableDefs();
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(before[i].fields.size(), after[i].fields.size());
}

TEST_F(DemoDriveTest, FourSupplierSlotsPointAtTheirDatabases) {
  auto main = Database::Open(drive_->mainDb);
  auto rs = main->OpenRecordset("select * from fornitori order by codice");
  int slot = 0;
  for (; !rs->Eof(); rs->MoveNext()) {
    ++slot;
    EXPECT_EQ(rs->Field("codice").toLong(), slot);
    const QString percorso = rs->Field("percorso").str();
    EXPECT_TRUE(percorso.startsWith("C:\\") && percorso.endsWith("\\dati.mdb"));
    EXPECT_TRUE(QFileInfo::exists(HostPathUnder(dir_->path(), percorso))) << percorso.toStdString();
    EXPECT_TRUE(rs->Field("programma").str().endsWith(".exe"));
  }
  EXPECT_EQ(slot, 4);
}

TEST_F(DemoDriveTest, CataloguesHaveValidEansOverlapsAndOffers) {
  std::map<QString, std::set<double>> pricesByEan;  // EAN -> prices of the suppliers
  int weighed0 = 0, weighed2 = 0;
  for (int i = 0; i < 4; ++i) {
    auto sup = Database::Open(drive_->suppliers[i].hostPath);
    EXPECT_EQ(Count(*sup, "select count(*) from articolo"), 405);
    EXPECT_EQ(Count(*sup, "select count(*) from listini where codlis = '01'"), 1);
    auto rs = sup->OpenRecordset(
        "select eanare, przart from codean inner join articolo on codean.codare = articolo.codart");
    for (; !rs->Eof(); rs->MoveNext()) {
      const QString ean = rs->Field("eanare").str();
      EXPECT_TRUE(IsValidEan13(ean)) << ean.toStdString();
      if (ean.startsWith("000000")) ++weighed0;
      if (ean.startsWith("000002")) ++weighed2;
      pricesByEan[ean].insert(rs->Field("przart").toDouble());
    }
    // Offers running on the demo's day and offers that have ended.
    EXPECT_GT(Count(*sup,
                    "select count(*) from articolo where przoff > 0 and data1 <= "
                    "#06/15/2024# and data2 >= #06/15/2024#"),
              0);
    EXPECT_GT(
        Count(*sup, "select count(*) from articolo where przoff > 0 and data2 < #06/15/2024#"), 0);
    EXPECT_GT(Count(*sup, "select count(*) from articolo where przoff = 0 and data1 = 0"), 0);
  }
  EXPECT_GT(weighed0, 0);
  EXPECT_GT(weighed2, 0);
  int differentPrices = 0;
  for (const auto& [ean, prices] : pricesByEan) {
    if (prices.size() > 1) ++differentPrices;
  }
  EXPECT_GT(differentPrices, 100);
}

TEST_F(DemoDriveTest, ConversionRowsNameEansTheSuppliersCarry) {
  auto main = Database::Open(drive_->mainDb);
  auto rs = main->OpenRecordset("select * from eanconv");
  std::set<QString> actions;
  int rows = 0;
  for (; !rs->Eof(); rs->MoveNext(), ++rows) {
    const QString own = rs->Field("ean").str();
    auto first = Database::Open(drive_->suppliers[0].hostPath);
    EXPECT_EQ(Count(*first, "select count(*) from codean where eanare = " + db::Quote(own)), 1);
    for (int slot = 2; slot <= 4; ++slot) {
      const Variant alt = rs->Field(QString("eanalternativo%1").arg(slot));
      if (alt.isNull()) continue;
      auto sup = Database::Open(drive_->suppliers[slot - 1].hostPath);
      EXPECT_EQ(Count(*sup, "select count(*) from codean where eanare = " + db::Quote(alt.str())),
                1);
      EXPECT_GT(rs->Field(QString("fatconv%1").arg(slot)).toLong(), 1);
      actions.insert(rs->Field(QString("azione%1").arg(slot)).str());
    }
  }
  EXPECT_GE(rows, 4);
  EXPECT_EQ(actions, (std::set<QString>{"D", "M"}));
}

TEST(DataDriveTest, RefusesAnExistingDriveUnlessForced) {
  QTemporaryDir dir;
  DataDriveOptions o;
  MakeDataDrive(dir.path(), o);
  EXPECT_THROW(MakeDataDrive(dir.path(), o), SetupError);
  o.force = true;
  const DataDrive again = MakeDataDrive(dir.path(), o);
  EXPECT_EQ(Count(*Database::Open(again.mainDb), "select count(*) from commessi"), 1);
  // Without --demo no supplier slot is filled.
  EXPECT_EQ(Count(*Database::Open(again.mainDb), "select count(*) from fornitori"), 0);
}

TEST(DataDriveTest, OtherDriveLetterAndExistingFolderSpelling) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("D/programmi/TOLMO"));
  DataDriveOptions o;
  o.drive = 'd';
  const DataDrive d = MakeDataDrive(dir.path(), o);
  EXPECT_EQ(d.mainDb, dir.path() + "/D/programmi/TOLMO/dizizOrezav.mdb");
  EXPECT_EQ(d.mainDbWindows, "D:\\Programmi\\tolmo\\dizizOrezav.mdb");
  EXPECT_TRUE(QFileInfo::exists(d.storeDb));
}

TEST(DataDriveTest, DemoWithoutItsFilesFillsOnlyTheDatabases) {
  QTemporaryDir dir;
  DataDriveOptions o;
  o.demo = true;
  o.articles = 50;
  o.demoFiles = false;
  const DataDrive d = MakeDataDrive(dir.path(), o);
  EXPECT_EQ(Count(*Database::Open(d.mainDb), "select count(*) from fornitori"), 4);
  EXPECT_GT(Count(*Database::Open(d.suppliers[0].hostPath), "select count(*) from articolo"), 0);
  EXPECT_FALSE(QFileInfo::exists(HostPathUnder(dir.path(), "C:\\varu\\listino_varu.xls")));
  o.demoFiles = true;
  o.force = true;
  MakeDataDrive(dir.path(), o);
  EXPECT_TRUE(QFileInfo::exists(HostPathUnder(dir.path(), "C:\\varu\\listino_varu.xls")));
}

}  // namespace
}  // namespace vx::tools
