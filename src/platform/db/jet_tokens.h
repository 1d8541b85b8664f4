// The lexer shared by the Jet SQL translators: a Jet SQL text as a list of tokens.
#pragma once

#include <QString>
#include <vector>

namespace vx::db::jet {

enum class Tok {
  Space,    // blanks, tabs, line ends
  Word,     // a bare name or key word
  Number,   // 12, 3.5, 1e3
  String,   // 'text' or "text"; value holds the text without quotes
  Bracket,  // [name]; value holds the name
  Date,     // #12/31/2026#; value holds the text between the marks
  Param,    // ?
  Op,       // operators and punctuation: ( ) , . ; = <> <= >= & + - * / ...
};

struct Token {
  Tok kind;
  QString text;   // as written
  QString value;  // see Tok
  bool is(Tok k, QLatin1StringView word) const {
    return kind == k && text.compare(word, Qt::CaseInsensitive) == 0;
  }
  bool isWord(QLatin1StringView word) const { return is(Tok::Word, word); }
  bool isOp(QLatin1StringView op) const { return kind == Tok::Op && text == op; }
  bool isName() const { return kind == Tok::Word || kind == Tok::Bracket; }
  // The name of a Word or Bracket token.
  QString name() const { return kind == Tok::Bracket ? value : text; }
};

// DbError naming the text on an unterminated string, bracket or date.
std::vector<Token> Tokenize(const QString& sql);

// The tokens without the blanks.
std::vector<Token> Significant(const std::vector<Token>& tokens);

// A name as an SQLite identifier: "name" with inner quotes doubled.
QString QuoteName(const QString& name);
// A text as an SQLite string literal: 'text' with inner quotes doubled.
QString QuoteText(const QString& text);

// A Jet date literal's text ("12/31/2026", "2026-12-31", "12/31/2026 10:30:00") as a day
// number; DbError when it is no date.
double JetDateLiteral(const QString& text);
// A day number as an SQL number literal.
QString DayNumberLiteral(double days);

}  // namespace vx::db::jet
