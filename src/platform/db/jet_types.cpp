#include "platform/db/jet_types.h"

#include <sqlite3.h>

#include <cfloat>
#include <cmath>

#include "platform/conv.h"
#include "platform/db/database.h"

namespace vx::db {

namespace {

[[noreturn]] void Refuse(const QString& field, const Variant& value) {
  throw DbError(QStringLiteral("Il campo '%1' non accetta il valore '%2'").arg(field, value.str()));
}

// A number from a value written into a number column; nullopt for blank text (stored Null).
std::optional<double> NumberOf(const Variant& v, const QString& field) {
  switch (v.type()) {
    case Variant::Type::Text: {
      const QString t = v.str().trimmed();
      if (t.isEmpty()) return std::nullopt;
      const auto n = ParseRegional(t);
      if (!n || !std::isfinite(*n)) Refuse(field, v);
      return *n;
    }
    case Variant::Type::Date:
      return v.toDayNumber();
    default: {
      const double d = v.toDouble();
      if (!std::isfinite(d)) Refuse(field, v);
      return d;
    }
  }
}

Variant WholeNumber(const Variant& v, JetType type, const QString& field) {
  qint64 whole = 0;
  if (v.type() == Variant::Type::Integer || v.type() == Variant::Type::Boolean) {
    whole = v.toLong();
  } else {
    const auto n = NumberOf(v, field);
    if (!n) return Variant::null();
    const double r = RoundHalfEven(*n);
    if (std::fabs(r) > 9.2e18) Refuse(field, v);
    whole = static_cast<qint64>(r);
  }
  qint64 lo = INT32_MIN, hi = INT32_MAX;
  if (type.kind == JetKind::Short) lo = -32768, hi = 32767;
  if (type.kind == JetKind::Byte) lo = 0, hi = 255;
  if (whole < lo || whole > hi) Refuse(field, v);
  return Variant(whole);
}

QString TextOf(const Variant& v) {
  switch (v.type()) {
    case Variant::Type::Integer:
      return QString::number(v.toLong());
    case Variant::Type::Single:
      return NumberText(v.toDouble(), 7);
    case Variant::Type::Double:
      return NumberText(v.toDouble(), 15);
    default:
      return v.str();
  }
}

}  // namespace

JetType JetTypeFromDeclared(const QString& declared) {
  QString d = declared.trimmed().toUpper();
  int size = 0;
  const qsizetype paren = d.indexOf(QLatin1Char('('));
  if (paren >= 0) {
    size = d.mid(paren + 1, d.indexOf(QLatin1Char(')'), paren) - paren - 1).trimmed().toInt();
    d = d.left(paren).trimmed();
  }
  const QString word = d.section(QLatin1Char(' '), 0, 0);
  JetType t;
  if (word == QLatin1String("TEXT") || word == QLatin1String("VARCHAR") ||
      word == QLatin1String("CHAR")) {
    t.kind = JetKind::Text;
    t.size = size > 0 ? size : 255;
  } else if (word == QLatin1String("LONGTEXT") || word == QLatin1String("MEMO")) {
    t.kind = JetKind::Memo;
  } else if (word == QLatin1String("BYTE")) {
    t.kind = JetKind::Byte;
  } else if (word == QLatin1String("SHORT") || word == QLatin1String("SMALLINT")) {
    t.kind = JetKind::Short;
  } else if (word == QLatin1String("INT") || word == QLatin1String("LONG") ||
             word == QLatin1String("INTEGER") || word == QLatin1String("COUNTER")) {
    t.kind = JetKind::Long;
  } else if (word == QLatin1String("SINGLE")) {
    t.kind = JetKind::Single;
  } else if (word == QLatin1String("DOUBLE") || word == QLatin1String("REAL") ||
             word == QLatin1String("FLOAT")) {
    t.kind = JetKind::Double;
  } else if (word == QLatin1String("CURRENCY")) {
    t.kind = JetKind::Currency;
  } else if (word == QLatin1String("DATE") || word == QLatin1String("DATETIME")) {
    t.kind = JetKind::Date;
  } else if (word == QLatin1String("YESNO") || word == QLatin1String("BOOLEAN")) {
    t.kind = JetKind::YesNo;
  }
  return t;
}

Variant ConformForWrite(const Variant& v, JetType type, const QString& field, bool checkWidth) {
  if (v.isNull() || v.isEmpty()) return Variant::null();
  switch (type.kind) {
    case JetKind::Text:
    case JetKind::Memo: {
      const QString text = TextOf(v);
      if (checkWidth && type.kind == JetKind::Text && text.size() > type.size) {
        throw DbError(QStringLiteral("Il campo '%1' accetta al massimo %2 caratteri: '%3'")
                          .arg(field)
                          .arg(type.size)
                          .arg(text));
      }
      return Variant(text);
    }
    case JetKind::Byte:
    case JetKind::Short:
    case JetKind::Long:
      return WholeNumber(v, type, field);
    case JetKind::Single: {
      const auto n = NumberOf(v, field);
      if (!n) return Variant::null();
      if (std::fabs(*n) > FLT_MAX) Refuse(field, v);
      return Variant(static_cast<double>(static_cast<float>(*n)));
    }
    case JetKind::Double: {
      const auto n = NumberOf(v, field);
      return n ? Variant(*n) : Variant::null();
    }
    case JetKind::Currency: {
      const auto n = NumberOf(v, field);
      return n ? Variant(RoundHalfEven(*n * 10000.0) / 10000.0) : Variant::null();
    }
    case JetKind::Date: {
      if (v.isText()) {
        const QString t = v.str().trimmed();
        if (t.isEmpty()) return Variant::null();
        if (const auto d = ParseDateText(t)) return Variant(*d);
        if (const auto n = ParseRegional(t)) return Variant(*n);
        Refuse(field, v);
      }
      const double d = v.isDate() ? v.toDayNumber() : v.toDouble();
      if (!std::isfinite(d)) Refuse(field, v);
      return Variant(d);
    }
    case JetKind::YesNo: {
      if (v.isText()) {
        const QString t = v.str().trimmed().toLower();
        if (t.isEmpty()) return Variant::null();
        if (t == QLatin1String("true") || t == QLatin1String("vero") || t == QLatin1String("yes") ||
            t == QLatin1String("sì") || t == QLatin1String("si")) {
          return Variant(qint64{-1});
        }
        if (t == QLatin1String("false") || t == QLatin1String("falso") ||
            t == QLatin1String("no")) {
          return Variant(qint64{0});
        }
        const auto n = ParseRegional(t);
        if (!n) Refuse(field, v);
        return Variant(qint64{*n != 0 ? -1 : 0});
      }
      return Variant(qint64{v.toDouble() != 0 ? -1 : 0});
    }
    case JetKind::Unknown:
      break;
  }
  switch (v.type()) {
    case Variant::Type::Date:
    case Variant::Type::Single:
      return Variant(v.toDouble());
    case Variant::Type::Boolean:
      return Variant(qint64{v.toBool() ? -1 : 0});
    default:
      return v;
  }
}

Variant TypedFromStorage(const Variant& s, JetType type) {
  if (s.isNull() || s.isEmpty()) return Variant::null();
  switch (type.kind) {
    case JetKind::Text:
    case JetKind::Memo:
      return s.isText() ? s : Variant(TextOf(s));
    case JetKind::Byte:
    case JetKind::Short:
    case JetKind::Long:
      if (s.type() == Variant::Type::Integer) return s;
      if (s.isNumber()) {
        const double d = s.toDouble();
        return d == std::floor(d) && std::fabs(d) < 9e18 ? Variant(static_cast<qint64>(d)) : s;
      }
      return s;
    case JetKind::Single:
      return s.isNumber() ? Variant(static_cast<float>(s.toDouble())) : s;
    case JetKind::Double:
    case JetKind::Currency:
      return s.isNumber() ? Variant(s.toDouble()) : s;
    case JetKind::Date:
      if (s.isNumber()) return Variant::fromDayNumber(s.toDouble());
      if (s.isText()) {
        if (const auto d = ParseDateText(s.str())) return Variant::fromDayNumber(*d);
      }
      return s;
    case JetKind::YesNo:
      return s.isNumber() ? Variant(s.toDouble() != 0) : s;
    case JetKind::Unknown:
      break;
  }
  return s;
}

Variant StoredValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return Variant(static_cast<qint64>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
      return Variant::null();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      return Variant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)));
    }
  }
}

