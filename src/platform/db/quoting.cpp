#include "platform/db/database.h"

namespace vx::db {

QString Quote(const QString& text) {
  QString s = text;
  s.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString LikeLiteral(const QString& text) {
  QString out;
  out.reserve(text.size() + 8);
  for (QChar c : text) {
    if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
        c == QLatin1Char('[')) {
      out += QLatin1Char('[') + QString(c) + QLatin1Char(']');
    } else if (c == QLatin1Char('\'')) {
      out += QLatin1String("''");
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace vx::db
