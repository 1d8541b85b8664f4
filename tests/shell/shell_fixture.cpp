#include "shell/shell_fixture.h"

#include "common/shared_values.h"

void ShellTest::SetUp() {
  vx::common::G().Reset();
  vx::print::SetPrinterList(QStringList{QStringLiteral("PDF")});
  drive = vx::tools::MakeDataDrive(root.root());
  boxes = std::make_unique<ScriptedMessages>();
}

void ShellTest::TearDown() {
  vx::ui::Forms::UnloadAll();
  Settle();
  boxes.reset();
  vx::print::SetPrinterList(std::nullopt);
  vx::common::G().Reset();
}

std::shared_ptr<vx::db::Database> ShellTest::MainDb() const {
  return vx::db::Database::Open(drive.mainDb);
}

std::shared_ptr<vx::db::Database> ShellTest::StoreDb() const {
  return vx::db::Database::Open(drive.storeDb);
}

void ShellTest::SetOperators(const std::vector<std::vector<vx::Variant>>& rows) const {
  auto db = MainDb();
  db->Execute(QStringLiteral("delete from commessi"));
  for (const auto& r : rows) {
    db->Execute(QStringLiteral("insert into commessi (codcommesso, dsccommesso, password, "
                               "auto_start) values (?, ?, ?, ?)"),
                r);
  }
}

void ShellTest::Activate(QWidget* w) {
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(w, &activate);
}

void ShellTest::Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}
