#include "platform/db/jet_tokens.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "platform/db/database.h"
#include "platform/variant.h"

namespace vx::db::jet {

namespace {

bool IsWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Reads a quoted run starting at `i` (on the opening mark); the closing mark doubled stands for
// itself. Returns the index after the closing mark, or -1 when the run is not closed.
qsizetype ReadQuoted(const QString& s, qsizetype i, QChar close, bool doubling, QString& value) {
  ++i;
  while (i < s.size()) {
    if (s[i] == close) {
      if (doubling && i + 1 < s.size() && s[i + 1] == close) {
        value += close;
        i += 2;
        continue;
      }
      return i + 1;
    }
    value += s[i++];
  }
  return -1;
}

}  // namespace

std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> out;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  auto unterminated = [&](const char* what) {
    throw DbError(
        QStringLiteral("Testo SQL non valido (%1 non chiuso): %2").arg(QLatin1String(what), sql));
  };
  while (i < n) {
    const QChar c = sql[i];
    const qsizetype start = i;
    if (c.isSpace()) {
      while (i < n && sql[i].isSpace()) ++i;
      out.push_back({Tok::Space, sql.mid(start, i - start), {}});
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(sql[i])) ++i;
      out.push_back({Tok::Word, sql.mid(start, i - start), {}});
    } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit() &&
                               (out.empty() || !out.back().isName()))) {
      while (i < n && sql[i].isDigit()) ++i;
      if (i < n && sql[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && sql[i].isDigit()) ++i;
      }
      if (i + 1 < n && (sql[i] == QLatin1Char('e') || sql[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (sql[j] == QLatin1Char('+') || sql[j] == QLatin1Char('-'))) ++j;
        if (j < n && sql[j].isDigit()) {
          i = j;
          while (i < n && sql[i].isDigit()) ++i;
        }
      }
      out.push_back({Tok::Number, sql.mid(start, i - start), {}});
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      QString value;
      i = ReadQuoted(sql, i, c, true, value);
      if (i < 0) unterminated("testo");
      out.push_back({Tok::String, sql.mid(start, i - start), value});
    } else if (c == QLatin1Char('[')) {
      QString value;
      i = ReadQuoted(sql, i, QLatin1Char(']'), false, value);
      if (i < 0) unterminated("nome tra parentesi quadre");
      out.push_back({Tok::Bracket, sql.mid(start, i - start), value});
    } else if (c == QLatin1Char('#')) {
      QString value;
      i = ReadQuoted(sql, i, QLatin1Char('#'), false, value);
      if (i < 0) unterminated("data");
      out.push_back({Tok::Date, sql.mid(start, i - start), value.trimmed()});
    } else if (c == QLatin1Char('?')) {
      ++i;
      out.push_back({Tok::Param, QStringLiteral("?"), {}});
    } else {
      static const char* const kTwo[] = {"<>", "<=", ">=", "!=", "==", "||", "=<", "=>"};
      QString op(c);
      qsizetype len = 1;
      if (i + 1 < n) {
        const QString two = sql.mid(i, 2);
        for (const char* t : kTwo) {
          if (two == QLatin1String(t)) {
            op = two;
            len = 2;
          }
        }
      }
      if (op == QLatin1String("=<")) op = QStringLiteral("<=");
      if (op == QLatin1String("=>")) op = QStringLiteral(">=");
      i += len;
      out.push_back({Tok::Op, op, {}});
    }
  }
  return out;
}

std::vector<Token> Significant(const std::vector<Token>& tokens) {
  std::vector<Token> out;
  out.reserve(tokens.size());
  for (const Token& t : tokens) {
    if (t.kind != Tok::Space) out.push_back(t);
  }
  return out;
}

QString QuoteName(const QString& name) {
  QString s = name;
  s.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + s + QLatin1Char('"');
}

QString QuoteText(const QString& text) {
  QString s = text;
  s.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + s + QLatin1Char('\'');
}

double JetDateLiteral(const QString& text) {
  const QString t = text.simplified();
  const QString datePart = t.section(QLatin1Char(' '), 0, 0);
  const QString timePart = t.section(QLatin1Char(' '), 1);
  QDate date(1899, 12, 30);
  bool haveDate = false;
  if (!datePart.contains(QLatin1Char(':'))) {
    // Jet reads #a/b/c# month first; #yyyy-mm-dd# is the ISO order.
    static const char* const kForms[] = {"M/d/yyyy", "M/d/yy", "yyyy-M-d", "yyyy/M/d", "M-d-yyyy"};
    for (const char* f : kForms) {
      QDate d = QDate::fromString(datePart, QLatin1String(f));
      if (d.isValid()) {
        if (QLatin1String(f).endsWith(QLatin1String("/yy")) && d.year() < 1930) {
          d = d.addYears(100);
        }
        date = d;
        haveDate = true;
        break;
      }
    }
    if (!haveDate) {
      throw DbError(QStringLiteral("Data non valida nel testo SQL: #%1#").arg(text));
    }
  }
  const QString timeText = haveDate ? timePart : t;
  QTime time(0, 0);
  if (!timeText.isEmpty()) {
    static const char* const kTimes[] = {"H:mm:ss", "H:mm", "h:mm:ss AP", "h:mm AP"};
    bool ok = false;
    for (const char* f : kTimes) {
      const QTime tm = QTime::fromString(timeText.toUpper(), QLatin1String(f));
      if (tm.isValid()) {
        time = tm;
        ok = true;
        break;
      }
    }
    if (!ok) throw DbError(QStringLiteral("Ora non valida nel testo SQL: #%1#").arg(text));
  }
  return QDate(1899, 12, 30).daysTo(date) + time.msecsSinceStartOfDay() / 86400000.0;
}

QString DayNumberLiteral(double days) {
  if (days == static_cast<double>(static_cast<qint64>(days))) {
    return QString::number(static_cast<qint64>(days)) + QLatin1String(".0");
  }
  return QString::number(days, 'g', 17);
}

}  // namespace vx::db::jet
