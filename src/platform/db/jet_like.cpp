#include "platform/db/jet_like.h"

#include <QRegularExpression>
#include <vector>

namespace vx::db::jet {

namespace {

struct Element {
  enum Kind { Literal, Any, One, Digit, List } kind;
  QString text;  // Literal: the character; List: the list without brackets
  bool negated = false;
};

std::vector<Element> Parse(const QString& p) {
  std::vector<Element> out;
  for (qsizetype i = 0; i < p.size(); ++i) {
    const QChar c = p[i];
    if (c == QLatin1Char('*')) {
      out.push_back({Element::Any, {}});
    } else if (c == QLatin1Char('?')) {
      out.push_back({Element::One, {}});
    } else if (c == QLatin1Char('#')) {
      out.push_back({Element::Digit, {}});
    } else if (c == QLatin1Char('[')) {
      const qsizetype close = p.indexOf(QLatin1Char(']'), i + 1);
      if (close < 0) {  // an unclosed bracket stands for itself
        out.push_back({Element::Literal, QString(c)});
        continue;
      }
      QString list = p.mid(i + 1, close - i - 1);
      i = close;
      bool negated = false;
      if (list.size() > 1 && list.startsWith(QLatin1Char('!'))) {
        negated = true;
        list.remove(0, 1);
      }
      if (!negated && list.size() == 1) {
        out.push_back({Element::Literal, list});  // [*] is a literal *
      } else {
        out.push_back({Element::List, list, negated});
      }
    } else {
      out.push_back({Element::Literal, QString(c)});
    }
  }
  return out;
}

}  // namespace

LikePattern TranslateLikePattern(const QString& jetPattern, bool regexpOnly) {
  const std::vector<Element> elements = Parse(jetPattern);
  bool needsRegexp = false;
  for (const Element& e : elements) {
    if (e.kind == Element::Digit || e.kind == Element::List) needsRegexp = true;
  }
  LikePattern out;
  if (!needsRegexp && !regexpOnly) {
    for (const Element& e : elements) {
      switch (e.kind) {
        case Element::Any:
          out.text += QLatin1Char('%');
          break;
        case Element::One:
          out.text += QLatin1Char('_');
          break;
        default:
          if (e.text == QLatin1String("%") || e.text == QLatin1String("_") ||
              e.text == QLatin1String("\\")) {
            out.text += QLatin1Char('\\');
            out.escaped = true;
          }
          out.text += e.text;
      }
    }
    return out;
  }
  out.like = false;
  out.text = QStringLiteral("^");
  for (const Element& e : elements) {
    switch (e.kind) {
      case Element::Any:
        out.text += QLatin1String(".*");
        break;
      case Element::One:
        out.text += QLatin1Char('.');
        break;
      case Element::Digit:
        out.text += QLatin1String("[0-9]");
        break;
      case Element::List: {
        QString list;
        for (QChar c : e.text) {
          if (c == QLatin1Char('\\') || c == QLatin1Char('^') || c == QLatin1Char('[') ||
              c == QLatin1Char(']')) {
            list += QLatin1Char('\\');
          }
          list += c;
        }
        out.text += QLatin1Char('[') + QString(e.negated ? QStringLiteral("^") : QString()) + list +
                    QLatin1Char(']');
        break;
      }
      case Element::Literal:
        out.text += QRegularExpression::escape(e.text);
        break;
    }
  }
  out.text += QLatin1Char('$');
  return out;
}

}  // namespace vx::db::jet
