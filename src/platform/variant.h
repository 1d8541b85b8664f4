// A dynamically typed value as the business code and the database layer exchange it:
// Empty, Null, whole number, single or double precision number, text, date, boolean, and
// the error value of a workbook cell ("#N/A"), which no conversion accepts.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vx {

// Raised for a conversion that cannot be made (text that is no number, overflow).
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString message() const { return QString::fromStdString(what()); }
};

class Variant {
 public:
  enum class Type { Empty, Null, Integer, Single, Double, Text, Date, Boolean, Error };

  Variant() = default;
  Variant(int v) : type_(Type::Integer), i_(v) {}
  Variant(long v) : type_(Type::Integer), i_(v) {}
  Variant(long long v) : type_(Type::Integer), i_(v) {}
  Variant(float v) : type_(Type::Single), d_(v) {}
  Variant(double v) : type_(Type::Double), d_(v) {}
  Variant(bool v) : type_(Type::Boolean), i_(v ? -1 : 0) {}
  Variant(const QString& v) : type_(Type::Text), s_(v) {}
  Variant(const char* v) : type_(Type::Text), s_(QString::fromUtf8(v)) {}
  Variant(const QDate& d);
  Variant(const QDateTime& dt);

  static Variant null() {
    Variant v;
    v.type_ = Type::Null;
    return v;
  }
  // An error value with its text ("#N/A", "#DIV/0!").
  static Variant error(const QString& text) {
    Variant v;
    v.type_ = Type::Error;
    v.s_ = text;
    return v;
  }
  // A date as its day number: days since 30 December 1899, the fraction is the time of day.
  static Variant fromDayNumber(double days) {
    Variant v;
    v.type_ = Type::Date;
    v.d_ = days;
    return v;
  }

  Type type() const { return type_; }
  bool isEmpty() const { return type_ == Type::Empty; }
  bool isNull() const { return type_ == Type::Null; }
  bool isNumber() const {
    return type_ == Type::Integer || type_ == Type::Single || type_ == Type::Double;
  }
  bool isText() const { return type_ == Type::Text; }
  bool isDate() const { return type_ == Type::Date; }
  bool isError() const { return type_ == Type::Error; }

  // Text as the program shows it: numbers with the decimal comma (single 7, double 15
  // significant digits), dates as dd/mm/yyyy (with the time when there is one),
  // booleans as "Vero"/"Falso", an error as its text; Empty and Null give "".
  QString toString() const;
  // Number by the Italian regional rules ("25,00" is 25); Empty and Null give 0;
  // text that is no number, and an error value, raise ConversionError (so do the other
  // conversions below).
  double toDouble() const;
  // Whole number rounded half to even, as CLng does.
  qint64 toLong() const;
  bool toBool() const;
  // Day number (see fromDayNumber); text is read as a date or time.
  double toDayNumber() const;
  QDate toDate() const;
  QDateTime toDateTime() const;

  // The text of a value that holds text (or an error), else toString(); Null and Empty
  // give "".
  QString str() const { return type_ == Type::Text || type_ == Type::Error ? s_ : toString(); }

  bool operator==(const Variant& other) const;

 private:
  Type type_ = Type::Empty;
  qint64 i_ = 0;
  double d_ = 0;
  QString s_;
};

// Day number <-> calendar date, with 30 December 1899 as day zero.
double DayNumberFromDateTime(const QDateTime& dt);
QDateTime DateTimeFromDayNumber(double days);

}  // namespace vx
