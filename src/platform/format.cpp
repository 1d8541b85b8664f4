// Format(): the VB format texts the program uses, with the Italian marks.
#include <QDate>
#include <QStringList>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/conv.h"

namespace vx {

namespace {

constexpr QChar kDecimalMark = QLatin1Char(',');
constexpr QChar kThousandsMark = QLatin1Char('.');

// ---- numbers ---------------------------------------------------------------------------

// One section of a number format: literal text before and after the digits, the digit
// placeholders of the whole part, grouping, decimals and percent.
struct NumberSection {
  QString prefix;
  QString suffix;
  int minWhole = 0;     // '0' placeholders before the decimal point
  int minDecimals = 0;  // '0' placeholders after it
  int maxDecimals = 0;  // all placeholders after it
  bool grouping = false;
  bool percent = false;
  bool hasPoint = false;
  bool hasDigits = false;
};

NumberSection ParseSection(const QString& f) {
  NumberSection s;
  bool inDigits = false;  // between the first and last placeholder
  bool afterDigits = false;
  bool afterPoint = false;
  for (int i = 0; i < f.size(); ++i) {
    const QChar c = f[i];
    QString literal;
    if (c == QLatin1Char('#') || c == QLatin1Char('0')) {
      // Placeholders after a literal ("000-000") count as digits of the one body; the
      // literal stays behind it.
      afterDigits = false;
      inDigits = true;
      s.hasDigits = true;
      if (afterPoint) {
        ++s.maxDecimals;
        if (c == QLatin1Char('0')) s.minDecimals = s.maxDecimals;
      } else if (c == QLatin1Char('0')) {
        ++s.minWhole;
      }
      continue;
    }
    if (c == QLatin1Char('.') && !afterPoint && !afterDigits) {
      afterPoint = true;
      s.hasPoint = true;
      inDigits = true;
      continue;
    }
    if (c == QLatin1Char(',') && inDigits && !afterPoint) {
      s.grouping = true;
      continue;
    }
    if (c == QLatin1Char('"')) {
      const int end = f.indexOf(QLatin1Char('"'), i + 1);
      literal = end < 0 ? f.mid(i + 1) : f.mid(i + 1, end - i - 1);
      i = end < 0 ? f.size() : end;
    } else if (c == QLatin1Char('\\') && i + 1 < f.size()) {
      literal = f[++i];
    } else {
      if (c == QLatin1Char('%')) s.percent = true;
      literal = c;
    }
    if (inDigits) {
      inDigits = false;
      afterDigits = true;
    }
    (afterDigits ? s.suffix : s.prefix) += literal;
  }
  return s;
}

// The decimal digits of |v| rounded to `significant` digits: whole part and fraction,
// without sign; the fraction may be long.
void DecimalDigits(double v, int significant, std::string& whole, std::string& fraction) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(v));
  const char* e = std::strchr(buf, 'e');
  const int exponent = std::atoi(e + 1);
  std::string digits;
  for (const char* p = buf; p < e; ++p) {
    if (*p != '.') digits += *p;
  }
  if (exponent >= 0) {
    const size_t n = static_cast<size_t>(exponent) + 1;
    if (digits.size() < n) digits += std::string(n - digits.size(), '0');
    whole = digits.substr(0, n);
    fraction = digits.substr(n);
  } else {
    whole.assign(1, '0');
    fraction.assign(static_cast<size_t>(-exponent - 1), '0');
    fraction += digits;
  }
  while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
}

// Rounds the decimal digits to `decimals` places, half away from zero.
void RoundDigits(std::string& whole, std::string& fraction, int decimals) {
  const size_t keep = static_cast<size_t>(decimals);
  if (fraction.size() <= keep) {
    fraction += std::string(keep - fraction.size(), '0');
    return;
  }
  const bool up = fraction[keep] >= '5';
  fraction.resize(keep);
  if (!up) return;
  std::string all = whole + fraction;
  int i = static_cast<int>(all.size()) - 1;
  while (i >= 0 && all[static_cast<size_t>(i)] == '9') all[static_cast<size_t>(i--)] = '0';
  if (i < 0) {
    all.insert(0, 1, '1');
  } else {
    ++all[static_cast<size_t>(i)];
  }
  whole = all.substr(0, all.size() - keep);
  fraction = all.substr(all.size() - keep);
}

