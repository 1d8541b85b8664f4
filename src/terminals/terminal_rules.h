// The rules the terminal imports apply to one reading: the comparison cost of a slot, the
// slot rules that turn a quantity into packages, the code normalisations and the record
// layouts of the terminals' download files. Pure functions, free of windows and databases.
#pragma once

#include <QString>
#include <array>
#include <optional>

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

// One reading of a terminal: the 13-character key looked up in the comparison table and the
// quantity. A line that holds no reading is Blank (passed over silently) or Invalid (reported).
struct Reading {
  enum class Kind { Ok, Blank, Invalid };
  Kind kind = Kind::Ok;
  QString code;  // the code as the terminal wrote it
  QString key;   // the look-up key
  double quantity = 0;
};

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

// The progress step for a source of `lines` lines: 1000 / lines rounded half to even; 0 for
// no line.
qint16 ProgressStep(qint32 lines);
// The next progress value: value + step, back to 0 above 1100.
qint16 NextProgress(qint16 value, qint16 step);

}  // namespace vx::terminals
