// Placing a control the way a window's design gives it: position and size in twips.
#pragma once

#include <QPushButton>
#include <QStyle>
#include <QWidget>

#include "platform/ui/twips.h"

namespace vx::ui {

inline void Place(QWidget* w, double left, double top, double width, double height) {
  w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

// The control (a widget, a data control) with its objectName set, for windows laid out by
// Qt's layouts rather than in twips.
template <class T>
T* Named(T* control, const QString& name) {
  control->setObjectName(name);
  return control;
}

// A named push button showing one of the style's standard icons, with its caption (may be
// empty) and tool tip.
inline QPushButton* IconButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon,
                               const QString& caption, const QString& toolTip) {
  auto* b = Named(new QPushButton(parent->style()->standardIcon(icon), caption, parent), name);
  b->setToolTip(toolTip);
  return b;
}

// Makes a child control with its objectName set, placed in twips.
template <class T, class... Args>
T* MakeControl(QWidget* parent, const char* name, double left, double top, double width,
               double height, Args&&... args) {
  T* w = new T(std::forward<Args>(args)..., parent);
  w->setObjectName(QString::fromLatin1(name));
  Place(w, left, top, width, height);
  return w;
}

}  // namespace vx::ui
