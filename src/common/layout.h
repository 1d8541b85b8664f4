// The recorded layout of a window and its rescaling on resize: positions, sizes and font
// sizes in twips (15 to a pixel) as the window had them at load, so that every resize is
// computed from the same starting point and repeated resizing does not drift.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace vx::common {

// For a line control: x1, y1, x2 - x1, y2 - y1 and no font size. All zeros for a control
// whose position cannot be read (a menu entry).
struct layout_controllo {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  float font_size = 0;
};

struct layout_finestra {
  QPointer<QWidget> finestra;
  // One entry per control in the window's collection order: controlli[0] is control 1.
  std::vector<layout_controllo> controlli;
  // The controls themselves, in the same order, so that a control made after the layout was
  // saved is left alone instead of taking another control's place.
  std::vector<QPointer<QObject>> oggetti;
  float scale_height = 0;
  float scale_width = 0;
};

// True when the control's Left, Top, Width and Height can be read (a widget of the window).
bool mod_ha_left(const QObject* control);

layout_finestra mod_salva_layout(QWidget* window);

// Rescales every control: left edges and widths by the ratio of the widths, tops, heights
// and font sizes by the ratio of the heights. Nothing happens while the window is minimised.
void mod_ridimensiona(const layout_finestra& layout);

}  // namespace vx::common
