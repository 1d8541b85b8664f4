// What a Jet text means, end to end on a real file: unknown names, values written by every
// way in, and the constructs whose SQLite reading would differ from Jet's.
#include <gtest/gtest.h>

#include <QDate>
#include <functional>

#include "platform/db/datacontrol.h"
#include "platform/db/db_fixture.h"
#include "support/temp_data_root.h"

namespace vx::db {
namespace {

using testing::DbTest;

QString ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const DbError& e) {
    return e.message();
  }
  return QString();
}

Variant Scalar(Database& db, const QString& jetSql) {
  Statement s = db.Prepare(jetSql);
  EXPECT_TRUE(s.Step()) << jetSql.toStdString();
  return s.Column(0);
}

class JetSemanticsTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    MakeArticles();
    db_->Execute(QStringLiteral("alter table articoli add [prezzo] double"));
    db_->Execute(QStringLiteral("alter table articoli add [nome] text(20)"));
    db_->Execute(QStringLiteral("alter table articoli add [data] date"));
    db_->Execute(QStringLiteral("alter table articoli add [nota] text(10)"));
    db_->Execute(QStringLiteral("create index nome on articoli (nome)"));
    const struct {
      const char* ean;
      const char* nome;
      double prezzo;
    } rows[] = {{"800", "Banana", 1.5}, {"801", "L'oreal", 3}, {"802", " apple", 2.5}};
    for (const auto& r : rows) {
      db_->Execute(QStringLiteral("insert into articoli (vedovo, nome, prezzo, data) values (?, ?, "
                                  "?, #01/15/2024#)"),
                   {Variant(r.ean), Variant(QString::fromUtf8(r.nome)), Variant(r.prezzo)});
    }
  }

  long Count(const QString& where) {
    return Scalar(*db_, QStringLiteral("select count(*) from articoli where ") + where).toLong();
  }
};

TEST_F(JetSemanticsTest, AnUnknownNameIsAnErrorNamingItAndADoubleQuotedTextStaysAText) {
  const struct {
    const char* where;
    std::function<void(Database&)> run;
  } cases[] = {
      {"select", [](Database& db) { db.OpenRecordset("SELECT [CodEan] as Ean FROM articoli"); }},
      {"update's WHERE",
       [](Database& db) { db.Execute("UPDATE articoli SET colli1 = 7 WHERE [CodEan] <> '1'"); }},
      {"FindFirst",
       [](Database& db) {
         db.OpenRecordset("select * from articoli")->FindFirst("[CodEan] = '800'");
       }},
      {"FindFirst on a read-only set",
       [](Database& db) {
         db.OpenRecordset("select distinct nome from articoli")->FindFirst("[CodEan] = '800'");
       }},
      {"record source",
       [](Database& db) {
         DataControl data;
         data.DatabaseName = db.path();
         data.RecordSource = "select [CodEan] from articoli order by nome";
         data.Refresh();
       }},
  };
  for (const auto& c : cases) {
    const QString error = ErrorOf([&] { c.run(*db_); });
    EXPECT_TRUE(error.contains(QLatin1String("'CodEan' non esiste")))
        << c.where << ": " << error.toStdString();
  }
  EXPECT_EQ(Count("colli1 = 7"), 0);  // the update changed nothing
  // Jet's double-quoted texts are texts.
  EXPECT_EQ(Count("nome = \"banana\""), 1);
  EXPECT_EQ(Scalar(*db_, "select \"Ean\" as x from articoli").str(), "Ean");
  auto rs = db_->OpenRecordset("select * from articoli");
  EXPECT_TRUE(rs->FindFirst("nome = \"L'oreal\""));
}

