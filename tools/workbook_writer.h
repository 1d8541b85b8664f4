// A small workbook writer for demo drives, tests and benchmarks: .xlsx through libzip and
// .xls (BIFF8, or BIFF5 for tests) in a compound file through libgsf. It writes the cells it
// is given, with the few styles the readers need (dates), nothing more.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "platform/variant.h"

namespace vx::tools {

struct BookCell {
  int row = 1;
  int column = 1;
  // A number, text, boolean, error value (Variant::error) or date (written as a
  // date-formatted serial number).
  Variant value;
  // Written as a formula cell whose stored result is `value`.
  bool formula = false;
};

struct BookSheet {
  QString name;
  std::vector<BookCell> cells;
};

struct BookOptions {
  bool date1904 = false;
  // .xlsx: texts in the shared strings part (else inline); .xls: in the SST (else LABEL).
  bool sharedStrings = true;
  // .xlsx: each shared text written as two rich-text runs with a phonetic run between.
  bool richText = false;
  // .xlsx: relationship targets from the package root ("/xl/worksheets/sheet1.xml").
  bool absoluteTargets = false;
  // .xlsx: rows and cells without their "r" reference.
  bool omitReferences = false;
  // Dates with the built-in format 14 instead of the custom "dd/mm/yyyy".
  bool builtInDateFormat = false;
  // .xls: a shared-formula record between a text formula and its STRING record.
  bool sharedFormulaBeforeString = false;
  // .xls: BIFF5 "Book" stream, texts in this code page (0: no CODEPAGE record, 1252 meant).
  bool biff5 = false;
  int codePage = 1252;
};

// Write the file (replacing it); false with the reason in *error when it can't.
bool WriteXlsx(const QString& hostPath, const std::vector<BookSheet>& sheets,
               const BookOptions& options = {}, QString* error = nullptr);
bool WriteXls(const QString& hostPath, const std::vector<BookSheet>& sheets,
              const BookOptions& options = {}, QString* error = nullptr);

// A compound file holding one stream of the given bytes (for workbooks made by hand).
bool WriteCompoundFile(const QString& hostPath, const QString& streamName, const QByteArray& bytes);

// The date serial a workbook stores for a day number.
double SerialOfDayNumber(double dayNumber, bool system1904);

}  // namespace vx::tools
