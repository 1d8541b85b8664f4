#include "platform/ui/controls.h"

#include <QWidget>

namespace vx::ui {

namespace {

void Collect(QObject* parent, QList<QObject*>& out) {
  for (QObject* child : parent->children()) {
    // Other windows (message boxes, child forms) are not controls of this one.
    if (auto* w = qobject_cast<QWidget*>(child); w && w->isWindow()) continue;
    const QString name = child->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) out << child;
    Collect(child, out);
  }
}

}  // namespace

QList<QObject*> Controls(QWidget* window) {
  QList<QObject*> out;
  if (window) Collect(window, out);
  return out;
}

}  // namespace vx::ui
