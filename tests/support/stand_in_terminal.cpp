#include "support/stand_in_terminal.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

QString ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

QString WriteScript(const QString& path, const QByteArray& body) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write("#!/bin/sh\n" + body);
  f.close();
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

StandInTerminal::StandInTerminal(const QByteArray& keys, Presence presence)
    : previousPath_(qgetenv("PATH")) {
  const QString bin = File("bin");
  QDir().mkpath(bin);
  if (presence == Presence::Absent) {
    qputenv("PATH", bin.toLocal8Bit());
    return;
  }
  QFile k(File("keys"));
  if (k.open(QIODevice::WriteOnly)) k.write(keys);
  k.close();
  const QByteArray d = dir_.path().toLocal8Bit();
  WriteScript(bin + "/x-terminal-emulator",
              "[ \"$1\" = -e ] || exit 2\n"
              "shift\n"
              "pwd > '" +
                  d +
                  "/folder'\n"
                  "\"$@\" < '" +
                  d + "/keys' > '" + d +
                  "/output.part' 2>&1\n"
                  "mv '" +
                  d + "/output.part' '" + d + "/output'\n");
  qputenv("PATH", bin.toLocal8Bit() + ':' + previousPath_);
}

StandInTerminal::~StandInTerminal() {
  // A run still going would write into a removed folder; give it its time first.
  if (Started()) WaitForOutput();
  qputenv("PATH", previousPath_);
}

std::optional<QString> StandInTerminal::WaitForOutput() const {
  const QDeadlineTimer deadline(20000);
  while (!QFileInfo::exists(File("output")) && !deadline.hasExpired()) QThread::msleep(20);
  if (!QFileInfo::exists(File("output"))) return std::nullopt;
  return ReadAll(File("output"));
}

bool StandInTerminal::Started() const { return QFileInfo::exists(File("folder")); }

QString StandInTerminal::StartFolder() const { return ReadAll(File("folder")).trimmed(); }