TEST_F(JetSemanticsTest, ValuesAreFittedToTheirColumnWhateverTheWayIn) {
  // Each way in writes `value` into `column` of a new row.
  const struct {
    const char* way;
    std::function<void(Database&, const QString&, const Variant&)> write;
  } ways[] = {
      {"record set",
       [](Database& db, const QString& column, const Variant& v) {
         auto rs = db.OpenRecordset("select * from articoli");
         rs->AddNew();
         rs->SetField("vedovo", Variant("999"));
         rs->SetField(column, v);
         rs->Update();
       }},
      {"INSERT text",
       [](Database& db, const QString& column, const Variant& v) {
         db.Execute(QStringLiteral("insert into articoli (vedovo, %1) values ('999', %2)")
                        .arg(column, Quote(v.str())));
       }},
      {"UPDATE text",
       [](Database& db, const QString& column, const Variant& v) {
         db.Execute("insert into articoli (vedovo) values ('999')");
         db.Execute(QStringLiteral("update articoli set %1 = %2 where vedovo = '999'")
                        .arg(column, Quote(v.str())));
       }},
      {"bound parameter",
       [](Database& db, const QString& column, const Variant& v) {
         db.Execute(QStringLiteral("insert into articoli (vedovo, %1) values (?, ?)").arg(column),
                    {Variant("999"), v});
       }},
  };
  const QString tooLong = QString(21, QLatin1Char('x'));
  QString firstRefusal;
  for (const auto& w : ways) {
    SCOPED_TRACE(w.way);
    w.write(*db_, "prezzo", Variant("125,00"));
    EXPECT_EQ(Count("vedovo = '999' and prezzo > 100"), 1);
    EXPECT_EQ(Scalar(*db_, "select typeof(prezzo) from articoli where vedovo = '999'").str(),
              "real");
    db_->Execute("delete from articoli where vedovo = '999'");

    w.write(*db_, "data", Variant("31/12/2024"));
    EXPECT_EQ(Count("vedovo = '999' and data = #12/31/2024#"), 1);
    db_->Execute("delete from articoli where vedovo = '999'");

    const QString refusal = ErrorOf([&] { w.write(*db_, "nome", Variant(tooLong)); });
    EXPECT_TRUE(refusal.contains(QLatin1String("'nome' accetta al massimo 20")))
        << refusal.toStdString();
    if (firstRefusal.isEmpty()) firstRefusal = refusal;
    EXPECT_EQ(refusal, firstRefusal);  // one rule, one message
    db_->Execute("delete from articoli where vedovo = '999'");
  }
  // An expression is fitted as well, and literals keep their own meaning where they are no
  // whole value (a WHERE).
  db_->Execute("update articoli set nota = 'x' & prezzo where vedovo = '800'");
  EXPECT_EQ(Scalar(*db_, "select nota from articoli where vedovo = '800'").str(), "x1,5");
  // Words of the expression stay apart.
  db_->Execute(
      "update articoli set nota = IIf(prezzo > 1 and prezzo < 2, 'si', 'no') "
      "where vedovo = '800'");
  EXPECT_EQ(Scalar(*db_, "select nota from articoli where vedovo = '800'").str(), "si");
  EXPECT_TRUE(ErrorOf([&] {
                db_->Execute("update articoli set nota = nome & nome where vedovo = '801'");
              }).contains(QLatin1String("'nota' accetta al massimo 10")));
}

