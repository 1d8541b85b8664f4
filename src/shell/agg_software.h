// The software update window: downloads the new version's archive over FTP into the
// program's folder of the data drive and starts the batch file that unpacks it. The main
// window is closed while it is open and comes back unless an update was started.
#pragma once

#include <QString>

#include "platform/ftp/ftp_client.h"
#include "platform/ui/form.h"

class QLabel;
class QPushButton;

namespace vx::ui {
class StatusBox;
}

namespace vx::shell {

class agg_software : public ui::Form {
  Q_OBJECT
 public:
  agg_software();

  QLabel* Label2 = nullptr;  // title
  QLabel* Label3 = nullptr;  // what the window does
  QLabel* Label1 = nullptr;  // the maker's name
  QLabel* Label4 = nullptr;  // "ATTENDERE...", shown while the update runs
  ui::StatusBox* txtStatus = nullptr;
  QPushButton* Command1 = nullptr;  // starts the update
  QPushButton* Command2 = nullptr;  // cancels
  ftp::FtpClient Ftp;

  void Command1_Click();
  void Command2_Click();
  void agg_software_scrivi_stato(const QString& message);

  // The update server's host and port: the maker's server, or $VANTORELIX_UPDATE_SERVER
  // ("host" or "host:port").
  struct Server {
    QString host;
    int port = 21;
  };
  static Server UpdateServer();
  // The six lines of the batch file that unpacks the archive, for the drive letter as the
  // shared values hold it.
  static QStringList BatchLines(const QString& drive);

 protected:
  void Form_Unload() override;

 private:
  // Runs the update after the operator's Yes; true once the batch file started.
  bool Update();
  bool started_ = false;  // the batch file runs: the main window does not come back
};

}  // namespace vx::shell
