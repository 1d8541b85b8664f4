// Jet's operators where SQLite's differ, rewritten on the token list before the translation:
//
// - `a & b` is jet_cat(a, b) (a Null operand gives the other one; `&` binds looser than the
//   arithmetic, as in Jet), `a + b` is jet_add(a, b) (two texts are joined).
// - `x LIKE <expression>` whose pattern is no single text becomes
//   `x REGEXP jet_likere(<expression>)`: the pattern is read when the statement runs.
// - A parenthesised comparison used as a value (`(price > 2) = True`) gives Jet's -1.
// - CStr of a date column (or of Date()/Now()), and a date column joined with `&`, give the
//   date's text.
// - ORDER BY terms that are no plain column sort without regard to case, as the columns do.
#include <QSet>

#include "platform/db/jet_translate.h"

namespace vx::db::jet {

namespace {

Token Word(const QString& text) { return {Tok::Word, text, {}}; }
Token Op(const QString& text) { return {Tok::Op, text, {}}; }
Token Space() { return {Tok::Space, QStringLiteral(" "), {}}; }

bool IsBoundaryWord(const QString& lower) {
  static const QSet<QString> kWords = {
      QStringLiteral("and"),    QStringLiteral("or"),       QStringLiteral("not"),
      QStringLiteral("xor"),    QStringLiteral("eqv"),      QStringLiteral("like"),
      QStringLiteral("is"),     QStringLiteral("between"),  QStringLiteral("in"),
      QStringLiteral("escape"), QStringLiteral("collate"),  QStringLiteral("regexp"),
      QStringLiteral("case"),   QStringLiteral("when"),     QStringLiteral("then"),
      QStringLiteral("else"),   QStringLiteral("end"),      QStringLiteral("exists"),
      QStringLiteral("select"), QStringLiteral("from"),     QStringLiteral("where"),
      QStringLiteral("as"),     QStringLiteral("distinct"), QStringLiteral("distinctrow"),
      QStringLiteral("top"),    QStringLiteral("order"),    QStringLiteral("by"),
      QStringLiteral("asc"),    QStringLiteral("desc"),     QStringLiteral("group"),
      QStringLiteral("having"), QStringLiteral("union"),    QStringLiteral("all"),
      QStringLiteral("set"),    QStringLiteral("update"),   QStringLiteral("delete"),
      QStringLiteral("insert"), QStringLiteral("into"),     QStringLiteral("values"),
      QStringLiteral("on"),     QStringLiteral("join"),     QStringLiteral("inner"),
      QStringLiteral("left"),   QStringLiteral("right"),    QStringLiteral("outer"),
      QStringLiteral("limit"),  QStringLiteral("nocase")};
  return kWords.contains(lower);
}

bool IsComparisonOp(const Token& t) {
  static const QSet<QString> kOps = {
      QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("<"),  QStringLiteral(">"),
      QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("!="), QStringLiteral("==")};
  return t.kind == Tok::Op && kOps.contains(t.text);
}

bool IsValueOp(const Token& t) {
  static const QSet<QString> kOps = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"),
                                     QStringLiteral("/"), QStringLiteral("&"), QStringLiteral("\\"),
                                     QStringLiteral("^")};
  return IsComparisonOp(t) || (t.kind == Tok::Op && kOps.contains(t.text));
}

// True when the token beside a parenthesised comparison makes it a value: an operator, or
// the place of an item of a list (after "select" or ",", before "as").
bool IsValueSide(const std::vector<Token>& t, qsizetype i, bool before) {
  if (i < 0) return false;
  if (IsValueOp(t[i])) return true;
  if (before) return t[i].isOp(QLatin1String(",")) || t[i].isWord(QLatin1String("select"));
  return t[i].isWord(QLatin1String("as"));
}

qsizetype NextSig(const std::vector<Token>& t, qsizetype i, qsizetype end) {
  for (qsizetype j = i + 1; j < end; ++j) {
    if (t[j].kind != Tok::Space) return j;
  }
  return -1;
}
qsizetype PrevSig(const std::vector<Token>& t, qsizetype i, qsizetype begin = 0) {
  for (qsizetype j = i - 1; j >= begin; --j) {
    if (t[j].kind != Tok::Space) return j;
  }
  return -1;
}

// The index of the ")" closing the "(" at `open`, or `end` when it is not closed.
qsizetype Closing(const std::vector<Token>& t, qsizetype open, qsizetype end) {
  int depth = 0;
  for (qsizetype j = open; j < end; ++j) {
    if (t[j].isOp(QLatin1String("("))) ++depth;
    if (t[j].isOp(QLatin1String(")")) && --depth == 0) return j;
  }
  return end;
}

bool IsBoundary(const std::vector<Token>& t, qsizetype i, qsizetype end) {
  const Token& tok = t[i];
  if (tok.kind == Tok::Op) {
    return tok.text == QLatin1String(",") || tok.text == QLatin1String(";") || IsComparisonOp(tok);
  }
  if (tok.kind != Tok::Word) return false;
  const QString lower = tok.text.toLower();
  if (!IsBoundaryWord(lower)) return false;
  // Left( and Right( are the functions.
  if (lower == QLatin1String("left") || lower == QLatin1String("right")) {
    const qsizetype n = NextSig(t, i, end);
    return !(n >= 0 && t[n].isOp(QLatin1String("(")));
  }
  return true;
}

// A name that a "(" after it makes a call (or a table's column list).
bool IsCallName(const Token& t) {
  if (t.kind == Tok::Bracket) return true;
  if (t.kind != Tok::Word) return false;
  const QString lower = t.text.toLower();
  return !IsBoundaryWord(lower) || lower == QLatin1String("left") ||
         lower == QLatin1String("right");
}

std::vector<Token> Trimmed(const std::vector<Token>& v) {
  qsizetype b = 0, e = static_cast<qsizetype>(v.size());
  while (b < e && v[b].kind == Tok::Space) ++b;
  while (e > b && v[e - 1].kind == Tok::Space) --e;
  return std::vector<Token>(v.begin() + b, v.begin() + e);
}

std::vector<Token> Call(const QString& name, const std::vector<std::vector<Token>>& args) {
  std::vector<Token> out{Word(name), Op(QStringLiteral("("))};
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out.push_back(Op(QStringLiteral(",")));
    const std::vector<Token> a = Trimmed(args[i]);
    out.insert(out.end(), a.begin(), a.end());
  }
  out.push_back(Op(QStringLiteral(")")));
  return out;
}

