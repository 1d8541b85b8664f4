#include "platform/ui/flexgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/twips.h"

namespace vx::ui {

namespace {

// The text margin on either side of a cell, as the style's item drawing leaves it.
int TextMargin(const QWidget* grid) {
  const QStyle* style = grid ? grid->style() : QApplication::style();
  return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
}

// Paints a plain cell (enabled, neither selected nor focused) straight from the model: its
// background, then its text on one line, cut with an ellipsis where it does not fit, placed
// as the style places it. The style's item drawing lays every text out twice and asks the
// model for ten roles; a grid shows hundreds of cells at each step. Any other cell is drawn
// by the style.
class CellPainter : public QStyledItemDelegate {
 public:
  CellPainter(const GridModel* model, QWidget* grid)
      : QStyledItemDelegate(grid), model_(model) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (!(option.state & QStyle::State_Enabled) ||
        (option.state & (QStyle::State_Selected | QStyle::State_HasFocus))) {
      QStyledItemDelegate::paint(p, option, index);
      return;
    }
    const int r = index.row(), c = index.column();
    if (const QColor back = model_->ShownBack(r, c); back.isValid()) p->fillRect(option.rect, back);
    const QString text = model_->Text(r, c);
    if (text.isEmpty()) return;
    const int margin = TextMargin(option.widget);
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    const QFontMetrics& metrics = option.fontMetrics;
    const QColor fore = model_->Fore(r, c);
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
    p->setPen(fore.isValid() ? fore : option.palette.color(group, QPalette::Text));
    p->setFont(option.font);
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    p->drawText(QPoint(area.left(), baseline),
                metrics.elidedText(text, Qt::ElideRight, area.width()));
  }

 private:
  const GridModel* model_;
};

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
  setModel(model_);
  setItemDelegate(new CellPainter(model_, this));
  // Column widths are given in twips for a small, narrow font: the grid uses one.
  QFont narrow(QStringLiteral("DejaVu Sans Condensed"), 8);
  narrow.setStretch(QFont::SemiCondensed);
  setFont(narrow);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // Narrow columns (a row-header column of 200 twips) keep the width they are given.
  horizontalHeader()->setMinimumSectionSize(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  model_->Resize(2, 2);
  row_ = col_ = 1;
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    ApplyWidths();
    ShowCurrent();
  });
}

void FlexGrid::SetRows(int rows) {
  model_->Resize(rows, Cols());
  if (row_ >= Rows()) row_ = std::max(Rows() - 1, 0);
  ShowCurrent();
}

void FlexGrid::SetCols(int cols) {
  model_->Resize(Rows(), cols);
  if (col_ >= Cols()) col_ = std::max(Cols() - 1, 0);
  ShowCurrent();
}

void FlexGrid::SetRow(int row) {
  if (row < 0 || row >= Rows()) return;
  row_ = row;
  ShowCurrent();
}

void FlexGrid::SetCol(int col) {
  if (col < 0 || col >= Cols()) return;
  col_ = col;
  ShowCurrent();
}

void FlexGrid::SetCellColors(int row, int col, const QColor& fore, const QColor& back) {
  model_->SetFore(row, col, fore);
  model_->SetBack(row, col, back);
}

void FlexGrid::DecorateRows(int first, int last, GridModel::RowDecorator decorate) {
  model_->DecorateRows(first, last, std::move(decorate));
  viewport()->update();
}

int FlexGrid::ColWidth(int col) const {
  if (col < 0 || col >= Cols()) return 0;
  if (isColumnHidden(col)) return 0;
  return int(PixelsToTwips(columnWidth(col)));
}

void FlexGrid::SetColWidthFor(int col, int twips, const QString& widest) {
  // The cell's text margin on either side, as the item delegate leaves it, and the grid line.
  const int margins = 2 * TextMargin(this);
  const int needed = fontMetrics().horizontalAdvance(widest) + margins + 1;
  SetColWidth(col, twips <= 0 ? twips : std::max(twips, int(PixelsToTwips(needed))));
}

