// The demo drive's VARU workbook imported through the window, with the new codes printed,
// and the new prices reaching the comparison.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <cmath>
#include <map>

#include "common/shared_values.h"
#include "comparison/load_supplier.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "platform/db/database.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "platform/ui/filelist.h"
#include "platform/ui/textbox.h"
#include "pricelists/lis06b.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::pricelists {
namespace {

double Cost(db::Database& main, const QString& ean) {
  auto st = main.Prepare(QStringLiteral("select costo1 from articoli where vedovo = ?"));
  st.Bind(1, Variant(ean));
  const double v = st.Step() ? st.Column(0).toDouble() : -1;
  st.Reset();
  return v;
}

TEST(DemoDriveImportTest, TheDemoWorkbookUpdatesTheCatalogueAndTheComparison) {
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 200;
  options.today = QDate(2026, 3, 10);
  options.drive = QLatin1Char('D');
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  SetClock([&] { return QDateTime(options.today, QTime(9, 0)); });
  print::SetPrinterList(QStringList{print::kPdfPrinterName});
  common::G().Reset();
  common::G().percorso_db = drive.mainDbWindows;
  common::G().percorso_client = drive.storeDbWindows;
  ASSERT_EQ(drive.suppliers[0].windowsPath, "C:\\varu\\dati.mdb");

  auto main = db::Database::Open(drive.mainDbWindows);
  auto varu = db::Database::Open(QStringLiteral("C:\\varu\\dati.mdb"));
  struct Lines : common::ProgressSink {
    void Status(const QString& m) override { text += m + "\n"; }
    QString text;
  } quiet;
  comparison::SlotLoad load;
  load.supplierCode = QStringLiteral("1");
  load.slot = 1;
  ASSERT_TRUE(comparison::LoadSupplier(*main, load, quiet).completed) << quiet.text.toStdString();
  // Every article's EAN and price before the import.
  struct Before {
    QString ean;
    double price;
  };
  std::map<qint64, Before> before0;
  auto all = varu->Prepare(QStringLiteral("select codart, ea1art, przart from articolo"));
  while (all.Step())
    before0[all.Column(0).toLong()] = {all.Column(1).str(), all.Column(2).toDouble()};
  all.Reset();
  auto count = [&] {
    auto st = varu->Prepare(QStringLiteral("select count(*) from articolo"));
    st.Step();
    const qint64 n = st.Column(0).toLong();
    st.Reset();
    return n;
  };
  const qint64 before = count();

  auto* w = ui::Forms::Get<lis06b>();
  ASSERT_TRUE(w->File1->Choose(QStringLiteral("listino_varu.xls")));
  w->fstampa->setChecked(true);
  {
    ScriptedMessages boxes;
    w->Command4->click();
    EXPECT_EQ(boxes.Texts(), QStringList());
  }
  EXPECT_EQ(count(), before + 12);
  // An article whose price the workbook changed, and its cost in the comparison before.
  qint64 code = 0;
  auto price = varu->Prepare(QStringLiteral("select przart from articolo where codart = ?"));
  double newPrice = 0;
  for (const auto& [c, b] : before0) {
    price.Reset().Bind(1, Variant(c));
    ASSERT_TRUE(price.Step());
    newPrice = price.Column(0).toDouble();
    if (std::abs(newPrice - b.price) > 0.005 && Cost(*main, b.ean) > 0) {
      code = c;
      break;
    }
  }
  price.Reset();
  ASSERT_NE(code, 0);
  const QString ean = before0[code].ean;
  const double oldPrice = before0[code].price;
  const double oldCost = Cost(*main, ean);
  const QStringList pdfs =
      QDir(fs::HostPath(print::PrintJob::PrintFolder())).entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdfs.size(), 1);
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (!pdftotext.isEmpty() || qEnvironmentVariable("CI") == "true") {
    QProcess p;
    p.start(pdftotext, {fs::HostPath(print::PrintJob::PrintFolder()) + "/" + pdfs[0], "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).count("Nuovo Codice :"), 12);
  }

  ASSERT_TRUE(comparison::LoadSupplier(*main, load, quiet).completed);
  EXPECT_NEAR(Cost(*main, ean) / oldCost, newPrice / oldPrice, 1e-4);

  ui::Forms::Unload<lis06b>();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  print::SetPrinterList(std::nullopt);
  SetClock({});
  common::G().Reset();
}

}  // namespace
}  // namespace vx::pricelists