class Rewriter {
 public:
  explicit Rewriter(const ColumnTypeFn& typeOf) : typeOf_(typeOf) {}

  // The tokens [b, e) of one nesting level.
  std::vector<Token> Level(const std::vector<Token>& t, qsizetype b, qsizetype e) {
    std::vector<Token> out;
    qsizetype start = b;
    bool pattern = false;   // the segment is the pattern of a LIKE
    qsizetype likeAt = -1;  // in `out`
    for (qsizetype j = b; j < e; ++j) {
      if (t[j].isOp(QLatin1String("("))) {
        j = Closing(t, j, e);
        continue;
      }
      if (!IsBoundary(t, j, e)) continue;
      Flush(t, start, j, pattern, likeAt, out);
      pattern = t[j].isWord(QLatin1String("like"));
      if (pattern) likeAt = static_cast<qsizetype>(out.size());
      out.push_back(t[j]);
      start = j + 1;
    }
    Flush(t, start, e, pattern, likeAt, out);
    return out;
  }

 private:
  bool IsDateName(const std::vector<Token>& tokens) const {
    const std::vector<Token> s = Trimmed(tokens);
    if (!typeOf_ || s.size() != 1 || !s[0].isName()) return false;
    return typeOf_(s[0].name()).kind == JetKind::Date;
  }

  static bool IsDateCall(const std::vector<Token>& tokens) {
    const std::vector<Token> s = Significant(Trimmed(tokens));
    return s.size() == 3 &&
           (s[0].isWord(QLatin1String("date")) || s[0].isWord(QLatin1String("now"))) &&
           s[1].isOp(QLatin1String("(")) && s[2].isOp(QLatin1String(")"));
  }

