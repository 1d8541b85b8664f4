// A data drive as the product ships it (and, with demo, filled with four suppliers), made
// under a data root: the setup tool makes it, tests and benchmarks use it as a fixture.
#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace vx::tools {

class SetupError : public std::runtime_error {
 public:
  explicit SetupError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString message() const { return QString::fromStdString(what()); }
};

struct DataDriveOptions {
  QChar drive = QLatin1Char('C');
  bool demo = false;
  int articles = 3000;       // articles per demo supplier catalogue
  bool force = false;        // replace the files of an existing data drive
  QString storeName;         // empty: "MARKET BELLAVISTA"
  QDate today;               // the day the demo offers are placed around; invalid: today
  unsigned seed = 20240611;  // the demo data are the same for the same seed
  // With demo: the files beside the databases too (price lists, workbooks, the terminal
  // sample, the archiver). Off, only the databases are filled: enough for the comparison.
  bool demoFiles = true;
};

struct SupplierDrive {
  int slot = 0;         // fornitori.codice (0 for a database no slot names)
  QString name;         // fornitori.descr
  QString windowsPath;  // fornitori.percorso: "C:\varu\dati.mdb"
  QString hostPath;
  QString program;  // fornitori.programma
};

struct DataDrive {
  QString root;
  QChar drive;
  QString mainDb, storeDb, storeRecordFile;  // host paths
  QString mainDbWindows, storeDbWindows, storeRecordFileWindows;
  std::vector<SupplierDrive> suppliers;  // the four demo slots first, then the others
  QStringList made;                      // one line per thing made
};

// The host path of a Windows path under root ("C:\pelko\client.mdb" -> root/C/pelko/...),
// each existing component matched without regard to case.
QString HostPathUnder(const QString& root, const QString& windowsPath);

// Makes the data drive; SetupError when its files exist and force is off, db::DbError when
// a database cannot be made.
DataDrive MakeDataDrive(const QString& root, const DataDriveOptions& options = {});

}  // namespace vx::tools
