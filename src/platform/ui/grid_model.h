// The matrix behind the grid: one vector of cell values, row after row, and the cell colours
// kept apart for the few cells that have one. A value read from the database stays a value
// until its text is asked for (a view asks only for the cells it shows); text written to a
// cell is kept as text. Nothing is made per cell.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QString>
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
  void SetFore(int row, int col, const QColor& color);
  void SetBack(int row, int col, const QColor& color);

 private:
  qint64 Key(int row, int col) const { return qint64(row) << 32 | quint32(col); }
  void CellChanged(int row, int col);

  int rows_ = 0;
  int cols_ = 0;
  int fixedRows_ = 1;
  int fixedCols_ = 1;
  std::vector<Variant> cells_;
  QHash<qint64, QColor> fore_;
  QHash<qint64, QColor> back_;
};

}  // namespace vx::ui