  // True when the tokens hold a comparison or a logical operator at their top level, and are
  // no sub-query.
  static bool IsCondition(const std::vector<Token>& t, qsizetype b, qsizetype e) {
    const qsizetype first = NextSig(t, b - 1, e);
    if (first < 0 || t[first].isWord(QLatin1String("select"))) return false;
    static const QSet<QString> kWords = {QStringLiteral("and"), QStringLiteral("or"),
                                         QStringLiteral("not"), QStringLiteral("like"),
                                         QStringLiteral("is"),  QStringLiteral("between"),
                                         QStringLiteral("in")};
    int depth = 0;
    for (qsizetype j = b; j < e; ++j) {
      if (t[j].isOp(QLatin1String("("))) ++depth;
      if (t[j].isOp(QLatin1String(")"))) --depth;
      if (depth != 0) continue;
      if (IsComparisonOp(t[j])) return true;
      if (t[j].kind == Tok::Word && kWords.contains(t[j].text.toLower())) return true;
    }
    return false;
  }

  struct Unit {
    std::vector<Token> tokens;
    bool op = false;  // a joining operator: `&`, binary `+` or `-`
  };

  // True when the units end with a complete operand (so that a `+` or `-` is binary).
  static bool EndsWithOperand(const std::vector<Unit>& units) {
    if (units.empty() || units.back().op) return false;
    const auto& v = units.back().tokens;
    for (auto it = v.rbegin(); it != v.rend(); ++it) {
      if (it->kind == Tok::Space) continue;
      return it->kind != Tok::Op || it->isOp(QLatin1String(")"));
    }
    return false;
  }

  static void AddToOperand(std::vector<Unit>& units, const std::vector<Token>& tokens) {
    if (units.empty() || units.back().op) units.push_back({});
    auto& v = units.back().tokens;
    v.insert(v.end(), tokens.begin(), tokens.end());
  }

  // One segment: operands joined by operators of the arithmetic and of `&`.
  void Flush(const std::vector<Token>& t, qsizetype b, qsizetype e, bool pattern, qsizetype likeAt,
             std::vector<Token>& out) {
    std::vector<Unit> merged;
    bool joins = false;  // a `&` or a binary `+` is there
    for (qsizetype j = b; j < e; ++j) {
      const Token& tok = t[j];
      if (tok.isOp(QLatin1String("("))) {
        const qsizetype close = Closing(t, j, e);
        const std::vector<Token> inner = Level(t, j + 1, close);
        const qsizetype before = PrevSig(t, j);
        const bool args = before >= 0 && IsCallName(t[before]);
        const qsizetype after =
            close < e ? NextSig(t, close, static_cast<qsizetype>(t.size())) : -1;
        std::vector<Token> group;
        if (!args && IsCondition(t, j + 1, close) &&
            (IsValueSide(t, before, true) || IsValueSide(t, after, false))) {
          // A comparison as a value: Jet's True is -1.
          group = {Op(QStringLiteral("(")), Op(QStringLiteral("-")), Op(QStringLiteral("("))};
          group.insert(group.end(), inner.begin(), inner.end());
          group.push_back(Op(QStringLiteral(")")));
          group.push_back(Op(QStringLiteral(")")));
        } else {
          if (args && !merged.empty() && !merged.back().op) {
            // CStr of a date: the date's text.
            auto& v = merged.back().tokens;
            for (auto it = v.rbegin(); it != v.rend(); ++it) {
              if (it->kind == Tok::Space) continue;
              if (it->isWord(QLatin1String("cstr")) && (IsDateName(inner) || IsDateCall(inner))) {
                *it = Word(QStringLiteral("jet_datetext"));
              }
              break;
            }
          }
          group.push_back(tok);
          group.insert(group.end(), inner.begin(), inner.end());
          if (close < e) group.push_back(t[close]);
        }
        AddToOperand(merged, group);
        j = close;
        continue;
      }
      if (tok.isOp(QLatin1String("&")) ||
          ((tok.isOp(QLatin1String("+")) || tok.isOp(QLatin1String("-"))) &&
           EndsWithOperand(merged))) {
        if (!tok.isOp(QLatin1String("-"))) joins = true;
        merged.push_back({{tok}, true});
        continue;
      }
      AddToOperand(merged, {tok});
    }
    std::vector<Token> seg;
    if (!joins) {
      for (const Unit& u : merged) seg.insert(seg.end(), u.tokens.begin(), u.tokens.end());
    } else {
      seg = Join(merged);
      seg.insert(seg.begin(), Space());
      seg.push_back(Space());
    }
    if (pattern) {
      const std::vector<Token> s = Significant(seg);
      if (!(s.size() == 1 && s[0].kind == Tok::String) && likeAt >= 0) {
        out[likeAt] = Word(QStringLiteral("REGEXP"));
        std::vector<Token> wrapped = Call(QStringLiteral("jet_likere"), {seg});
        out.push_back(Space());
        out.insert(out.end(), wrapped.begin(), wrapped.end());
        out.push_back(Space());
        return;
      }
    }
    out.insert(out.end(), seg.begin(), seg.end());
  }

