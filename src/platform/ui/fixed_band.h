// The fixed rows of a grid, above its cells, or its fixed columns, at their left. Each band is
// one of the grid view's two headers, so that the view places it beside its cells and moves it
// with their scrolling along the band; across the band it never moves. Instead of header
// sections it shows the grid's fixed cells, painted as the grid paints its cells, and it hands
// mouse presses and the wheel over to the grid's cells.
#pragma once

#include <QHeaderView>

namespace vx::ui {

class FlexGrid;

class FixedBand : public QHeaderView {
 public:
  // Qt::Horizontal: the fixed rows, one section per column; Qt::Vertical: the fixed columns,
  // one section per row.
  FixedBand(Qt::Orientation orientation, FlexGrid* grid);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool viewportEvent(QEvent* e) override;

 private:
  FlexGrid* grid_;
};

}  // namespace vx::ui
