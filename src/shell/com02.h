// The login window: the first window of the program. Its load prepares the data drive, the
// two databases and their schema, and lists the operators; a correct login unloads it and
// shows the main window.
#pragma once

#include "common/layout.h"
#include "platform/ui/form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::db {
class DataControl;
class DbError;
}  // namespace vx::db
namespace vx::ui {
class DBCombo;
class DriveList;
class TextBox;
}  // namespace vx::ui

namespace vx::shell {

// The window's caption: the product's title.
inline const QString kProductTitle = QStringLiteral("Vantorelix");

class com02 : public ui::Form {
  Q_OBJECT
 public:
  com02();

  QGroupBox* Frame1 = nullptr;  // "ACCEDI"
  QLabel* Label1 = nullptr;     // "UTENTE"
  QLabel* Label2 = nullptr;     // "PASSWORD"
  ui::DBCombo* DBCombo1 = nullptr;
  ui::TextBox* passw = nullptr;
  ui::DriveList* Drive1 = nullptr;
  db::DataControl* Data1 = nullptr;
  QPushButton* Command4 = nullptr;  // "LOGIN"
  QPushButton* Command1 = nullptr;  // "USCITA"

  void Command4_Click();
  void Command1_Click();
  void chiaro();

  // A window to show over the main window once the next login has succeeded (the
  // program's start option --tre-fornitori); opened by name, nothing when unregistered.
  static void ShowAfterLogin(const QString& windowName);

 protected:
  void Form_Load() override;
  void Form_Resize() override;

 private:
  void DBCombo1_Change();
  void passw_KeyPress(int& keyAscii);
  bool ProvisionStoreDatabase();
  bool UpgradeDatabases();
  void LoginSucceeded();
  // A load step failed: the window stays for "USCITA" only, since the program cannot run
  // without both databases and the operator list; then the message is shown.
  void StopStart(const QString& message);
  // The message of a database held by another program, with the error's technical text.
  static QString InUseText(const QString& path, const db::DbError& e);

  common::layout_finestra layout_finestra_;
};

}  // namespace vx::shell
