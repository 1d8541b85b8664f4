#include "platform/db/jet_sql.h"

#include <gtest/gtest.h>

#include "platform/db/database.h"
#include "platform/db/db_fixture.h"
#include "platform/db/jet_like.h"
#include "platform/db/jet_translate.h"

namespace vx::db {
namespace {

struct Case {
  const char* jet;
  const char* sqlite;
};

TEST(JetSqlTest, TranslatesTheDialectOfDataTexts) {
  const Case cases[] = {
      {"select * from  articoli", "select * from articoli"},
      {"SELECT * FROM stampanti ORDER BY [descrizione]",
       "SELECT * FROM stampanti ORDER BY \"descrizione\""},
      {"SELECT [CodFor] ,[Ean]FROM eanconv", "SELECT \"CodFor\" ,\"Ean\"FROM eanconv"},
      {"select * from t where a = \"x\"", "select * from t where a = 'x' COLLATE NOCASE"},
      {"select * from t where d = #12/31/2026#", "select * from t where d = 46387.0"},
      {"select * from t where d >= #2026-01-02#", "select * from t where d >= 46024.0"},
      {"select * from t where d = #1/2/2026 12:00:00#", "select * from t where d = 46024.5"},
      {"select a & 'x' & b from t", "select jet_cat(jet_cat(a,'x' COLLATE NOCASE),b) from t"},
      {"update t set f = True, g = False", "update t set f = -1, g = 0"},
      {"select * from t where not isnull(colli1) and colli1 > 0",
       "select * from t where not jet_isnull(colli1) and colli1 > 0"},
      {"select left(a, 2), Right(a, 1) from t", "select jet_left(a, 2), jet_right(a, 1) from t"},
      {"select top 5 * from t order by a", "select * from t order by a LIMIT 5"},
      {"select a mod 3 from t", "select a % 3 from t"},
      {"SELECT * FROM inizio WHERE codute = 1 and codope= 1",
       "SELECT * FROM inizio WHERE codute = 1 and codope= 1"},
      {"select * from t where n = 'l''ape'", "select * from t where n = 'l''ape' COLLATE NOCASE"},
      {"select t.a + -1 * 2, -b - c + d from t",
       "select jet_add(t.a,-1 * 2) , jet_add(-b - c,d) from t"},
      {"select a from t where (a + 1) * 2 > 3 order by a + 1 desc, t.b, 2",
       "select a from t where ( jet_add(a,1) ) * 2 > 3 order by jet_add(a,1) COLLATE NOCASE desc, "
       "t.b, 2"},
      {"select iif((a > 1), 'x' & b, c + (d > 2)) from t where y not like z & '*'",
       "select iif((a > 1), jet_cat('x' COLLATE NOCASE,b) , jet_add(c,(-(d > 2))) ) from t where y "
       "not REGEXP jet_likere(jet_cat(z,'*' COLLATE NOCASE)) "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateJetSql(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
  }
}

TEST(JetSqlTest, TranslatesLikePatterns) {
  const Case cases[] = {
      {"delete from articoli where vedovo like '80*'",
       "delete from articoli where vedovo LIKE '80%'"},
      {"select * from codean where eanare not like '000000*' and eanare not like '000002*'",
       "select * from codean where eanare not LIKE '000000%' and eanare not LIKE '000002%'"},
      {"select * from t where a like '?b*'", "select * from t where a LIKE '_b%'"},
      // % and _ are ordinary characters in a Jet pattern.
      {"select * from t where a like '50%*'", "select * from t where a LIKE '50\\%%' ESCAPE '\\'"},
      {"select * from t where a like 'a_b'", "select * from t where a LIKE 'a\\_b' ESCAPE '\\'"},
      // A bracketed metacharacter is itself.
      {"select * from t where a like '[*]x'", "select * from t where a LIKE '*x'"},
      // Digits and lists need a regular expression.
      {"select * from t where a like '##*'", "select * from t where a REGEXP '^[0-9][0-9].*$'"},
      {"select * from t where a like '[!ab]?'", "select * from t where a REGEXP '^[^ab].$'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateJetSql(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
  }
}

TEST(JetSqlTest, TranslatesEachTypeWordOfTheDefinitions) {
  const Case cases[] = {
      {"create table [inizio] ([codope] int) ", "CREATE TABLE \"inizio\" (\"codope\" INT)"},
      {"create table t ([a] long)", "CREATE TABLE \"t\" (\"a\" LONG)"},
      {"create table t ([a] single)", "CREATE TABLE \"t\" (\"a\" SINGLE)"},
      {"create table t ([a] double)", "CREATE TABLE \"t\" (\"a\" DOUBLE)"},
      {"create table t ([a] text(13))", "CREATE TABLE \"t\" (\"a\" TEXT(13) COLLATE NOCASE)"},
      {"create table t ([a] text)", "CREATE TABLE \"t\" (\"a\" TEXT(255) COLLATE NOCASE)"},
      {"create table t ([a] Date)", "CREATE TABLE \"t\" (\"a\" DATE)"},
      {"create table t ([a] memo)", "CREATE TABLE \"t\" (\"a\" LONGTEXT COLLATE NOCASE)"},
      {"create table t ([a] yesno)", "CREATE TABLE \"t\" (\"a\" YESNO)"},
      {"create table t ([a] currency)", "CREATE TABLE \"t\" (\"a\" CURRENCY)"},
      {"create table t ([a] byte)", "CREATE TABLE \"t\" (\"a\" BYTE)"},
      {"create table t (id counter, [b] text(5) not null)",
       "CREATE TABLE \"t\" (\"id\" INTEGER PRIMARY KEY AUTOINCREMENT, \"b\" TEXT(5) COLLATE "
       "NOCASE not null)"},
      {"alter table articoli add [desart] text(50)",
       "ALTER TABLE \"articoli\" ADD COLUMN \"desart\" TEXT(50) COLLATE NOCASE"},
      {"alter table utenti add [ultimadata] Date",
       "ALTER TABLE \"utenti\" ADD COLUMN \"ultimadata\" DATE"},
      {"alter table t add column a int, b single",
       "ALTER TABLE \"t\" ADD COLUMN \"a\" INT;\nALTER TABLE \"t\" ADD COLUMN \"b\" SINGLE"},
      {"create index vedovo on articoli (vedovo)",
       "CREATE INDEX \"articoli$vedovo\" ON \"articoli\" (\"vedovo\")"},
      {"create unique index codcommesso on commessi ([codcommesso] desc)",
       "CREATE UNIQUE INDEX \"commessi$codcommesso\" ON \"commessi\" (\"codcommesso\" DESC)"},
      {"create index pk on t (a, b) with primary",
       "CREATE UNIQUE INDEX \"t$pk\" ON \"t\" (\"a\", \"b\")"},
      {"drop index vedovo on articoli", "DROP INDEX \"articoli$vedovo\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateJetSql(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
  }
}

TEST(JetSqlTest, RefusesWhatItCannotTranslate) {
  const char* const bad[] = {
      "create table t ([a] picture)",            // unknown type word
      "create table t ([a] text(300))",          // wider than Jet allows
      "select * from t where a = 'open",         // unterminated text
      "select * from t where d = #13/45/2026#",  // no date
      "alter table t alter column a int",
  };
  for (const char* sql : bad) {
    EXPECT_THROW(TranslateJetSql(QString::fromUtf8(sql)), DbError) << sql;
  }
}

TEST(JetSqlTest, QuotingHelpersKeepValuesOutOfTheSyntax) {
  EXPECT_EQ(Quote(QStringLiteral("l'ape")), QStringLiteral("'l''ape'"));
  EXPECT_EQ(Quote(QString()), QStringLiteral("''"));
  EXPECT_EQ(LikeLiteral(QStringLiteral("50%*a?#[x'")), QStringLiteral("50%[*]a[?][#][[]x''"));
  // The escaped text, used as a pattern, stands for itself only.
  const jet::LikePattern p = jet::TranslateLikePattern(LikeLiteral(QStringLiteral("a*b?_")));
  EXPECT_TRUE(p.like);
  EXPECT_EQ(p.text, QStringLiteral("a*b?\\_"));
}

TEST(JetSqlTest, CriteriaOfOneShapeDifferOnlyInTheirLiterals) {
  std::vector<Variant> a, b;
  EXPECT_EQ(jet::LiteralShape(QStringLiteral("vedovo = '8001' and n > 2"), a),
            jet::LiteralShape(QStringLiteral("vedovo = 'l''ape' and n > 3.5"), b));
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0], Variant("l'ape"));
  EXPECT_EQ(b[1], Variant(3.5));
  // A LIKE pattern is part of the shape: it is translated, not bound.
  std::vector<Variant> c, d;
  EXPECT_NE(jet::LiteralShape(QStringLiteral("d like 'a*'"), c),
            jet::LiteralShape(QStringLiteral("d like 'b*'"), d));
  EXPECT_TRUE(c.empty());
  // The shape reading takes out exactly the literals the translation binds, in its order.
  const char* const texts[] = {
      "codart = 12 ",
      "[desart] like '*x*' and costo1 >= .5 and d < #12/31/2026#",
      "colli1 = 1e3 or colli2 = -4 and x = \"t\" and y2 = 'it''s'",
      "not isnull(colli1) and colli1 > 0 ",
      "a.b = 1",
  };
  for (const char* t : texts) {
    std::vector<Variant> shaped, translated;
    jet::LiteralShape(QString::fromUtf8(t), shaped);
    jet::ExprOptions options;
    options.literals = &translated;
    jet::TranslateDml(jet::Tokenize(QString::fromUtf8(t)), options);
    ASSERT_EQ(shaped.size(), translated.size()) << t;
    for (size_t i = 0; i < shaped.size(); ++i) {
      EXPECT_EQ(shaped[i].type(), translated[i].type()) << t;
      EXPECT_EQ(shaped[i].str(), translated[i].str()) << t;
    }
  }
}

}  // namespace
}  // namespace vx::db
