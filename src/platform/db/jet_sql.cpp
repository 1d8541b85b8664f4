#include "platform/db/jet_sql.h"

#include <QSet>

#include "platform/db/database.h"
#include "platform/db/jet_like.h"
#include "platform/db/jet_translate.h"

namespace vx::db {

namespace jet {

namespace {

// Words that are never column names in the texts the program writes.
bool IsKeyword(const QString& word) {
  static const QSet<QString> kWords = {
      QStringLiteral("and"),     QStringLiteral("or"),       QStringLiteral("not"),
      QStringLiteral("like"),    QStringLiteral("is"),       QStringLiteral("null"),
      QStringLiteral("between"), QStringLiteral("in"),       QStringLiteral("escape"),
      QStringLiteral("collate"), QStringLiteral("nocase"),   QStringLiteral("regexp"),
      QStringLiteral("case"),    QStringLiteral("when"),     QStringLiteral("then"),
      QStringLiteral("else"),    QStringLiteral("end"),      QStringLiteral("exists"),
      QStringLiteral("select"),  QStringLiteral("from"),     QStringLiteral("where"),
      QStringLiteral("as"),      QStringLiteral("distinct"), QStringLiteral("order"),
      QStringLiteral("by"),      QStringLiteral("asc"),      QStringLiteral("desc"),
      QStringLiteral("group"),   QStringLiteral("having"),   QStringLiteral("union"),
      QStringLiteral("all"),     QStringLiteral("set"),      QStringLiteral("update"),
      QStringLiteral("delete"),  QStringLiteral("insert"),   QStringLiteral("into"),
      QStringLiteral("values"),  QStringLiteral("on"),       QStringLiteral("join"),
      QStringLiteral("inner"),   QStringLiteral("left"),     QStringLiteral("right"),
      QStringLiteral("outer"),   QStringLiteral("limit"),    QStringLiteral("xor"),
      QStringLiteral("eqv"),     QStringLiteral("mod")};
  return kWords.contains(word.toLower());
}

// Index of the next / previous non-blank token, or -1.
qsizetype NextSig(const std::vector<Token>& t, qsizetype i) {
  for (qsizetype j = i + 1; j < static_cast<qsizetype>(t.size()); ++j) {
    if (t[j].kind != Tok::Space) return j;
  }
  return -1;
}
qsizetype PrevSig(const std::vector<Token>& t, qsizetype i) {
  for (qsizetype j = i - 1; j >= 0; --j) {
    if (t[j].kind != Tok::Space) return j;
  }
  return -1;
}

bool NextIsOp(const std::vector<Token>& t, qsizetype i, QLatin1StringView op) {
  const qsizetype j = NextSig(t, i);
  return j >= 0 && t[j].isOp(op);
}
bool PrevIsOp(const std::vector<Token>& t, qsizetype i, QLatin1StringView op) {
  const qsizetype j = PrevSig(t, i);
  return j >= 0 && t[j].isOp(op);
}

QString Parameter(std::vector<Variant>* literals, const Variant& value) {
  literals->push_back(value);
  return QLatin1Char('?') + QString::number(literals->size());
}

}  // namespace

QString TranslateDml(const std::vector<Token>& tokens, const ExprOptions& options) {
  const std::vector<Token> t = RewriteOperators(tokens, options.columnType);
  QString out;
  out.reserve(t.size() * 8);
  QString limit;  // from a leading SELECT TOP n
  int depth = 0;
  const qsizetype n = static_cast<qsizetype>(t.size());
  for (qsizetype i = 0; i < n; ++i) {
    const Token& tok = t[i];
    switch (tok.kind) {
      case Tok::Space:
        out += QLatin1Char(' ');
        break;
      case Tok::Number:
        out += options.literals
                   ? Parameter(options.literals,
                               tok.text.contains(QLatin1Char('.')) ||
                                       tok.text.contains(QLatin1Char('e'), Qt::CaseInsensitive)
                                   ? Variant(tok.text.toDouble())
                                   : Variant(tok.text.toLongLong()))
                   : tok.text;
        break;
      case Tok::String:
        // Jet compares text without regard to case, also where one side is no column (a
        // function's result): the literal carries the collation into the comparison.
        out += options.literals ? Parameter(options.literals, Variant(tok.value))
                                : QuoteText(tok.value);
        out += QLatin1String(" COLLATE NOCASE");
        break;
      case Tok::Date: {
        const double days = JetDateLiteral(tok.value);
        out +=
            options.literals ? Parameter(options.literals, Variant(days)) : DayNumberLiteral(days);
        break;
      }
      case Tok::Param:
        out += QLatin1Char('?');
        break;
      case Tok::Op:
        if (tok.text == QLatin1String("&")) {
          out += QLatin1String("||");
        } else {
          if (tok.text == QLatin1String("(")) ++depth;
          if (tok.text == QLatin1String(")")) --depth;
          out += tok.text;
        }
        break;
      case Tok::Bracket:
      case Tok::Word: {
        const QString lower = tok.text.toLower();
        const bool call = NextIsOp(t, i, QLatin1String("("));
        const bool qualified =
            PrevIsOp(t, i, QLatin1String(".")) || NextIsOp(t, i, QLatin1String("."));
        if (tok.kind == Tok::Word) {
          if (!call && !qualified &&
              (lower == QLatin1String("true") || lower == QLatin1String("false"))) {
            out += lower == QLatin1String("true") ? QLatin1String("-1") : QLatin1String("0");
            break;
          }
          if (call && (lower == QLatin1String("isnull") || lower == QLatin1String("left") ||
                       lower == QLatin1String("right"))) {
            out += QLatin1String("jet_") + lower;  // key words of SQLite: renamed
            break;
          }
          if (lower == QLatin1String("mod")) {
            out += QLatin1Char('%');
            break;
          }
          if (lower == QLatin1String("distinctrow")) {
            out += QLatin1String("DISTINCT");
            break;
          }
          if (lower == QLatin1String("top") && depth == 0) {
            const qsizetype p = PrevSig(t, i);
            const qsizetype q = NextSig(t, i);
            if (p >= 0 && q >= 0 && t[q].kind == Tok::Number &&
                (t[p].isWord(QLatin1String("select")) || t[p].isWord(QLatin1String("distinct")) ||
                 t[p].isWord(QLatin1String("all")))) {
              limit = t[q].text;
              i = q;  // TOP n becomes LIMIT n at the end
              if (i + 1 < n && t[i + 1].kind == Tok::Space) ++i;
              break;
            }
          }
          if (lower == QLatin1String("like")) {
            const qsizetype q = NextSig(t, i);
            if (q >= 0 && t[q].kind == Tok::String) {
              const LikePattern p = TranslateLikePattern(t[q].value);
              if (p.like) {
                out += QLatin1String("LIKE ") + QuoteText(p.text);
                if (p.escaped) out += QLatin1String(" ESCAPE '\\'");
              } else {
                out += QLatin1String("REGEXP ") + QuoteText(p.text);
              }
              i = q;
              break;
            }
          }
          if (call || qualified || IsKeyword(lower)) {
            out += tok.text;
            break;
          }
        }
        if (options.mapName && !call && !qualified) {
          const QString mapped = options.mapName(tok.name());
          if (!mapped.isNull()) {
            out += mapped;
            break;
          }
        }
        out += tok.kind == Tok::Bracket ? QuoteName(tok.value) : tok.text;
        break;
      }
    }
  }
  if (!limit.isEmpty()) {
    QString body = out.trimmed();
    if (body.endsWith(QLatin1Char(';'))) body.chop(1);
    out = body + QLatin1String(" LIMIT ") + limit;
  }
  return out;
}

QString LiteralShape(const QString& s, std::vector<Variant>& literals) {
  // Mirrors Tokenize and TranslateDml: texts (but LIKE patterns), numbers and dates are
  // literals; everything else is kept as written.
  QString key;
  key.reserve(s.size());
  const qsizetype n = s.size();
  bool afterLike = false;  // the last token was the word LIKE
  bool afterName = false;  // the last token (blanks included) was a name
  static constexpr QChar kMark(0x1);
  for (qsizetype i = 0; i < n;) {
    const QChar c = s[i];
    const qsizetype start = i;
    if (c.isSpace()) {
      while (i < n && s[i].isSpace()) ++i;
      key += QLatin1Char(' ');
      afterName = false;
      continue;
    }
    if (c.isLetter() || c == QLatin1Char('_')) {
      while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_'))) ++i;
      const QStringView word = QStringView(s).mid(start, i - start);
      key += word;
      afterLike = word.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0;
      afterName = true;
      continue;
    }
    if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit() && !afterName)) {
      while (i < n && s[i].isDigit()) ++i;
      if (i < n && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && s[i].isDigit()) ++i;
      }
      if (i + 1 < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) ++j;
        if (j < n && s[j].isDigit()) {
          i = j;
          while (i < n && s[i].isDigit()) ++i;
        }
      }
      const QString number = s.mid(start, i - start);
      const bool real = number.contains(QLatin1Char('.')) ||
                        number.contains(QLatin1Char('e'), Qt::CaseInsensitive);
      literals.push_back(real ? Variant(number.toDouble()) : Variant(number.toLongLong()));
      key += kMark;
      afterLike = afterName = false;
      continue;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('#') ||
        c == QLatin1Char('[')) {
      const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
      const bool doubling = c == QLatin1Char('\'') || c == QLatin1Char('"');
      QString value;
      ++i;
      bool closed = false;
      while (i < n) {
        if (s[i] == close) {
          if (doubling && i + 1 < n && s[i + 1] == close) {
            value += close;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        value += s[i++];
      }
      if (!closed) return s;  // the translation reports the error
      if (c == QLatin1Char('[') || (doubling && afterLike)) {
        key += QStringView(s).mid(start, i - start);
      } else if (c == QLatin1Char('#')) {
        literals.push_back(Variant(JetDateLiteral(value.trimmed())));
        key += kMark;
      } else {
        literals.push_back(Variant(value));
        key += kMark;
      }
      afterName = c == QLatin1Char('[');
      afterLike = false;
      continue;
    }
    key += c;
    ++i;
    afterLike = afterName = false;
  }
  return key;
}

