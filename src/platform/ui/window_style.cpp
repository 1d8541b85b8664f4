#include "platform/ui/window_style.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOption>
#include <algorithm>

namespace vx::ui {

namespace {

// A fill of at most this many scan lines stays below the engine's threshold for its pool.
constexpr int kPaintBand = 64;

// Draws `pixmap` at `topLeft`, unscaled, in bands of kPaintBand scan lines.
void DrawInBands(QPainter& painter, const QPoint& topLeft, const QPixmap& pixmap) {
  for (int y = 0; y < pixmap.height(); y += kPaintBand) {
    const int rows = std::min(kPaintBand, pixmap.height() - y);
    painter.drawPixmap(topLeft + QPoint(0, y), pixmap, QRect(0, y, pixmap.width(), rows));
  }
}

// What the platform style's group box border depends on: its size, its palette and state,
// the font of a title and whether there is one.
QString FrameKey(const QStyleOptionFrame& frame, const QWidget* widget) {
  const auto* box = qobject_cast<const QGroupBox*>(widget);
  const bool bare = box && box->title().isEmpty() && !box->isCheckable();
  return QStringLiteral("vx-frame-%1x%2-%3-%4-%5-%6-%7-%8")
      .arg(frame.rect.width())
      .arg(frame.rect.height())
      .arg(frame.palette.cacheKey())
      .arg(uint(frame.state & (QStyle::State_Enabled | QStyle::State_Active)))
      .arg(uint(frame.features))
      .arg(frame.lineWidth)
      .arg(frame.fontMetrics.height())
      .arg(bare ? 1 : 0);
}

}  // namespace

WindowStyle::WindowStyle() = default;

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
  // Printing, scaled or high-density painting takes the platform's own way.
  if (element != PE_FrameGroupBox || !frame || frame->rect.isEmpty() ||
      painter->transform().type() > QTransform::TxTranslate ||
      painter->device()->devicePixelRatio() != 1.0) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  const QString key = FrameKey(*frame, widget);
  QPixmap border;
  if (!QPixmapCache::find(key, &border)) {
    QImage image(frame->rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QStyleOptionFrame atOrigin = *frame;
    atOrigin.rect = image.rect();
    QPainter onImage(&image);
    QProxyStyle::drawPrimitive(element, &atOrigin, &onImage, widget);
    onImage.end();
    border = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, border);
  }
  DrawInBands(*painter, frame->rect.topLeft(), border);
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
  if (control != CC_ScrollBar) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  // Clipped to its own rectangle, a flat scroll bar's drawing hands nothing to the engine's
  // thread pool; left to the window's clip alone, it handed over a dozen fills at each paint.
  painter->save();
  painter->setClipRect(option->rect, Qt::IntersectClip);
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  painter->restore();
}

}  // namespace vx::ui
