#include "platform/ui/grid_model.h"

#include <QApplication>
#include <QPalette>
#include <QThreadPool>
#include <algorithm>
#include <memory>

namespace vx::ui {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant GridModel::data(const QModelIndex& index, int role) const {
  const int r = index.row();
  const int c = index.column();
  if (!Contains(r, c)) return {};
  Decorate(r);
  switch (role) {
    case Qt::DisplayRole:
      return cells_[size_t(r) * cols_ + c].str();
    case Qt::BackgroundRole: {
      const QColor back = ShownBack(r, c);
      return back.isValid() ? QVariant(back) : QVariant();
    }
    case Qt::ForegroundRole: {
      const QColor fore = Fore(r, c);
      return fore.isValid() ? QVariant(fore) : QVariant();
    }
    default:
      return {};
  }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (IsFixed(index.row(), index.column())) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::Resize(int rows, int cols) {
  rows = std::max(rows, 0);
  cols = std::max(cols, 0);
  if (rows == rows_ && cols == cols_) return;
  DecorateAll();
  std::vector<Variant> cells(size_t(rows) * cols);
  for (int r = 0; r < std::min(rows, rows_); ++r) {
    for (int c = 0; c < std::min(cols, cols_); ++c) {
      cells[size_t(r) * cols + c] = std::move(cells_[size_t(r) * cols_ + c]);
    }
  }
  auto dropOutside = [rows, cols](QHash<qint64, QColor>& colors) {
    for (auto it = colors.begin(); it != colors.end();) {
      const int r = int(it.key() >> 32);
      const int c = int(quint32(it.key()));
      it = (r >= rows || c >= cols) ? colors.erase(it) : std::next(it);
    }
  };
  beginResetModel();
  dropOutside(fore_);
  dropOutside(back_);
  rows_ = rows;
  cols_ = cols;
  cells_ = std::move(cells);
  endResetModel();
}

namespace {

// Above this many cells the values a refill replaces are freed on a pool thread: freeing
// hundreds of thousands of values is work the operator need not wait for.
constexpr size_t kFreeApart = 100000;

void Free(std::vector<Variant>&& cells) {
  if (cells.size() < kFreeApart) return;
  auto old = std::make_shared<std::vector<Variant>>(std::move(cells));
  QThreadPool::globalInstance()->start([old]() mutable { old.reset(); });
}

}  // namespace

void GridModel::Reset(int rows, int cols, std::vector<Variant> cells) {
  beginResetModel();
  DropDecoration();
  rows_ = rows;
  cols_ = cols;
  Free(std::move(cells_));
  cells_ = std::move(cells);
  cells_.resize(size_t(rows) * cols);
  fore_.clear();
  back_.clear();
  endResetModel();
}

void GridModel::SetFixed(int rows, int cols) {
  fixedRows_ = std::max(rows, 0);
  fixedCols_ = std::max(cols, 0);
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

QString GridModel::Text(int row, int col) const {
  if (!Contains(row, col)) return QString();
  Decorate(row);
  return cells_[size_t(row) * cols_ + col].str();
}

void GridModel::SetText(int row, int col, const QString& text) {
  if (!Contains(row, col)) return;
  Decorate(row);
  cells_[size_t(row) * cols_ + col] = Variant(text);
  CellChanged(row, col);
}

void GridModel::ClearTexts() {
  beginResetModel();
  DropDecoration();
  for (Variant& v : cells_) v = Variant();
  fore_.clear();
  back_.clear();
  endResetModel();
}

QColor GridModel::Fore(int row, int col) const {
  Decorate(row);
  return fore_.value(Key(row, col));
}

QColor GridModel::Back(int row, int col) const {
  Decorate(row);
  return back_.value(Key(row, col));
}

QColor GridModel::ShownBack(int row, int col) const {
  const QColor back = Back(row, col);
  if (back.isValid() || !IsFixed(row, col)) return back;
  return QApplication::palette().color(QPalette::Button);
}

void GridModel::SetFore(int row, int col, const QColor& color) {
  if (!Contains(row, col)) return;
  Decorate(row);
  fore_.insert(Key(row, col), color);
  CellChanged(row, col);
}

void GridModel::SetBack(int row, int col, const QColor& color) {
  if (!Contains(row, col)) return;
  Decorate(row);
  back_.insert(Key(row, col), color);
  CellChanged(row, col);
}

void GridModel::CellChanged(int row, int col) {
  if (decorating_) return;
  const QModelIndex i = index(row, col);
  emit dataChanged(i, i);
}

void GridModel::DecorateRows(int first, int last, RowDecorator decorate) {
  DecorateAll();
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (!decorate || first > last) return;
  decorate_ = std::move(decorate);
  waitingRows_.assign(size_t(rows_), 0);
  std::fill(waitingRows_.begin() + first, waitingRows_.begin() + last + 1, 1);
  waiting_ = last - first + 1;
}

void GridModel::DecorateAll() {
  for (int r = 0; waiting_ > 0 && r < int(waitingRows_.size()); ++r) Decorate(r);
  DropDecoration();
}

void GridModel::DecorateRow(int row) {
  waitingRows_[row] = 0;
  --waiting_;
  const bool outer = !decorating_;
  decorating_ = true;
  decorate_(*this, row);
  if (!outer) return;
  decorating_ = false;
  if (waiting_ == 0) DropDecoration();
}

void GridModel::DropDecoration() {
  decorate_ = nullptr;
  waitingRows_.clear();
  waiting_ = 0;
}

}  // namespace vx::ui
