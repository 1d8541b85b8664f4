// The style the windows are drawn with: the platform's own style, with group box frames and
// scroll bars drawn the same but cheaper. Qt's raster engine hands every fill that spans many
// scan lines to its thread pool, however narrow the fill; waking those threads for a frame's
// thin border costs far more than the border itself, each time a window is repainted. So a
// frame's border is drawn once for each size, kept, and put on screen in bands of a few scan
// lines; a scroll bar is drawn within its own rectangle.
#pragma once

#include <QProxyStyle>

namespace vx::ui {

class WindowStyle : public QProxyStyle {
 public:
  // Over the style Qt would choose by itself.
  WindowStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
};

}  // namespace vx::ui
