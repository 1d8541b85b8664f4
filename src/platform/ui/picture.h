// A picture control: an image of the program's resources shown at its own size.
#pragma once

#include <QLabel>
#include <QPixmap>

#include "platform/ui/place.h"

namespace vx::ui {

// A named picture control showing a resource image (":/pictures/cart.png").
inline QLabel* Picture(QWidget* parent, const QString& name, const QString& resource) {
  auto* picture = Named(new QLabel(parent), name);
  picture->setPixmap(QPixmap(resource));
  picture->setAlignment(Qt::AlignCenter);
  return picture;
}

}  // namespace vx::ui