TEST_F(JetSemanticsTest, JetConstructsAnswerAsJetDoes) {
  auto text = [this](const char* sql) { return Scalar(*db_, QString::fromUtf8(sql)).str(); };
  auto column = [this](const char* sql) {
    QStringList out;
    for (auto rs = db_->OpenRecordset(QString::fromUtf8(sql)); !rs->Eof(); rs->MoveNext()) {
      out << rs->Field(0).str();
    }
    return out.join(QLatin1Char(';'));
  };
  const struct {
    const char* construct;
    std::function<QString()> actual;
    const char* expected;
  } cases[] = {
      {"+ joins two texts",
       [&] { return text("select nome + 'x' from articoli where vedovo = '800'"); }, "Bananax"},
      {"+ still adds numbers",
       [&] { return text("select prezzo + 1 + 2 from articoli where vedovo = '800'"); }, "4,5"},
      {"& with Null gives the other operand",
       [&] { return text("select nota & nome & Null from articoli where vedovo = '800'"); },
       "Banana"},
      {"& binds looser than +",
       [&] { return text("select 'a' & 1 + 2 from articoli where vedovo = '800'"); }, "a3"},
      {"Round half to even", [&] { return text("select round(2.25, 1)"); }, "2,2"},
      {"Round of a whole half", [&] { return text("select round(2.5)"); }, "2"},
      {"CStr of a date",
       [&] { return text("select cstr(data) from articoli where vedovo = '800'"); }, "15/01/2024"},
      {"a date joined with &",
       [&] { return text("select 'il ' & data from articoli where vedovo = '800'"); },
       "il 15/01/2024"},
      {"True is -1", [&] { return QString::number(Count("(prezzo > 2) = True")); }, "2"},
      {"a comparison as a value", [&] { return text("select (1 < 2) + 0"); }, "-1"},
      {"a comparison as a field", [&] { return text("select (1 < 2) as vero"); }, "-1"},
      {"LIKE on a joined pattern",
       [&] { return QString::number(Count("nome like '*' & 'ana' & '*'")); }, "1"},
      {"NOT LIKE on a joined pattern",
       [&] { return QString::number(Count("nome not like '*' & 'ana' & '*'")); }, "2"},
      {"ORDER BY an expression without regard to case",
       [&] { return column("select trim(nome) from articoli order by trim(nome)"); },
       "apple;Banana;L'oreal"},
      {"Seek then MoveNext walks the index",
       [&] {
         auto rs = db_->OpenRecordset("articoli", RecordsetType::Table);
         rs->SetIndex("nome");
         rs->Seek("=", Variant(" apple"));
         QStringList out;
         for (; !rs->Eof(); rs->MoveNext()) out << rs->Field("vedovo").str();
         return out.join(QLatin1Char(';'));
       },
       "802;800;801"},
  };
  for (const auto& c : cases) {
    QString actual;
    try {
      actual = c.actual();
    } catch (const std::exception& e) {
      actual = QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    EXPECT_EQ(actual, QString::fromUtf8(c.expected)) << c.construct;
  }
  // Out of reach: + on a text that is no number is Jet's type mismatch, not a silent 0.
  EXPECT_FALSE(ErrorOf([&] { text("select nome + 1 from articoli"); }).isEmpty());
}

TEST(DrivePathTest, OnlyDrivePathsOpenAndAnyOtherIsRefusedNamingIt) {
  TempDataRoot root;
  const QString inside = root.WriteFile(QStringLiteral("C/Fornitori/dati.mdb"), {});
  EXPECT_NO_THROW(Database::OpenOnDrive(QStringLiteral("c:\\fornitori\\DATI.MDB")));
  EXPECT_NO_THROW(Database::OpenOnDrive(QStringLiteral("\\Fornitori\\dati.mdb")));
  for (const QString& path : {inside, QStringLiteral("../x/dati.mdb"), QStringLiteral("dati.mdb"),
                              QStringLiteral("C/Fornitori/dati.mdb")}) {
    const QString error = ErrorOf([&] { Database::OpenOnDrive(path); });
    EXPECT_TRUE(
        error.contains(QStringLiteral("'%1' non è un percorso del disco dei dati").arg(path)))
        << error.toStdString();
  }
  // The loaders' words: the file once, the cause once, one technical detail.
  QTemporaryDir outside;
  ASSERT_TRUE(QFile::link(outside.path(), root.root() + "/C/fuori"));
  root.WriteFile(QStringLiteral("C/Fornitori/testo.mdb"), QByteArray(4096, 'x'));
  const QString detail = QStringLiteral(". Dettaglio tecnico: ");
  const std::pair<QString, QString> failures[] = {
      {inside, ": non è un percorso del disco dei dati (come C:\\cartella\\file.mdb)."},
      {"C:\\fuori\\dati.mdb", ": il collegamento C:\\fuori porta fuori dal disco dei dati" +
                                  detail + "destinazione del collegamento: " + outside.path()},
      {"C:\\Fornitori\\testo.mdb",
       ": il file non è un database o è danneggiato" + detail + "file is not a database"}};
  for (const auto& [path, cause] : failures) {
    try {
      Database::OpenOnDrive(path);
      ADD_FAILURE() << path.toStdString();
    } catch (const DbError& e) {
      EXPECT_EQ(CannotOpenText(path, e), "Impossibile aprire il database " + path + cause);
    }
  }
}

}  // namespace
}  // namespace vx::db
