// The pieces of the Jet SQL translation that the record sets build on (see jet_sql.h for the
// whole-text entry point).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "platform/db/jet_tokens.h"
#include "platform/db/jet_types.h"
#include "platform/variant.h"

namespace vx::db::jet {

// The type of a column named in a text; {Unknown} when it is none.
using ColumnTypeFn = std::function<JetType(const QString& name)>;

struct ExprOptions {
  // Maps a column name to the text that replaces it; a null QString keeps the name.
  std::function<QString(const QString& name)> mapName;
  // When set, literals (texts, numbers, dates) outside LIKE patterns become ?N parameters and
  // their values are appended here, so that texts differing only in their values share one
  // prepared statement.
  std::vector<Variant>* literals = nullptr;
  // The type of a column the text names, for the constructs that read dates as text.
  ColumnTypeFn columnType;
};

// Jet's operators where SQLite's differ (`&`, `+` on texts, LIKE on an expression, a
// comparison as a value, CStr of a date, ORDER BY on an expression), as calls of the Jet
// functions and SQLite's own operators. Applied by TranslateDml.
std::vector<Token> RewriteOperators(const std::vector<Token>& tokens, const ColumnTypeFn& typeOf);

// A value written to a column by an INSERT ... VALUES or UPDATE ... SET text: the tokens
// [begin, end) of its expression, and the column (by name, or by position when the INSERT
// names no columns).
struct WriteTarget {
  QString table;
  QString column;
  int position = -1;
  qsizetype begin = 0, end = 0;
};
std::vector<WriteTarget> FindWriteTargets(const std::vector<Token>& tokens);

// A data-manipulation text (or a criteria expression) in SQLite's dialect.
QString TranslateDml(const std::vector<Token>& tokens, const ExprOptions& options = {});

// The shape of a criteria text: the text with each literal that TranslateDml would bind
// replaced by a mark, the literals' values appended to `literals` in the same order. Texts
// of one shape translate alike, so the translation can be kept per shape.
QString LiteralShape(const QString& text, std::vector<Variant>& literals);

// A data-definition text (create table, alter table, create index, drop) as one or more
// SQLite statements; nullopt when the text is no such statement.
std::optional<QStringList> TranslateDdl(const std::vector<Token>& tokens);

// True when a SELECT text gives each row from one row of a table: no DISTINCT, GROUP BY,
// HAVING, aggregate, set operator or positional ORDER BY at its top level.
bool IsRowSelect(const std::vector<Token>& tokens);

// The declared SQLite type for a Jet type word and its size ("text", "50" -> "TEXT(50)");
// `isText` tells whether the column holds text. DbError on an unknown word.
QString DeclaredTypeFor(const QString& typeWord, const QString& size, bool& isText);

}  // namespace vx::db::jet
