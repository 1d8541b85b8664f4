// The demo SDA, RBM and SEMVRA price lists: an SDA workbook (.xls) with its listino.txt, an
// RBM workbook, a food and a non-food SEMVRA list and a SEMVRA promotions workbook with
// offer days around today, over articles that share their EANs with the demo suppliers, so
// that a new user can try each Excel import.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace vx::tools {

// Reads the articles of two demo supplier catalogues (host paths) and writes the files into
// the host folders of C:\sda, C:\rbm and C:\semvra. Returns lines for the setup report.
QStringList MakeDemoExcelSupplierBooks(const QString& firstDbHost, const QString& secondDbHost,
                                       const QString& sdaFolderHost, const QString& rbmFolderHost,
                                       const QString& semvraFolderHost, const QDate& today,
                                       unsigned seed);

}  // namespace vx::tools
