// The matrix behind the grid: one vector of cell values, row after row, and the cell colours
// kept apart for the few cells that have one. A value read from the database stays a value
// until its text is asked for (a view asks only for the cells it shows); text written to a
// cell is kept as text. Nothing is made per cell.
//
// A window that formats and colours every row after a fill hands that work over as a row
// decoration: each row is decorated the first time anything reads, writes or shows it, so
// that a fill of many rows costs only the rows looked at. What any reader sees is the same
// as if every row had been decorated at once.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QString>
#include <functional>
#include <vector>

#include "platform/variant.h"

namespace vx::ui {

class GridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  // New dimensions keeping the texts and colours of the cells that remain.
  void Resize(int rows, int cols);
  // Replaces everything: cells holds rows * cols values, row after row; colours are dropped.
  void Reset(int rows, int cols, std::vector<Variant> cells);

  void SetFixed(int rows, int cols);
  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  bool IsFixed(int row, int col) const { return row < fixedRows_ || col < fixedCols_; }

  bool Contains(int row, int col) const {
    return row >= 0 && col >= 0 && row < rows_ && col < cols_;
  }
  QString Text(int row, int col) const;
  void SetText(int row, int col, const QString& text);
  // Empties every text and drops the colours, keeping the dimensions.
  void ClearTexts();

  // An invalid colour means the grid's normal colour.
  QColor Fore(int row, int col) const;
  QColor Back(int row, int col) const;
  // The background a cell shows: its own colour, the button face for a fixed cell, else
  // invalid (the grid's base colour).
  QColor ShownBack(int row, int col) const;
  void SetFore(int row, int col, const QColor& color);
  void SetBack(int row, int col, const QColor& color);

  // Rows first..last (within the grid) are to be decorated by `decorate`, which reads and
  // writes the row's cells through this model; it runs once per row, at the row's first
  // access. Rows still waiting for an earlier decoration get it first. A resize decorates
  // every waiting row; a refill (Reset) and ClearTexts drop the waiting decoration.
  using RowDecorator = std::function<void(GridModel& model, int row)>;
  void DecorateRows(int first, int last, RowDecorator decorate);
  // Decorates every row still waiting.
  void DecorateAll();

 private:
  qint64 Key(int row, int col) const { return qint64(row) << 32 | quint32(col); }
  void CellChanged(int row, int col);
  // Decorates `row` when it is still waiting. The cells it changes read as decorated from
  // the start, so no change is signalled.
  void Decorate(int row) const {
    if (waiting_ > 0 && row >= 0 && size_t(row) < waitingRows_.size() && waitingRows_[row]) {
      const_cast<GridModel*>(this)->DecorateRow(row);
    }
  }
  void DecorateRow(int row);
  void DropDecoration();

  int rows_ = 0;
  int cols_ = 0;
  int fixedRows_ = 1;
  int fixedCols_ = 1;
  std::vector<Variant> cells_;
  QHash<qint64, QColor> fore_;
  QHash<qint64, QColor> back_;
  RowDecorator decorate_;
  std::vector<char> waitingRows_;  // 1 for a row still to be decorated
  long waiting_ = 0;
  bool decorating_ = false;
};

}  // namespace vx::ui
