#include "platform/ui/line.h"

#include <QPainter>
#include <algorithm>

#include "platform/ui/twips.h"

namespace vx::ui {

Line::Line(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void Line::SetPoints(double x1, double y1, double x2, double y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  // The widget covers the line's bounding box (at least one pixel each way).
  const int left = TwipsToPixels(std::min(x1, x2));
  const int top = TwipsToPixels(std::min(y1, y2));
  const int right = TwipsToPixels(std::max(x1, x2));
  const int bottom = TwipsToPixels(std::max(y1, y2));
  setGeometry(left, top, std::max(1, right - left + 1), std::max(1, bottom - top + 1));
  update();
}

void Line::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  const QPoint origin = pos();
  p.drawLine(QPoint(TwipsToPixels(x1_), TwipsToPixels(y1_)) - origin,
             QPoint(TwipsToPixels(x2_), TwipsToPixels(y2_)) - origin);
}

}  // namespace vx::ui
