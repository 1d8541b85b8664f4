#include "comparison/loader_values.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/conv.h"
#include "platform/db/database.h"

namespace vx::comparison {

namespace {

bool AllDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  return true;
}

}  // namespace

QString Ean13(const Variant& ean) {
  if (ean.isText()) {
    const QString t = ean.str().trimmed();
    if (AllDigits(t)) return FixedText(t.rightJustified(13, QLatin1Char('0')), 13);
  }
  return FixedText(Format(ean, QStringLiteral("0000000000000")), 13);
}

double RoundDecimals(double v, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(v * scale) / scale;
}

double CostOf(double price, double percentage) {
  return RoundDecimals(price + price * percentage / 100.0, 4);
}

std::optional<double> NumberIn(const Variant& v) {
  if (v.isNumber()) return v.toDouble();
  if (v.isText()) return ParseRegional(v.str());
  return std::nullopt;
}

Differences DifferencesOf(const Variant& costo1, const Variant& costo2, const Variant& costo3,
                          const Variant& costo4, double noDivisor, bool emptyCostReadsZero) {
  auto cost = [emptyCostReadsZero](const Variant& v) {
    const auto c = NumberIn(v);
    return emptyCostReadsZero ? std::optional<double>(c.value_or(0)) : c;
  };
  const auto c1 = cost(costo1), c2 = cost(costo2), c3 = cost(costo3);
  // Among slots 1 to 3: `noDivisor` without a base; a missing first cost gives 0, a first
  // cost of 0 gives -100. The value passes through single precision before it is formatted.
  auto first = [noDivisor](std::optional<double> a, std::optional<double> b) {
    if (!b || *b == 0) return noDivisor;
    if (!a) return 0.0;
    return RoundDecimals(static_cast<float>((*a - *b) * 100.0 / *b), 2);
  };
  // Against slot 4: a first cost that is missing or 0 gives 0.
  auto fourth = [](std::optional<double> a, double c4) {
    if (!a || *a == 0 || c4 == 0) return 0.0;
    return RoundDecimals((*a - c4) * 100.0 / c4, 2);
  };
  Differences d;
  d.d12 = first(c1, c2);
  d.d23 = first(c2, c3);
  d.d31 = first(c1, c3);
  if (const auto c4 = NumberIn(costo4)) {
    d.d14 = fourth(c1, *c4);
    d.d24 = fourth(c2, *c4);
    d.d34 = fourth(c3, *c4);
  }
  return d;
}

ColumnFit FitOf(db::Database& db, const QString& table, const QString& column) {
  const QString type = db.ColumnType(table, column).toUpper();
  ColumnFit kind;
  kind.single = type.startsWith(QLatin1String("SINGLE")) || type == QLatin1String("REAL4");
  static const QRegularExpression textWidth(
      QStringLiteral("^(?:TEXT|VARCHAR|CHAR)\\s*\\((\\d+)\\)"));
  if (const auto m = textWidth.match(type); m.hasMatch()) kind.width = m.captured(1).toInt();
  return kind;
}

double Fit(const ColumnFit& kind, double v) {
  return kind.single ? static_cast<double>(static_cast<float>(v)) : v;
}

Variant Fit(const ColumnFit& kind, const Variant& v) {
  if (kind.width > 0 && v.isText() && v.str().size() > kind.width) return v.str().left(kind.width);
  return v;
}

}  // namespace vx::comparison
