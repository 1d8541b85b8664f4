#include "platform/db/database.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "platform/clock.h"
#include "platform/db/db_fixture.h"
#include "platform/db/recordset.h"
#include "support/temp_data_root.h"

namespace vx::db {
namespace {

using testing::DbTest;

Variant Scalar(Database& db, const QString& jetSql) {
  Statement s = db.Prepare(jetSql);
  EXPECT_TRUE(s.Step()) << jetSql.toStdString();
  return s.Column(0);
}

TEST_F(DbTest, AMissingFileIsAnErrorNamingItsPathAndIsNotCreated) {
  const QString missing = dir_.filePath(QStringLiteral("nessuno.mdb"));
  try {
    Database::Open(missing);
    FAIL() << "opened a missing file";
  } catch (const DbError& e) {
    EXPECT_TRUE(e.message().contains(missing)) << e.what();
  }
  EXPECT_FALSE(QFile::exists(missing));
}

TEST(DatabaseOpenTest, AWindowsPathOpensTheMappedFileWhateverItsCase) {
  TempDataRoot root;
  const QString host = root.WriteFile(QStringLiteral("C/Programmi/tolmo/dizizOrezav.mdb"), {});
  auto a = Database::Open(QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb"));
  auto b = Database::Open(QStringLiteral("c:\\PROGRAMMI\\Tolmo\\DIZIZOREZAV.MDB"));
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(QFileInfo(a->hostPath()).canonicalFilePath(), QFileInfo(host).canonicalFilePath());
  EXPECT_EQ(a->path(), QStringLiteral("C:\\Programmi\\tolmo\\dizizOrezav.mdb"));
  // Rollback journal, not WAL: a copy of an idle file is whole.
  Statement mode = a->Prepare(QStringLiteral("PRAGMA journal_mode"));
  ASSERT_TRUE(mode.Step());
  EXPECT_EQ(mode.Column(0).str(), QStringLiteral("delete"));
}

TEST_F(DbTest, AFileThatIsNoDatabaseIsAnErrorNamingItsPath) {
  const QString path = dir_.filePath(QStringLiteral("testo.mdb"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(4096, 'x'));
  f.close();
  try {
    Database::Open(path);
    FAIL() << "opened a text file";
  } catch (const DbError& e) {
    EXPECT_TRUE(e.message().contains(path)) << e.what();
  }
}

TEST_F(DbTest, OneConnectionIsSharedPerFileUntilTheLastUserLetsGo) {
  auto again = Database::Open(dir_.filePath(QStringLiteral("./test.mdb")));
  EXPECT_EQ(again.get(), db_.get());
  auto other = Database::Open(MakeFile(QStringLiteral("altro.mdb")));
  EXPECT_NE(other.get(), db_.get());

  // A transaction begun through one user is seen by the other: it is one connection.
  db_->BeginTrans();
  EXPECT_EQ(again->transactionDepth(), 1);
  db_->Rollback();

  std::weak_ptr<Database> weak = db_;
  db_.reset();
  EXPECT_FALSE(weak.expired());
  again.reset();
  EXPECT_TRUE(weak.expired());
  db_ = Database::Open(path_);  // opens afresh
  EXPECT_NE(db_, nullptr);
}

TEST_F(DbTest, ExecuteCountsChangedRowsAndReportsFailuresWithTheText) {
  MakeArticles();
  AddArticle(QStringLiteral("800"), QStringLiteral("PASTA"));
  AddArticle(QStringLiteral("801"), QStringLiteral("PANE"));
  AddArticle(QStringLiteral("900"), QStringLiteral("VINO"));
  EXPECT_EQ(db_->Execute(QStringLiteral("update articoli set sel = ' ' where vedovo like '80*'")),
            2);
  EXPECT_EQ(db_->Execute(QStringLiteral("delete from articoli where vedovo like '80*'")), 2);
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select count(*) from articoli")).toLong(), 1);
  try {
    db_->Execute(QStringLiteral("update articoli set nessuno = 1"));
    FAIL();
  } catch (const DbError& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("nessuno"))) << e.what();
    EXPECT_TRUE(e.message().contains(path_)) << e.what();
  }
}

TEST_F(DbTest, TableDefinitionsListTablesAndDeclaredTypes) {
  MakeArticles();
  db_->Execute(QStringLiteral("create table [utenti] ([codutente] int)"));
  db_->Execute(QStringLiteral("alter table utenti add [ultimadata] Date"));
  const auto defs = db_->TableDefs();
  ASSERT_EQ(defs.size(), 2u);
  EXPECT_EQ(defs[0].name, QStringLiteral("articoli"));
  EXPECT_EQ(defs[1].name, QStringLiteral("utenti"));
  ASSERT_EQ(defs[1].fields.size(), 2u);
  EXPECT_EQ(defs[1].fields[1].name, QStringLiteral("ultimadata"));
  EXPECT_EQ(defs[1].fields[1].declaredType, QStringLiteral("DATE"));
  EXPECT_TRUE(db_->HasTable(QStringLiteral(" ARTICOLI ")));
  EXPECT_TRUE(db_->Fields(QStringLiteral("nessuna")).empty());
  EXPECT_EQ(db_->ColumnType(QStringLiteral("Articoli"), QStringLiteral("DESART")),
            QStringLiteral("TEXT(50)"));
  // The cached types follow a change made through the connection.
  db_->Execute(QStringLiteral("alter table articoli add [ns] long"));
  EXPECT_EQ(db_->ColumnType(QStringLiteral("articoli"), QStringLiteral("ns")),
            QStringLiteral("LONG"));
}

TEST_F(DbTest, NestedTransactionsRollBackTheInnerPartOnly) {
  MakeArticles();
  db_->BeginTrans();
  AddArticle(QStringLiteral("1"), QStringLiteral("esterno"));
  db_->BeginTrans();
  EXPECT_EQ(db_->transactionDepth(), 2);
  AddArticle(QStringLiteral("2"), QStringLiteral("interno"));
  db_->Rollback();
  db_->BeginTrans();
  AddArticle(QStringLiteral("3"), QStringLiteral("confermato"));
  db_->CommitTrans();
  db_->CommitTrans();
  EXPECT_EQ(db_->transactionDepth(), 0);
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select count(*) from articoli")).toLong(), 2);
  EXPECT_EQ(
      Scalar(*db_, QStringLiteral("select count(*) from articoli where vedovo = '2'")).toLong(), 0);
  EXPECT_THROW(db_->CommitTrans(), DbError);
  EXPECT_THROW(db_->Rollback(), DbError);
}

TEST_F(DbTest, ATransactionLeftWithoutCommitRollsBack) {
  MakeArticles();
  {
    Transaction t(*db_);
    AddArticle(QStringLiteral("1"), QStringLiteral("perso"));
  }
  {
    Transaction t(*db_);
    AddArticle(QStringLiteral("2"), QStringLiteral("tenuto"));
    t.Commit();
  }
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select vedovo from articoli")).str(), QStringLiteral("2"));
  EXPECT_EQ(db_->transactionDepth(), 0);
}

TEST_F(DbTest, PreparedStatementsMayBeUsedInsideEachOther) {
  MakeArticles();
  AddArticle(QStringLiteral("1"), QStringLiteral("a"));
  AddArticle(QStringLiteral("2"), QStringLiteral("b"));
  const QString sql = QStringLiteral("select vedovo from articoli order by vedovo");
  QStringList pairs;
  Statement outer = db_->Prepare(sql);
  while (outer.Step()) {
    Statement inner = db_->Prepare(sql);  // the cached one is busy: a private one
    while (inner.Step()) pairs << outer.Column(0).str() + inner.Column(0).str();
  }
  EXPECT_EQ(pairs, QStringList({"11", "12", "21", "22"}));
}

TEST_F(DbTest, QuotedValuesAreDataNotSyntax) {
  MakeArticles();
  const QString nasty = QStringLiteral("l'ape'); drop table articoli; --");
  db_->Execute(
      QStringLiteral("insert into articoli (vedovo, desart) values ('1', %1)").arg(Quote(nasty)));
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select desart from articoli")).str(), nasty);
  EXPECT_EQ(
      Scalar(*db_,
             QStringLiteral("select count(*) from articoli where desart = %1").arg(Quote(nasty)))
          .toLong(),
      1);
}

TEST_F(DbTest, TextComparesAndSortsWithoutRegardToCase) {
  MakeArticles();
  AddArticle(QStringLiteral("1"), QStringLiteral("banana"));
  AddArticle(QStringLiteral("2"), QStringLiteral("Albicocca"));
  AddArticle(QStringLiteral("3"), QStringLiteral("CILIEGIA"));
  auto rs = db_->OpenRecordset(QStringLiteral("select * from articoli ORDER BY desart"));
  QStringList order;
  for (; !rs->Eof(); rs->MoveNext()) order << rs->Field(QStringLiteral("desart")).str();
  EXPECT_EQ(order, QStringList({"Albicocca", "banana", "CILIEGIA"}));
  EXPECT_EQ(
      Scalar(*db_, QStringLiteral("select vedovo from articoli where desart = 'Ciliegia'")).str(),
      QStringLiteral("3"));
  // Also where one side is a function's result rather than a column.
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select vedovo from articoli where "
                                        "trim(desart) = 'ALBICOCCA'"))
                .str(),
            QStringLiteral("2"));
  auto found = db_->OpenRecordset(QStringLiteral("select * from articoli"));
  EXPECT_TRUE(found->FindFirst(QStringLiteral("ucase(desart) = 'banana'")));
  EXPECT_EQ(found->Field(QStringLiteral("vedovo")).str(), QStringLiteral("1"));
}

