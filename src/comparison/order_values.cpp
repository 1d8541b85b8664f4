#include "comparison/order_values.h"

#include <cmath>

#include "platform/conv.h"

namespace vx::comparison {

bool IsAbsent(const Variant& v) { return v.isNull() || v.isEmpty(); }

QString TextOf(const Variant& v) { return IsAbsent(v) ? QString() : v.str(); }

double NumberOf(const Variant& v) {
  if (IsAbsent(v)) return 0;
  if (v.isText()) return ParseRegional(v.str()).value_or(0);
  try {
    return v.toDouble();
  } catch (const ConversionError&) {
    return 0;
  }
}

qint64 WholeOf(const Variant& v) {
  const double d = RoundHalfEven(NumberOf(v));
  return std::isfinite(d) ? static_cast<qint64>(d) : 0;
}

Variant NumberVariant(double v) {
  if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e15) {
    return Variant(static_cast<qint64>(v));
  }
  return Variant(v);
}

ColumnKind ColumnKindOf(const QString& declaredType) {
  const QString t = declaredType.trimmed().toUpper();
  if (t.startsWith(QLatin1String("TEXT")) || t.startsWith(QLatin1String("MEMO")) ||
      t.contains(QLatin1String("CHAR"))) {
    return ColumnKind::Text;
  }
  if (t.startsWith(QLatin1String("SINGLE")) || t == QLatin1String("REAL") ||
      t == QLatin1String("FLOAT4")) {
    return ColumnKind::Single;
  }
  if (t.startsWith(QLatin1String("INT")) || t.startsWith(QLatin1String("LONG")) ||
      t.startsWith(QLatin1String("BYTE")) || t.startsWith(QLatin1String("SMALLINT")) ||
      t.startsWith(QLatin1String("SHORT")) || t.startsWith(QLatin1String("COUNTER"))) {
    return ColumnKind::Whole;
  }
  return ColumnKind::Double;
}

FormattedNumber FormatOrderValue(double v) {
  FormattedNumber f;
  f.text = Format(Variant(v), QStringLiteral("#,###,##0.00"));
  f.number = ParseRegional(f.text).value_or(0);
  return f;
}

double Held(ColumnKind kind, double v) {
  switch (kind) {
    case ColumnKind::Whole:
      return RoundHalfEven(v);
    case ColumnKind::Single:
      return static_cast<float>(v);
    case ColumnKind::Text:
    case ColumnKind::Double:
      break;
  }
  return v;
}

Variant StoredNumber(ColumnKind kind, double v) {
  switch (kind) {
    case ColumnKind::Text:
      return Variant(NumberText(v));
    case ColumnKind::Whole:
      return Variant(static_cast<qint64>(RoundHalfEven(v)));
    case ColumnKind::Single:
      return Variant(static_cast<float>(v));
    case ColumnKind::Double:
      break;
  }
  return Variant(v);
}

Variant Stored(ColumnKind kind, const FormattedNumber& value) {
  return kind == ColumnKind::Text ? Variant(value.text) : StoredNumber(kind, value.number);
}

}  // namespace vx::comparison
