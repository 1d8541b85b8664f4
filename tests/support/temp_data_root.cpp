#include "support/temp_data_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/paths.h"

TempDataRoot::TempDataRoot()
    : previousRoot_(vx::fs::DataRoot()), previousDrive_(vx::fs::CurrentDrive()) {
  QDir(dir_.path()).mkpath(QStringLiteral("C"));
  vx::fs::SetDataRoot(dir_.path());
  vx::fs::SetCurrentDrive(QLatin1Char('C'));
}

TempDataRoot::~TempDataRoot() {
  vx::fs::SetDataRoot(previousRoot_);
  vx::fs::SetCurrentDrive(previousDrive_);
}

QString TempDataRoot::Folder(const QString& relative) const {
  const QString path = dir_.path() + QLatin1Char('/') + relative;
  QDir().mkpath(path);
  return path;
}

QString TempDataRoot::WriteFile(const QString& relative, const QByteArray& bytes) const {
  const QString path = dir_.path() + QLatin1Char('/') + relative;
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  return path;
}
