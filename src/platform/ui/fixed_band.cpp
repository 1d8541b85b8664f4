#include "platform/ui/fixed_band.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/ui/flexgrid.h"

namespace vx::ui {

FixedBand::FixedBand(Qt::Orientation orientation, FlexGrid* grid)
    : QHeaderView(orientation, grid), grid_(grid) {
  setHighlightSections(false);
  setSectionsClickable(false);
  // The band paints every cell it shows and the room after the last one itself.
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_Hover, false);
}

QSize FixedBand::sizeHint() const {
  return orientation() == Qt::Horizontal ? QSize(0, grid_->FixedHeight())
                                         : QSize(grid_->FixedWidth(), 0);
}

void FixedBand::paintEvent(QPaintEvent* e) {
  const QRect area = e->rect();
  const bool rows = orientation() == Qt::Horizontal;
  const int from = rows ? area.left() : area.top();
  // The grid's rows or columns shown along the band, within the area to paint.
  int first = visualIndexAt(from);
  if (first < 0) first = from < 0 ? 0 : count();
  int last = visualIndexAt(rows ? area.right() : area.bottom());
  if (last < 0) last = count() - 1;
  std::vector<FlexGrid::Span> shown;
  for (int v = first; v <= last; ++v) {
    const int i = logicalIndex(v);
    if (!isSectionHidden(i)) shown.push_back({i, sectionViewportPosition(i), sectionSize(i)});
  }
  QPainter painter(viewport());
  if (rows) {
    grid_->PaintCells(painter, area, grid_->FixedRowSpans(), shown);
  } else {
    grid_->PaintCells(painter, area, shown, grid_->FixedColSpans());
  }
}

bool FixedBand::viewportEvent(QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      grid_->ForwardToCells(viewport(), e);
      return true;
    case QEvent::MouseMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::ContextMenu:
      return true;
    default:
      return QHeaderView::viewportEvent(e);
  }
}

}  // namespace vx::ui