Variant StoredValue(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
      return Variant(static_cast<qint64>(sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_value_double(value));
    case SQLITE_NULL:
      return Variant::null();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      return Variant(QString::fromUtf8(text, sqlite3_value_bytes(value)));
    }
  }
}

void BindVariant(sqlite3_stmt* stmt, int index, const Variant& v) {
  int rc = SQLITE_OK;
  switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
      rc = sqlite3_bind_null(stmt, index);
      break;
    case Variant::Type::Integer:
      rc = sqlite3_bind_int64(stmt, index, v.toLong());
      break;
    case Variant::Type::Boolean:
      rc = sqlite3_bind_int64(stmt, index, v.toBool() ? -1 : 0);
      break;
    case Variant::Type::Single:
    case Variant::Type::Double:
      rc = sqlite3_bind_double(stmt, index, v.toDouble());
      break;
    case Variant::Type::Date:
      rc = sqlite3_bind_double(stmt, index, v.toDayNumber());
      break;
    case Variant::Type::Error:
      v.toDouble();  // raises: an error value is stored nowhere
      break;
    case Variant::Type::Text: {
      const QByteArray utf8 = v.str().toUtf8();
      rc = sqlite3_bind_text64(stmt, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
      break;
    }
  }
  if (rc != SQLITE_OK) {
    throw DbError(QStringLiteral("Impossibile legare il parametro %1 ('%2'): %3")
                      .arg(index)
                      .arg(v.str(), QString::fromUtf8(sqlite3_errstr(rc))));
  }
}