QString FormatNumber(double v, int significant, const NumberSection& s, bool withSign) {
  if (s.percent) v *= 100;
  std::string whole;
  std::string fraction;
  DecimalDigits(v, significant, whole, fraction);
  RoundDigits(whole, fraction, s.maxDecimals);
  // Optional decimals ('#') drop their trailing zeros.
  while (static_cast<int>(fraction.size()) > s.minDecimals && !fraction.empty() &&
         fraction.back() == '0') {
    fraction.pop_back();
  }
  if (whole == "0" && s.minWhole == 0) whole.clear();
  if (static_cast<int>(whole.size()) < s.minWhole) {
    whole.insert(0, static_cast<size_t>(s.minWhole) - whole.size(), '0');
  }
  QString body;
  const int n = static_cast<int>(whole.size());
  for (int i = 0; i < n; ++i) {
    if (s.grouping && i > 0 && (n - i) % 3 == 0) body += kThousandsMark;
    body += QLatin1Char(whole[static_cast<size_t>(i)]);
  }
  if (!fraction.empty()) body += kDecimalMark + QString::fromLatin1(fraction.c_str());
  // A value that rounds to nothing but zeros shows no minus sign.
  const bool zero = whole.find_first_not_of('0') == std::string::npos &&
                    fraction.find_first_not_of('0') == std::string::npos;
  const QString sign = withSign && v < 0 && !zero ? QStringLiteral("-") : QString();
  return sign + s.prefix + body + s.suffix;
}

// Splits on ';' outside quotes.
QStringList Sections(const QString& format) {
  QStringList out;
  QString cur;
  bool quoted = false;
  for (int i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('"')) quoted = !quoted;
    if (c == QLatin1Char('\\') && i + 1 < format.size()) {
      cur += c;
      cur += format[++i];
      continue;
    }
    if (c == QLatin1Char(';') && !quoted) {
      out << cur;
      cur.clear();
      continue;
    }
    cur += c;
  }
  out << cur;
  return out;
}

QString FormatWithSections(double v, int significant, const QString& format) {
  const QStringList sections = Sections(format);
  if (sections.size() == 1) return FormatNumber(v, significant, ParseSection(format), true);
  if (v == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
    return FormatNumber(v, significant, ParseSection(sections[2]), false);
  }
  if (v < 0 && !sections[1].isEmpty()) {
    return FormatNumber(-v, significant, ParseSection(sections[1]), false);
  }
  return FormatNumber(v, significant, ParseSection(sections[0]), true);
}

// ---- dates -----------------------------------------------------------------------------

bool IsDateFormat(const QString& f) {
  for (QChar c : f) {
    if (c == QLatin1Char('#') || c == QLatin1Char('0')) return false;
  }
  for (QChar c : f) {
    const QChar l = c.toLower();
    if (l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y') ||
        l == QLatin1Char('h') || l == QLatin1Char('n') || l == QLatin1Char('s')) {
      return true;
    }
  }
  return false;
}

