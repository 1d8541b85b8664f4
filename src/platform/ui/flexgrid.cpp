#include "platform/ui/flexgrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <cmath>

#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/fixed_band.h"
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
  CellPainter(const GridModel* model, QWidget* grid) : QStyledItemDelegate(grid), model_(model) {}

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

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent),
      model_(new GridModel(this)),
      topBand_(new FixedBand(Qt::Horizontal, this)),
      leftBand_(new FixedBand(Qt::Vertical, this)) {
  setHorizontalHeader(topBand_);
  setVerticalHeader(leftBand_);
  setModel(model_);
  setItemDelegate(new CellPainter(model_, this));
  // Column widths are given in twips for a small, narrow font: the grid uses one.
  QFont narrow(QStringLiteral("DejaVu Sans Condensed"), 8);
  narrow.setStretch(QFont::SemiCondensed);
  setFont(narrow);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // Narrow columns (a row-header column of 200 twips) keep the width they are given.
  horizontalHeader()->setMinimumSectionSize(1);
  // The view's corner button shows the cells the two bands share.
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_) corner_->installEventFilter(this);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  model_->Resize(2, 2);
  row_ = col_ = 1;
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    hiddenRows_ = 0;  // a reset shows every row of the view again
    LayOutFixed();
    ShowCurrent();
  });
  connect(model_, &QAbstractItemModel::dataChanged, this, &FlexGrid::FixedCellsChanged);
  LayOutFixed();
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

void FlexGrid::SetFixedRows(int rows) {
  model_->SetFixed(rows, FixedCols());
  LayOutFixed();
}

void FlexGrid::SetFixedCols(int cols) {
  model_->SetFixed(FixedRows(), cols);
  LayOutFixed();
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
  leftBand_->viewport()->update();
}

int FlexGrid::ColWidth(int col) const {
  if (col < 0 || col >= Cols()) return 0;
  if (col < FixedCols()) return int(PixelsToTwips(fixedWidths_[col]));
  if (isColumnHidden(col)) return 0;
  return int(PixelsToTwips(columnWidth(col)));
}

void FlexGrid::SetColWidthFor(int col, int twips, const QString& widest) {
  if (col < 0) return;
  if (size_t(col) >= widest_.size()) widest_.resize(col + 1);
  widest_[col] = widest;
  SetColWidth(col, twips);
}

void FlexGrid::SetColWidth(int col, int twips) {
  if (col < 0) return;
  if (size_t(col) >= widths_.size()) widths_.resize(col + 1, -1);
  widths_[col] = std::max(twips, 0);
  ApplyWidth(col);
  if (col < FixedCols()) LayOutFixed();
}

int FlexGrid::NeededWidth(const QString& text) const {
  if (text.isEmpty()) return 0;
  // The text's width to a fraction of a pixel, as the cell painter and the style lay it out
  // and cut it; a whole-pixel width can fall short of it.
  const qreal advance = QFontMetricsF(fontMetrics()).horizontalAdvance(text);
  return int(std::ceil(advance)) + 2 * TextMargin(this) + (showGrid() ? 1 : 0);
}

int FlexGrid::ShownWidth(int col) const {
  const int twips = size_t(col) < widths_.size() ? widths_[col] : -1;
  if (twips == 0) return 0;
  int width =
      twips < 0 ? horizontalHeader()->defaultSectionSize() : std::max(TwipsToPixels(twips), 1);
  if (size_t(col) < widest_.size()) width = std::max(width, NeededWidth(widest_[col]));
  for (int r = 0; r < FixedRows() && r < Rows(); ++r)
    width = std::max(width, NeededWidth(model_->Text(r, col)));
  return width;
}

void FlexGrid::ApplyWidth(int col) {
  if (col < 0 || col >= Cols()) return;
  const int width = ShownWidth(col);
  if (col < FixedCols()) {
    // Shown in the left band; the view leaves it out.
    if (size_t(col) >= fixedWidths_.size()) fixedWidths_.resize(col + 1, 0);
    fixedWidths_[col] = width;
    setColumnHidden(col, true);
    return;
  }
  setColumnHidden(col, width == 0);
  if (width > 0) setColumnWidth(col, width);
}

void FlexGrid::LayOutFixed() {
  const int fixedRows = std::min(FixedRows(), Rows());
  for (int r = 0; r < std::max(fixedRows, hiddenRows_) && r < Rows(); ++r)
    setRowHidden(r, r < fixedRows);
  hiddenRows_ = fixedRows;
  fixedWidths_.assign(size_t(std::min(FixedCols(), Cols())), 0);
  for (int c = 0; c < Cols(); ++c) ApplyWidth(c);
  topBand_->setVisible(FixedHeight() > 0);
  leftBand_->setVisible(FixedWidth() > 0);
  updateGeometries();
  topBand_->viewport()->update();
  leftBand_->viewport()->update();
  if (corner_) corner_->update();
}

void FlexGrid::FixedCellsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
  const bool rows = topLeft.row() < FixedRows();
  const bool cols = topLeft.column() < FixedCols();
  if (!rows && !cols) return;
  if (rows) {
    // A heading widens its column where it needs to.
    for (int c = topLeft.column(); c <= bottomRight.column(); ++c) ApplyWidth(c);
    if (cols) updateGeometries();
    topBand_->viewport()->update();
  }
  if (cols) leftBand_->viewport()->update();
  if (rows && cols && corner_) corner_->update();
}

std::vector<FlexGrid::Span> FlexGrid::FixedRowSpans() const {
  std::vector<Span> spans;
  const int height = verticalHeader()->defaultSectionSize();
  for (int r = 0; r < FixedRows() && r < Rows(); ++r) spans.push_back({r, r * height, height});
  return spans;
}

