#include "terminals/terminal_rules.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/conv.h"

namespace vx::terminals {

namespace {

constexpr int kBufferLength = 57;
constexpr int kKeyLength = 13;
// The largest number of packages a packages column (a Jet long) holds.
constexpr double kMostPackages = 2147483647;

// A column's number; none for Null or Empty, 0 for text that is no number.
std::optional<double> NumberOf(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return std::nullopt;
  return v.isText() ? ParseRegional(v.str()).value_or(0) : v.toDouble();
}

// Slot `slot` gets q; slots 2 to 4 (from 0: 1 to 3) clear the other slots of the rule.
void TakeAlone(PackageWrites& w, int slot, double value, int slotCount) {
  w[slot] = value;
  if (slot == 0) return;
  for (int other = 0; other < slotCount; ++other) {
    if (other != slot) w[other] = 0;
  }
}

}  // namespace

double ComparisonCost(const Variant& cost) {
  const double v = NumberOf(cost).value_or(0);
  return v == 0 ? 9999 : v;
}

PackageWrites AccumulatingRule(const std::array<double, 4>& c,
                               const std::array<Variant, 4>& packages, double q) {
  PackageWrites w;
  // Each test adds to the packages as the tests before it left them.
  const auto add = [&](int slot) {
    const double v = w[slot] ? *w[slot] : NumberOf(packages[slot]).value_or(0);
    TakeAlone(w, slot, v + q, 4);
  };
  if (c[0] < c[1] && c[0] < c[2] && c[0] < c[3]) add(0);
  if (c[1] < c[0] && c[1] < c[2] && c[1] < c[3]) add(1);
  if (c[2] < c[1] && c[2] < c[0] && c[2] < c[3]) add(2);
  if (c[3] < c[1] && c[3] < c[0] && c[3] < c[2]) add(3);
  return w;
}

PackageWrites ChainRule(const std::array<double, 4>& c, double q) {
  PackageWrites w;
  int slot = 3;
  if (c[0] <= c[1] && c[0] <= c[2] && c[0] <= c[3]) {
    slot = 0;
  } else if (c[1] <= c[0] && c[1] < c[2] && c[1] < c[3]) {
    slot = 1;
  } else if (c[2] <= c[1] && c[2] <= c[0] && c[2] < c[3]) {
    slot = 2;
  }
  TakeAlone(w, slot, q, 4);
  return w;
}

PackageWrites PairwiseRule(const std::array<Variant, 3>& costs,
                           const std::array<Variant, 3>& packages, double q) {
  std::array<std::optional<double>, 3> c;
  for (int i = 0; i < 3; ++i) c[i] = NumberOf(costs[i]);
  const auto priced = [&](int i) { return c[i] && *c[i] != 0; };
  const auto below = [&](int i, int j) { return c[i] && c[j] && *c[i] < *c[j]; };
  PackageWrites w;

  int pricedCount = 0;
  for (int i = 0; i < 3; ++i) pricedCount += priced(i) ? 1 : 0;
  if (pricedCount >= 2) {
    for (int i = 0; i < 3; ++i) {
      if (!priced(i)) continue;
      bool lowest = true;
      for (int j = 0; j < 3; ++j) {
        if (j != i && priced(j) && !below(i, j)) lowest = false;
      }
      if (lowest) {
        TakeAlone(w, i, q, 3);
        return w;
      }
    }
  }

  if (priced(0) && below(0, 1)) w[0] = q;
  if (priced(2) && below(2, 0)) {
    w[2] = q;
    w[0] = 0;
  }
  if (priced(1) && below(1, 0)) TakeAlone(w, 1, q, 3);
  if (priced(2) && below(2, 1)) TakeAlone(w, 2, q, 3);
  if (priced(1) && below(1, 2)) TakeAlone(w, 1, q, 3);
  // The row as the five tests left it; a Null package makes the test false.
  bool empty = true;
  for (int i = 0; i < 3; ++i) {
    const std::optional<double> v = w[i] ? w[i] : NumberOf(packages[i]);
    if (!v || *v != 0) empty = false;
  }
  if (empty) {
    for (int i = 0; i < 3; ++i) {
      if (priced(i)) {
        w[i] = q;
        break;
      }
    }
  }
  return w;
}

PackageWrites ThreeSlotRule(const std::array<double, 3>& c, double q, bool slot2Fallback) {
  PackageWrites w;
  bool held = false;
  if (c[0] < c[1] && c[0] < c[2]) {
    w[0] = q;
    held = true;
  }
  if (c[1] < c[0] && c[1] != c[2]) {
    w[1] = q;
    w[0] = 0;
    w[2] = 0;
    held = true;
  }
  if (c[2] < c[1] && c[2] < c[0]) {
    w[2] = q;
    w[0] = 0;
    w[1] = 0;
    held = true;
  }
  if (!held && slot2Fallback) w[1] = q;
  return w;
}

QString LineBuffer(const QString& line) {
  return line.left(kBufferLength).leftJustified(kBufferLength, QLatin1Char(' '));
}

QString BlankCutZeroFill(const QString& code13) {
  const int p = code13.left(kKeyLength).indexOf(QLatin1Char(' '));
  if (p <= 0) return code13;
  return QString(kKeyLength - p, QLatin1Char('0')) + code13.left(p);
}

QString EightCharacterRule(const QString& code) {
  if (code.size() == 8) return QStringLiteral("00000") + code;
  return code.left(kKeyLength).leftJustified(kKeyLength, QLatin1Char(' '));
}

Reading FixedColumnsReading(const QString& line, int codeColumn, int quantityColumn) {
  const QString buffer = LineBuffer(line);
  Reading r;
  r.code = buffer.mid(codeColumn - 1, kKeyLength);
  r.key = BlankCutZeroFill(r.code);
  r.quantityText = buffer.mid(quantityColumn - 1, 6);
  r.quantity = Val(r.quantityText);
  return r;
}

Reading CipherLabReading(const QString& line) {
  const QString buffer = LineBuffer(line);
  const int comma = buffer.left(50).indexOf(QLatin1Char(','));
  Reading r;
  if (comma < 0) {
    r.kind = buffer.trimmed().isEmpty() ? Reading::Kind::Blank : Reading::Kind::Invalid;
    r.code = line;
    return r;
  }
  r.code = buffer.left(comma);
  r.key = EightCharacterRule(r.code);
  r.quantityText = buffer.mid(comma + 1, 5);
  r.quantity = static_cast<float>(Val(r.quantityText));
  if (r.quantity == 0) r.quantity = 1;
  return r;
}

std::vector<Reading> Pdt6100Readings(const QString& firstLine) {
  constexpr int kFirst = 105, kRecord = 22;
  std::vector<Reading> readings;
  for (int p = kFirst; p <= firstLine.size(); p += kRecord) {
    Reading r;
    r.code = firstLine.mid(p - 1, kKeyLength);
    r.key = r.code;
    r.quantityText = firstLine.mid(p - 1 + kKeyLength, 7);
    r.quantity = Val(r.quantityText);
    r.line = 1;
    r.text = firstLine.mid(p - 1, kRecord);
    readings.push_back(r);
  }
  return readings;
}

Reading GeneralCode630Reading(const QString& line) {
  Reading r;
  r.code = line.left(kKeyLength);
  r.key = r.code;
  r.quantityText = line.mid(kKeyLength, 8);
  r.quantity = Val(r.quantityText);
  return r;
}

Reading DefaultTerminalReading(const QString& line) {
  const QString buffer = LineBuffer(line);
  Reading r;
  r.code = buffer.left(kKeyLength);
  r.key = BlankCutZeroFill(r.code);
  r.quantityText = buffer.mid(14, 8);
  r.quantity = Val(r.quantityText.trimmed());
  return r;
}

Reading Mc3000Reading(const QString& line) {
  const QString buffer = LineBuffer(line);
  Reading r;
  r.code = buffer.mid(23, kKeyLength);
  r.quantityText = buffer.mid(43, 6);
  r.quantity = Val(r.quantityText.trimmed());
  QString digits = r.code;
  digits.remove(QLatin1Char(' '));
  if (digits.isEmpty() || !digits.front().isDigit()) {
    r.kind = buffer.trimmed().isEmpty() ? Reading::Kind::Blank : Reading::Kind::Unreadable;
    return r;
  }
  r.key = Format(Variant(Val(r.code)), QStringLiteral("0000000000000"));
  return r;
}

Reading WifiReading(const Variant& eanrig, const Variant& colli) {
  Reading r;
  r.code = eanrig.isNull() || eanrig.isEmpty() ? QString() : eanrig.str();
  r.key = FixedText(r.code, kKeyLength);
  if (colli.isText()) r.quantityText = colli.str();
  r.quantity = static_cast<float>(NumberOf(colli).value_or(0));
  r.text =
      r.code + QStringLiteral("; ") + (colli.isNull() || colli.isEmpty() ? QString() : colli.str());
  if (r.quantity == 0) r.quantity = 1;
  return r;
}

ReadingFault FaultOf(const Reading& r) {
  if (r.kind == Reading::Kind::Invalid) return ReadingFault::Invalid;
  if (r.kind == Reading::Kind::Blank) return ReadingFault::None;
  // A quantity text must begin with a number as the number reading takes it; blanks alone
  // read as 0.
  static const QRegularExpression number(QStringLiteral("^[+-]?(\\d|\\.\\d|&[HhOo])"));
  QString written = r.quantityText;
  written.remove(QLatin1Char(' '));
  written.remove(QLatin1Char('\t'));
  if (!written.isEmpty() && !number.match(written).hasMatch()) return ReadingFault::NotANumber;
  // A number beyond what the reading holds (1e309) reads as 0.
  static const QRegularExpression nonZero(QStringLiteral("^[+-]?0*\\.?0*[1-9]"));
  if (Val(written) == 0 && nonZero.match(written).hasMatch()) return ReadingFault::TooLarge;
  if (std::isnan(r.quantity)) return ReadingFault::NotANumber;
  if (r.quantity < 0) return ReadingFault::Negative;
  if (r.quantity > kMostPackages) return ReadingFault::TooLarge;
  if (r.quantity != std::floor(r.quantity)) return ReadingFault::NotWhole;
  // A line of blanks is not a reading without its code: it is looked up as the layout says.
  if (r.code.trimmed().isEmpty() && !r.text.trimmed().isEmpty()) return ReadingFault::NoCode;
  return ReadingFault::None;
}

QString FaultText(ReadingFault fault) {
  // In the order of ReadingFault.
  static const char* const kTexts[] = {"",
                                       "riga non valida",
                                       "quantità non numerica",
                                       "quantità negativa",
                                       "quantità non intera",
                                       "quantità troppo grande",
                                       "codice mancante"};
  return QString::fromUtf8(kTexts[int(fault)]);
}

bool IsTerminalText(const QStringList& lines) {
  // A UTF-16 byte order mark, read as Windows-1252.
  if (!lines.isEmpty() && (lines.first().startsWith(QStringLiteral("\u00FF\u00FE")) ||
                           lines.first().startsWith(QStringLiteral("\u00FE\u00FF")))) {
    return false;
  }
  for (const QString& line : lines) {
    for (const QChar c : line) {
      const ushort u = c.unicode();
      if (u < 0x20 && u != '\t' && u != '\r' && u != '\n' && u != 0x1A) return false;
    }
  }
  return true;
}

qint16 ProgressStep(qint32 lines) { return lines > 0 ? CInt(1000.0 / lines) : qint16(0); }

qint16 NextProgress(qint16 value, qint16 step) {
  const int next = value + step;
  return next > 1100 ? qint16(0) : qint16(next);
}

}  // namespace vx::terminals
