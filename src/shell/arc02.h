// The backup window: copies the main database into a file named after the date and time in
// the backup folder of the data drive. A copy closes the main and the login window first.
#pragma once

#include "platform/ui/form.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::ui {
class StatusBox;
class TextBox;
}  // namespace vx::ui

namespace vx::shell {

class arc02 : public ui::Form {
  Q_OBJECT
 public:
  arc02();

  QLabel* Label1 = nullptr;     // heading
  QGroupBox* Frame1 = nullptr;  // "Nome file backup"
  ui::TextBox* nuovow = nullptr;
  ui::StatusBox* txtStatus = nullptr;
  QPushButton* Command1 = nullptr;  // makes the copy
  QPushButton* Command2 = nullptr;  // closes the window

  void Command1_Click();
  void Command2_Click();
  void arc02_scrivi_stato(const QString& message);

  // The backup folder of the data drive.
  static QString BackupFolder();
  // The file a name typed in the box stands for: a name without a drive is taken in the
  // program's folder of the data drive, the application's current folder.
  static QString TargetOf(const QString& name);

 protected:
  void Form_Load() override;
};

}  // namespace vx::shell
