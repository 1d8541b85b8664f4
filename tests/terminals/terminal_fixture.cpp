#include "terminals/terminal_fixture.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "common/shared_values.h"
#include "data_drive.h"
#include "platform/db/recordset.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "platform/ui/form.h"

namespace vx::terminals::testing {

void TerminalTest::SetUp() {
  root_ = std::make_unique<TempDataRoot>();
  tools::DataDriveOptions options;
  options.force = true;
  const tools::DataDrive drive = tools::MakeDataDrive(root_->root(), options);
  common::G().Reset();
  common::G().drive = "C";
  common::G().percorso_db = drive.mainDbWindows;
  common::G().codutente = 1;
  db_ = db::Database::Open(drive.mainDbWindows);
  db_->Execute("delete from articoli");
  print::SetPrinterList(QStringList{QStringLiteral("PDF")});
  boxes_ = std::make_unique<ScriptedMessages>();
}

void TerminalTest::TearDown() {
  ui::Forms::UnloadAll();
  ProcessDeferredDeletes();
  boxes_.reset();
  print::SetPrinterList(std::nullopt);
  db_.reset();
  root_.reset();
}

void TerminalTest::AddArticle(const QString& ean, const std::array<double, 4>& costs) {
  db_->Execute(
      "insert into articoli (vedovo, desart, sel, costo1, costo2, costo3, costo4, colli1, "
      "colli2, colli3, colli4) values (?, 'ARTICOLO', ' ', ?, ?, ?, ?, 0, 0, 0, 0)",
      {ean, costs[0], costs[1], costs[2], costs[3]});
}

Variant TerminalTest::Column(const QString& ean, const QString& column) const {
  auto rs = db_->OpenRecordset(
      QStringLiteral("select %1 from articoli where vedovo = '%2'").arg(column, ean));
  return rs->Eof() ? Variant::null() : rs->Field(column);
}

void TerminalTest::WriteSource(const QString& windowsPath, const QStringList& lines) const {
  fs::CreateFolder(windowsPath.left(windowsPath.lastIndexOf('\\')));
  ASSERT_TRUE(fs::WriteTextLines(windowsPath, lines));
}

bool TerminalTest::SourceExists(const QString& windowsPath) const {
  return fs::Exists(windowsPath);
}

void TerminalTest::BreakRow(const QString& ean) {
  const QString sql = QStringLiteral(
                          "create trigger broken before update on articoli when old.vedovo = '%1' "
                          "begin select raise(abort, 'riga bloccata'); end")
                          .arg(ean);
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(db_->handle(), sql.toUtf8().constData(), nullptr, nullptr, &error),
            SQLITE_OK)
      << (error ? error : "");
}

QString TerminalTest::PrintedText() const {
  const QFileInfoList pdfs = QDir(fs::HostPath(print::PrintJob::PrintFolder()))
                                 .entryInfoList({"*.pdf"}, QDir::Files, QDir::Time);
  if (pdfs.isEmpty()) return {};
  QProcess p;
  p.start("pdftotext", {"-layout", pdfs.first().absoluteFilePath(), "-"});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

void TerminalTest::ProcessDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace vx::terminals::testing
