// The controls of a window in their collection order: every named object below the window
// (widgets in frames included, Qt's own inner parts left out), parents before children,
// in the order they were made.
#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace vx::ui {

QList<QObject*> Controls(QWidget* window);

}  // namespace vx::ui
