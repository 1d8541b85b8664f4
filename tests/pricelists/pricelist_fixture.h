// A data drive for the price-list imports: the VARU catalogue C:\varu\dati.mdb, the store
// database with its printers, a fixed today, the PDF printer, and VARU workbooks written
// in either format from rows of cells.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "platform/db/database.h"
#include "platform/variant.h"
#include "support/temp_data_root.h"
#include "workbook_writer.h"

namespace vx::pricelists::testing {

// One sheet row: column -> value.
using SheetRow = std::map<int, Variant>;

// A VARU article row: code, description in two parts, price, VAT, EAN, unit, pack.
SheetRow VaruArticle(qint64 code, const QString& description, const Variant& price,
                     const Variant& ean = Variant(), const Variant& pack = 6);

class PricelistFixture : public ::testing::Test {
 protected:
  static QDate Day() { return QDate(2026, 3, 15); }
  static double DayNumber(const QDate& d) { return QDate(1899, 12, 30).daysTo(d); }

  void SetUp() override;
  void TearDown() override;

  // Writes rows (from row 1) as sheet `sheet` of C:\varu\<name>; .xls names get BIFF8.
  QString WriteVaru(const QString& name, const std::vector<SheetRow>& rows,
                    const QString& sheet = QStringLiteral("1"));
  // The host path of a Windows path.
  static QString Host(const QString& windowsPath);

  // A catalogue article with an offer.
  void AddArticle(qint64 codart, const QString& ea1art, double przart, double przoff = 0,
                  double data1 = 0, double data2 = 0);
  // A column of the first article row with the code (Empty when none).
  Variant Article(qint64 codart, const QString& column);
  Variant Scalar(const QString& sql, const std::vector<Variant>& params = {});
  int Count(const QString& table);

  TempDataRoot root_;
  std::shared_ptr<db::Database> varu_;
};

}  // namespace vx::pricelists::testing
