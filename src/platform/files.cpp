#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/paths.h"

namespace vx::fs {

namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the five bytes the code page leaves undefined,
// which decode to the control character of the same number (as Windows does).
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

char EncodeChar(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 && kHigh[i] == u) return static_cast<char>(0x80 + i);
  }
  if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0) return static_cast<char>(u);
  return '?';
}

QString CannotRead(int error) {
  return QStringLiteral("non si può leggere (%1)")
      .arg(QString::fromLocal8Bit(std::strerror(error)));
}

QString TooLarge(qint64 maxBytes) {
  return QStringLiteral("supera i %1 MB ammessi per un file di questo tipo").arg(maxBytes >> 20);
}

// Why what stat describes is no input of at most maxBytes; "" when it is one.
QString RefusalOf(const struct stat& st, qint64 maxBytes) {
  const mode_t type = st.st_mode & S_IFMT;
  if (type == S_IFREG) return st.st_size > maxBytes ? TooLarge(maxBytes) : QString();
  const QString what = type == S_IFDIR                      ? QStringLiteral("una cartella")
                       : type == S_IFCHR || type == S_IFBLK ? QStringLiteral("un dispositivo")
                       : type == S_IFIFO                    ? QStringLiteral("una pipe (FIFO)")
                       : type == S_IFSOCK                   ? QStringLiteral("un socket")
                                                            : QStringLiteral("un oggetto speciale");
  return QStringLiteral("è %1, non un file normale").arg(what);
}

// What may follow a DOS end mark in a whole text.
bool IsEndFiller(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1A'; }

}  // namespace

QByteArray ToCp1252(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (char32_t u : text.toUcs4()) out += EncodeChar(u);
  return out;
}

QString FromCp1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0) {
      out += QChar(kHigh[c - 0x80]);
    } else {
      out += QChar(static_cast<char16_t>(c));
    }
  }
  return out;
}

QStringList TextLines(const QByteArray& bytes, bool* ended) {
  // A DOS end-of-file mark ends the text.
  const qsizetype eof = bytes.indexOf('\x1A');
  const qsizetype n = eof >= 0 ? eof : bytes.size();
  const char* text = bytes.constData();
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines << FromCp1252(bytes.mid(start, i - start));
    if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (ended) *ended = start >= n;
  if (start < n) lines << FromCp1252(bytes.mid(start, n - start));
  return lines;
}

QString InputFileRefusal(const QString& path, qint64 maxBytes) {
  struct stat st;
  if (::stat(QFile::encodeName(HostPath(path)).constData(), &st) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? QStringLiteral("non esiste") : CannotRead(errno);
  }
  return RefusalOf(st, maxBytes);
}

bool IsRegularFile(const QString& path) {
  return InputFileRefusal(path, std::numeric_limits<qint64>::max()).isEmpty();
}

QString DamagedTextReason(const QByteArray& bytes) {
  const qsizetype eof = bytes.indexOf('\x1A');
  if (eof < 0 || std::all_of(bytes.begin() + eof, bytes.end(), IsEndFiller)) return {};
  return QStringLiteral(
             "è danneggiato: il byte di fine file (0x1A) alla posizione %1 è seguito da altro "
             "testo")
      .arg(eof + 1);
}

std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes, QString* why) {
  const auto refuse = [why](const QString& reason) {
    if (why) *why = reason;
    return std::optional<QByteArray>();
  };
  const QString host = HostPath(path);
  if (const QString refusal = InputFileRefusal(host, maxBytes); !refusal.isEmpty()) {
    return refuse(refusal);
  }
  // Opened without waiting, and what was opened checked again: a FIFO put in the file's place
  // meanwhile must not hang the read.
  const int fd =
      ::open(QFile::encodeName(host).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return refuse(CannotRead(errno));
  const struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0) return refuse(CannotRead(errno));
  if (const QString refusal = RefusalOf(st, maxBytes); !refusal.isEmpty()) return refuse(refusal);
  QByteArray bytes;
  bytes.reserve(st.st_size);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refuse(CannotRead(errno));
    if (n == 0) return bytes;
    if (bytes.size() + n > maxBytes) return refuse(TooLarge(maxBytes));  // it grew meanwhile
    bytes.append(buffer, n);
  }
}

std::optional<QStringList> ReadTextLines(const QString& path, qint64 maxBytes, QString* why) {
  const std::optional<QByteArray> bytes = ReadFileBytes(path, maxBytes, why);
  if (!bytes) return std::nullopt;
  if (const QString damage = DamagedTextReason(*bytes); !damage.isEmpty()) {
    if (why) *why = damage;
    return std::nullopt;
  }
  return TextLines(*bytes);
}

bool WriteTextLines(const QString& path, const QStringList& lines, bool append) {
  QFile file(HostPath(path));
  const QIODevice::OpenMode mode = append ? QIODevice::WriteOnly | QIODevice::Append
                                          : QIODevice::WriteOnly | QIODevice::Truncate;
  if (!file.open(mode)) return false;
  QByteArray bytes;
  for (const QString& line : lines) {
    bytes += ToCp1252(line);
    bytes += "\r\n";
  }
  if (file.write(bytes) != bytes.size()) return false;
  return file.flush();
}

bool TruncateFile(const QString& path) {
  QFile file(HostPath(path));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

QByteArray RecordFile::Read(int record) const {
  QByteArray out(length_ > 0 ? length_ : 0, '\0');
  if (record < 1 || length_ <= 0) return out;
  QFile file(HostPath(path_));
  if (!file.open(QIODevice::ReadOnly)) return out;
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  if (offset >= file.size() || !file.seek(offset)) return out;
  const QByteArray got = file.read(length_);
  out.replace(0, got.size(), got);
  return out;
}

bool RecordFile::Write(int record, const QByteArray& bytes, QString* error) const {
  QFile file(HostPath(path_));
  auto fail = [&file, error] {
    if (error) *error = file.errorString();
    return false;
  };
  if (record < 1 || length_ <= 0) {
    if (error) *error = QStringLiteral("record %1 of length %2").arg(record).arg(length_);
    return false;
  }
  if (!file.open(QIODevice::ReadWrite)) return fail();
  const qint64 offset = static_cast<qint64>(record - 1) * length_;
  // Records skipped over are filled with NULs.
  if (file.size() < offset && !file.resize(offset)) return fail();
  if (!file.seek(offset)) return fail();
  QByteArray data = bytes.left(length_);
  if (data.size() < length_) data.append(QByteArray(length_ - data.size(), '\0'));
  if (file.write(data) != data.size()) return fail();
  if (!file.flush()) return fail();
  return true;
}

}  // namespace vx::fs
