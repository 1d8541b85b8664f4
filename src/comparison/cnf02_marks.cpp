#include "comparison/cnf02_marks.h"

#include <optional>

#include "platform/conv.h"

namespace vx::comparison {

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "[-]digits[,digits]" rounded on its digits; nullopt for any other text (or a very long one).
std::optional<QString> RoundDecimalText(const QString& text, int decimals, int minWhole) {
  constexpr int kMax = 40;
  const QChar* t = text.constData();
  const int n = int(text.size());
  int i = 0;
  const bool negative = n > 0 && t[0] == QLatin1Char('-');
  if (negative) ++i;
  const int wholeStart = i;
  while (i < n && IsDigit(t[i])) ++i;
  const int wholeEnd = i;
  int fracStart = i, fracEnd = i;
  if (i < n && t[i] == QLatin1Char(',')) {
    fracStart = ++i;
    while (i < n && IsDigit(t[i])) ++i;
    fracEnd = i;
  }
  const int wholeLen = wholeEnd - wholeStart, fracLen = fracEnd - fracStart;
  if (i != n || wholeLen + fracLen == 0 || wholeLen > kMax || decimals > 8) return std::nullopt;

  // Digits of the whole part (at least "0") and the kept decimals, then the carry.
  char digits[kMax + 12];
  int len = 0;
  if (wholeLen == 0) digits[len++] = '0';
  for (int k = wholeStart; k < wholeEnd; ++k) digits[len++] = char(t[k].unicode());
  for (int k = 0; k < decimals; ++k)
    digits[len++] = k < fracLen ? char(t[fracStart + k].unicode()) : '0';
  bool up = fracLen > decimals && t[fracStart + decimals] >= QLatin1Char('5');
  for (int k = len - 1; up && k >= 0; --k) {
    if (digits[k] == '9') {
      digits[k] = '0';
    } else {
      ++digits[k];
      up = false;
    }
  }
  char out[kMax + 16];
  int o = 0;
  bool zero = !up;
  for (int k = 0; k < len && zero; ++k) zero = digits[k] == '0';
  if (negative && !zero) out[o++] = '-';
  // Whole digits without leading zeros, padded to minWhole.
  const int wholeDigits = len - decimals;
  int first = 0;
  while (!up && first < wholeDigits && digits[first] == '0') ++first;
  const int shown = (up ? 1 : 0) + (wholeDigits - first);
  for (int k = shown; k < minWhole; ++k) out[o++] = '0';
  if (up) out[o++] = '1';
  for (int k = first; k < wholeDigits; ++k) out[o++] = digits[k];
  if (decimals > 0) {
    out[o++] = ',';
    for (int k = wholeDigits; k < len; ++k) out[o++] = digits[k];
  }
  return QString::fromLatin1(out, o);
}

}  // namespace

QString FormatCellNumber(const QString& text, int decimals, int minWhole) {
  if (text.isEmpty()) return text;
  if (auto fast = RoundDecimalText(text, decimals, minWhole)) return *fast;
  const auto number = ParseRegional(text);
  if (!number) return text;
  QString format = QString(qMax(minWhole, 1), QLatin1Char('0'));
  if (minWhole < 3) format.prepend(QString(3 - qMax(minWhole, 1), QLatin1Char('#')));
  if (decimals > 0) format += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
  return Format(Variant(*number), format);
}

double MarkCostOfFormatted(const QString& formatted) {
  // Whole ten-thousandths, so that equal costs compare equal whatever their binary form.
  qint64 units = 0;
  bool negative = false, digits = false;
  int decimals = -1;
  for (QChar c : formatted) {
    if (IsDigit(c)) {
      units = units * 10 + (c.unicode() - '0');
      digits = true;
      if (decimals >= 0) ++decimals;
    } else if (c == QLatin1Char(',') && decimals < 0) {
      decimals = 0;
    } else if (c == QLatin1Char('-') && !digits && !negative) {
      negative = true;
    } else {
      return 0;  // no number (or a form the fast reading does not know)
    }
  }
  if (!digits) return 0;
  for (int d = qMax(decimals, 0); d < 4; ++d) units *= 10;
  return (negative ? -double(units) : double(units)) / 10000.0;
}

double MarkCost(const Variant& value) {
  QString text;
  if (value.isText()) {
    text = value.str();
  } else if (value.isNumber()) {
    text = value.toString();
  } else {
    return 0;
  }
  const QString formatted = FormatCellNumber(text, 4, 1);
  const double fast = MarkCostOfFormatted(formatted);
  if (fast != 0 || formatted.isEmpty()) return fast;
  return ParseRegional(formatted).value_or(0.0);
}

namespace {

struct Slot {
  double cost = 0;
  int col = 0;
};

// The named slots packed to the front in supplier order, free slots after them.
std::array<Slot, 4> PackSlots(const RowCosts& row) {
  std::array<Slot, 4> packed{};
  int next = 0;
  for (int n = 0; n < 4; ++n) {
    if (row.named[n]) packed[next++] = Slot{row.cost[n], CostColumn(n + 1)};
  }
  return packed;
}

}  // namespace

int DearestCostColumn(const RowCosts& row) {
  const auto packed = PackSlots(row);
  int best = 0;
  for (int i = 1; i < 4; ++i) {
    if (packed[i].cost >= packed[best].cost) best = i;
  }
  return packed[best].col;
}

int CheapestCostColumn(const RowCosts& row) {
  const auto packed = PackSlots(row);
  int best = -1;
  for (int i = 0; i < 4; ++i) {
    if (packed[i].cost > 0 && (best < 0 || packed[i].cost < packed[best].cost)) best = i;
  }
  return best < 0 ? packed[0].col : packed[best].col;
}

int DearestOfThree(const std::array<double, 3>& c) {
  if (c[1] < c[0]) return c[2] >= c[0] ? 3 : 1;
  return c[2] >= c[1] ? 3 : 2;
}

int CheapestOfThree(const std::array<double, 3>& cost) {
  std::array<double, 3> a = cost;
  for (double& v : a) {
    if (v == 0) v = 100000;
  }
  if (a[0] >= a[1]) return a[1] >= a[2] ? 3 : 2;
  return a[0] >= a[2] ? 3 : 1;
}

QString DifferenceText(const QString& cell, int decimals) {
  const QString text = FormatCellNumber(cell, decimals, 1);
  // (Text that is no number reads as 0 here.)
  const double value = MarkCostOfFormatted(text);
  if (value == -100 || value == 1000) return QStringLiteral("-");
  return text;
}

}  // namespace vx::comparison
