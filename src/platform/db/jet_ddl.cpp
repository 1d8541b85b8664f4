// Jet data-definition texts in SQLite's dialect. Declared types keep Jet's type words so
// that the layer knows each column's Jet type (see jet_types.h); text columns compare
// without regard to case. Index names are kept per table, as in Jet: the index "vedovo" of
// "articoli" is the SQLite index "articoli$vedovo".
#include <QHash>

#include "platform/db/database.h"
#include "platform/db/jet_translate.h"

namespace vx::db::jet {

namespace {

[[noreturn]] void Fail(const std::vector<Token>& t, const QString& why) {
  QString text;
  for (const Token& tok : t) text += tok.text + QLatin1Char(' ');
  throw DbError(QStringLiteral("Istruzione SQL non supportata (%1): %2").arg(why, text.trimmed()));
}

// A cursor over the significant tokens of a DDL text.
struct Cursor {
  const std::vector<Token>& t;
  size_t i = 0;
  bool done() const { return i >= t.size(); }
  const Token& peek() const {
    static const Token kEnd{Tok::Op, QString(), QString()};
    return done() ? kEnd : t[i];
  }
  bool accept(QLatin1StringView word) {
    if (!done() && t[i].isWord(word)) {
      ++i;
      return true;
    }
    return false;
  }
  bool acceptOp(QLatin1StringView op) {
    if (!done() && t[i].isOp(op)) {
      ++i;
      return true;
    }
    return false;
  }
  QString name() {
    if (done() || !t[i].isName()) Fail(t, QStringLiteral("nome atteso"));
    return t[i++].name();
  }
  // The tokens up to the next top-level comma or closing parenthesis (not consumed).
  std::vector<Token> until_separator() {
    std::vector<Token> out;
    int depth = 0;
    while (!done()) {
      const Token& tok = t[i];
      if (depth == 0 && (tok.isOp(QLatin1String(",")) || tok.isOp(QLatin1String(")")))) break;
      if (tok.isOp(QLatin1String("("))) ++depth;
      if (tok.isOp(QLatin1String(")"))) --depth;
      out.push_back(tok);
      out.push_back({Tok::Space, QStringLiteral(" "), {}});
      ++i;
    }
    return out;
  }
};

// "[c] text(50) not null" -> "\"c\" TEXT(50) COLLATE NOCASE NOT NULL"
QString ColumnDefinition(Cursor& c, bool inCreate) {
  const QString name = c.name();
  if (c.done() || c.peek().kind != Tok::Word)
    Fail(c.t, QStringLiteral("tipo della colonna atteso"));
  const QString word = c.t[c.i++].text;
  QString size;
  if (c.acceptOp(QLatin1String("("))) {
    while (!c.done() && !c.peek().isOp(QLatin1String(")"))) size += c.t[c.i++].text;
    if (!c.acceptOp(QLatin1String(")"))) Fail(c.t, QStringLiteral("parentesi non chiusa"));
  }
  QString type;
  bool isText = false;
  if (word.compare(QLatin1String("counter"), Qt::CaseInsensitive) == 0 ||
      word.compare(QLatin1String("autoincrement"), Qt::CaseInsensitive) == 0 ||
      word.compare(QLatin1String("identity"), Qt::CaseInsensitive) == 0) {
    if (!inCreate) Fail(c.t, QStringLiteral("un contatore si aggiunge solo creando la tabella"));
    type = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
  } else {
    type = DeclaredTypeFor(word, size, isText);
  }
  QString out = QuoteName(name) + QLatin1Char(' ') + type;
  if (isText) out += QLatin1String(" COLLATE NOCASE");
  const QString rest = TranslateDml(c.until_separator()).simplified();
  if (!rest.isEmpty()) out += QLatin1Char(' ') + rest;
  return out;
}

QString IndexName(const QString& table, const QString& index) {
  return QuoteName(table + QLatin1Char('$') + index);
}

}  // namespace

QString DeclaredTypeFor(const QString& typeWord, const QString& size, bool& isText) {
  static const QHash<QString, QString> kTypes = {
      {QStringLiteral("text"), QStringLiteral("TEXT")},
      {QStringLiteral("varchar"), QStringLiteral("TEXT")},
      {QStringLiteral("char"), QStringLiteral("TEXT")},
      {QStringLiteral("character"), QStringLiteral("TEXT")},
      {QStringLiteral("string"), QStringLiteral("TEXT")},
      {QStringLiteral("alphanumeric"), QStringLiteral("TEXT")},
      {QStringLiteral("nvarchar"), QStringLiteral("TEXT")},
      {QStringLiteral("nchar"), QStringLiteral("TEXT")},
      {QStringLiteral("memo"), QStringLiteral("LONGTEXT")},
      {QStringLiteral("longtext"), QStringLiteral("LONGTEXT")},
      {QStringLiteral("longchar"), QStringLiteral("LONGTEXT")},
      {QStringLiteral("note"), QStringLiteral("LONGTEXT")},
      {QStringLiteral("ntext"), QStringLiteral("LONGTEXT")},
      {QStringLiteral("int"), QStringLiteral("INT")},
      {QStringLiteral("integer"), QStringLiteral("INT")},
      {QStringLiteral("integer4"), QStringLiteral("INT")},
      {QStringLiteral("long"), QStringLiteral("LONG")},
      {QStringLiteral("short"), QStringLiteral("SHORT")},
      {QStringLiteral("smallint"), QStringLiteral("SHORT")},
      {QStringLiteral("integer2"), QStringLiteral("SHORT")},
      {QStringLiteral("byte"), QStringLiteral("BYTE")},
      {QStringLiteral("tinyint"), QStringLiteral("BYTE")},
      {QStringLiteral("integer1"), QStringLiteral("BYTE")},
      {QStringLiteral("single"), QStringLiteral("SINGLE")},
      {QStringLiteral("real"), QStringLiteral("SINGLE")},
      {QStringLiteral("float4"), QStringLiteral("SINGLE")},
      {QStringLiteral("ieeesingle"), QStringLiteral("SINGLE")},
      {QStringLiteral("double"), QStringLiteral("DOUBLE")},
      {QStringLiteral("float"), QStringLiteral("DOUBLE")},
      {QStringLiteral("float8"), QStringLiteral("DOUBLE")},
      {QStringLiteral("ieeedouble"), QStringLiteral("DOUBLE")},
      {QStringLiteral("number"), QStringLiteral("DOUBLE")},
      {QStringLiteral("numeric"), QStringLiteral("DOUBLE")},
      {QStringLiteral("decimal"), QStringLiteral("DOUBLE")},
      {QStringLiteral("currency"), QStringLiteral("CURRENCY")},
      {QStringLiteral("money"), QStringLiteral("CURRENCY")},
      {QStringLiteral("date"), QStringLiteral("DATE")},
      {QStringLiteral("datetime"), QStringLiteral("DATE")},
      {QStringLiteral("time"), QStringLiteral("DATE")},
      {QStringLiteral("timestamp"), QStringLiteral("DATE")},
      {QStringLiteral("yesno"), QStringLiteral("YESNO")},
      {QStringLiteral("bit"), QStringLiteral("YESNO")},
      {QStringLiteral("logical"), QStringLiteral("YESNO")},
      {QStringLiteral("logical1"), QStringLiteral("YESNO")},
      {QStringLiteral("boolean"), QStringLiteral("YESNO")},
  };
  const auto it = kTypes.constFind(typeWord.toLower());
  if (it == kTypes.constEnd()) {
    throw DbError(QStringLiteral("Tipo di colonna sconosciuto: %1").arg(typeWord));
  }
  isText = *it == QLatin1String("TEXT") || *it == QLatin1String("LONGTEXT");
  if (*it != QLatin1String("TEXT")) return *it;
  int width = 255;
  if (!size.trimmed().isEmpty()) {
    bool ok = false;
    width = size.trimmed().toInt(&ok);
    if (!ok || width < 1 || width > 255) {
      throw DbError(QStringLiteral("Dimensione non valida per una colonna di testo: %1").arg(size));
    }
  }
  return QStringLiteral("TEXT(%1)").arg(width);
}

std::optional<QStringList> TranslateDdl(const std::vector<Token>& tokens) {
  const std::vector<Token> t = Significant(tokens);
  Cursor c{t};
  if (c.accept(QLatin1String("create"))) {
    const bool unique = c.accept(QLatin1String("unique"));
    if (c.accept(QLatin1String("index"))) {
      const QString index = c.name();
      if (!c.accept(QLatin1String("on"))) Fail(t, QStringLiteral("ON atteso"));
      const QString table = c.name();
      if (!c.acceptOp(QLatin1String("("))) Fail(t, QStringLiteral("colonne attese"));
      QStringList columns;
      do {
        QString col = QuoteName(c.name());
        if (c.accept(QLatin1String("desc"))) col += QLatin1String(" DESC");
        c.accept(QLatin1String("asc"));
        columns << col;
      } while (c.acceptOp(QLatin1String(",")));
      if (!c.acceptOp(QLatin1String(")"))) Fail(t, QStringLiteral("parentesi non chiusa"));
      bool primary = false;
      if (c.accept(QLatin1String("with"))) {
        while (!c.done()) {
          if (c.accept(QLatin1String("primary"))) {
            primary = true;
          } else if (!c.accept(QLatin1String("disallow")) && !c.accept(QLatin1String("ignore")) &&
                     !c.accept(QLatin1String("null"))) {
            Fail(t, QStringLiteral("opzione dell'indice sconosciuta"));
          }
        }
      }
      c.acceptOp(QLatin1String(";"));
      if (!c.done()) Fail(t, QStringLiteral("testo in più dopo l'indice"));
      return QStringList{QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                             .arg(unique || primary ? QStringLiteral("UNIQUE ") : QString(),
                                  IndexName(table, index), QuoteName(table),
                                  columns.join(QLatin1String(", ")))};
    }
    if (unique) Fail(t, QStringLiteral("INDEX atteso"));
    if (!c.accept(QLatin1String("table"))) return std::nullopt;
    const QString table = c.name();
    if (!c.acceptOp(QLatin1String("("))) Fail(t, QStringLiteral("colonne attese"));
    QStringList parts;
    do {
      const Token& head = c.peek();
      if (head.isWord(QLatin1String("constraint")) || head.isWord(QLatin1String("primary")) ||
          head.isWord(QLatin1String("unique")) || head.isWord(QLatin1String("foreign"))) {
        parts << TranslateDml(c.until_separator()).simplified();
      } else {
        parts << ColumnDefinition(c, true);
      }
    } while (c.acceptOp(QLatin1String(",")));
    if (!c.acceptOp(QLatin1String(")"))) Fail(t, QStringLiteral("parentesi non chiusa"));
    c.acceptOp(QLatin1String(";"));
    if (!c.done()) Fail(t, QStringLiteral("testo in più dopo la tabella"));
    return QStringList{QStringLiteral("CREATE TABLE %1 (%2)")
                           .arg(QuoteName(table), parts.join(QLatin1String(", ")))};
  }
  if (c.accept(QLatin1String("alter"))) {
    if (!c.accept(QLatin1String("table"))) return std::nullopt;
    const QString table = c.name();
    QStringList out;
    if (c.accept(QLatin1String("add"))) {
      if (c.peek().isWord(QLatin1String("constraint"))) {
        Fail(t, QStringLiteral("vincoli aggiunti a una tabella esistente"));
      }
      do {
        c.accept(QLatin1String("column"));
        out << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                   .arg(QuoteName(table), ColumnDefinition(c, false));
      } while (c.acceptOp(QLatin1String(",")));
    } else if (c.accept(QLatin1String("drop"))) {
      c.accept(QLatin1String("column"));
      out << QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                 .arg(QuoteName(table), QuoteName(c.name()));
    } else {
      Fail(t, QStringLiteral("solo ADD e DROP di colonne"));
    }
    c.acceptOp(QLatin1String(";"));
    if (!c.done()) Fail(t, QStringLiteral("testo in più"));
    return out;
  }
  if (c.accept(QLatin1String("drop"))) {
    if (c.accept(QLatin1String("table"))) {
      return QStringList{QStringLiteral("DROP TABLE %1").arg(QuoteName(c.name()))};
    }
    if (c.accept(QLatin1String("index"))) {
      const QString index = c.name();
      if (!c.accept(QLatin1String("on"))) Fail(t, QStringLiteral("ON atteso"));
      return QStringList{QStringLiteral("DROP INDEX %1").arg(IndexName(c.name(), index))};
    }
  }
  return std::nullopt;
}

}  // namespace vx::db::jet
