#include "terminals/terminal_rules.h"

#include "platform/conv.h"

namespace vx::terminals {

namespace {

constexpr int kBufferLength = 57;
constexpr int kKeyLength = 13;

}  // namespace

double ComparisonCost(const Variant& cost) {
  if (cost.isNull() || cost.isEmpty()) return 9999;
  const double v = cost.isText() ? ParseRegional(cost.str()).value_or(0) : cost.toDouble();
  return v == 0 ? 9999 : v;
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
  r.quantity = Val(buffer.mid(quantityColumn - 1, 6));
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
  r.quantity = static_cast<float>(Val(buffer.mid(comma + 1, 5)));
  if (r.quantity == 0) r.quantity = 1;
  return r;
}

qint16 ProgressStep(qint32 lines) { return lines > 0 ? CInt(1000.0 / lines) : qint16(0); }

qint16 NextProgress(qint16 value, qint16 step) {
  const int next = value + step;
  return next > 1100 ? qint16(0) : qint16(next);
}

}  // namespace vx::terminals