  // Operands and operators: `&` binds looser than `+` and `-`, all from the left.
  std::vector<Token> Join(const std::vector<Unit>& units) {
    std::vector<std::vector<Token>> parts(1);
    std::vector<std::vector<Unit>> sums(1);
    for (const Unit& u : units) {
      if (u.op && u.tokens[0].isOp(QLatin1String("&"))) {
        sums.emplace_back();
      } else {
        sums.back().push_back(u);
      }
    }
    std::vector<Token> acc;
    for (size_t i = 0; i < sums.size(); ++i) {
      std::vector<Token> term = Sum(sums[i]);
      if (sums.size() > 1 && (IsDateName(term) || IsDateCall(term))) {
        term = Call(QStringLiteral("jet_datetext"), {term});
      }
      acc = i == 0 ? term : Call(QStringLiteral("jet_cat"), {acc, term});
    }
    return acc;
  }

  static std::vector<Token> Sum(const std::vector<Unit>& units) {
    std::vector<Token> acc;
    for (size_t i = 0; i < units.size(); ++i) {
      const Unit& u = units[i];
      if (u.op && u.tokens[0].isOp(QLatin1String("+")) && i + 1 < units.size()) {
        acc = Call(QStringLiteral("jet_add"), {acc, units[i + 1].tokens});
        ++i;
      } else {
        acc.insert(acc.end(), u.tokens.begin(), u.tokens.end());
      }
    }
    return acc;
  }

  const ColumnTypeFn& typeOf_;
};

// ORDER BY terms that are expressions get COLLATE NOCASE.
std::vector<Token> OrderCollation(const std::vector<Token>& t) {
  const qsizetype n = static_cast<qsizetype>(t.size());
  std::vector<qsizetype> marks;  // insert COLLATE NOCASE after these tokens
  for (qsizetype i = 0; i < n; ++i) {
    if (!t[i].isWord(QLatin1String("order"))) continue;
    const qsizetype by = NextSig(t, i, n);
    if (by < 0 || !t[by].isWord(QLatin1String("by"))) continue;
    int depth = 0;
    qsizetype start = by + 1;
    for (qsizetype j = by + 1; j <= n; ++j) {
      const bool end =
          j == n || (depth == 0 &&
                     (t[j].isOp(QLatin1String(")")) || t[j].isOp(QLatin1String(";")) ||
                      t[j].isWord(QLatin1String("limit")) || t[j].isWord(QLatin1String("union"))));
      if (!end) {
        if (t[j].isOp(QLatin1String("("))) ++depth;
        if (t[j].isOp(QLatin1String(")"))) --depth;
      }
      if (end || (depth == 0 && t[j].isOp(QLatin1String(",")))) {
        std::vector<qsizetype> sig;
        for (qsizetype k = start; k < j; ++k) {
          if (t[k].kind != Tok::Space) sig.push_back(k);
        }
        if (!sig.empty() && (t[sig.back()].isWord(QLatin1String("asc")) ||
                             t[sig.back()].isWord(QLatin1String("desc")))) {
          sig.pop_back();
        }
        bool plain = sig.size() == 1 && (t[sig[0]].isName() || t[sig[0]].kind == Tok::Number);
        plain = plain || (sig.size() == 3 && t[sig[0]].isName() &&
                          t[sig[1]].isOp(QLatin1String(".")) && t[sig[2]].isName());
        bool collated = false;
        for (qsizetype k : sig) collated = collated || t[k].isWord(QLatin1String("collate"));
        if (!sig.empty() && !plain && !collated) marks.push_back(sig.back());
        start = j + 1;
      }
      if (end) {
        i = j;
        break;
      }
    }
  }
  if (marks.empty()) return t;
  std::vector<Token> out;
  out.reserve(t.size() + marks.size() * 4);
  size_t m = 0;
  for (qsizetype i = 0; i < n; ++i) {
    out.push_back(t[i]);
    if (m < marks.size() && marks[m] == i) {
      out.insert(out.end(), {Space(), Word(QStringLiteral("COLLATE")), Space(),
                             Word(QStringLiteral("NOCASE"))});
      ++m;
    }
  }
  return out;
}

}  // namespace

