// The drive list: the drive letters present under the data root, showing the drive the
// program started on.
#pragma once

#include <QComboBox>

namespace vx::ui {

class DriveList : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(QWidget* parent = nullptr);

  // The current drive as the list shows it ("c:"); its first character is the letter.
  QString Drive() const;
};

}  // namespace vx::ui