TEST_F(DbTest, LikeWildcardsAndLiteralPercentAndUnderscore) {
  MakeArticles();
  AddArticle(QStringLiteral("1"), QStringLiteral("SCONTO 50%"));
  AddArticle(QStringLiteral("2"), QStringLiteral("SCONTO 500"));
  AddArticle(QStringLiteral("3"), QStringLiteral("A_B"));
  AddArticle(QStringLiteral("4"), QStringLiteral("AXB"));
  AddArticle(QStringLiteral("5"), QStringLiteral("pasta 12"));
  auto eans = [&](const QString& where) {
    QStringList out;
    Statement s = db_->Prepare(QStringLiteral("select vedovo from articoli where ") + where +
                               QStringLiteral(" order by vedovo"));
    while (s.Step()) out << s.Column(0).str();
    return out.join(QLatin1Char(','));
  };
  EXPECT_EQ(eans(QStringLiteral("desart like '*50%'")), QStringLiteral("1"));
  EXPECT_EQ(eans(QStringLiteral("desart like 'A_B'")), QStringLiteral("3"));
  EXPECT_EQ(eans(QStringLiteral("desart like 'A?B'")), QStringLiteral("3,4"));
  EXPECT_EQ(eans(QStringLiteral("desart like 'sconto*'")), QStringLiteral("1,2"));
  EXPECT_EQ(eans(QStringLiteral("desart like 'PASTA ##'")), QStringLiteral("5"));
  EXPECT_EQ(eans(QStringLiteral("desart not like '*[0-9]'")), QStringLiteral("1,3,4"));
  EXPECT_EQ(eans(QStringLiteral("desart like '*") + LikeLiteral(QStringLiteral("0%")) +
                 QStringLiteral("'")),
            QStringLiteral("1"));
}

