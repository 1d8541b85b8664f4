// A supplier database replaced by a link that leads out of the data root: every window that
// opens a supplier's catalogue refuses it naming the link, and the file outside stays as it
// was. Input files are only read, through a link too.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "common/shared_values.h"
#include "data/shipped_schema.h"
#include "masterdata/ali01.h"
#include "masterdata/art03.h"
#include "masterdata/eanconv_fixture.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/ui/filelist.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"
#include "pricelists/lis06b.h"
#include "support/file_bytes.h"
#include "workbook_writer.h"

namespace vx::masterdata {
namespace {

const QString kEan = QStringLiteral("8001234567890");
const QString kVaru = QStringLiteral("C:\\varu\\dati.mdb");

class SupplierLinkTest : public testing::MasterdataFixture {
 protected:
  void SetUp() override {
    MasterdataFixture::SetUp();
    AddSupplier(1, "VARU", "varu");
    AddArticle(kVaru, 100, kEan, 2, "PASTA");
    AddConversion(1, kEan, "PASTA", {kEan}, {1}, {"M"});
    // The store's printers, for the import window.
    common::G().percorso_client = QStringLiteral("C:\\pelko\\client.mdb");
    ASSERT_TRUE(fs::CreateFolder(QStringLiteral("C:\\pelko")));
    data::CreateStoreDatabase(fs::HostPath(common::G().percorso_client), "NEGOZIO");
    // A VARU price list that would change the article's price.
    tools::BookSheet sheet{QStringLiteral("1"), {}};
    for (const auto& [col, v] : std::vector<std::pair<int, Variant>>{
             {5, 100.0}, {6, "PASTA"}, {9, 9.5}, {17, 22.0}, {20, kEan}, {22, 6.0}}) {
      sheet.cells.push_back({1, col, v});
    }
    ASSERT_TRUE(tools::WriteXlsx(fs::HostPath("C:\\varu\\listino.xlsx"), {sheet}));

    // The catalogue moves out of the root; a link takes its place.
    outsideFile_ = outside_.filePath("dati.mdb");
    const QString inside = fs::HostPath(kVaru);
    ASSERT_TRUE(QFile::rename(inside, outsideFile_));
    ASSERT_TRUE(QFile::link(outsideFile_, inside));
  }
  void TearDown() override {
    ui::Forms::Unload<pricelists::lis06b>();
    MasterdataFixture::TearDown();
  }

  QTemporaryDir outside_;
  QString outsideFile_;
};

TEST_F(SupplierLinkTest, EveryOpenerRefusesACatalogueLinkedFromOutsideTheRoot) {
  const std::vector<std::pair<const char*, std::function<void()>>> openers = {
      {"lis06b import",
       [] {
         auto* w = ui::Forms::Show<pricelists::lis06b>();
         ASSERT_TRUE(w->File1->Choose("listino.xlsx"));
         w->finew->SetText("1");
         w->Command4->click();
       }},
      {"art03 lookup",
       [] {
         common::G().codice_fornitore = 1;
         common::G().ean_corrente = kEan;
         ui::Forms::Show<art03>();
       }},
      {"ali01 row",
       [] {
         ali01* w = ui::Forms::Show<ali01>();
         ui::FlexGrid* g = w->flex1;
         const QModelIndex index = g->model()->index(1, 2);
         QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
         ASSERT_TRUE(ui::Forms::IsLoaded<art03>());
       }},
  };
  for (const auto& [name, open] : openers) {
    SCOPED_TRACE(name);
    const QByteArray before = ReadAll(outsideFile_);
    ASSERT_FALSE(before.isEmpty());
    boxes_.Clear();
    open();
    EXPECT_EQ(boxes_.Texts().size(), 1);
    // The file once, the link as the cause, its target as the one technical detail.
    for (const QString& text : boxes_.Texts()) {
      EXPECT_EQ(text.count(kVaru), 1) << text.toStdString();
      EXPECT_TRUE(
          text.endsWith(": il file è un collegamento che porta fuori dal disco dei dati. "
                        "Dettaglio tecnico: destinazione del collegamento: " +
                        outsideFile_))
          << text.toStdString();
    }
    EXPECT_TRUE(ReadAll(outsideFile_) == before) << "the file outside the root changed";
    ui::Forms::UnloadAll();
    SettleWindows();
  }
}

// Input files are only read: a price list reached through a link out of the root is imported.
TEST_F(SupplierLinkTest, APriceListLinkedFromOutsideTheRootIsRead) {
  const QString book = fs::HostPath("C:\\varu\\listino.xlsx");
  ASSERT_TRUE(QFile::remove(fs::HostPath(kVaru)) &&
              QFile::rename(outsideFile_, fs::HostPath(kVaru)));
  const QString outsideBook = outside_.filePath("listino.xlsx");
  ASSERT_TRUE(QFile::rename(book, outsideBook) && QFile::link(outsideBook, book));
  auto* w = ui::Forms::Show<pricelists::lis06b>();
  ASSERT_TRUE(w->File1->Choose("listino.xlsx"));
  w->finew->SetText("1");
  w->Command4->click();
  const auto rs = db::Database::Open(kVaru)->OpenRecordset("select przart from articolo");
  EXPECT_DOUBLE_EQ(rs->Field("przart").toDouble(), 9.5) << boxes_.Texts().join("|").toStdString();
}

}  // namespace
}  // namespace vx::masterdata
