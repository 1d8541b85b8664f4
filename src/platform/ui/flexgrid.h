// The grid of the comparison windows: a text matrix with fixed heading rows and columns,
// a current cell, cell colours, column widths in twips, filled from a data control's record
// set, and the click, double click, key press and key down events of the windows.
//
// The view itself shows only the data cells (the fixed rows and columns are hidden in it); the
// fixed rows stay above them and the fixed columns at their left, in two bands that scroll
// with the cells only along their length (FixedBand), and the cells both share in the corner.
// Row and column numbers are the matrix's everywhere.
#pragma once

#include <QPointer>
#include <QTableView>
#include <utility>
#include <vector>

#include "platform/ui/grid_model.h"

namespace vx::db {
class DataControl;
class Database;
class Recordset;
}  // namespace vx::db

namespace vx::ui {

class FixedBand;

class FlexGrid : public QTableView {
  Q_OBJECT
 public:
  explicit FlexGrid(QWidget* parent = nullptr);

  int Rows() const { return model_->Rows(); }
  int Cols() const { return model_->Cols(); }
  void SetRows(int rows);
  void SetCols(int cols);
  int FixedRows() const { return model_->FixedRows(); }
  int FixedCols() const { return model_->FixedCols(); }
  void SetFixedRows(int rows);
  void SetFixedCols(int cols);

  // Cells outside the grid read as "" and are not written.
  QString TextMatrix(int row, int col) const { return model_->Text(row, col); }
  void SetTextMatrix(int row, int col, const QString& text) { model_->SetText(row, col, text); }

  // The current cell.
  int Row() const { return row_; }
  int Col() const { return col_; }
  void SetRow(int row);
  void SetCol(int col);
  QString Text() const { return TextMatrix(row_, col_); }
  void SetText(const QString& text) { SetTextMatrix(row_, col_, text); }

  // The row under the mouse at the last press of a button, -1 when outside the cells.
  int MouseRow() const { return mouseRow_; }

  // Colours of the current cell; an invalid colour is the grid's normal colour.
  QColor CellForeColor() const { return model_->Fore(row_, col_); }
  QColor CellBackColor() const { return model_->Back(row_, col_); }
  void SetCellForeColor(const QColor& color) { model_->SetFore(row_, col_, color); }
  void SetCellBackColor(const QColor& color) { model_->SetBack(row_, col_, color); }
  // Colours of any cell without moving the current cell.
  void SetCellColors(int row, int col, const QColor& fore, const QColor& back);
  QColor CellForeColorAt(int row, int col) const { return model_->Fore(row, col); }
  QColor CellBackColorAt(int row, int col) const { return model_->Back(row, col); }

  // Column width in twips; 0 hides the column. Widths hold across refills. A column is never
  // narrower than the texts of its fixed rows (its headings) need, so that they show whole.
  int ColWidth(int col) const;
  void SetColWidth(int col, int twips);
  // SetColWidth, widened where the twips give less than `widest` (the widest text the column
  // shows) needs in the grid's font, so that the column never cuts it; 0 still hides it.
  void SetColWidthFor(int col, int twips, const QString& widest);

  // Bound to a data control: each refresh of the control refills the grid.
  void SetDataSource(db::DataControl* source);
  // Heading row (FixedRows - 1 ... 0: row 0) gets the field names from column FixedCols on,
  // each record one row below; the record set is left on its first row.
  void FillFrom(db::Recordset* rs);

  // Empties every cell and drops the colours; the dimensions stay.
  void Clear() { model_->ClearTexts(); }

  // Formats and colours of rows first..last, applied to each row when it is first read,
  // written or shown (GridModel::DecorateRows); the rows shown are repainted.
  void DecorateRows(int first, int last, GridModel::RowDecorator decorate);

  GridModel* gridModel() const { return model_; }

  // Where a cell shows, in viewport coordinates; a fixed cell shows above or left of the
  // viewport, in its band.
  QRect visualRect(const QModelIndex& index) const override;

 signals:
  void Click();
  void DblClick();
  // Key code as the windows know it (46 Delete, 13 Enter, 48..57 digits, 65..90 letters);
  // shift holds 1 Shift, 2 Ctrl, 4 Alt.
  void KeyDown(int& keyCode, int shift);
  // The typed character; a handler may set keyAscii to 0.
  void KeyPress(int& keyAscii);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  // Scrolled to its end, the grid shows whole rows under its fixed rows, as everywhere else:
  // the top row whole, with room left below the last (Qt puts the last row at the bottom,
  // cutting the top one).
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;

 private:
  friend class FixedBand;
  // A row or column as shown: its number, the position of its top or left edge and its size,
  // in pixels.
  struct Span {
    int index;
    int pos;
    int size;
  };
  // The fixed rows and columns, placed from the top and the left of their bands.
  std::vector<Span> FixedRowSpans() const;
  std::vector<Span> FixedColSpans() const;
  int FixedHeight() const;
  int FixedWidth() const;
  // Paints the cells rows x cols, as the view paints its cells, and the rest of `area` empty.
  void PaintCells(QPainter& painter, const QRect& area, const std::vector<Span>& rows,
                  const std::vector<Span>& cols);
  // A mouse or wheel event on `from`, a band of fixed cells, given to the viewport at the same
  // place on screen.
  void ForwardToCells(QWidget* from, QEvent* e);
  // The row and column at a point of the viewport, the fixed ones above and left of it; -1
  // where there is none.
  std::pair<int, int> CellAt(const QPoint& at) const;
  // The view hides the fixed rows and columns; the bands take their size.
  void LayOutFixed();
  void FixedCellsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
  // The width a column is shown with, in pixels: as set, widened for its widest text and its
  // headings; 0 when hidden.
  int ShownWidth(int col) const;
  void ApplyWidth(int col);
  // The pixels a cell needs to show `text` whole.
  int NeededWidth(const QString& text) const;
  // The fill after a refresh of the bound control.
  void FillFromSource();
  void SetMatrix(int rows, int cols, std::vector<Variant> cells);
  void ShowCurrent();
  void KeepTopRowWhole();

  GridModel* model_;
  FixedBand* topBand_;         // the fixed rows
  FixedBand* leftBand_;        // the fixed columns
  QWidget* corner_ = nullptr;  // the view's corner between the bands
  int row_ = 0;
  int col_ = 0;
  std::vector<int> widths_;       // twips, -1 for the default width
  std::vector<QString> widest_;   // the widest text of each column, "" where none is given
  std::vector<int> fixedWidths_;  // shown widths of the fixed columns, pixels
  int hiddenRows_ = 0;            // rows 0.. hidden in the view as fixed
  QPointer<db::DataControl> source_;
  QMetaObject::Connection refreshed_;
  bool pressed_ = false;
  int mouseRow_ = -1;
};

// The key code of a Qt key as the windows' KeyDown expects it; 0 for keys they do not know.
int VbKeyCode(int qtKey);

}  // namespace vx::ui
