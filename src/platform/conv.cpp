#include "platform/conv.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vx {

namespace {

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
         c == QLatin1Char('\r');
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "&H1F" / "&O17" after blanks were removed; `text` starts at the '&'. The value wraps to
// 16 bits for up to four hex digits (as the legacy reading did: "&HFFFF" is -1), else 32.
std::optional<double> ReadRadix(const std::string& text) {
  if (text.size() < 2) return 0;
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
  const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
  if (base == 0) return 0;
  quint64 value = 0;
  size_t digits = 0;
  for (size_t i = 2; i < text.size(); ++i) {
    const int c = std::toupper(static_cast<unsigned char>(text[i]));
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= base) break;
    value = value * base + d;
    ++digits;
    if (value > 0xFFFFFFFFull) return std::nullopt;  // beyond 32 bits
  }
  const bool shortForm = base == 16 ? digits <= 4 : value <= 0xFFFF;
  if (shortForm) return static_cast<double>(static_cast<qint16>(static_cast<quint16>(value)));
  return static_cast<double>(static_cast<qint32>(static_cast<quint32>(value)));
}

// Appends an exponent ("E", optional sign, digits) read from s at i, when one is there.
void TakeExponent(const std::string& s, size_t& i, std::string& out) {
  if (i >= s.size()) return;
  const char e = s[i];
  if (e != 'e' && e != 'E' && e != 'd' && e != 'D') return;
  size_t j = i + 1;
  std::string exp = "e";
  if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
  if (j >= s.size() || !std::isdigit(static_cast<unsigned char>(s[j]))) return;
  while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exp += s[j++];
  out += exp;
  i = j;
}

// Two-digit years: 00-29 are 2000-2029, 30-99 are 1930-1999.
int FullYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QDate> ReadDate(const QString& text) {
  const QString t = text.trimmed();
  static const QLatin1Char kSeps[] = {QLatin1Char('/'), QLatin1Char('-'), QLatin1Char('.')};
  for (QLatin1Char sep : kSeps) {
    const QStringList parts = t.split(sep);
    if (parts.size() != 3) continue;
    int n[3];
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
      const QString p = parts[i].trimmed();
      ok = !p.isEmpty() && p.size() <= 4;
      for (QChar c : p) ok = ok && IsDigit(c);
      if (ok) n[i] = p.toInt();
    }
    if (!ok) continue;
    QDate d;
    if (parts[0].trimmed().size() == 4) {
      d = QDate(n[0], n[1], n[2]);  // yyyy-mm-dd
    } else {
      d = QDate(FullYear(n[2], parts[2].trimmed().size()), n[1], n[0]);  // dd/mm/yyyy
    }
    if (d.isValid()) return d;
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<QTime> ReadTime(const QString& text) {
  const QStringList parts = text.trimmed().split(QLatin1Char(':'));
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  int n[3] = {0, 0, 0};
  for (int i = 0; i < parts.size(); ++i) {
    const QString p = parts[i].trimmed();
    if (p.isEmpty() || p.size() > 2) return std::nullopt;
    for (QChar c : p) {
      if (!IsDigit(c)) return std::nullopt;
    }
    n[i] = p.toInt();
  }
  QTime time(n[0], n[1], n[2]);
  if (!time.isValid()) return std::nullopt;
  return time;
}

}  // namespace

double Val(const QString& text) {
  std::string s;
  s.reserve(text.size());
  for (QChar c : text) {
    if (IsBlank(c)) continue;
    // Anything beyond ASCII ends the number; keep a marker that stops the reading.
    s += c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01';
  }
  if (!s.empty() && s[0] == '&') return ReadRadix(s).value_or(0);
  size_t i = 0;
  std::string num;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) num += s[i++];
  bool digits = false;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    num += s[i++];
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    num += s[i++];
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      num += s[i++];
      digits = true;
    }
  }
  if (!digits) return 0;
  TakeExponent(s, i, num);
  const double v = std::strtod(num.c_str(), nullptr);
  return std::isfinite(v) ? v : 0;
}