bool IsRowSelect(const std::vector<Token>& tokens) {
  const std::vector<Token> t = Significant(tokens);
  if (t.empty() || !t[0].isWord(QLatin1String("select"))) return false;
  static const QSet<QString> kAggregates = {
      QStringLiteral("count"),        QStringLiteral("sum"),   QStringLiteral("min"),
      QStringLiteral("max"),          QStringLiteral("avg"),   QStringLiteral("total"),
      QStringLiteral("group_concat"), QStringLiteral("first"), QStringLiteral("last"),
      QStringLiteral("stdev"),        QStringLiteral("var")};
  if (t.size() > 1 &&
      (t[1].isWord(QLatin1String("distinct")) || t[1].isWord(QLatin1String("distinctrow")))) {
    return false;
  }
  int depth = 0;
  bool orderBy = false;
  for (size_t i = 0; i < t.size(); ++i) {
    const Token& tok = t[i];
    if (tok.isOp(QLatin1String("("))) ++depth;
    if (tok.isOp(QLatin1String(")"))) --depth;
    if (depth != 0) continue;
    if (tok.kind == Tok::Word) {
      const QString w = tok.text.toLower();
      if (w == QLatin1String("group") || w == QLatin1String("having") ||
          w == QLatin1String("union") || w == QLatin1String("intersect") ||
          w == QLatin1String("except")) {
        return false;
      }
      if (w == QLatin1String("order")) orderBy = true;
      if (kAggregates.contains(w) && i + 1 < t.size() && t[i + 1].isOp(QLatin1String("("))) {
        return false;
      }
    }
    if (orderBy && tok.kind == Tok::Number) return false;
  }
  return true;
}

}  // namespace jet

QString TranslateJetSql(const QString& jetSql) {
  const std::vector<jet::Token> tokens = jet::Tokenize(jetSql);
  if (auto ddl = jet::TranslateDdl(tokens)) return ddl->join(QLatin1String(";\n"));
  return jet::TranslateDml(tokens);
}

}  // namespace vx::db
