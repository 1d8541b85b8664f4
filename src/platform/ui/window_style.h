// The style the windows are drawn with: the platform's own style, with frames drawn the same
// but cheaper. A frame's border is drawn once for each size and kept; it is put on screen in
// bands of a few scan lines. Qt's raster engine hands every fill that spans many scan lines
// to its thread pool, however narrow the fill; waking those threads for a frame's thin
// border costs far more than the border itself, each time a window is repainted.
#pragma once

#include <QProxyStyle>

namespace vx::ui {

class WindowStyle : public QProxyStyle {
 public:
  // Over the style Qt would choose by itself.
  WindowStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace vx::ui