std::optional<double> ParseRegional(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  if (t.startsWith(QLatin1Char('&'))) {
    const QString rest = t.mid(2);
    if (t.size() < 3) return std::nullopt;
    const QChar kind = t[1].toUpper();
    for (QChar c : rest) {
      const bool hex =
          IsDigit(c) || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
      const bool oct = c >= QLatin1Char('0') && c <= QLatin1Char('7');
      if (!(kind == QLatin1Char('H') ? hex : kind == QLatin1Char('O') ? oct : false)) {
        return std::nullopt;
      }
    }
    return ReadRadix(t.toStdString());
  }
  std::string s;
  for (QChar c : t) {
    if (c.unicode() >= 128) return std::nullopt;
    s += static_cast<char>(c.unicode());
  }
  size_t i = 0;
  std::string num;
  if (s[i] == '+' || s[i] == '-') num += s[i++];
  bool digits = false;
  // Whole part: points are thousands separators, accepted between digits.
  while (i < s.size()) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      num += s[i++];
      digits = true;
    } else if (s[i] == '.' && digits && i + 1 < s.size() &&
               std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
      ++i;
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == ',') {
    num += '.';
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      num += s[i++];
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  TakeExponent(s, i, num);
  if (i != s.size()) return std::nullopt;
  const double v = std::strtod(num.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

bool IsNumeric(const Variant& v) {
  switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Integer:
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Boolean:
      return true;
    case Variant::Type::Text:
      return ParseRegional(v.str()).has_value();
    default:
      return false;
  }
}

std::optional<double> ParseTypedNumber(const QString& text) {
  const QString t = text.trimmed();
  if (t.contains(QLatin1Char('.'))) {
    static const QRegularExpression grouped(
        QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+(,\\d*)?([eE][+-]?\\d+)?$"));
    if (!grouped.match(t).hasMatch()) return std::nullopt;
  }
  return ParseRegional(t);
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double lower = std::floor(v);
  const double diff = v - lower;
  if (diff < 0.5) return lower;
  if (diff > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

qint16 CInt(double v) {
  const double r = RoundHalfEven(v);
  if (!(r >= -32768.0 && r <= 32767.0)) {
    throw ConversionError(QStringLiteral("Overflow: %1").arg(NumberText(v)));
  }
  return static_cast<qint16>(r);
}

qint32 CLng(double v) {
  const double r = RoundHalfEven(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
    throw ConversionError(QStringLiteral("Overflow: %1").arg(NumberText(v)));
  }
  return static_cast<qint32>(r);
}

QString NumberText(double v, int significant) {
  if (std::isnan(v)) return QStringLiteral("NaN");
  if (std::isinf(v)) return v < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
  if (v == 0) return QStringLiteral("0");
  if (significant < 1) significant = 1;
  if (significant > 17) significant = 17;
  // Round to the significant digits first; the exponent of the rounded value decides the form.
  // (to_chars rounds exactly as printf's "%.*e" does, without its cost.)
  char buf[64];
  char* end =
      std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::scientific, significant - 1)
          .ptr;
  *end = '\0';
  const char* e = std::find(buf, end, 'e');
  const int exponent = std::atoi(e + 1);
  const bool negative = buf[0] == '-';
  char digits[32];
  int count = 0;
  for (const char* p = buf + (negative ? 1 : 0); p < e; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  // Single precision shows up to 8 whole digits plainly (12345678 -> "12345680"), double 15.
  const int plainLimit = significant <= 7 ? significant + 1 : significant;
  char out[64];
  int n = 0;
  if (negative) out[n++] = '-';
  if (exponent >= plainLimit || exponent < -5) {
    out[n++] = digits[0];
    if (count > 1) {
      out[n++] = ',';
      for (int i = 1; i < count; ++i) out[n++] = digits[i];
    }
    n += std::snprintf(out + n, sizeof out - n, "E%c%02d", exponent < 0 ? '-' : '+',
                       std::abs(exponent));
  } else if (exponent < 0) {
    out[n++] = '0';
    out[n++] = ',';
    for (int i = 0; i < -exponent - 1; ++i) out[n++] = '0';
    for (int i = 0; i < count; ++i) out[n++] = digits[i];
  } else {
    const int whole = exponent + 1;
    for (int i = 0; i < count || i < whole; ++i) {
      if (i == whole) out[n++] = ',';
      out[n++] = i < count ? digits[i] : '0';
    }
  }
  return QString::fromLatin1(out, n);
}

QString FixedText(const QString& text, int n) {
  if (n <= 0) return QString();
  if (text.size() >= n) return text.left(n);
  return text + QString(n - text.size(), QLatin1Char(' '));
}

std::optional<double> ParseDateText(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  const QDate zero(1899, 12, 30);
  const int space = t.indexOf(QLatin1Char(' '));
  if (space > 0) {
    const auto date = ReadDate(t.left(space));
    const auto time = ReadTime(t.mid(space + 1));
    if (!date || !time) return std::nullopt;
    return DayNumberFromDateTime(QDateTime(*date, *time));
  }
  if (t.contains(QLatin1Char(':'))) {
    const auto time = ReadTime(t);
    if (!time) return std::nullopt;
    return time->msecsSinceStartOfDay() / 86400000.0;
  }
  const auto date = ReadDate(t);
  if (!date) return std::nullopt;
  return static_cast<double>(zero.daysTo(*date));
}

}  // namespace vx
