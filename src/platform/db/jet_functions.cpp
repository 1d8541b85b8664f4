// The Jet functions the program's SQL texts call, as SQLite functions. Arguments arrive in
// storage form (dates as day numbers); a conversion that fails is an SQL error.
#include <sqlite3.h>

#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/jet_like.h"
#include "platform/db/jet_sql.h"
#include "platform/db/jet_types.h"

namespace vx::db {

namespace {

Variant Arg(sqlite3_value** argv, int i) { return StoredValue(argv[i]); }

void Result(sqlite3_context* ctx, const Variant& v) {
  switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
      sqlite3_result_null(ctx);
      break;
    case Variant::Type::Integer:
      sqlite3_result_int64(ctx, v.toLong());
      break;
    case Variant::Type::Boolean:
      sqlite3_result_int64(ctx, v.toBool() ? -1 : 0);
      break;
    case Variant::Type::Date:
      sqlite3_result_double(ctx, v.toDayNumber());
      break;
    case Variant::Type::Error:
      sqlite3_result_error(ctx, "error value", -1);
      break;
    case Variant::Type::Single:
    case Variant::Type::Double:
      sqlite3_result_double(ctx, v.toDouble());
      break;
    case Variant::Type::Text: {
      const QByteArray utf8 = v.str().toUtf8();
      sqlite3_result_text64(ctx, utf8.constData(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    }
  }
}

using Body = Variant (*)(int argc, sqlite3_value** argv);

template <Body F>
void Call(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  try {
    Result(ctx, F(argc, argv));
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  }
}

bool AnyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
  }
  return false;
}

// Text of a stored value as VB gives it (numbers with the decimal comma).
QString Text(const Variant& v) { return v.str(); }

QString TrimBlanks(const QString& s, bool left, bool right) {
  qsizetype b = 0, e = s.size();
  if (left) {
    while (b < e && s[b] == QLatin1Char(' ')) ++b;
  }
  if (right) {
    while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
  }
  return s.mid(b, e - b);
}

double DayNumberOf(const Variant& v) {
  if (v.isText()) {
    if (const auto d = ParseDateText(v.str())) return *d;
  }
  return v.toDouble();
}

qint64 Count(const Variant& v) {
  const qint64 n = v.toLong();
  if (n < 0) throw ConversionError(QStringLiteral("Argomento non valido: %1").arg(n));
  return n;
}

Variant FnTrim(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(TrimBlanks(Text(Arg(a, 0)), true, true));
}
Variant FnLTrim(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(TrimBlanks(Text(Arg(a, 0)), true, false));
}
Variant FnRTrim(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(TrimBlanks(Text(Arg(a, 0)), false, true));
}
Variant FnVal(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(Val(Text(Arg(a, 0))));
}
Variant FnIIf(int, sqlite3_value** a) {
  bool condition = false;
  if (sqlite3_value_type(a[0]) != SQLITE_NULL) {
    try {
      condition = Arg(a, 0).toDouble() != 0;
    } catch (const ConversionError&) {
      condition = false;
    }
  }
  return Arg(a, condition ? 1 : 2);
}
Variant FnMid(int argc, sqlite3_value** a) {
  if (AnyNull(argc, a)) return Variant::null();
  const QString s = Text(Arg(a, 0));
  const qint64 start = Arg(a, 1).toLong();
  if (start < 1) throw ConversionError(QStringLiteral("Mid: posizione non valida"));
  return Variant(argc > 2 ? s.mid(start - 1, Count(Arg(a, 2))) : s.mid(start - 1));
}
Variant FnLeft(int, sqlite3_value** a) {
  return AnyNull(2, a) ? Variant::null() : Variant(Text(Arg(a, 0)).left(Count(Arg(a, 1))));
}
Variant FnRight(int, sqlite3_value** a) {
  return AnyNull(2, a) ? Variant::null() : Variant(Text(Arg(a, 0)).right(Count(Arg(a, 1))));
}
Variant FnLen(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(static_cast<qint64>(Text(Arg(a, 0)).size()));
}
Variant FnUCase(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(Text(Arg(a, 0)).toUpper());
}
Variant FnLCase(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(Text(Arg(a, 0)).toLower());
}
Variant FnFormat(int argc, sqlite3_value** a) {
  if (sqlite3_value_type(a[0]) == SQLITE_NULL) return Variant::null();
  const Variant v = Arg(a, 0);
  if (argc < 2) return Variant(v.str());
  return Variant(Format(v, Text(Arg(a, 1))));
}
Variant FnNz(int argc, sqlite3_value** a) {
  if (sqlite3_value_type(a[0]) != SQLITE_NULL) return Arg(a, 0);
  return argc > 1 ? Arg(a, 1) : Variant(QString());
}
Variant FnIsNull(int, sqlite3_value** a) {
  return Variant(static_cast<qint64>(sqlite3_value_type(a[0]) == SQLITE_NULL ? -1 : 0));
}
Variant FnDate(int, sqlite3_value**) { return Variant(std::floor(DayNumberFromDateTime(Now()))); }
Variant FnNow(int, sqlite3_value**) { return Variant(DayNumberFromDateTime(Now())); }
Variant FnYear(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(static_cast<qint64>(DateTimeFromDayNumber(DayNumberOf(Arg(a, 0))).date().year()));
}
Variant FnMonth(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(static_cast<qint64>(DateTimeFromDayNumber(DayNumberOf(Arg(a, 0))).date().month()));
}
Variant FnDay(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(static_cast<qint64>(DateTimeFromDayNumber(DayNumberOf(Arg(a, 0))).date().day()));
}
Variant FnCStr(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(Text(Arg(a, 0)));
}
Variant FnCLng(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(static_cast<qint64>(CLng(Arg(a, 0).toDouble())));
}
Variant FnCInt(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(static_cast<qint64>(CInt(Arg(a, 0).toDouble())));
}
Variant FnCDbl(int, sqlite3_value** a) {
  return AnyNull(1, a) ? Variant::null() : Variant(Arg(a, 0).toDouble());
}
Variant FnCSng(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(static_cast<double>(static_cast<float>(Arg(a, 0).toDouble())));
}
Variant FnStr(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  // Str: the point as decimal mark and a leading blank for a number that is not negative.
  const double d = Arg(a, 0).toDouble();
  QString s = NumberText(d).replace(QLatin1Char(','), QLatin1Char('.'));
  return Variant(d >= 0 ? QLatin1Char(' ') + s : s);
}
Variant FnInt(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  const Variant v = Arg(a, 0);
  if (v.type() == Variant::Type::Integer) return v;
  return Variant(std::floor(v.toDouble()));
}
Variant FnAbs(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  const Variant v = Arg(a, 0);
  if (v.type() == Variant::Type::Integer)
    return Variant(static_cast<qint64>(std::llabs(v.toLong())));
  return Variant(std::fabs(v.toDouble()));
}

// Jet's `&`: a Null operand gives the other one; numbers as their text.
Variant FnCat(int, sqlite3_value** a) {
  const bool null0 = sqlite3_value_type(a[0]) == SQLITE_NULL;
  const bool null1 = sqlite3_value_type(a[1]) == SQLITE_NULL;
  if (null0 && null1) return Variant::null();
  return Variant((null0 ? QString() : Text(Arg(a, 0))) + (null1 ? QString() : Text(Arg(a, 1))));
}

// Jet's `+`: two texts are joined; a text with a number is read as a number (an error when
// it is none); Null with anything is Null.
Variant FnAdd(int, sqlite3_value** a) {
  if (AnyNull(2, a)) return Variant::null();
  const Variant x = Arg(a, 0), y = Arg(a, 1);
  if (x.isText() && y.isText()) return Variant(x.str() + y.str());
  auto number = [](const Variant& v) -> Variant {
    if (!v.isText()) return v;
    const auto n = ParseRegional(v.str().trimmed());
    if (!n)
      throw ConversionError(QStringLiteral("Tipo non corrispondente: '%1' + numero").arg(v.str()));
    return Variant(*n);
  };
  const Variant p = number(x), q = number(y);
  if (p.type() == Variant::Type::Integer && q.type() == Variant::Type::Integer) {
    qint64 sum = 0;
    if (!__builtin_add_overflow(p.toLong(), q.toLong(), &sum)) return Variant(sum);
  }
  return Variant(p.toDouble() + q.toDouble());
}

// Round: half to even, as Jet rounds.
Variant FnRound(int argc, sqlite3_value** a) {
  if (AnyNull(argc, a)) return Variant::null();
  const double v = Arg(a, 0).toDouble();
  const qint64 places = argc > 1 ? Arg(a, 1).toLong() : 0;
  if (places < 0 || places > 15)
    throw ConversionError(QStringLiteral("Round: decimali non validi"));
  const double scale = std::pow(10.0, static_cast<double>(places));
  const double r = RoundHalfEven(v * scale) / scale;
  if (places == 0 && std::fabs(r) < 9e18) return Variant(static_cast<qint64>(r));
  return Variant(r);
}

// The text of a date as Jet gives it ("15/01/2024", with the time when there is one).
Variant FnDateText(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(Variant::fromDayNumber(DayNumberOf(Arg(a, 0))).str());
}

// A Jet LIKE pattern known only when the statement runs, as a regular expression.
Variant FnLikeRegexp(int, sqlite3_value** a) {
  if (AnyNull(1, a)) return Variant::null();
  return Variant(jet::TranslateLikePattern(Text(Arg(a, 0)), true).text);
}

// A value written by an INSERT or UPDATE text, fitted to its column as a record set's write
// fits it: jet_fit(value, declared type, column).
Variant FnFit(int, sqlite3_value** a) {
  return ConformForWrite(Arg(a, 0), JetTypeFromDeclared(Text(Arg(a, 1))), Text(Arg(a, 2)));
}

// X REGEXP P, for the LIKE patterns that SQLite's LIKE cannot express. The compiled pattern
// is kept with the statement.
void Regexp(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  auto* re = static_cast<QRegularExpression*>(sqlite3_get_auxdata(ctx, 0));
  if (!re) {
    re = new QRegularExpression(
        StoredValue(argv[0]).str(),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (!re->isValid()) {
      delete re;
      sqlite3_result_error(ctx, "modello LIKE non valido", -1);
      return;
    }
    sqlite3_set_auxdata(ctx, 0, re, [](void* p) { delete static_cast<QRegularExpression*>(p); });
    re = static_cast<QRegularExpression*>(sqlite3_get_auxdata(ctx, 0));
    if (!re) {
      sqlite3_result_error_nomem(ctx);
      return;
    }
  }
  sqlite3_result_int(ctx, re->match(StoredValue(argv[1]).str()).hasMatch() ? 1 : 0);
}

struct Entry {
  const char* name;
  int args;  // -1: any
  void (*fn)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};

}  // namespace

void RegisterJetFunctions(sqlite3* db) {
  static const Entry kFunctions[] = {
      {"trim", 1, Call<FnTrim>, true},
      {"ltrim", 1, Call<FnLTrim>, true},
      {"rtrim", 1, Call<FnRTrim>, true},
      {"val", 1, Call<FnVal>, true},
      {"iif", 3, Call<FnIIf>, true},
      {"mid", 2, Call<FnMid>, true},
      {"mid", 3, Call<FnMid>, true},
      {"left", 2, Call<FnLeft>, true},
      {"jet_left", 2, Call<FnLeft>, true},
      {"right", 2, Call<FnRight>, true},
      {"jet_right", 2, Call<FnRight>, true},
      {"len", 1, Call<FnLen>, true},
      {"ucase", 1, Call<FnUCase>, true},
      {"lcase", 1, Call<FnLCase>, true},
      {"format", 1, Call<FnFormat>, true},
      {"format", 2, Call<FnFormat>, true},
      {"nz", 1, Call<FnNz>, true},
      {"nz", 2, Call<FnNz>, true},
      {"isnull", 1, Call<FnIsNull>, true},
      {"jet_isnull", 1, Call<FnIsNull>, true},
      {"date", 0, Call<FnDate>, false},
      {"now", 0, Call<FnNow>, false},
      {"year", 1, Call<FnYear>, true},
      {"month", 1, Call<FnMonth>, true},
      {"day", 1, Call<FnDay>, true},
      {"cstr", 1, Call<FnCStr>, true},
      {"clng", 1, Call<FnCLng>, true},
      {"cint", 1, Call<FnCInt>, true},
      {"cdbl", 1, Call<FnCDbl>, true},
      {"csng", 1, Call<FnCSng>, true},
      {"str", 1, Call<FnStr>, true},
      {"int", 1, Call<FnInt>, true},
      {"abs", 1, Call<FnAbs>, true},
      {"regexp", 2, Regexp, true},
      {"jet_cat", 2, Call<FnCat>, true},
      {"jet_add", 2, Call<FnAdd>, true},
      {"round", 1, Call<FnRound>, true},
      {"round", 2, Call<FnRound>, true},
      {"jet_datetext", 1, Call<FnDateText>, true},
      {"jet_likere", 1, Call<FnLikeRegexp>, true},
      {"jet_fit", 3, Call<FnFit>, true},
  };
  for (const Entry& f : kFunctions) {
    const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
  }
}

}  // namespace vx::db
