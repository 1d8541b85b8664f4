// How the purchase orders read the values they take from the databases and how they meet
// the columns of the supplier's order tables.
#pragma once

#include <QString>

#include "platform/variant.h"

namespace vx::comparison {

// Null and Empty (a missing value) as opposed to any value, the empty text included.
bool IsAbsent(const Variant& v);
// Text of a value; Null and Empty give "".
QString TextOf(const Variant& v);
// Number of a value: text is read by the regional rules; Null, Empty and text that is no
// number give 0.
double NumberOf(const Variant& v);
// NumberOf rounded half to even to a whole number.
qint64 WholeOf(const Variant& v);
// A whole number as a whole Variant, any other number as a double.
Variant NumberVariant(double v);

// What a column of the order tables holds, from its declared type.
enum class ColumnKind { Text, Whole, Single, Double };
ColumnKind ColumnKindOf(const QString& declaredType);

// A value written as the text of "#,###,##0.00" and the number that text stands for under
// the Italian rules (1234.5 gives "1.234,50" and 1234.5).
struct FormattedNumber {
  QString text;
  double number = 0;
};
FormattedNumber FormatOrderValue(double v);

// The value to store in a column of that kind: the text in a text column, the number
// (rounded or single precision as the column holds it) otherwise.
Variant Stored(ColumnKind kind, const FormattedNumber& value);
Variant StoredNumber(ColumnKind kind, double v);
// The number a column of that kind holds once v is stored in it.
double Held(ColumnKind kind, double v);

}  // namespace vx::comparison