QString Pad2(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

const char* const kMonths[] = {"gennaio",   "febbraio", "marzo",    "aprile",
                               "maggio",    "giugno",   "luglio",   "agosto",
                               "settembre", "ottobre",  "novembre", "dicembre"};
const char* const kDays[] = {"lunedì",  "martedì", "mercoledì", "giovedì",
                             "venerdì", "sabato",  "domenica"};

QString FormatDate(double days, const QString& format) {
  const QDateTime dt = DateTimeFromDayNumber(days);
  QDate date = dt.date();
  // The time to the nearest second.
  int secs = (dt.time().msecsSinceStartOfDay() + 500) / 1000;
  if (secs >= 86400) {
    secs -= 86400;
    date = date.addDays(1);
  }
  const int hour = secs / 3600;
  const int minute = secs / 60 % 60;
  const int second = secs % 60;

  struct Token {
    QString text;
    bool literal;
  };
  QList<Token> tokens;
  for (int i = 0; i < format.size();) {
    const QChar c = format[i];
    const QChar l = c.toLower();
    if (QStringLiteral("dmyhns").contains(l)) {
      int j = i;
      while (j < format.size() && format[j].toLower() == l) ++j;
      tokens.append({format.mid(i, j - i).toLower(), false});
      i = j;
    } else if (c == QLatin1Char('"')) {
      const int end = format.indexOf(QLatin1Char('"'), i + 1);
      tokens.append({end < 0 ? format.mid(i + 1) : format.mid(i + 1, end - i - 1), true});
      i = end < 0 ? format.size() : end + 1;
    } else if (c == QLatin1Char('\\') && i + 1 < format.size()) {
      tokens.append({QString(format[i + 1]), true});
      i += 2;
    } else {
      tokens.append({QString(c), true});
      ++i;
    }
  }
  QString out;
  for (int k = 0; k < tokens.size(); ++k) {
    const Token& t = tokens[k];
    if (t.literal) {
      out += t.text;
      continue;
    }
    const QChar kind = t.text[0];
    const int n = static_cast<int>(t.text.size());
    if (kind == QLatin1Char('m')) {
      // "m" right after an hour or right before seconds means minutes.
      bool minutes = false;
      for (int p = k - 1; p >= 0; --p) {
        if (!tokens[p].literal) {
          minutes = tokens[p].text[0] == QLatin1Char('h');
          break;
        }
      }
      for (int q = k + 1; q < tokens.size() && !minutes; ++q) {
        if (!tokens[q].literal) {
          minutes = tokens[q].text[0] == QLatin1Char('s');
          break;
        }
      }
      if (minutes) {
        out += n >= 2 ? Pad2(minute) : QString::number(minute);
      } else if (n >= 4) {
        out += QString::fromUtf8(kMonths[date.month() - 1]);
      } else if (n == 3) {
        out += QString::fromUtf8(kMonths[date.month() - 1]).left(3);
      } else {
        out += n == 2 ? Pad2(date.month()) : QString::number(date.month());
      }
    } else if (kind == QLatin1Char('d')) {
      if (n >= 4) {
        out += QString::fromUtf8(kDays[date.dayOfWeek() - 1]);
      } else if (n == 3) {
        out += QString::fromUtf8(kDays[date.dayOfWeek() - 1]).left(3);
      } else {
        out += n == 2 ? Pad2(date.day()) : QString::number(date.day());
      }
    } else if (kind == QLatin1Char('y')) {
      out += n >= 3 ? QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'))
                    : Pad2(date.year() % 100);
    } else if (kind == QLatin1Char('h')) {
      out += n >= 2 ? Pad2(hour) : QString::number(hour);
    } else if (kind == QLatin1Char('n')) {
      out += n >= 2 ? Pad2(minute) : QString::number(minute);
    } else if (kind == QLatin1Char('s')) {
      out += n >= 2 ? Pad2(second) : QString::number(second);
    }
  }
  return out;
}

// Named formats, as the Italian settings show them.
QString NamedFormat(const QString& format) {
  const QString f = format.trimmed().toLower();
  if (f == QLatin1String("short date")) return QStringLiteral("dd/mm/yyyy");
  if (f == QLatin1String("long time") || f == QLatin1String("medium time")) {
    return QStringLiteral("hh:mm:ss");
  }
  if (f == QLatin1String("short time")) return QStringLiteral("hh:mm");
  if (f == QLatin1String("long date")) return QStringLiteral("dddd d mmmm yyyy");
  if (f == QLatin1String("fixed")) return QStringLiteral("0.00");
  if (f == QLatin1String("standard")) return QStringLiteral("#,##0.00");
  if (f == QLatin1String("percent")) return QStringLiteral("0.00%");
  return format;
}

}  // namespace

QString Format(const Variant& v, const QString& format) {
  if (v.isNull() || v.isEmpty()) return QString();
  const QString lower = format.trimmed().toLower();
  if (lower.isEmpty() || lower == QLatin1String("general number") ||
      lower == QLatin1String("general date")) {
    if (v.isText() && lower == QLatin1String("general number")) {
      if (auto n = ParseRegional(v.str())) return NumberText(*n);
    }
    return v.toString();
  }
  const QString f = NamedFormat(format);

  if (IsDateFormat(f)) {
    double days = 0;
    if (v.isText()) {
      if (auto d = ParseDateText(v.str())) {
        days = *d;
      } else if (auto n = ParseRegional(v.str())) {
        days = *n;
      } else {
        return v.str();
      }
    } else {
      days = v.toDouble();
    }
    return FormatDate(days, f);
  }

  double number = 0;
  int significant = 15;
  switch (v.type()) {
    case Variant::Type::Text: {
      const auto n = ParseRegional(v.str());
      if (!n) return v.str();  // text that is no number is shown as it is
      number = *n;
      break;
    }
    case Variant::Type::Single:
      significant = 7;
      number = v.toDouble();
      break;
    default:
      number = v.toDouble();
  }
  if (!std::isfinite(number)) return v.toString();
  return FormatWithSections(number, significant, f);
}

}  // namespace vx