std::vector<FlexGrid::Span> FlexGrid::FixedColSpans() const {
  std::vector<Span> spans;
  int x = 0;
  for (int c = 0; c < int(fixedWidths_.size()) && c < FixedCols(); ++c) {
    if (fixedWidths_[c] > 0) spans.push_back({c, x, fixedWidths_[c]});
    x += fixedWidths_[c];
  }
  return spans;
}

int FlexGrid::FixedHeight() const {
  return std::min(FixedRows(), Rows()) * verticalHeader()->defaultSectionSize();
}

int FlexGrid::FixedWidth() const {
  int width = 0;
  for (const Span& col : FixedColSpans()) width += col.size;
  return width;
}

void FlexGrid::PaintCells(QPainter& painter, const QRect& area, const std::vector<Span>& rows,
                          const std::vector<Span>& cols) {
  QRect cells;
  if (!rows.empty() && !cols.empty()) {
    cells = QRect(
        QPoint(cols.front().pos, rows.front().pos),
        QPoint(cols.back().pos + cols.back().size - 1, rows.back().pos + rows.back().size - 1));
  }
  // The room after the last row or column is empty, as in the view.
  for (const QRect& empty : QRegion(area).subtracted(cells))
    painter.fillRect(empty, palette().color(QPalette::Base));
  if (cells.isEmpty()) return;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int line = showGrid() ? 1 : 0;
  for (const Span& row : rows) {
    for (const Span& col : cols) {
      option.rect = QRect(col.pos, row.pos, col.size - line, row.size - line);
      if (option.rect.intersects(area))
        itemDelegate()->paint(&painter, option, model_->index(row.index, col.index));
    }
  }
  if (!showGrid()) return;
  const QColor color =
      QColor::fromRgba(QRgb(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this)));
  painter.setPen(QPen(color, 1, gridStyle()));
  for (const Span& row : rows) {
    const int y = row.pos + row.size - 1;
    painter.drawLine(QLineF(cells.left(), y, cells.right(), y).translated(0.5, 0.5));
  }
  for (const Span& col : cols) {
    const int x = col.pos + col.size - 1;
    painter.drawLine(QLineF(x, cells.top(), x, cells.bottom()).translated(0.5, 0.5));
  }
}

void FlexGrid::ForwardToCells(QWidget* from, QEvent* e) {
  if (e->type() == QEvent::Wheel) {
    QCoreApplication::sendEvent(viewport(), e);
    return;
  }
  const auto* me = static_cast<QMouseEvent*>(e);
  const QPointF at = viewport()->mapFrom(this, from->mapTo(this, me->position()));
  QMouseEvent moved(me->type(), at, me->scenePosition(), me->globalPosition(), me->button(),
                    me->buttons(), me->modifiers(), me->pointingDevice());
  QCoreApplication::sendEvent(viewport(), &moved);
}

std::pair<int, int> FlexGrid::CellAt(const QPoint& at) const {
  auto fixedAt = [](const std::vector<Span>& spans, int pos) {
    for (const Span& s : spans)
      if (pos >= s.pos && pos < s.pos + s.size) return s.index;
    return -1;
  };
  const int row = at.y() < 0 ? fixedAt(FixedRowSpans(), at.y() + FixedHeight()) : rowAt(at.y());
  const int col = at.x() < 0 ? fixedAt(FixedColSpans(), at.x() + FixedWidth()) : columnAt(at.x());
  return {row, col};
}

QRect FlexGrid::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || !model_->IsFixed(index.row(), index.column()))
    return QTableView::visualRect(index);
  auto place = [](const std::vector<Span>& spans, int i, int shift) -> std::pair<int, int> {
    for (const Span& s : spans)
      if (s.index == i) return {s.pos - shift, s.size};
    return {0, 0};
  };
  const auto [y, height] =
      index.row() < FixedRows()
          ? place(FixedRowSpans(), index.row(), FixedHeight())
          : std::pair{rowViewportPosition(index.row()), rowHeight(index.row())};
  const auto [x, width] =
      index.column() < FixedCols()
          ? place(FixedColSpans(), index.column(), FixedWidth())
          : std::pair{columnViewportPosition(index.column()), columnWidth(index.column())};
  if (width <= 0 || height <= 0) return QRect();
  const int line = showGrid() ? 1 : 0;
  return QRect(x, y, width - line, height - line);
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* e) {
  if (watched != corner_) return QTableView::eventFilter(watched, e);
  switch (e->type()) {
    case QEvent::Paint: {
      QPainter painter(corner_);
      PaintCells(painter, static_cast<QPaintEvent*>(e)->rect(), FixedRowSpans(), FixedColSpans());
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      ForwardToCells(corner_, e);
      return true;
    case QEvent::MouseMove:
      return true;
    default:
      return QTableView::eventFilter(watched, e);
  }
}

void FlexGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  if (dy != 0) KeepTopRowWhole();
}

void FlexGrid::updateGeometries() {
  QTableView::updateGeometries();
  KeepTopRowWhole();
}

void FlexGrid::KeepTopRowWhole() {
  const QScrollBar* bar = verticalScrollBar();
  if (verticalScrollMode() != ScrollPerItem || bar->maximum() <= 0 ||
      bar->value() != bar->maximum()) {
    return;
  }
  const int before = verticalHeader()->offset();
  verticalHeader()->setOffsetToSectionPosition(bar->value());
  if (verticalHeader()->offset() != before) viewport()->update();
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
  const auto [row, col] = CellAt(e->position().toPoint());
  const bool cell = row >= 0 && col >= 0;
  mouseRow_ = cell ? row : -1;
  if (pressed_ && cell && !model_->IsFixed(row, col)) {
    row_ = row;
    col_ = col;
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
