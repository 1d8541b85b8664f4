// A read-only workbook: the cells of an .xlsx or .xls file as values. The format is told by
// the file's content, never by its name; sheets are found by position or by name without
// regard to case; a cell is read by row and column from 1.
//
// A cell gives Empty, a number (Double), text, a date (a date-formatted number, in the 1900
// or 1904 system, as its day number), a boolean or an error value ("#N/A"); a formula cell
// gives the value the file stores for it. Only the cells present are kept. A file that is
// damaged, truncated, encrypted or of no known format, and a sheet that is missing, raise
// WorkbookError with the reason; the file is never written.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/variant.h"

namespace vx::workbook {

class WorkbookError : public std::runtime_error {
 public:
  explicit WorkbookError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString message() const { return QString::fromStdString(what()); }
};

// The cells of one sheet, sorted by row and column.
class Sheet {
 public:
  struct Entry {
    quint32 row;
    quint32 column;
    Variant value;
  };

  Sheet() = default;
  Sheet(QString name, std::vector<Entry> cells);

  const QString& Name() const { return name_; }
  // The value at row and column (from 1); Empty where the sheet has no cell.
  Variant Cell(int row, int column) const;
  // The highest row that holds a cell (0 for an empty sheet) and the number of cells.
  int LastRow() const;
  qsizetype CellCount() const { return static_cast<qsizetype>(cells_.size()); }
  // Every cell present, by row and column.
  const std::vector<Entry>& Cells() const { return cells_; }

 private:
  QString name_;
  std::vector<Entry> cells_;
};

enum class Format { Xlsx, Xls };

namespace detail {
class Source;
}

class Workbook {
 public:
  // Opens a file by a Windows path (mapped onto the data root) or a host path.
  static std::unique_ptr<Workbook> Open(const QString& path);
  ~Workbook();

  Format format() const { return format_; }
  const QString& path() const { return path_; }
  // The worksheets in the workbook's order (chart and macro sheets are left out).
  QStringList SheetNames() const { return names_; }
  int SheetCount() const { return static_cast<int>(names_.size()); }
  // The sheet at a position from 1, or by its name without regard to case ("foglio1" finds
  // "Foglio1"; "1" is a name, never a position). Read on first use, then kept.
  const Sheet& SheetAt(int index);
  const Sheet& SheetNamed(const QString& name);
  bool HasSheet(const QString& name) const;

 private:
  Workbook() = default;
  QString path_;
  Format format_ = Format::Xlsx;
  QStringList names_;
  std::unique_ptr<detail::Source> source_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
};

}  // namespace vx::workbook
