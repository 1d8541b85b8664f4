#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vx::fs {

namespace {

struct State {
  QMutex mutex;
  QString root;
  QChar drive = QLatin1Char('C');
};

State& GetState() {
  static State state;
  return state;
}

// The entry of `folder` named `name` without regard to case; an exact match wins.
QString MatchEntry(const QString& folder, const QString& name) {
  if (QFileInfo::exists(folder + QLatin1Char('/') + name)) return name;
  const QStringList entries = QDir(folder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& e : entries) {
    if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
  }
  return QString();
}

bool IsDriveLetter(QChar c) {
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// DOS wildcard match, without regard to case: '*' any run, '?' one character.
bool WildcardMatch(const QString& name, const QString& pattern) {
  const QString n = name.toCaseFolded();
  const QString p = pattern.toCaseFolded();
  qsizetype ni = 0, pi = 0, star = -1, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == QLatin1Char('?') || p[pi] == n[ni])) {
      ++ni;
      ++pi;
    } else if (pi < p.size() && p[pi] == QLatin1Char('*')) {
      star = pi++;
      mark = ni;
    } else if (star >= 0) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == QLatin1Char('*')) ++pi;
  return pi == p.size();
}

// "*.*" matches every name, with or without a dot, as on Windows.
QString NormalisePattern(const QString& pattern) {
  QString p = pattern.trimmed();
  if (p.isEmpty() || p == QLatin1String("*.*")) return QStringLiteral("*");
  return p;
}

bool HasWildcard(const QString& s) {
  return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?'));
}

}  // namespace

void SetDataRoot(const QString& hostFolder) {
  State& s = GetState();
  QMutexLocker lock(&s.mutex);
  s.root = hostFolder.isEmpty() ? QString() : QDir::cleanPath(QDir(hostFolder).absolutePath());
}

QString DataRoot() {
  State& s = GetState();
  {
    QMutexLocker lock(&s.mutex);
    if (!s.root.isEmpty()) return s.root;
  }
  const QString env = qEnvironmentVariable("VANTORELIX_DATA_ROOT");
  if (!env.isEmpty()) return QDir::cleanPath(QDir(env).absolutePath());
  return QDir::homePath() + QStringLiteral("/.local/share/vantorelix");
}

void SetCurrentDrive(QChar letter) {
  if (!IsDriveLetter(letter)) return;
  State& s = GetState();
  QMutexLocker lock(&s.mutex);
  s.drive = letter.toUpper();
}

QChar CurrentDrive() {
  State& s = GetState();
  QMutexLocker lock(&s.mutex);
  return s.drive;
}

QStringList DriveLetters() {
  QStringList letters;
  const QStringList dirs = QDir(DataRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& d : dirs) {
    if (d.size() == 1 && IsDriveLetter(d[0])) letters << d.toUpper();
  }
  letters.removeDuplicates();
  letters.sort();
  return letters;
}

bool IsWindowsPath(const QString& path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == QLatin1Char(':')) {
    return path.size() == 2 || path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/');
  }
  // A path from the root of the current drive ("\Programmi\x"); host paths never start so.
  return path.startsWith(QLatin1Char('\\'));
}

