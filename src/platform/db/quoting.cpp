#include "platform/db/database.h"

namespace vx::db {

QString Quote(const QString& text) {
  QString s = text;
  s.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + s + QLatin1Char('\'');
}

namespace {

QString EscapeLike(const QString& text, bool keepWildcards) {
  QString out;
  out.reserve(text.size() + 8);
  for (QChar c : text) {
    const bool wildcard = c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#');
    if ((wildcard && !keepWildcards) || c == QLatin1Char('[')) {
      out += QLatin1Char('[') + QString(c) + QLatin1Char(']');
    } else if (c == QLatin1Char('\'')) {
      out += QLatin1String("''");
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

QString LikeLiteral(const QString& text) { return EscapeLike(text, false); }
QString LikeWildcardLiteral(const QString& text) { return EscapeLike(text, true); }

}  // namespace vx::db
