// The legacy conversions the business code relies on: the leading-number reading, the
// Italian regional reading, VB rounding, number-to-text and the display formats.
#pragma once

#include <QString>
#include <optional>

#include "platform/variant.h"

namespace vx {

// The leading number of a text: blanks ignored anywhere ("1 2" is 12), the point as the only
// decimal mark, an exponent ("1E3"), "&H"/"&O" hex and octal ("&HFFFF" is -1, as a 16-bit
// value); a text without one gives 0 ("12abc" is 12, "3,5" is 3, "abc" is 0).
double Val(const QString& text);

// A number read by the Italian regional rules: comma as decimal mark, point as thousands
// separator (between digits of the whole part, in any grouping: "1.5" reads 15), blanks
// around allowed, sign in front, an exponent, "&H" hex; nullopt when the text is no number.
std::optional<double> ParseRegional(const QString& text);
// ParseRegional for what an operator types: points must group the whole part's digits in
// threes ("1.000,5" reads, "10.5" is refused rather than read as 105).
std::optional<double> ParseTypedNumber(const QString& text);
// Numbers, booleans and Empty are numeric; text when ParseRegional reads it; Null and dates
// are not.
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
// "0000000000000", "########0.00" (also ';' sections, '%', quoted literals), and the date
// forms "dd/mm/yyyy", "hh:mm:ss", "yyyy", "mm", "dd", "Short Date", "Long Time". Numbers use
// the Italian marks (point for thousands, comma for decimals) and are rounded half away from
// zero on their decimal digits (15 significant, 7 for a single); a value that rounds to zero
// shows no minus sign. Text is first read by ParseRegional (or, for a date format, as a
// date); text that is neither is returned as it is. Null and Empty give "".
QString Format(const Variant& v, const QString& format);

// Text of exactly n characters: cut, or padded with blanks on the right.
QString FixedText(const QString& text, int n);

// Day number from a date or time text ("31/12/2026", "5/3/26", "2026-12-31", "00:00:00",
// "10:30", "31/12/2026 10:30:00"); two-digit years 00-29 are 2000-2029, 30-99 1930-1999;
// nullopt when the text is no valid date or time.
std::optional<double> ParseDateText(const QString& text);

}  // namespace vx
