// The three-supplier road on the demo data drive as a new user takes it: "Elabora dati" in the
// loader opens the grid by its registered name, packages typed into the grid, the list printed
// and the orders written into the suppliers' databases.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "common/shared_values.h"
#include "common/windows.h"
#include "comparison3/cnf01T.h"
#include "comparison3/grid3_fixture.h"
#include "data_drive.h"
#include "platform/clock.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "shell/window_registry.h"

namespace vx::comparison3::testing {
namespace {

TEST(Cnf02TDemoTest, ElaboraDatiGridPackagesPrintAndOrders) {
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 300;
  options.today = QDate(2026, 3, 10);
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  SetClock([] { return QDateTime(QDate(2026, 3, 10), QTime(9, 0)); });
  print::SetPrinterList(QStringList{print::kPdfPrinterName});
  auto& g = common::G();
  g.Reset();
  g.percorso_db = drive.mainDbWindows;
  g.codutente = 1;
  g.ragione_sociale = "MARKET BELLAVISTA";
  shell::RegisterProgramWindows();
  ScriptedMessages boxes;

  ui::Forms::Get<cnf01T>()->Command1->click();
  ASSERT_TRUE(ui::Forms::IsLoaded<cnf02T>());
  cnf02T* w = ui::Forms::Get<cnf02T>();
  ui::FlexGrid* grid = w->flex1;
  ASSERT_GT(grid->Rows(), 100);
  int coloured = 0;
  for (int c : {9, 11, 13}) coloured += grid->CellBackColorAt(1, c) == ui::VbColor(255);
  EXPECT_EQ(coloured, 1);

  // Packages for slot 1 and slot 2 on the first rows each slot prices.
  auto main = db::Database::Open(drive.mainDbWindows);
  std::array<QString, 3> ordered;
  for (int slot = 1; slot <= 2; ++slot) {
    for (int r = 1; r < grid->Rows(); ++r) {
      if (grid->TextMatrix(r, 7 + 2 * slot).isEmpty() ||
          grid->TextMatrix(r, 7 + 2 * slot) == "0,0000" || grid->TextMatrix(r, 2) == ordered[1]) {
        continue;
      }
      grid->SetRow(r);
      grid->SetCol(8 + 2 * slot);
      int key = '3';
      w->flex1_KeyPress(key);
      ordered[slot] = grid->TextMatrix(r, 2);
      break;
    }
    ASSERT_FALSE(ordered[slot].isEmpty()) << slot;
  }

  // The list of the ticked rows, as a PDF in the print folder.
  const QString folder = root.root() + "/C/Programmi/tolmo/stampe";
  boxes.Answer(ui::MsgAnswer::Yes);
  w->Command10->click();
  ASSERT_EQ(QDir(folder).entryList({"*.pdf"}, QDir::Files).size(), 1);
  EXPECT_EQ(grid->Rows(), 3);

  // The orders: a year without orders asks nothing but the closing question.
  boxes.Answer(ui::MsgAnswer::Yes);
  w->Command4->click();
  EXPECT_EQ(boxes.Texts().last(), "Elaborazione completata con successo. Vuoi pulire i colli?");
  auto percorso = [&](int slot) {
    auto rs = main->OpenRecordset(
        QStringLiteral("select percorso from fornitori where codice = %1").arg(slot));
    return rs->Field(0).str();
  };
  for (int slot = 1; slot <= 2; ++slot) {
    auto sup = db::Database::Open(percorso(slot));
    auto st = sup->Prepare(
        "select m.quantita, m.eanrig, t.numero from movimenti m join testa t on t.anno = "
        "m.bannoc and t.numero = m.bnumer where m.bannoc = 2026");
    ASSERT_TRUE(st.Step()) << slot;
    EXPECT_EQ(st.Column(0).toDouble(), 3);
    EXPECT_EQ(st.Column(1).str(), ordered[slot]);
    EXPECT_FALSE(st.Step());
    st.Reset();
  }
  auto left = main->OpenRecordset("select count(*) from articoli where colli1 + colli2 > 0");
  EXPECT_EQ(left->Field(0).toLong(), 0);

  ui::Forms::UnloadAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  common::RegisterWindow("cnf02T", [] {});
  print::SetPrinterList(std::nullopt);
  SetClock({});
  g.Reset();
}

}  // namespace
}  // namespace vx::comparison3::testing
