// The legacy conversions the business code relies on: the leading-number reading, the
// Italian regional reading, VB rounding, number-to-text and the display formats.
#pragma once

#include <QString>
#include <optional>

#include "platform/variant.h"

namespace vx {

// The leading number of a text: blanks ignored, the point as the only decimal mark,
// "&H" hex allowed; a text without one gives 0 ("12abc" is 12, "3,5" is 3).
double Val(const QString& text);

// A number read by the Italian regional rules: comma as decimal mark, point as thousands
// separator, blanks around allowed, sign in front; nullopt when the text is no number.
std::optional<double> ParseRegional(const QString& text);
bool IsNumeric(const Variant& v);

// Rounding half to even into a 16-bit (CInt) or 32-bit (CLng) whole number; out of range
// raises ConversionError.
qint16 CInt(double v);
qint32 CLng(double v);
double RoundHalfEven(double v);

// A number as text the way the program shows it: decimal comma, no thousands separator,
// no trailing zeros; `significant` is 7 for single and 15 for double precision.
QString NumberText(double v, int significant = 15);

// A value formatted by a VB format text: "#,###,##0.0000", "##0.00", "00",
// "0000000000000", "########0.00", and the date forms "dd/mm/yyyy", "hh:mm:ss",
// "Short Date", "Long Time". Numbers use the Italian marks (point for thousands, comma
// for decimals). Null and Empty give "".
QString Format(const Variant& v, const QString& format);

// Text of exactly n characters: cut, or padded with blanks on the right.
QString FixedText(const QString& text, int n);

// Day number from a date or time text ("31/12/2026", "2026-12-31", "00:00:00",
// "31/12/2026 10:30:00"); nullopt when the text is no date.
std::optional<double> ParseDateText(const QString& text);

}  // namespace vx
