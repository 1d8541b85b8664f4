#include "demo_update.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data_drive.h"

namespace vx::tools {

namespace {

const char kArchiver[] = R"(#!/bin/sh
# Stand-in for the RAR archiver's command line on the demo drive.
# "rar e -o+ ARCHIVE": every file of ARCHIVE, without its folders, into the current folder,
# replacing files of the same name. bsdtar (libarchive-tools) does the unpacking.
if [ "$1" != e ] || [ "$2" != -o+ ] || [ -z "$3" ] || [ -n "$4" ]; then
  echo "Uso: rar e -o+ ARCHIVIO" >&2
  exit 2
fi
if ! command -v bsdtar >/dev/null 2>&1; then
  echo "Manca bsdtar (pacchetto libarchive-tools): impossibile estrarre $3" >&2
  exit 2
fi
work=$(mktemp -d ./.rar.XXXXXX) || exit 2
trap 'rm -rf "$work"' EXIT
if ! bsdtar -x -f "$3" -C "$work"; then
  echo "Impossibile estrarre $3" >&2
  exit 3
fi
find "$work" -type f | while IFS= read -r f; do
  mv -f "$f" . && echo "Estratto ${f##*/}"
done
echo "Tutto OK"
)";

}  // namespace

QString WriteDemoArchiver(const QString& root, QChar drive) {
  const QString path =
      HostPathUnder(root, QString(drive) + QStringLiteral(":\\Programmi\\winrar\\rar"));
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(kArchiver) != qint64(sizeof kArchiver - 1)) {
    throw SetupError(QStringLiteral("Impossibile scrivere il file %1.").arg(path));
  }
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  return QStringLiteral("  archiviatore per l'aggiornamento del software: %1").arg(path);
}

}  // namespace vx::tools
