// The Corvalia price-list window: the operator picks the Corvalia supplier and presses
// "Aggiorna listino"; the catalogue of the data drive's corvalia folder is rebuilt from the
// text files of type A, B and T, with a time-stamped log and a progress bar.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "platform/ui/form.h"
#include "pricelists/corvalia_import.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace vx::db {
class Database;
class DataControl;
}  // namespace vx::db

namespace vx::ui {
class DBCombo;
class ProgressBar;
class StatusBox;
class TextBox;
}  // namespace vx::ui

namespace vx::pricelists {

class art22 : public ui::Form {
  Q_OBJECT
 public:
  art22();

  // The controls, named as the window names them (also their objectName).
  QLabel* Label2 = nullptr;  // title
  QLabel* Image1 = nullptr;  // decoration pictures either side of the title
  QLabel* Image2 = nullptr;
  QGroupBox* Frame9 = nullptr;  // "Attenzione"
  QLabel* Label3 = nullptr;
  QGroupBox* Frame5 = nullptr;  // "Selezionare Fornitore"
  ui::DBCombo* DBCombo3 = nullptr;
  ui::TextBox* codforw = nullptr;
  QPushButton* Command1 = nullptr;  // "Aggiorna listino"
  QPushButton* Command2 = nullptr;  // "Uscita"
  ui::StatusBox* txtStatus = nullptr;
  ui::ProgressBar* pb1 = nullptr;
  db::DataControl* fornitori = nullptr;  // the Corvalia suppliers of the main database

  // Event procedures.
  void DBCombo3_Click();
  void Command1_Click();  // "Aggiorna listino"
  void Command2_Click();  // "Uscita"

  // The text folder and the patterns of the three files.
  QString cartella_listino, modello_a, modello_b, modello_t;

  // True while an import runs: the buttons and closing are refused.
  bool busy() const { return busy_; }

 protected:
  void Form_Load() override;
  bool CanClose() override { return !busy_; }

 private:
  void BuildControls();
  // The drive letter as the folder texts show it.
  QString DriveLetter() const;
  // Finds and reads the three files and opens the catalogue; false after a message.
  bool Prepare();
  // A refused or failed import: the log's last line says the catalogue was not changed, and
  // the box tells why.
  void Refuse(const QString& message);

  // The four steps, run in this order inside one transaction, and the log.
  void art22_pulizia_archivi();
  void art22_elabora_tipo_b();
  void art22_elabora_tipo_t();
  void art22_elabora_tipo_a();
  void art22_scrivi_stato(const QString& messaggio);

  bool busy_ = false;
  std::unique_ptr<common::ProgressSink> sink_;
  std::shared_ptr<db::Database> target_;
  CorvaliaFiles files_;
  std::vector<DamagedLine> damaged_;
};

}  // namespace vx::pricelists