// The operator's search text: "*", "?" and "#" are Jet's wildcards, every other character
// (brackets, SQLite's own wildcards, the quote) matches itself.
TEST_F(DbTest, ASearchTextKeepsJetWildcardsAndMatchesEveryOtherCharacter) {
  MakeArticles();
  const char* descriptions[] = {"PASTA N.5",      "SCONTO 50%", "SCONTO 500", "A_B",    "AXB",
                                "[OFFERTA] RISO", "RISO]",      "L'APE",      "OLIO #1"};
  int ean = 0;
  for (const char* d : descriptions) AddArticle(QString::number(++ean), QString::fromUtf8(d));
  const struct {
    const char* typed;
    const char* found;  // the EANs, in order
  } cases[] = {
      {"n.#", "1"},   {"50#", "3"},      {"#1", ""},         {"sconto*0", "2,3"},
      {"A?B", "4,5"}, {"[OFFERTA", "6"}, {"[OFFERTA]", "6"}, {"RISO]", "7"},
      {"50%", "2"},   {"A_B", "4"},      {"L'APE", "8"},     {"*", "1,2,3,4,5,6,7,8,9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    QStringList found;
    auto rs = db_->OpenRecordset(
        QStringLiteral("select vedovo from articoli where desart like '*") +
        LikeWildcardLiteral(QString::fromUtf8(c.typed)) + QStringLiteral("*' order by vedovo"));
    for (; !rs->Eof(); rs->MoveNext()) found << rs->Field(0).str();
    EXPECT_EQ(found.join(QLatin1Char(',')), QString::fromLatin1(c.found));
  }
}

TEST_F(DbTest, JetFunctionsAnswerInSql) {
  SetClock([] { return QDateTime(QDate(2026, 3, 15), QTime(18, 0)); });
  struct Case {
    const char* sql;
    Variant expected;
  };
  const Case cases[] = {
      {"select trim('  a b  ')", Variant("a b")},
      {"select val('12abc')", Variant(12.0)},
      {"select iif(1 > 2, 'si', 'no')", Variant("no")},
      {"select mid('abcdef', 2, 3)", Variant("bcd")},
      {"select mid('abcdef', 4)", Variant("def")},
      {"select left('abcdef', 2) & right('abcdef', 2)", Variant("abef")},
      {"select len('abcd')", Variant(4LL)},
      {"select ucase('aè') & lcase('B')", Variant("AÈb")},
      {"select format(1234.5, '#,###,##0.00')", Variant("1.234,50")},
      {"select nz(null, 'x')", Variant("x")},
      {"select year(#03/01/2025#)", Variant(2025LL)},
      {"select date()", Variant(46096.0)},
      {"select now()", Variant(46096.75)},
      {"select isnull(null) and not isnull(1)", Variant(1LL)},
      {"select 'a' & 1", Variant("a1")},
  };
  for (const Case& c : cases) {
    const Variant got = Scalar(*db_, QString::fromUtf8(c.sql));
    EXPECT_EQ(got.str(), c.expected.str()) << c.sql;
  }
  SetClock({});
  EXPECT_EQ(Scalar(*db_, QStringLiteral("select format(#12/31/2026#, 'dd/mm/yyyy')")).str(),
            QStringLiteral("31/12/2026"));
  EXPECT_TRUE(Scalar(*db_, QStringLiteral("select trim(null)")).isNull());
  EXPECT_THROW(Scalar(*db_, QStringLiteral("select clng('abc')")), DbError);
}

TEST_F(DbTest, ScalarSubqueriesAndParametersWork) {
  db_->Execute(QStringLiteral("create table fornitori ([codice] int)"));
  db_->Execute(QStringLiteral("alter table fornitori add [descr] text(30)"));
  MakeArticles();
  db_->Execute(QStringLiteral("alter table articoli add [forn1] int"));
  db_->Execute(QStringLiteral("insert into fornitori values (?, ?)"), {Variant(1), Variant("Uno")});
  db_->Execute(QStringLiteral("insert into fornitori values (?, ?)"), {Variant(2), Variant("Due")});
  db_->Execute(QStringLiteral("insert into articoli (vedovo, forn1) values ('1', 2)"));
  auto rs = db_->OpenRecordset(
      QStringLiteral("select * from fornitori where codice = (select max([forn1]) from articoli)"));
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Field(QStringLiteral("DESCR")).str(), QStringLiteral("Due"));
  EXPECT_EQ(rs->RecordCount(), 1);
}

}  // namespace
}  // namespace vx::db
