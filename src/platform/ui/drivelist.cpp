#include "platform/ui/drivelist.h"

#include "platform/paths.h"

namespace vx::ui {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  const QString current = QString(fs::CurrentDrive()).toLower();
  QStringList letters = fs::DriveLetters();
  if (!letters.contains(current, Qt::CaseInsensitive)) letters.prepend(current);
  for (const QString& letter : letters) addItem(letter.toLower() + QLatin1Char(':'));
  setCurrentIndex(findText(current + QLatin1Char(':')));
}

QString DriveList::Drive() const { return currentText(); }

}  // namespace vx::ui