QString HostPath(const QString& path) {
  if (!IsWindowsPath(path)) return path;
  QChar letter = CurrentDrive();
  QString rest = path;
  if (path.size() >= 2 && path[1] == QLatin1Char(':')) {
    letter = path[0].toUpper();
    rest = path.mid(2);
  }
  const QString root = DataRoot();
  QString driveName = MatchEntry(root, QString(letter));
  if (driveName.isEmpty()) driveName = letter;
  QString current = root + QLatin1Char('/') + driveName;

  const QStringList parts = rest.split(QRegularExpression(QStringLiteral("[\\\\/]")));
  QStringList matched;
  bool exists = QFileInfo(current).isDir();
  for (const QString& part : parts) {
    if (part.isEmpty() || part == QLatin1String(".")) continue;
    if (part == QLatin1String("..")) {
      // Never above the drive's folder.
      if (!matched.isEmpty()) matched.removeLast();
      exists = QFileInfo(current + QLatin1Char('/') + matched.join(QLatin1Char('/'))).exists();
      continue;
    }
    QString name = part;
    if (exists) {
      const QString folder =
          matched.isEmpty() ? current : current + QLatin1Char('/') + matched.join(QLatin1Char('/'));
      const QString found = MatchEntry(folder, part);
      if (found.isEmpty()) {
        exists = false;
      } else {
        name = found;
      }
    }
    matched << name;
  }
  QString out =
      matched.isEmpty() ? current : current + QLatin1Char('/') + matched.join(QLatin1Char('/'));
  const bool trailing = rest.endsWith(QLatin1Char('\\')) || rest.endsWith(QLatin1Char('/'));
  if (trailing && !matched.isEmpty()) out += QLatin1Char('/');
  return out;
}

std::optional<QString> DriveHostPath(const QString& path) {
  if (!IsWindowsPath(path) || LinkOutOfRoot(path)) return std::nullopt;
  return HostPath(path);
}

std::optional<LinkOut> LinkOutOfRoot(const QString& path) {
  if (!IsWindowsPath(path)) return std::nullopt;
  const QString root = DataRoot();
  const QString realRoot = QFileInfo(root).canonicalFilePath();
  // The host path is the root, the drive's folder, then the path's own parts.
  const QStringList parts =
      HostPath(path).mid(root.size() + 1).split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString at = root;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    at += QLatin1Char('/') + parts[i];
    const QFileInfo info(at);
    if (!info.exists()) break;  // nothing below is there to lead anywhere
    // The first part found outside is a link: the part before it was inside.
    const QString real = info.canonicalFilePath();
    if (real != realRoot && !real.startsWith(realRoot + QLatin1Char('/'))) {
      return LinkOut{
          parts[0].toUpper() + QStringLiteral(":\\") + parts.mid(1, i).join(QLatin1Char('\\')),
          real, i == parts.size() - 1};
    }
  }
  return std::nullopt;
}

bool Exists(const QString& path) { return QFileInfo::exists(HostPath(path)); }

bool IsFolder(const QString& path) { return QFileInfo(HostPath(path)).isDir(); }

bool CreateFolder(const QString& path) {
  const QString host = HostPath(path);
  QDir().mkpath(host);
  return QFileInfo(host).isDir();
}

bool CopyFile(const QString& from, const QString& to) {
  namespace sfs = std::filesystem;
  const sfs::path src(HostPath(from).toStdString());
  const sfs::path dst(HostPath(to).toStdString());
  std::error_code ec;
  if (!sfs::is_regular_file(src, ec)) return false;
  if (sfs::is_directory(dst, ec)) return false;
  // Copying a file onto itself would empty it before reading.
  if (sfs::exists(dst, ec) && sfs::equivalent(src, dst, ec)) return true;
  return sfs::copy_file(src, dst, sfs::copy_options::overwrite_existing, ec) && !ec;
}

bool DeleteFile(const QString& path) {
  const QString host = HostPath(path);
  const QFileInfo info(host);
  if (HasWildcard(info.fileName())) {
    const QStringList names = ListFolder(info.path(), info.fileName());
    bool all = !names.isEmpty();
    for (const QString& n : names) all = QFile::remove(info.path() + QLatin1Char('/') + n) && all;
    return all;
  }
  if (!info.isFile() && !info.isSymLink()) return false;
  return QFile::remove(host);
}

QStringList ListFolder(const QString& folder, const QString& pattern) {
  const QString p = NormalisePattern(pattern);
  const QStringList entries =
      QDir(HostPath(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
  QStringList out;
  for (const QString& e : entries) {
    if (WildcardMatch(e, p)) out << e;
  }
  std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  return out;
}

}  // namespace vx::fs
