// A dynaset keeps the values its opening query read and reads a row again only when the
// database may have changed: changes made anywhere are still seen at the next move.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "platform/db/db_fixture.h"
#include "platform/db/recordset.h"
#include "support/child_test.h"

namespace vx::db {
namespace {

using testing::DbTest;

// Runs an SQL text on the file through a connection of its own.
bool RunOnOwnConnection(const QString& path, const QString& sql) {
  sqlite3* other = nullptr;
  bool ok = sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK;
  sqlite3_busy_timeout(other, 10000);
  ok = ok && sqlite3_exec(other, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close_v2(other);
  return ok;
}

CHILD_ENTRY(RunSqlOnTheFile) {
  return RunOnOwnConnection(qEnvironmentVariable("VX_DB_FILE"), qEnvironmentVariable("VX_DB_SQL"))
             ? 0
             : 1;
}

class RecordsetChangesTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    MakeArticles();
    Refill();
  }

  void Refill() {
    db_->Execute(QStringLiteral("delete from articoli"));
    AddArticle(QStringLiteral("8001"), QStringLiteral("PASTA"), 1.5);
    AddArticle(QStringLiteral("8002"), QStringLiteral("PANE"), 2);
    AddArticle(QStringLiteral("8003"), QStringLiteral("VINO"), 7);
  }

  // Articles 4 to 300 after the three of Refill: enough rows for several batches.
  void AddUpTo300() {
    Transaction tx(*db_);
    for (int i = 4; i <= 300; ++i) {
      AddArticle(QStringLiteral("%1").arg(8000 + i), QStringLiteral("ARTICOLO %1").arg(i), i);
    }
    tx.Commit();
  }

  void InOtherProcess(const QString& sql) {
    auto child = StartChild("RunSqlOnTheFile", {{"VX_DB_FILE", path_}, {"VX_DB_SQL", sql}});
    ASSERT_TRUE(child->waitForFinished(60000));
    EXPECT_EQ(child->exitCode(), 0);
  }

  // "vedovo desart" of every row, walked forward or back.
  static QStringList Walk(Recordset& rs, bool back = false) {
    QStringList out;
    if (back) {
      for (rs.MoveLast(); !rs.Bof(); rs.MovePrevious()) out.prepend(Row(rs));
    } else {
      for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out << Row(rs);
    }
    return out;
  }
  static QString Row(Recordset& rs) {
    QStringList fields;
    for (int k = 0; k < rs.FieldCount(); ++k) fields << rs.Field(k).str();
    return fields.join(QLatin1Char(' '));
  }

