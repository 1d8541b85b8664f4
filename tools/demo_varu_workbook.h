// The demo VARU price-list workbook: the VARU catalogue's articles under their group rows
// with changed prices, a few new codes, offers around today and a heading row whose
// column 5 holds the price-list note, so that a new user can try the Excel import.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace vx::tools {

// Reads the VARU catalogue (a host path) and writes the workbook (.xls or .xlsx by the
// name) to workbookHost. Returns a line for the setup report.
QStringList MakeDemoVaruWorkbook(const QString& varuDbHost, const QString& workbookHost,
                                 const QDate& today, unsigned seed, int newCodes = 12);

}  // namespace vx::tools
