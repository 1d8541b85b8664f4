#include "common/layout.h"

#include <QFont>

#include "platform/ui/controls.h"
#include "platform/ui/line.h"
#include "platform/ui/twips.h"

namespace vx::common {

namespace {

float Twips(int pixels) { return float(ui::PixelsToTwips(pixels)); }

}  // namespace

bool mod_ha_left(const QObject* control) {
  auto* w = qobject_cast<const QWidget*>(control);
  return w && !w->isWindow();
}

layout_finestra mod_salva_layout(QWidget* window) {
  layout_finestra layout;
  layout.finestra = window;
  if (!window) return layout;
  const QList<QObject*> controls = ui::Controls(window);
  layout.controlli.resize(controls.size());
  layout.oggetti.reserve(controls.size());
  for (int i = 0; i < controls.size(); ++i) {
    QObject* control = controls[i];
    layout.oggetti.emplace_back(control);
    layout_controllo& c = layout.controlli[i];
    if (auto* line = qobject_cast<ui::Line*>(control)) {
      c.left = float(line->X1());
      c.top = float(line->Y1());
      c.width = float(line->X2() - line->X1());
      c.height = float(line->Y2() - line->Y1());
    } else if (mod_ha_left(control)) {
      auto* w = static_cast<QWidget*>(control);
      const QRect g = w->geometry();
      c.left = Twips(g.x());
      c.top = Twips(g.y());
      c.width = Twips(g.width());
      c.height = Twips(g.height());
      // A font given in pixels has no point size: it keeps 0, as a control without a font.
      const qreal points = w->font().pointSizeF();
      if (points > 0) c.font_size = float(points);
    }
  }
  layout.scale_height = Twips(window->height());
  layout.scale_width = Twips(window->width());
  return layout;
}

void mod_ridimensiona(const layout_finestra& layout) {
  QWidget* window = layout.finestra;
  if (!window || window->isMinimized()) return;
  if (layout.scale_width <= 0 || layout.scale_height <= 0) return;
  const float sx = Twips(window->width()) / layout.scale_width;
  const float sy = Twips(window->height()) / layout.scale_height;
  for (size_t i = 0; i < layout.controlli.size() && i < layout.oggetti.size(); ++i) {
    QObject* control = layout.oggetti[i];
    if (!control) continue;
    const layout_controllo& c = layout.controlli[i];
    if (auto* line = qobject_cast<ui::Line*>(control)) {
      const double x1 = sx * c.left;
      const double y1 = sy * c.top;
      line->SetPoints(x1, y1, x1 + sx * c.width, y1 + sy * c.height);
    } else if (mod_ha_left(control)) {
      auto* w = static_cast<QWidget*>(control);
      w->setGeometry(ui::TwipsToPixels(sx * c.left), ui::TwipsToPixels(sy * c.top),
                     std::max(ui::TwipsToPixels(sx * c.width), 0),
                     std::max(ui::TwipsToPixels(sy * c.height), 0));
      // A control without a font (size 0) is skipped, as the font size it refuses.
      const float points = sy * c.font_size;
      if (points > 0) {
        QFont f = w->font();
        f.setPointSizeF(points);
        w->setFont(f);
      }
    }
  }
  window->update();
}

}  // namespace vx::common
