#include "platform/ui/filelist.h"

#include "platform/files.h"
#include "platform/paths.h"

namespace vx::ui {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemClicked, this, [this] { emit Click(); });
}

void FileList::SetFileName(const QString& pathAndPattern) {
  const qsizetype slash = pathAndPattern.lastIndexOf(QLatin1Char('\\'));
  const QString last = pathAndPattern.mid(slash + 1);
  if (last.contains(QLatin1Char('*')) || last.contains(QLatin1Char('?'))) {
    path_ = slash < 0 ? QString() : pathAndPattern.left(slash);
    pattern_ = last;
  } else {
    path_ = pathAndPattern;
    while (path_.endsWith(QLatin1Char('\\'))) path_.chop(1);
  }
  clear();
  Refresh();
}

QString FileList::FileName() const {
  const QListWidgetItem* item = currentItem();
  return item && item->isSelected() ? item->text() : QString();
}

void FileList::Refresh() {
  const QString chosen = FileName();
  clear();
  const QString folder = path_.isEmpty() ? QString() : path_ + QLatin1Char('\\');
  // Only files that can be picked: no device, FIFO or socket.
  for (const QString& name :
       fs::ListFolder(folder.isEmpty() ? QStringLiteral(".") : folder, pattern_)) {
    if (fs::IsRegularFile(folder + name)) addItem(name);
  }
  if (!chosen.isEmpty()) {
    const auto found = findItems(chosen, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (!found.isEmpty()) setCurrentItem(found.first());
  }
}

QStringList FileList::Names() const {
  QStringList n;
  for (int i = 0; i < count(); ++i) n << item(i)->text();
  return n;
}

bool FileList::Choose(const QString& name) {
  const auto found = findItems(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (found.isEmpty()) return false;
  setCurrentItem(found.first());
  emit Click();
  return true;
}

}  // namespace vx::ui