  // What a fresh SELECT shows: its count of columns, then its rows as Row shows the set's, with
  // the values of the columns named as the set's fields.
  QStringList Fresh(const QString& select, Recordset& rs) {
    Statement st = db_->Prepare(select);
    QStringList names, out;
    while (st.Step()) {
      QStringList row;
      for (int c = names.size(); c < st.ColumnCount(); ++c) {
        names << sqlite3_column_name(st.handle(), c);
      }
      for (int k = 0; k < rs.FieldCount(); ++k) {
        const qsizetype c = names.indexOf(rs.FieldName(k));
        row << (c < 0 ? QStringLiteral("?") : st.Column(int(c)).str());
      }
      out << row.join(QLatin1Char(' '));
    }
    return QStringList{QString::number(names.size())} + out;
  }
};

TEST_F(RecordsetChangesTest, AChangeAnywhereIsSeenAtTheNextMove) {
  const QString update =
      QStringLiteral("update articoli set desart = 'PANE BIANCO' where vedovo = '8002'");
  const QString remove = QStringLiteral("delete from articoli where vedovo = '8002'");
  const QStringList changed = {"8001 PASTA", "8002 PANE BIANCO", "8003 VINO"};
  const QStringList removed = {"8001 PASTA", "8003 VINO"};
  const QStringList unchanged = {"8001 PASTA", "8002 PANE", "8003 VINO"};
  // The change made inside `depth` nested transactions, seen, then the innermost rolled back.
  auto rolledBack = [&](int depth) {
    return [&, depth](Recordset& rs) {
      for (int i = 0; i < depth; ++i) db_->BeginTrans();
      db_->Execute(update);
      rs.MoveNext();
      EXPECT_EQ(Row(rs), changed[1]);
      rs.MovePrevious();
      db_->Rollback();
      for (int i = 1; i < depth; ++i) db_->CommitTrans();
    };
  };
  const QString all = QStringLiteral("select * from articoli order by vedovo");
  const QString codici = QStringLiteral("select k, n from codici order by k");
  const QString codici2 = QStringLiteral("select k, n from codici2 order by k");
  // Keys that declare REPLACE, in a column constraint and in a table constraint.
  const char* makeCodici =
      "drop table if exists codici; drop table if exists codici2; "
      "create table codici (k text(5) unique on conflict replace, n int); "
      "create table codici2 (k text(5), n int, unique (k) on conflict replace); "
      "insert into codici values ('a', 1), ('b', 2), ('c', 3); "
      "insert into codici2 select * from codici";
  // The set's own write of a key that another row holds.
  auto write = [](bool addNew, const char* key) {
    return [=](Recordset& rs) {
      addNew ? rs.AddNew() : rs.Edit();
      rs.SetField(QStringLiteral("k"), Variant(key));
      rs.SetField(QStringLiteral("n"), Variant(9));
      rs.Update();
    };
  };
  struct Case {
    const char* through;
    std::function<void(Recordset&)> change;
    QStringList rows;  // as the walk after the change shows them; the next move shows rows[1]
    // Without rows: the walk shows what a fresh SELECT of this text shows, or fails naming
    // `gone`; a set opened after the change shows the fresh SELECT whole.
    QString select = QStringLiteral("select vedovo, desart from articoli order by vedovo");
    const char* gone = nullptr;
  };
  const Case cases[] = {
      {"the same connection", [&](Recordset&) { db_->Execute(update); }, changed},
      {"another record set",
       [&](Recordset&) {
         auto other = db_->OpenRecordset(QStringLiteral("select * from articoli"));
         ASSERT_TRUE(other->FindFirst(QStringLiteral("vedovo = '8002'")));
         other->Edit();
         other->SetField(QStringLiteral("desart"), Variant("PANE BIANCO"));
         other->Update();
       },
       changed},
      {"a second connection", [&](Recordset&) { ASSERT_TRUE(RunOnOwnConnection(path_, update)); },
       changed},
      {"a second process", [&](Recordset&) { InOtherProcess(update); }, changed},
      // Inside a transaction the set looks at the pager rather than the file.
      {"a second process, then a transaction of this connection",
       [&](Recordset&) {
         InOtherProcess(update);
         db_->BeginTrans();
       },
       changed},
      {"a deletion through the same connection", [&](Recordset&) { db_->Execute(remove); },
       removed},
      {"a deletion through another record set",
       [&](Recordset&) {
         auto other = db_->OpenRecordset(QStringLiteral("select * from articoli"));
         ASSERT_TRUE(other->FindFirst(QStringLiteral("vedovo = '8002'")));
         other->Delete();
       },
       removed},
      {"a deletion through a second connection",
       [&](Recordset&) { ASSERT_TRUE(RunOnOwnConnection(path_, remove)); }, removed},
      {"a deletion through a second process", [&](Recordset&) { InOtherProcess(remove); }, removed},
      // Undone changes count as changes: the row shows its values as they are again.
      {"a change seen, then rolled back", rolledBack(1), unchanged},
      {"a change seen, then rolled back to a savepoint", rolledBack(2), unchanged},
      {"a computed field after a change elsewhere",
       [&](Recordset& rs) {
         ASSERT_TRUE(RunOnOwnConnection(
             path_, QStringLiteral("update articoli set costo1 = 1000 where vedovo = '8002'")));
         EXPECT_TRUE(rs.FindFirst(QStringLiteral("doppio = 2000")));
       },
       {},
       QStringLiteral("select vedovo, costo1 * 2 as doppio from articoli order by vedovo")},
      {"a deletion through the set",
       [&](Recordset& rs) {
         rs.Delete();
         rs.MoveNext();
         EXPECT_EQ(rs.AbsolutePosition(), 0);
         rs.MoveLast();
         EXPECT_EQ(rs.AbsolutePosition(), rs.RecordCount() - 1);
       },
       {}},
      {"the set's Update through a REPLACE conflict", write(false, "b"), {}, codici},
      {"the set's AddNew through a REPLACE conflict", write(true, "c"), {}, codici2},
      {"a column added by a second connection",
       [&](Recordset&) {
         ASSERT_TRUE(RunOnOwnConnection(path_, "alter table articoli add nuovo date"));
         db_->Execute(QStringLiteral("update articoli set nuovo = '31/12/2026'"));
         Statement stored = db_->Prepare(QStringLiteral("select typeof(nuovo) from articoli"));
         ASSERT_TRUE(stored.Step());
         EXPECT_EQ(stored.Column(0).str(), "integer");  // fitted to the column: a day number
       },
       {},
       all},
      {"a column dropped by a second connection",
       [&](Recordset&) {
         ASSERT_TRUE(RunOnOwnConnection(path_, "alter table articoli drop column costo4"));
       },
       {},
       all,
       "costo4"},
      {"an Update across a column dropped by a second connection",
       [&](Recordset& rs) {
         rs.Edit();
         ASSERT_TRUE(RunOnOwnConnection(path_, "alter table articoli drop column colli1"));
         rs.SetField(QStringLiteral("desart"), Variant("X"));
         EXPECT_THROW(rs.Update(), DbError);
         // Nothing written: another connection finds no 'X', which its CHECK refuses.
         EXPECT_TRUE(RunOnOwnConnection(path_,
                                        "create temp table v (d check (d <> 'X')); "
                                        "insert into v select desart from articoli"));
       },
       {},
       all,
       "colli1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.through);
    Refill();
    ASSERT_EQ(sqlite3_exec(db_->handle(), makeCodici, nullptr, nullptr, nullptr), SQLITE_OK);
    auto rs = db_->OpenRecordset(c.select);
    // Every row's values read from the opening.
    ASSERT_EQ(Walk(*rs), c.rows.isEmpty() ? Fresh(c.select, *rs).mid(1) : unchanged);
    rs->MoveFirst();
    c.change(*rs);
    if (c.rows.isEmpty()) {
      auto now = db_->OpenRecordset(c.select);  // before anything reads the changed file
      try {
        EXPECT_EQ(Walk(*rs), Fresh(c.select, *rs).mid(1));
      } catch (const DbError& e) {
        EXPECT_TRUE(c.gone && e.message().contains(QLatin1String(c.gone))) << e.what();
      }
      EXPECT_EQ(QStringList{QString::number(now->FieldCount())} + Walk(*now),
                Fresh(c.select, *now));
      continue;
    }
    rs->MoveNext();
    EXPECT_EQ(Row(*rs), c.rows[1]);
    EXPECT_EQ(Walk(*rs), c.rows);
    EXPECT_EQ(Walk(*rs, true), c.rows);
    EXPECT_EQ(rs->RecordCount(), 3);  // rows deleted elsewhere still count, as they did
    while (db_->transactionDepth() > 0) db_->CommitTrans();
  }
}

// After a change elsewhere every row is read again in batches along the walk, in both
// directions; rows deleted meanwhile are passed over, and nothing is mixed up between rows.
TEST_F(RecordsetChangesTest, RowsReadAgainAfterAChangeKeepTheirOwnValues) {
  AddUpTo300();
  auto rs = db_->OpenRecordset(
      QStringLiteral("select vedovo, desart, costo1, costo1 * 2 as doppio from articoli "
                     "order by costo1 desc"));
  ASSERT_EQ(Walk(*rs).size(), 300);
  for (bool back : {false, true}) {
    SCOPED_TRACE(back ? "backward" : "forward");
    ASSERT_TRUE(RunOnOwnConnection(
        path_, QStringLiteral("update articoli set desart = desart || ' ' || vedovo, "
                              "costo1 = costo1 + 1000; "
                              "delete from articoli where rowid % 7 = %1")
                   .arg(back ? 3 : 0)));
    long rows = 0;
    for (back ? rs->MoveLast() : rs->MoveFirst(); !rs->Eof() && !rs->Bof();
         back ? rs->MovePrevious() : rs->MoveNext()) {
      const QString ean = rs->Field(0).str();
      const QString desart = rs->Field(1).str();
      ASSERT_TRUE(desart.endsWith(QLatin1Char(' ') + ean)) << desart.toStdString();
      // The computed field is computed again with its row.
      EXPECT_EQ(rs->Field(3).toDouble(), 2 * rs->Field(2).toDouble());
      ++rows;
    }
    Statement left = db_->Prepare(QStringLiteral("select count(*) from articoli"));
    ASSERT_TRUE(left.Step());
    EXPECT_EQ(rows, left.Column(0).toLong());
  }
}

// ReadToEnd gives the rows a walk with MoveNext gives, from the current row on, and ends the
// set: rows changed elsewhere with their new values, rows deleted elsewhere passed over.
TEST_F(RecordsetChangesTest, ReadToEndGivesTheRowsAWalkGives) {
  AddUpTo300();
  const QString select = QStringLiteral("select vedovo, desart from articoli order by vedovo");
  struct Case {
    const char* what;
    QString elsewhere;  // run through a second connection once the set is open
    int from;           // moves before reading
    int rows;           // read: the current row as the set shows it, the next ones as they are
  };
  const Case cases[] = {
      {"nothing changed", QString(), 0, 300},
      {"rows changed and deleted elsewhere",
       "update articoli set desart = desart || ' NUOVO' where rowid % 3 = 0; "
       "delete from articoli where rowid % 5 = 1",
       0, 241},
      {"from a row in the middle", "update articoli set desart = 'X' where rowid % 2 = 0", 120,
       120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto rs = db_->OpenRecordset(select);
    auto twin = db_->OpenRecordset(select);  // walked with MoveNext
    if (!c.elsewhere.isEmpty()) {
      ASSERT_TRUE(RunOnOwnConnection(path_, c.elsewhere));
    }
    for (int i = 0; i < c.from; ++i) {
      rs->MoveNext();
      twin->MoveNext();
    }
    QStringList read, walked;
    rs->ReadToEnd([&](std::vector<Variant>& values) {
      ASSERT_EQ(values.size(), 2u);
      read << values[0].str() + QLatin1Char(' ') + values[1].str();
    });
    EXPECT_TRUE(rs->Eof());
    for (; !twin->Eof(); twin->MoveNext()) walked << Row(*twin);
    EXPECT_EQ(read.size(), c.rows);
    EXPECT_EQ(read, walked);
  }
}

// The values kept for each row come back as SQLite gave them, whatever their size.
TEST_F(RecordsetChangesTest, KeptValuesComeBackAsStored) {
  // A column of no type (no Jet DDL makes one): values read back as stored.
  ASSERT_EQ(sqlite3_exec(db_->handle(), "create table valori (v)", nullptr, nullptr, nullptr),
            SQLITE_OK);
  const QString longText = QString(300, QChar(0x00E8));  // 600 bytes of UTF-8
  const Variant values[] = {Variant::null(),
                            Variant(qint64(0)),
                            Variant(qint64(-128)),
                            Variant(qint64(128)),
                            Variant(qint64(-32769)),
                            Variant(qint64(2147483647)),
                            Variant(qint64(-2147483649LL)),
                            Variant(qint64(9007199254740993LL)),
                            Variant(0.5),
                            Variant(0.1),
                            Variant(-1e300),
                            Variant(QString()),
                            Variant(QStringLiteral("l'ape è qui")),
                            Variant(QString(255, QLatin1Char('x'))),
                            Variant(longText)};
  for (const Variant& v : values) {
    db_->Execute(QStringLiteral("insert into valori (v) values (?)"), {v});
  }
  auto rs = db_->OpenRecordset(QStringLiteral("select v, v as w from valori order by rowid"));
  int i = 0;
  for (; !rs->Eof(); rs->MoveNext(), ++i) {
    ASSERT_LT(i, int(std::size(values)));
    SCOPED_TRACE(i);
    EXPECT_EQ(rs->Field(0).type(), values[i].type());
    EXPECT_EQ(rs->Field(0).str(), values[i].str());
    if (values[i].isNumber()) {
      EXPECT_EQ(rs->Field(1).toDouble(), values[i].toDouble());
    }
  }
  EXPECT_EQ(i, int(std::size(values)));
}

// After Update the set shows the row it wrote as reading the row back shows it: each column's
// type applied to the value, a column selected twice, a column the table computes, a Null the
// table replaces, a field computed by the query.
TEST_F(RecordsetChangesTest, ARowWrittenThroughTheSetShowsWhatTheTableHolds) {
  for (const char* sql :
       {"create table valori (t text(13), t5 text(5) not null on conflict replace default 'DEF', "
        "s single, d double, i int, g date, b yesno, m memo, v, x float8, n numeric)",
        "create table calcolati (n int, doppio int generated always as (n * 2))",
        "create table altro (x int)", "insert into altro values (0)"}) {
    ASSERT_EQ(sqlite3_exec(db_->handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }
  const QString valori = QStringLiteral("select *, t as t2, i * 2 as doppio from valori");
  const QString calcolati = QStringLiteral("select n, doppio from calcolati");
  struct Case {
    QString select;
    const char* field;
    Variant value;
    const char* between = nullptr;  // run on another connection between Edit and Update
  };
  const Case cases[] = {
      {valori, "t", Variant(QStringLiteral("NUOVO"))},
      {valori, "t", Variant(qint64(12))},
      {valori, "t", Variant::null()},
      {valori, "t2", Variant(QStringLiteral("ALIAS"))},
      {valori, "t5", Variant::null()},
      {valori, "t5", Variant(QStringLiteral("ABC"))},
      {valori, "s", Variant(1.5)},
      {valori, "s", Variant(0.1)},
      {valori, "s", Variant(-0.0)},
      {valori, "s", Variant(QStringLiteral("2,5"))},
      {valori, "d", Variant(2.0)},
      {valori, "d", Variant(-0.0)},
      {valori, "d", Variant(qint64(3))},
      {valori, "i", Variant(2.5)},
      {valori, "g", Variant(QStringLiteral("01/02/2020"))},
      {valori, "b", Variant(true)},
      {valori, "m", Variant(QStringLiteral("123"))},
      {valori, "m", Variant(QStringLiteral("testo"))},
      {valori, "v", Variant(qint64(5))},
      {valori, "v", Variant(3.0)},
      {valori, "v", Variant(QStringLiteral("7"))},
      {valori, "x", Variant(qint64(3))},
      {valori, "x", Variant(2.0)},
      {valori, "n", Variant(QStringLiteral("7"))},
      {valori, "n", Variant(3.0)},
      {valori, "n", Variant(0.25)},
      {calcolati, "n", Variant(qint64(21))},
      {valori, "s", Variant(0.5), "update valori set t = 'ALTRO'"},
      {valori, "t2", Variant(QStringLiteral("ALIAS")),  // a column t2 added, refusing a write
       "alter table valori add t2 int check (t2 = 7); update valori set t2 = 7"},
  };
  // Every field of the current row: its type, text and number.
  auto shown = [](Recordset& rs) {
    QStringList out;
    for (int k = 0; k < rs.FieldCount(); ++k) {
      const Variant v = rs.Field(k);
      out << QStringLiteral("%1:%2:%3")
                 .arg(int(v.type()))
                 .arg(v.str(), v.isNumber() ? QString::number(v.toDouble(), 'g', 17) : QString());
    }
    return out;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(
        QStringLiteral("%1 = %2").arg(QLatin1String(c.field), c.value.str()).toStdString());
    db_->Execute(QStringLiteral("delete from valori"));
    db_->Execute(QStringLiteral("delete from calcolati"));
    db_->Execute(
        QStringLiteral("insert into valori (t, t5, s, d, i, g, b, m, v, x, n) "
                       "values ('T', 'T5', 1, 1, 1, 1, 0, 'M', 1, 1, 1)"));
    db_->Execute(QStringLiteral("insert into calcolati (n) values (1)"));
    auto rs = db_->OpenRecordset(c.select);
    rs->Edit();
    if (c.between) {
      ASSERT_TRUE(RunOnOwnConnection(path_, QLatin1String(c.between)));
    }
    rs->SetField(QLatin1String(c.field), c.value);
    rs->Update();
    if (QLatin1String(c.field) == "t2") {  // t, then its alias t2
      EXPECT_EQ(rs->Field(0).str() + rs->Field(11).str(), "ALIASALIAS");
    }
    const QStringList written = shown(*rs);
    // A change elsewhere, then a move back onto the row: it is read again.
    db_->Execute(QStringLiteral("update altro set x = x + 1"));
    rs->MoveNext();
    rs->MovePrevious();
    ASSERT_FALSE(rs->Bof());
    EXPECT_EQ(written, shown(*rs));
  }
}

}  // namespace
}  // namespace vx::db