std::vector<Token> RewriteOperators(const std::vector<Token>& tokens, const ColumnTypeFn& typeOf) {
  bool any = false;
  for (const Token& t : tokens) {
    if (t.isOp(QLatin1String("&")) || t.isOp(QLatin1String("+")) || t.isOp(QLatin1String("(")) ||
        t.isWord(QLatin1String("like")) || t.isWord(QLatin1String("order"))) {
      any = true;
      break;
    }
  }
  if (!any) return tokens;
  const std::vector<Token> ordered = OrderCollation(tokens);
  Rewriter r(typeOf);
  return r.Level(ordered, 0, static_cast<qsizetype>(ordered.size()));
}

std::vector<WriteTarget> FindWriteTargets(const std::vector<Token>& t) {
  std::vector<WriteTarget> out;
  const qsizetype n = static_cast<qsizetype>(t.size());
  qsizetype i = NextSig(t, -1, n);
  while (i >= 0) {
    // One statement: from i to the next top-level ";".
    qsizetype stop = i;
    for (int depth = 0; stop < n; ++stop) {
      if (t[stop].isOp(QLatin1String("("))) ++depth;
      if (t[stop].isOp(QLatin1String(")"))) --depth;
      if (depth == 0 && t[stop].isOp(QLatin1String(";"))) break;
    }
    auto next = [&](qsizetype j) { return NextSig(t, j, stop); };
    if (t[i].isWord(QLatin1String("insert"))) {
      qsizetype j = next(i);
      if (j >= 0 && t[j].isWord(QLatin1String("into"))) j = next(j);
      if (j >= 0 && t[j].isName()) {
        const QString table = t[j].name();
        QStringList columns;
        j = next(j);
        if (j >= 0 && t[j].isOp(QLatin1String("("))) {
          const qsizetype close = Closing(t, j, stop);
          for (qsizetype k = j + 1; k < close; ++k) {
            if (t[k].isName()) columns << t[k].name();
          }
          j = next(close);
        }
        if (j >= 0 && t[j].isWord(QLatin1String("values"))) {
          j = next(j);
          if (j >= 0 && t[j].isOp(QLatin1String("("))) {
            const qsizetype close = Closing(t, j, stop);
            qsizetype start = j + 1;
            int position = 0;
            int depth = 0;
            for (qsizetype k = j + 1; k <= close; ++k) {
              if (k < close && t[k].isOp(QLatin1String("("))) ++depth;
              if (k < close && t[k].isOp(QLatin1String(")"))) --depth;
              if (k == close || (depth == 0 && t[k].isOp(QLatin1String(",")))) {
                WriteTarget w{table, position < columns.size() ? columns[position] : QString(),
                              columns.isEmpty() ? position : -1, start, k};
                if (!columns.isEmpty() && position >= columns.size()) break;
                out.push_back(w);
                ++position;
                start = k + 1;
              }
            }
          }
        }
      }
    } else if (t[i].isWord(QLatin1String("update"))) {
      qsizetype j = next(i);
      if (j >= 0 && t[j].isName()) {
        const QString table = t[j].name();
        j = next(j);
        if (j >= 0 && t[j].isWord(QLatin1String("set"))) {
          j = next(j);
          while (j >= 0 && t[j].isName()) {
            const QString column = t[j].name();
            const qsizetype eq = next(j);
            if (eq < 0 || !t[eq].isOp(QLatin1String("="))) break;
            qsizetype k = eq + 1;
            for (int depth = 0; k < stop; ++k) {
              if (t[k].isOp(QLatin1String("("))) ++depth;
              if (t[k].isOp(QLatin1String(")"))) --depth;
              if (depth == 0 &&
                  (t[k].isOp(QLatin1String(",")) || t[k].isWord(QLatin1String("where")))) {
                break;
              }
            }
            out.push_back({table, column, -1, eq + 1, k});
            if (k >= stop || !t[k].isOp(QLatin1String(","))) break;
            j = next(k);
          }
        }
      }
    }
    i = stop < n ? NextSig(t, stop, n) : -1;
  }
  return out;
}

}  // namespace vx::db::jet
