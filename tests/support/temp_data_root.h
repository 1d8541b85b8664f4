// A data root in a temporary folder for the length of a test, with the drive folder "C"
// made and "C" as the current drive; the previous root and drive come back afterwards.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TempDataRoot {
 public:
  TempDataRoot();
  ~TempDataRoot();
  TempDataRoot(const TempDataRoot&) = delete;
  TempDataRoot& operator=(const TempDataRoot&) = delete;

  QString root() const { return dir_.path(); }
  // The host path of a path below the root ("C/Programmi/tolmo"), its folders made.
  QString Folder(const QString& relative) const;
  // Writes a file below the root (folders made) and returns its host path.
  QString WriteFile(const QString& relative, const QByteArray& bytes) const;

 private:
  QTemporaryDir dir_;
  QString previousRoot_;
  QChar previousDrive_;
};
