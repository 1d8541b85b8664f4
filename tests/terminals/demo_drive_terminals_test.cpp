// A new user's road on the demo drive: the four suppliers loaded, then for each terminal
// type that starts no download tool, `vantorelix-setup --terminal CODE`'s sample, "Ordine"
// and "Conferma": the packages and marks in the comparison table, the codes not found on
// the printed report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "common/shared_values.h"
#include "common/windows.h"
#include "comparison/differences.h"
#include "comparison/load_supplier.h"
#include "data_drive.h"
#include "demo_terminals.h"
#include "platform/db/database.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "platform/ui/form.h"
#include "shell/Main.h"
#include "shell/window_registry.h"
#include "support/qt_print.h"
#include "support/requirements.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"
#include "terminals/terminal_window.h"

namespace vx::terminals::testing {
namespace {

int Count(db::Database& db, const QString& sql) {
  auto st = db.PrepareNative(sql);
  const int n = st.Step() ? int(st.Column(0).toLong()) : -1;
  st.Reset();
  return n;
}

QStringList PdfTexts() {
  QStringList texts;
  const QFileInfoList pdfs = QDir(fs::HostPath(print::PrintJob::PrintFolder()))
                                 .entryInfoList({"*.pdf"}, QDir::Files, QDir::Time);
  for (const QFileInfo& pdf : pdfs) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf.absoluteFilePath(), "-"});
    p.waitForFinished(30000);
    texts << QString::fromUtf8(p.readAllStandardOutput());
  }
  return texts;
}

TEST(DemoDriveTerminalsTest, EachTerminalTypesSampleReachesTheComparison) {
  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  TempDataRoot root;
  tools::DataDriveOptions options;
  options.demo = true;
  options.articles = 200;
  options.today = QDate(2026, 3, 10);
  const tools::DataDrive drive = tools::MakeDataDrive(root.root(), options);
  auto main = db::Database::Open(drive.mainDbWindows);
  common::ProgressSink quiet;
  for (int slot = 1; slot <= 4; ++slot) {
    comparison::SlotLoad load;
    load.supplierCode = QString::number(slot);
    load.slot = slot;
    ASSERT_TRUE(comparison::LoadSupplier(*main, load, quiet).completed) << slot;
  }
  ASSERT_TRUE(comparison::ComputeDifferences(*main, quiet).completed);

  shell::RegisterProgramWindows();
  print::SetPrinterList(QStringList{QStringLiteral("PDF")});
  common::G().Reset();
  common::G().drive = "C";
  common::G().percorso_db = drive.mainDbWindows;
  common::G().codutente = 1;
  for (const QString code : {"", "PDT", "PDM", "IT7", "SIS", "PD6", "630"}) {
    SCOPED_TRACE(code.toStdString());
    main->Execute("update articoli set colli1 = 0, colli2 = 0, colli3 = 0, colli4 = 0, sel = ' '");
    QDir(fs::HostPath(print::PrintJob::PrintFolder())).removeRecursively();
    tools::SetUpTerminal(root.root(), 'C', code);
    common::G().tipo_terminale = code;

    ScriptedMessages boxes;
    if (code == "IT7") boxes.Answer(ui::MsgAnswer::Yes);
    const QString name = shell::Main::TerminalWindowFor(code);
    ASSERT_TRUE(common::OpenWindow(name));
    TerminalWindow* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == name) w = qobject_cast<TerminalWindow*>(top);
    }
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(boxes.Texts().last(), " Elaborazione terminata con successo ");
    EXPECT_GE(Count(*main, "select count(*) from articoli where sel = 'X'"), 3);
    EXPECT_GE(Count(*main,
                    "select count(*) from articoli where colli1 + colli2 + colli3 + "
                    "coalesce(colli4, 0) > 0"),
              2);
    const QStringList printed = PdfTexts();
    if (code.isEmpty()) {
      EXPECT_TRUE(printed.isEmpty()) << "the default terminal never prints";
    } else {
      ASSERT_EQ(printed.size(), 1);
      EXPECT_EQ(printed[0].count("Codice non trovato: 299"), 1) << printed[0].toStdString();
    }
    ui::Forms::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  print::SetPrinterList(std::nullopt);
}

}  // namespace
}  // namespace vx::terminals::testing
