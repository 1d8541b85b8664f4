// What each file format gives the workbook: its sheet names and, on demand, a sheet's cells.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/workbook/workbook.h"

namespace vx::workbook::detail {

class Source {
 public:
  virtual ~Source() = default;
  virtual QStringList SheetNames() const = 0;
  // The cells of the sheet at a position from 0, in any order; WorkbookError when damaged.
  virtual std::vector<Sheet::Entry> ReadSheet(int index) = 0;
};

// The readers; both raise WorkbookError with the reason when the file can't be read.
std::unique_ptr<Source> OpenXlsx(const QString& hostPath);
std::unique_ptr<Source> OpenXls(const QString& hostPath);

// Number formats: true when a format shows a date (built-in ids 14-22 and 45-47; a format
// text with d, m or y outside quotes, brackets and escapes).
bool IsBuiltInDateFormat(int id);
bool IsDateFormatText(const QString& format);

// The day number of a date cell's serial number in the workbook's date system: the 1900
// system counts a 29 February 1900 that never was, the 1904 system starts 1462 days later.
double DayNumberOfSerial(double serial, bool system1904);
// A date-formatted number as the cell's value: a date while the serial is a day from
// 1900 to 9999 (what a workbook can show as a date), else the number itself.
Variant DateCellValue(double serial, bool system1904);

// Messages of the readers.
QString DamagedMessage(const QString& detail = {});

}  // namespace vx::workbook::detail
