// The value rules that the loader and the differences pass share: the 13-digit EAN form,
// the cost of a price with its percentage and conversion, the differences between costs,
// and values fitted to the Jet type of the comparison table's columns.
#pragma once

#include <QString>
#include <optional>

#include "platform/variant.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

// An EAN in its 13-character form: digits padded on the left with zeros to 13 (as the
// format "0000000000000" gives them); any other text is kept as it is, cut or padded with
// blanks to 13 characters.
QString Ean13(const Variant& ean);

// Rounded half away from zero to `decimals` places, as the "#,###,##0.0000" and
// "#,###,##0.00" formats round a number before it is read back.
double RoundDecimals(double v, int decimals);

// The cost of a price: price + price x percentage / 100, rounded to four decimals.
double CostOf(double price, double percentage);

// The number a value holds, or nullopt when it holds none (Null, Empty, text that is no
// number).
std::optional<double> NumberIn(const Variant& v);

// The differences of one comparison row, already rounded to two decimals.
struct Differences {
  double d12 = 0, d23 = 0, d31 = 0, d14 = 0, d24 = 0, d34 = 0;
};
// Among slots 1 to 3 a divisor that is 0 or empty gives `noDivisor`; an empty first cost
// gives 0, or is read as 0 when `emptyCostReadsZero`.
Differences DifferencesOf(const Variant& costo1, const Variant& costo2, const Variant& costo3,
                          const Variant& costo4, double noDivisor = 0,
                          bool emptyCostReadsZero = false);

// How a column stores what is written into it: single precision for SINGLE columns, at
// most `width` characters for TEXT(n) columns (0: no limit).
struct ColumnFit {
  bool single = false;
  int width = 0;
};
ColumnFit FitOf(db::Database& db, const QString& table, const QString& column);
double Fit(const ColumnFit& kind, double v);
// Texts longer than the column's width are cut; other values pass unchanged.
Variant Fit(const ColumnFit& kind, const Variant& v);

}  // namespace vx::comparison