Affinity AffinityOf(const QString& declared) {
  // SQLite's rules, in their order.
  const QString d = declared.toUpper();
  if (d.contains(QLatin1String("INT"))) return Affinity::Integer;
  if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("CLOB")) ||
      d.contains(QLatin1String("TEXT"))) {
    return Affinity::Text;
  }
  if (d.contains(QLatin1String("BLOB")) || d.trimmed().isEmpty()) return Affinity::Blob;
  if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) ||
      d.contains(QLatin1String("DOUB"))) {
    return Affinity::Real;
  }
  return Affinity::Numeric;
}

std::optional<Variant> StoredAfterWrite(const Variant& value, Affinity affinity) {
  switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
      return Variant::null();
    case Variant::Type::Integer:
    case Variant::Type::Boolean: {
      const qint64 i =
          value.type() == Variant::Type::Boolean ? (value.toBool() ? -1 : 0) : value.toLong();
      if (affinity == Affinity::Text) return std::nullopt;
      // A real column reads a whole number back as a real.
      return affinity == Affinity::Real ? Variant(static_cast<double>(i)) : Variant(i);
    }
    case Variant::Type::Single:
    case Variant::Type::Double:
    case Variant::Type::Date: {
      const double d = value.isDate() ? value.toDayNumber() : value.toDouble();
      if (!std::isfinite(d) || affinity == Affinity::Text) return std::nullopt;
      if (affinity == Affinity::Blob) return Variant(d);
      // A number column keeps a whole real as a whole number; a real column reads it back as
      // a real (so -0 comes back as 0).
      if (d == std::floor(d)) {
        if (std::fabs(d) >= 9.2e18) return std::nullopt;
        const qint64 whole = static_cast<qint64>(d);
        return affinity == Affinity::Real ? Variant(static_cast<double>(whole)) : Variant(whole);
      }
      return Variant(d);
    }
    case Variant::Type::Text:
      if (affinity == Affinity::Text || affinity == Affinity::Blob) return value;
      return std::nullopt;
    case Variant::Type::Error:
      break;
  }
  return std::nullopt;
}

}  // namespace vx::db
