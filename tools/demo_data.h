// Demo data: four suppliers with realistic, overlapping grocery catalogues, the store's
// operators and settings, the supplier rows and a few EAN conversion rows.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace vx::tools {

struct DemoSupplier {
  int slot;
  QString name;     // fornitori.descr
  QString folder;   // folder at the root of the drive
  QString program;  // the ordering program's file name in that folder
};

// VARU, APULIA, DIZA and CORVALIA in slots 1 to 4.
const std::vector<DemoSupplier>& DemoSuppliers();

struct DemoSettings {
  QChar drive = QLatin1Char('C');
  int articles = 3000;  // per supplier
  QDate today;
  unsigned seed = 1;
  QString storeName;
};

// Fills the supplier databases (host paths, in slot order) with their catalogues and the
// upgraded main database with the demo operators, the store row, the four supplier rows,
// the conversion rows and the store's own price list. Returns a line per thing filled.
QStringList FillDemo(const QString& mainDbHost, const std::vector<QString>& supplierDbHosts,
                     const DemoSettings& settings);

}  // namespace vx::tools
