// The file list: the names of the files of one folder that match a pattern. Folder and
// pattern are set in one assignment ("C:\varu\*.xls*"); the operator picks a name.
#pragma once

#include <QListWidget>
#include <QString>

namespace vx::ui {

class FileList : public QListWidget {
  Q_OBJECT
 public:
  explicit FileList(QWidget* parent = nullptr);

  // Folder and pattern from a Windows path whose last part is the pattern; a path without
  // a pattern keeps the current one. The list is read afresh.
  void SetFileName(const QString& pathAndPattern);
  // The folder (a Windows path ending without "\") and the pattern.
  QString Path() const { return path_; }
  QString Pattern() const { return pattern_; }
  // The chosen name ("" when none).
  QString FileName() const;
  // Reads the folder again; the chosen name stays chosen when it is still there.
  void Refresh();
  QStringList Names() const;
  // Chooses a listed name as the operator does, raising Click; false when it is not listed.
  bool Choose(const QString& name);

 signals:
  void Click();  // the operator chose a name

 private:
  QString path_;
  QString pattern_ = QStringLiteral("*.*");
};

}  // namespace vx::ui
