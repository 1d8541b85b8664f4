// The rules the terminal imports apply to one reading: the comparison cost of a slot, the
// slot rules that turn a quantity into packages, the code normalisations and the record
// layouts of the terminals' download files. Pure functions, free of windows and databases.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "platform/variant.h"

namespace vx::terminals {

// A slot's cost as the imports compare it: 9999 when the cost is 0, Null or empty (a plain
// number: a real cost of 9999 or more is not preferred to a missing one).
double ComparisonCost(const Variant& cost);

// What a slot rule writes into colli1..colli4: a value per slot, or nothing for "unchanged".
using PackageWrites = std::array<std::optional<double>, 4>;

// The three-slot rule on the comparison costs of slots 1 to 3 and the quantity q: three
// separate tests on the same costs, the last that holds deciding. With the slot-2 fallback,
// when no test holds slot 2 gets q and nothing else changes.
PackageWrites ThreeSlotRule(const std::array<double, 3>& costs, double q, bool slot2Fallback);

// The four-slot accumulating rule on the comparison costs of slots 1 to 4: the slot strictly
// the cheapest gets its packages (Null counting 0) plus q; slots 2 to 4 clear the other
// three, slot 1 leaves them. A lowest shared by two or more slots changes nothing.
PackageWrites AccumulatingRule(const std::array<double, 4>& costs,
                               const std::array<Variant, 4>& packages, double q);

// The four-slot chain rule: the first of four tests that holds writes q into its slot (ties
// go to the lower slot, except that slot 3 must be below slot 4); slot 1 leaves the other
// packages, slots 2 to 4 clear them. One test always holds.
PackageWrites ChainRule(const std::array<double, 4>& costs, double q);

// The pairwise rule on the raw costs of slots 1 to 3 (0 or Null: no price) and the row's
// packages. With two or more slots priced and one of them strictly the cheapest, that slot
// gets q (slot 1 leaving the others, slots 2 and 3 clearing them). Otherwise six tests in
// turn, each whose condition holds writing, a Null making a condition false; the sixth gives
// q to the first priced slot when the row holds no packages after the first five.
PackageWrites PairwiseRule(const std::array<Variant, 3>& costs,
                           const std::array<Variant, 3>& packages, double q);

// One reading of a terminal: the 13-character key looked up in the comparison table and the
// quantity. A line that holds no reading is Blank (passed over silently) or Invalid (reported).
// A line whose code field holds no code is Unreadable: reported as not found with the code
// field as written.
struct Reading {
  enum class Kind { Ok, Blank, Invalid, Unreadable };
  Kind kind = Kind::Ok;
  QString code;  // the code as the terminal wrote it
  QString key;   // the look-up key
  double quantity = 0;
  QString quantityText;  // the quantity as the terminal wrote it ("" where it wrote none)
  int line = 0;          // the line (or row) of the source it came from, from 1
  QString text;          // that line (record, row) as written, for the list of the unread
};

// Why a reading cannot be registered: a line without the layout's separator, a quantity
// that is no number, is negative, is not a whole number or is beyond what a packages column
// holds, or no code on a line that is not all blanks. The quantity's faults are told before
// the missing code.
enum class ReadingFault { None, Invalid, NotANumber, Negative, NotWhole, TooLarge, NoCode };
ReadingFault FaultOf(const Reading& r);
// The fault as the list of the unread readings names it.
QString FaultText(ReadingFault fault);

// A download that is no text of a terminal: a NUL or another control character (tab, line
// ends and the end-of-file mark aside), or a UTF-16 byte order mark read as Windows-1252.
bool IsTerminalText(const QStringList& lines);

// A line as the fixed-length buffer of 57 characters holds it: cut after the 57th
// character, or filled with blanks on the right.
QString LineBuffer(const QString& line);

// The blank-cut zero fill: a code whose first blank is at position p + 1 (p > 0) becomes
// 13 - p zeros followed by its first p characters; a code with no blank, or a blank first,
// stays as it is.
QString BlankCutZeroFill(const QString& code13);

// The eight-character rule: exactly eight characters get "00000" in front; any other code
// is cut or blank-filled to 13 characters.
QString EightCharacterRule(const QString& code);

// A reading of fixed columns (counted from 1) in the 57-character buffer: a 13-character code
// at codeColumn, normalised by the blank-cut zero fill, and a 6-character quantity read as a
// number at quantityColumn.
Reading FixedColumnsReading(const QString& line, int codeColumn, int quantityColumn);

// A CipherLab line: split at its first comma among characters 1-50 of the buffer into the
// code and the five characters of the quantity (single precision; 0 becomes 1); the key by
// the eight-character rule. A line without such a comma is Blank when it holds only blanks,
// Invalid otherwise.
Reading CipherLabReading(const QString& line);

// The PDT6100 readings: records of 22 characters from character 105 of the file's first
// line, while a record's start lies within the line (the last one may be short): the 13
// characters of the code unchanged, the next 7 read as a number.
std::vector<Reading> Pdt6100Readings(const QString& firstLine);

// A General Code 630 line: the code is characters 1-13 unchanged (fewer on a shorter line),
// the quantity characters 14-21 read as a number.
Reading GeneralCode630Reading(const QString& line);

// A default terminal line in the 57-character buffer: the code is columns 1-13 by the
// blank-cut zero fill, the quantity the trimmed columns 15-22 read as a number.
Reading DefaultTerminalReading(const QString& line);

// An MC3000 line in the 57-character buffer: columns 24-36 read as a number and written as
// 13 digits, the quantity the trimmed columns 44-49. A code field that does not begin with a
// digit is Unreadable (Blank when the whole line is blank).
Reading Mc3000Reading(const QString& line);

// A row of the Wi-Fi terminal's table: the code as text cut or blank-filled to 13 characters
// (Null: 13 blanks), the quantity in single precision, 0 (Null, no number) becoming 1.
Reading WifiReading(const Variant& eanrig, const Variant& colli);

// The progress step for a source of `lines` lines: 1000 / lines rounded half to even; 0 for
// no line.
qint16 ProgressStep(qint32 lines);
// The next progress value: value + step, back to 0 above 1100.
qint16 NextProgress(qint16 value, qint16 step);

}  // namespace vx::terminals
