#include "platform/ui/colors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace vx::ui {

namespace {

// The system colour indexes the windows use, by palette role.
QPalette::ColorRole SystemRole(int index) {
  switch (index) {
    case 8:  // window text
      return QPalette::Text;
    case 15:  // button face
      return QPalette::Button;
    case 18:  // button text
      return QPalette::ButtonText;
    case 5:  // window (input box background)
    default:
      return QPalette::Base;
  }
}

}  // namespace

QColor VbColor(qint64 value) {
  if (value & 0x80000000LL) return QApplication::palette().color(SystemRole(int(value & 0xFF)));
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 ToVbColor(const QColor& color) {
  return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

void SetBackColor(QWidget* widget, const QColor& color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Base, color);
  // A button paints its face in the button role.
  if (qobject_cast<QAbstractButton*>(widget)) p.setColor(QPalette::Button, color);
  widget->setPalette(p);
}

QColor BackColor(const QWidget* widget) { return widget->palette().color(QPalette::Base); }

}  // namespace vx::ui
