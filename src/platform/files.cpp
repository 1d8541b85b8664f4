#include "platform/files.h"

#include <QFile>
#include <QFileInfo>

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

std::optional<QByteArray> ReadFileBytes(const QString& path) {
  QFile file(HostPath(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

std::optional<QStringList> ReadTextLines(const QString& path) {
  const std::optional<QByteArray> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
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
