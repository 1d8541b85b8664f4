#include "platform/variant.h"

#include <QTime>
#include <cmath>
#include <limits>

#include "platform/conv.h"

namespace vx {

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

QDate DayZero() { return QDate(1899, 12, 30); }

// Whole seconds of the time of day held in a day number's fraction; 86400 carries a day.
qint64 SecondsOfDay(double days) {
  double frac = std::fabs(days - std::trunc(days));
  return std::llround(frac * 86400.0);
}

QString DateText(double days) {
  double whole = std::trunc(days);
  qint64 secs = SecondsOfDay(days);
  if (secs >= 86400) {
    secs -= 86400;
    whole += days < 0 ? -1 : 1;
  }
  const QDate date = DayZero().addDays(static_cast<qint64>(whole));
  const QTime time = QTime(0, 0).addSecs(static_cast<int>(secs));
  const QString timeText = time.toString(QStringLiteral("HH:mm:ss"));
  if (whole == 0) return timeText;  // a pure time
  const QString dateText = date.toString(QStringLiteral("dd/MM/yyyy"));
  return secs == 0 ? dateText : dateText + QLatin1Char(' ') + timeText;
}

ConversionError RefusedError(const QString& text) {
  return ConversionError(QStringLiteral("Tipo non corrispondente: valore di errore %1").arg(text));
}

}  // namespace

double DayNumberFromDateTime(const QDateTime& dt) {
  const double days = static_cast<double>(DayZero().daysTo(dt.date()));
  const double frac = static_cast<double>(dt.time().msecsSinceStartOfDay()) / kMsecsPerDay;
  // Before day zero the fraction still counts forward from midnight: -1.25 is 29/12/1899 06:00.
  return days >= 0 ? days + frac : days - frac;
}

QDateTime DateTimeFromDayNumber(double days) {
  qint64 whole = static_cast<qint64>(std::trunc(days));
  qint64 msecs = std::llround(std::fabs(days - std::trunc(days)) * kMsecsPerDay);
  if (msecs >= kMsecsPerDay) {
    msecs -= kMsecsPerDay;
    whole += days < 0 ? -1 : 1;
  }
  return QDateTime(DayZero().addDays(whole),
                   QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)));
}

Variant::Variant(const QDate& d) : type_(Type::Date) {
  d_ = d.isValid() ? static_cast<double>(DayZero().daysTo(d)) : 0;
}

Variant::Variant(const QDateTime& dt) : type_(Type::Date) {
  d_ = dt.isValid() ? DayNumberFromDateTime(dt) : 0;
}

QString Variant::toString() const {
  switch (type_) {
    case Type::Empty:
    case Type::Null:
      return QString();
    case Type::Integer:
      return QString::number(i_);
    case Type::Single:
      return NumberText(d_, 7);
    case Type::Double:
      return NumberText(d_, 15);
    case Type::Text:
      return s_;
    case Type::Date:
      return DateText(d_);
    case Type::Boolean:
      return i_ ? QStringLiteral("Vero") : QStringLiteral("Falso");
    case Type::Error:
      return s_;
  }
  return QString();
}

double Variant::toDouble() const {
  switch (type_) {
    case Type::Empty:
    case Type::Null:
      return 0;
    case Type::Integer:
    case Type::Boolean:
      return static_cast<double>(i_);
    case Type::Single:
    case Type::Double:
    case Type::Date:
      return d_;
    case Type::Text: {
      if (auto n = ParseRegional(s_)) return *n;
      throw ConversionError(
          QStringLiteral("Tipo non corrispondente: \"%1\" non è un numero").arg(s_));
    }
    case Type::Error:
      throw RefusedError(s_);
  }
  return 0;
}

qint64 Variant::toLong() const {
  if (type_ == Type::Integer || type_ == Type::Boolean) return i_;
  const double r = RoundHalfEven(toDouble());
  // 2^63 is exactly representable; anything at or above it does not fit.
  if (!std::isfinite(r) || r >= 9223372036854775808.0 || r < -9223372036854775808.0) {
    throw ConversionError(QStringLiteral("Overflow"));
  }
  return static_cast<qint64>(r);
}

bool Variant::toBool() const {
  switch (type_) {
    case Type::Empty:
    case Type::Null:
      return false;
    case Type::Integer:
    case Type::Boolean:
      return i_ != 0;
    case Type::Single:
    case Type::Double:
    case Type::Date:
      return d_ != 0;
    case Type::Text: {
      const QString t = s_.trimmed();
      if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
          t.compare(QLatin1String("Vero"), Qt::CaseInsensitive) == 0) {
        return true;
      }
      if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
          t.compare(QLatin1String("Falso"), Qt::CaseInsensitive) == 0) {
        return false;
      }
      if (auto n = ParseRegional(t)) return *n != 0;
      throw ConversionError(
          QStringLiteral("Tipo non corrispondente: \"%1\" non è un valore logico").arg(s_));
    }
    case Type::Error:
      throw RefusedError(s_);
  }
  return false;
}

double Variant::toDayNumber() const {
  switch (type_) {
    case Type::Empty:
    case Type::Null:
      return 0;
    case Type::Text: {
      if (auto d = ParseDateText(s_)) return *d;
      if (auto n = ParseRegional(s_)) return *n;
      throw ConversionError(
          QStringLiteral("Tipo non corrispondente: \"%1\" non è una data").arg(s_));
    }
    default:
      return toDouble();
  }
}

QDate Variant::toDate() const { return toDateTime().date(); }

QDateTime Variant::toDateTime() const { return DateTimeFromDayNumber(toDayNumber()); }

bool Variant::operator==(const Variant& other) const {
  if (isNumber() && other.isNumber()) {
    if (type_ == Type::Integer && other.type_ == Type::Integer) return i_ == other.i_;
    return toDouble() == other.toDouble();
  }
  if (type_ != other.type_) return false;
  switch (type_) {
    case Type::Empty:
    case Type::Null:
      return true;
    case Type::Text:
    case Type::Error:
      return s_ == other.s_;
    case Type::Boolean:
      return i_ == other.i_;
    default:
      return d_ == other.d_;
  }
}

}  // namespace vx
