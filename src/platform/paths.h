// Windows paths of the stored data mapped onto a data root on this machine: one folder per
// drive letter ("C/", "D/"), each path component matched without regard to case.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vx::fs {

// The data root: --data-root, else $VANTORELIX_DATA_ROOT, else ~/.local/share/vantorelix.
void SetDataRoot(const QString& hostFolder);
QString DataRoot();

// The drive the program started on (default "C") and the letters present under the root.
void SetCurrentDrive(QChar letter);
QChar CurrentDrive();
QStringList DriveLetters();

// True for a text such as "C:\Programmi\tolmo\x.mdb" or "c:/a/b".
bool IsWindowsPath(const QString& path);

// The host path for a Windows path: each existing component is matched without regard to
// case; the components that do not exist yet keep their own spelling. A path that is not a
// Windows path is returned as it is.
QString HostPath(const QString& path);

// As HostPath, for a path that must stay on the data drive (one read from the stored data):
// nullopt for a path that is no Windows path (a host path, a relative one) and for one with a
// link on the way that leads out of the data root (LinkOutOfRoot).
std::optional<QString> DriveHostPath(const QString& path);

// A link on the way of a Windows path whose target lies outside the data root.
struct LinkOut {
  QString link;    // its Windows path, as the data drive spells it: "C:\\corvalia"
  QString target;  // where it leads, on this machine
  bool last;       // the link is the path's last part (the file itself)
};
// The first link on the way of a Windows path (the file itself included) that leads out of the
// data root; nullopt when every existing part of the path stays inside.
std::optional<LinkOut> LinkOutOfRoot(const QString& path);

bool Exists(const QString& path);  // file or folder
bool IsFolder(const QString& path);
bool CreateFolder(const QString& path);  // with its parents; true when it exists afterwards
bool CopyFile(const QString& from, const QString& to);  // overwrites
bool DeleteFile(const QString& path);
// File names in a folder matching a DOS pattern ("A*.txt", "*.*"), without regard to case,
// in a stable order (sorted without regard to case). Folders are left out; devices, FIFOs and
// sockets are listed, for a reader to refuse them by name.
QStringList ListFolder(const QString& folder, const QString& pattern = QStringLiteral("*"));

}  // namespace vx::fs