void FlexGrid::SetColWidth(int col, int twips) {
  if (col < 0) return;
  if (size_t(col) >= widths_.size()) widths_.resize(col + 1, -1);
  widths_[col] = std::max(twips, 0);
  if (col >= Cols()) return;
  if (twips <= 0) {
    setColumnHidden(col, true);
  } else {
    setColumnHidden(col, false);
    setColumnWidth(col, std::max(TwipsToPixels(twips), 1));
  }
}

void FlexGrid::ApplyWidths() {
  for (size_t c = 0; c < widths_.size() && int(c) < Cols(); ++c) {
    if (widths_[c] >= 0) SetColWidth(int(c), widths_[c]);
  }
}

void FlexGrid::SetDataSource(db::DataControl* source) {
  if (refreshed_) disconnect(refreshed_);
  source_ = source;
  if (!source_) return;
  refreshed_ = connect(source_, &db::DataControl::refreshed, this, &FlexGrid::FillFromSource);
  if (source_->recordset()) FillFrom(source_->recordset());
}

void FlexGrid::FillFromSource() { FillFrom(source_ ? source_->recordset() : nullptr); }

void FlexGrid::SetMatrix(int rows, int cols, std::vector<Variant> cells) {
  const int fixedRows = std::max(FixedRows(), 1);
  row_ = rows > fixedRows ? fixedRows : 0;
  col_ = cols > FixedCols() ? FixedCols() : 0;
  model_->Reset(rows, cols, std::move(cells));
}

void FlexGrid::FillFrom(db::Recordset* rs) {
  const int fixedRows = std::max(FixedRows(), 1);
  const int fixedCols = FixedCols();
  if (!rs) {
    model_->Reset(fixedRows, Cols(), {});
    row_ = fixedRows - 1;
    return;
  }
  const int fields = rs->FieldCount();
  const long count = rs->RecordCount();
  const int cols = fixedCols + fields;
  const int rows = fixedRows + int(count);
  // Read the record set once into the matrix; the view then reads the matrix.
  std::vector<Variant> cells(size_t(rows) * cols);
  for (int f = 0; f < fields; ++f) cells[fixedCols + f] = Variant(rs->FieldName(f));
  if (count > 0) {
    rs->MoveFirst();
    size_t at = size_t(fixedRows) * cols;
    for (int r = fixedRows; r < rows && !rs->Eof(); ++r, at += cols) {
      for (int f = 0; f < fields; ++f) cells[at + fixedCols + f] = rs->Field(f);
      rs->MoveNext();
    }
    rs->MoveFirst();
  }
  SetMatrix(rows, cols, std::move(cells));
}

void FlexGrid::ShowCurrent() {
  if (!model_->Contains(row_, col_)) return;
  const QModelIndex i = model_->index(row_, col_);
  if (selectionModel()) {
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
  }
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // Keyboard moves land here; fixed cells never become current.
  if (current.isValid() && !model_->IsFixed(current.row(), current.column())) {
    row_ = current.row();
    col_ = current.column();
  }
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
  int code = VbKeyCode(e->key());
  if (code != 0) {
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    emit KeyDown(code, shift);
  }
  int ascii = 0;
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    ascii = 13;
  } else if (!e->text().isEmpty() && e->text().at(0).unicode() >= 32) {
    ascii = e->text().at(0).unicode();
  }
  if (ascii != 0) emit KeyPress(ascii);
  switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      QTableView::keyPressEvent(e);
      break;
    default:
      e->accept();
  }
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton;
  setFocus(Qt::MouseFocusReason);
  const QModelIndex i = indexAt(e->position().toPoint());
  mouseRow_ = i.isValid() ? i.row() : -1;
  if (pressed_ && i.isValid() && !model_->IsFixed(i.row(), i.column())) {
    row_ = i.row();
    col_ = i.column();
    ShowCurrent();
  }
  e->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
  e->accept();
  if (pressed_ && e->button() == Qt::LeftButton) {
    pressed_ = false;
    emit Click();
  }
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  e->accept();
  if (e->button() == Qt::LeftButton) emit DblClick();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) { e->accept(); }

int VbKeyCode(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;  // 48..57
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // 65..90
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Cancel:
      return 3;
    default:
      return 0;
  }
}

}  // namespace vx::ui
