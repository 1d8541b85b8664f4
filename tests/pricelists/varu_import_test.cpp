#include "pricelists/varu_import.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "common/shared_values.h"
#include "platform/paths.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"
#include "pricelists/pricelist_fixture.h"
#include "support/pdf_text.h"
#include "support/qt_print.h"
#include "support/requirements.h"
#include "support/scripted_messages.h"

namespace vx::pricelists {
namespace {

using testing::PricelistFixture;
using testing::SheetRow;
using testing::VaruArticle;

class VaruImportTest : public PricelistFixture {
 protected:
  ImportResult Import(const QString& name, const QString& first = "1", const QString& last = "10",
                      bool print = false) {
    ImportRequest r;
    r.numfatw = name;
    r.inizw = first;
    r.finew = last;
    r.fstampa = print;
    r.printerName = QStringLiteral("pdf");
    return ImportVaru(r, nullptr);
  }
  Variant DateCell(const QDate& d) { return Variant::fromDayNumber(DayNumber(d)); }

  // The sheet of the main road: a heading row with the note, a group row, a known article
  // with a running offer, a new one whose offer starts today, and rows that are neither.
  std::vector<SheetRow> MainRoad() {
    SheetRow heading{{5, QStringLiteral("LISTINO VARU MARZO 2026")},
                     {6, QStringLiteral("DESCRIZIONE")},
                     {22, QStringLiteral("PEZZI")}};
    SheetRow group{{2, QStringLiteral("PASTA E RISO DI QUALITA SUPERIORE")}, {20, 15.0}, {22, 1.0}};
    SheetRow known =
        VaruArticle(100, QStringLiteral("SPAGHETTI N.5 500G"), 2.5, 8009999999999.0, 24.0);
    known[11] = 2.0;
    known[12] = DateCell(QDate(2026, 3, 14));
    known[13] = QStringLiteral(" 20/03/2026 ");
    known[15] = 3.9;
    known[17] = 4.0;
    known[21] = QStringLiteral("  ");
    SheetRow fresh = VaruArticle(300, QStringLiteral("RISO ARBORIO 1KG"), Variant(),
                                 QStringLiteral("8001234567890"), 12.0);
    fresh[11] = 1.5;
    fresh[12] = QStringLiteral("15/03/2026");
    fresh[13] = QStringLiteral("31/03/2026");
    fresh[17] = QStringLiteral("22");
    fresh[21] = QStringLiteral("PZ");
    SheetRow fraction{{5, 400.0}, {22, 0.85}};  // Val of "0,85" is 0: no article
    SheetRow noPack{{5, 500.0}, {6, QStringLiteral("SENZA PEZZI")}};
    return {heading, group, known, fresh, fraction, noPack};
  }
};

TEST_F(VaruImportTest, UpdatesAddsAndReadsOffersAgainInBothFormats) {
  for (const QString& name : {QStringLiteral("listino.xlsx"), QStringLiteral("listino.xls")}) {
    SCOPED_TRACE(name.toStdString());
    varu_->Execute("delete from articolo");
    varu_->Execute("delete from gruppi");
    common::G().codrep = 0;
    AddArticle(100, "8000000000100", 1.0, 0.9, DayNumber(QDate(2026, 3, 10)),
               DayNumber(QDate(2026, 3, 20)));
    AddArticle(200, "8000000000200", 5.0, 4.0, DayNumber(QDate(2026, 3, 1)),
               DayNumber(QDate(2026, 3, 30)));
    WriteVaru(name, MainRoad());
    ScriptedMessages boxes;
    const ImportResult r = Import(name);
    ShowImportMessages(r);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(boxes.Texts(), QStringList());
    EXPECT_EQ(r.rowsRead, 10);

    EXPECT_EQ(Article(100, "ea1art").str(), "8000000000100");  // kept on edit
    EXPECT_EQ(Article(100, "desart").str(), "SPAGHETTI N.5 500G");
    EXPECT_EQ(Article(100, "przart").toDouble(), 2.5);
    EXPECT_EQ(Article(100, "ivart").str(), "04");
    EXPECT_EQ(Article(100, "imbart").toLong(), 24);
    EXPECT_EQ(Article(100, "umart").str(), "CT");
    EXPECT_EQ(Article(100, "desgru").str(), "PASTA E RISO DI QUAL");
    EXPECT_EQ(Article(100, "codrep").toLong(), 15);
    EXPECT_EQ(Article(100, "tipges").str(), "M");
    EXPECT_EQ(Article(100, "przoff").toDouble(), 2.0);
    EXPECT_EQ(Article(100, "data1").toDouble(), DayNumber(QDate(2026, 3, 14)));
    EXPECT_EQ(Article(100, "data2").toDouble(), DayNumber(QDate(2026, 3, 20)));
    EXPECT_NEAR(Article(100, "przpub").toDouble(), 3.9, 1e-6);

    EXPECT_EQ(Article(300, "ea1art").str(), "8001234567890");
    EXPECT_EQ(Article(300, "przart").toDouble(), 0);
    EXPECT_EQ(Article(300, "przoff").toDouble(), 0);  // the offer starts today: no offer price
    EXPECT_EQ(Article(300, "data1").toDouble(), DayNumber(Day()));
    EXPECT_EQ(Article(300, "data2").toDouble(), DayNumber(QDate(2026, 3, 31)));
    EXPECT_EQ(Article(300, "umart").str(), "PZ");
    EXPECT_EQ(Article(300, "ivart").str(), "22");
    EXPECT_EQ(Article(300, "przpub").toDouble(), 0);

    // Not on the sheet: price kept, offer gone.
    EXPECT_EQ(Article(200, "przart").toDouble(), 5);
    EXPECT_EQ(Article(200, "przoff").toDouble(), 0);
    EXPECT_EQ(Article(200, "data1").toDouble(), 0);
    EXPECT_EQ(Article(200, "data2").toDouble(), 0);
    EXPECT_EQ(Count("articolo"), 3);
    EXPECT_EQ(Scalar("select descrizione from gruppi where codice = 15").str(),
              "PASTA E RISO DI QUAL");
    EXPECT_EQ(Scalar("select note from listini where codlis = '01'").str(),
              "LISTINO VARU MARZO 2026");
    EXPECT_EQ(common::G().codrep, 15);
    EXPECT_EQ(common::G().iva.str(), "22");
  }
}

TEST_F(VaruImportTest, ArticlesBeforeTheFirstGroupKeepThePreviousGroupCode) {
  common::G().codrep = 7;
  // Without an offer price the offer days are not read.
  SheetRow aceto = VaruArticle(11, "ACETO", 1.0);
  aceto[12] = QStringLiteral("01/03/2026");
  aceto[13] = QStringLiteral("31/03/2026");
  WriteVaru("a.xlsx", {VaruArticle(10, "OLIO", 4.0),
                       SheetRow{{2, QStringLiteral("OLI")}, {20, 3.0}, {22, 1.0}}, aceto});
  ASSERT_TRUE(Import("a.xlsx", "1", "3").completed);
  EXPECT_EQ(Article(10, "codrep").toLong(), 7);
  EXPECT_EQ(Article(10, "desgru").str(), "");
  EXPECT_EQ(Article(11, "codrep").toLong(), 3);
  EXPECT_EQ(Article(11, "desgru").str(), "OLI");
  EXPECT_EQ(Article(11, "przoff").toDouble(), 0);
  EXPECT_EQ(Article(11, "data1").toDouble(), 0);
  EXPECT_EQ(Article(11, "data2").toDouble(), 0);
  // A range without row 1 leaves the note alone.
  varu_->Execute("update listini set note = 'PRIMA' where codlis = '01'");
  ASSERT_TRUE(Import("a.xlsx", "2", "3").completed);
  EXPECT_EQ(Scalar("select note from listini").str(), "PRIMA");
}

TEST_F(VaruImportTest, RowsThatDoNotConvertAreSkippedAndListed) {
  std::vector<SheetRow> rows;
  rows.push_back(VaruArticle(0, "CODICE TESTO", 1.0));
  rows.back()[5] = QStringLiteral("ABC");
  rows.push_back(VaruArticle(0, "CODICE ENORME", 1.0));
  rows.back()[5] = 3e9;
  rows.push_back(VaruArticle(30, "PACCO ENORME", 1.0, Variant(), 40000.0));
  rows.push_back(VaruArticle(40, "EAN TESTO", 1.0, QStringLiteral("xyz")));
  rows.push_back(VaruArticle(50, "ERRORE", 1.0));
  rows.back()[6] = Variant::error("#N/A");
  rows.push_back(VaruArticle(60, "GRUPPO CON EAN", 1.0, 8001234567890.0, 1.0));
  rows.back()[2] = QStringLiteral("GRUPPO X");
  rows.push_back(VaruArticle(70, "DATA SBAGLIATA", 1.0));
  rows.back()[11] = 0.5;
  rows.back()[12] = QStringLiteral("31/02/2026");
  rows.back()[13] = QStringLiteral("31/03/2026");
  rows.push_back(VaruArticle(80, "UNITA LUNGA", 1.0));
  rows.back()[21] = QStringLiteral("CONFEZIONE GRANDE");
  rows.push_back(VaruArticle(90, "BUONO", 1.0));
  WriteVaru("s.xls", rows);
  ScriptedMessages boxes;
  const ImportResult r = Import("s.xls");
  ShowImportMessages(r);
  ASSERT_TRUE(r.completed);
  EXPECT_EQ(r.skipped,
            (QStringList{
                "riga 1, colonna 5: \"ABC\" (codice non valido)",
                "riga 2, colonna 5: \"3000000000\" (codice non valido)",
                "riga 3, colonna 22: \"40000\" (confezione oltre 32767)",
                "riga 4, colonna 20: \"xyz\" (EAN non numerico)",
                "riga 5, colonna 6: \"#N/A\" (valore di errore)",
                "riga 6, colonna 20: \"8001234567890\" (codice gruppo non valido, gruppo ignorato)",
                "riga 7, colonna 12: \"31/02/2026\" (data non valida, offerta ignorata)",
                "riga 8, colonna 21: \"CONFEZIONE GRANDE\" (valore non accettato dal campo umart)",
            }));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].icon, ui::MsgIcon::Exclamation);
  EXPECT_TRUE(boxes.Boxes()[0].text.startsWith("Righe non importate:\nriga 1, colonna 5"));
  for (qint64 code : {30, 40, 50, 80}) EXPECT_TRUE(Article(code, "codart").isEmpty()) << code;
  EXPECT_EQ(Article(60, "ea1art").str(), "8001234567890");  // the article goes on
  EXPECT_EQ(Article(60, "codrep").toLong(), 0);
  EXPECT_EQ(Count("gruppi"), 0);
  EXPECT_EQ(Article(70, "przoff").toDouble(), 0);
  EXPECT_EQ(Article(70, "data1").toDouble(), 0);
  EXPECT_EQ(Article(90, "desart").str(), "BUONO");

  QStringList many;
  for (int i = 1; i <= 25; ++i) many << QStringLiteral("riga %1").arg(i);
  const QString m = SkippedRowsMessage(many);
  EXPECT_TRUE(m.contains("riga 20\n... e altre 5."));
  EXPECT_FALSE(m.contains("riga 21"));
}

// Whatever can't be opened stops the import before anything is written.
TEST_F(VaruImportTest, WhatCannotBeOpenedChangesNothing) {
  AddArticle(100, "8000000000100", 1.0, 0.9, 46000, 46200);
  WriteVaru("foglio.xlsx", {VaruArticle(100, "X", 2.0)}, "Foglio1");
  const QString broken = Host("C:\\varu\\rotto.xlsx");
  QFile f(broken);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("PK\x03\x04 non un archivio");
  f.close();
  struct Case {
    QString file;
    QString message;
  };
  const std::vector<Case> cases = {
      {"manca.xlsx",
       "Impossibile leggere il file Excel C:\\varu\\manca.xlsx:\nil file non esiste."},
      {"foglio.xlsx", "Nel file Excel C:\\varu\\foglio.xlsx non c'è il foglio \"1\"."},
      {"rotto.xlsx",
       "Impossibile leggere il file Excel C:\\varu\\rotto.xlsx:\nil file è danneggiato"},
  };
  for (const auto& c : cases) {
    const ImportResult r = Import(c.file);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(r.failure.startsWith(c.message)) << r.failure.toStdString();
  }
  varu_->Execute("drop table gruppi");
  WriteVaru("buono.xlsx", {VaruArticle(100, "X", 2.0)});
  EXPECT_EQ(Import("buono.xlsx").failure,
            "Nell'archivio C:\\varu\\dati.mdb manca la tabella gruppi.");
  EXPECT_EQ(Article(100, "przoff").toDouble(), 0.9f);
  EXPECT_EQ(Article(100, "przart").toDouble(), 1.0);
}

TEST_F(VaruImportTest, ADatabaseFailureRollsTheWholeImportBack) {
  AddArticle(100, "8000000000100", 1.0, 0.9, 46000, 46200);
  ASSERT_EQ(sqlite3_exec(varu_->handle(),
                         "create trigger guasto before insert on articolo when new.codart = 300 "
                         "begin select raise(abort, 'disco pieno'); end",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  common::G().codrep = 4;
  WriteVaru("l.xlsx", MainRoad());
  ScriptedMessages boxes;
  const ImportResult r = Import("l.xlsx");
  ShowImportMessages(r);
  EXPECT_FALSE(r.completed);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].icon, ui::MsgIcon::Critical);
  EXPECT_TRUE(boxes.Texts()[0].contains("disco pieno"));
  EXPECT_TRUE(boxes.Texts()[0].endsWith(
      "L'importazione è stata annullata: l'archivio non è stato modificato."));
  EXPECT_EQ(Article(100, "przoff").toDouble(), 0.9f);
  EXPECT_EQ(Article(100, "przart").toDouble(), 1.0);
  EXPECT_EQ(Count("gruppi"), 0);
  EXPECT_EQ(common::G().codrep, 4);
}

TEST_F(VaruImportTest, ACatalogueThatCannotGrowIsNamedOnceWithItsCause) {
  for (const char* sql : {"create table riempi (b blob)", "pragma max_page_count = 1",
                          "create trigger pieno before insert on articolo begin "
                          "insert into riempi values (zeroblob(1000000)); end"}) {
    ASSERT_EQ(sqlite3_exec(varu_->handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }
  WriteVaru("l.xlsx", MainRoad());
  const QString failure = Import("l.xlsx").failure;
  EXPECT_TRUE(failure.startsWith(
      "Errore nell'archivio C:\\varu\\dati.mdb: il disco è pieno. Dettaglio tecnico: "))
      << failure.toStdString();
  EXPECT_EQ(failure.count("dati.mdb"), 1) << failure.toStdString();
}

TEST_F(VaruImportTest, WithoutThePriceListRowTheNoteIsDropped) {
  varu_->Execute("delete from listini");
  WriteVaru("l.xlsx", MainRoad());
  EXPECT_TRUE(Import("l.xlsx").completed);
  EXPECT_EQ(Count("listini"), 0);
  EXPECT_EQ(Count("articolo"), 2);
}

QStringList PdfFiles() {
  return QDir(fs::HostPath(print::PrintJob::PrintFolder())).entryList({"*.pdf"}, QDir::Files);
}

TEST_F(VaruImportTest, NewCodesArePrintedAfterTheImport) {
  EXPECT_EQ(NewCodeLine(124, "PASTA"), "Nuovo Codice :  124   PASTA");
  EXPECT_EQ(NewCodeLine(-5, "PASTA"), "Nuovo Codice : -5   PASTA");
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty() && qEnvironmentVariable("CI") != "true")
    GTEST_SKIP() << "pdftotext missing";
  ASSERT_FALSE(pdftotext.isEmpty());
  AddArticle(100, "8000000000100", 1.0);
  WriteVaru("l.xlsx", MainRoad());
  ASSERT_TRUE(Import("l.xlsx", "1", "10", true).completed);
  const QStringList files = PdfFiles();
  ASSERT_EQ(files.size(), 1);
  QProcess p;
  p.start(pdftotext,
          {"-layout", fs::HostPath(print::PrintJob::PrintFolder()) + "/" + files[0], "-"});
  ASSERT_TRUE(p.waitForFinished(30000));
  const QString text = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_TRUE(text.contains(QRegularExpression("Nuovo Codice :\\s+300\\s+RISO ARBORIO 1KG")))
      << text.toStdString();
  EXPECT_FALSE(text.contains("100"));
  EXPECT_EQ(print::CurrentPrinterName(), print::kPdfPrinterName);
  // Nothing new: the printout ends without a page.
  ASSERT_TRUE(Import("l.xlsx", "1", "10", true).completed);
  EXPECT_EQ(PdfFiles().size(), 1);
}

// Every new code is printed whole inside the page: a long description goes on on the next
// line, and a list longer than a page goes on on the next page.
TEST_F(VaruImportTest, NewCodesArePrintedWholeInsideThePage) {
  VX_REQUIRE_TOOL(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext");
  const QString longDescription = QStringLiteral(
      "PASTA DI SEMOLA DI GRANO DURO TRAFILATA AL BRONZO ESSICCATA LENTAMENTE A "
      "BASSA TEMPERATURA FORMATO DA 500G");
  ASSERT_EQ(longDescription.size(), 106);
  struct Case {
    const char* name;
    int codes;
    QString description;
    int pages;
  } cases[] = {
      {"a description of 106 characters", 1, longDescription, 1},
      {"more codes than a page holds", 90, QStringLiteral("CRACKERS INTEGRALI"), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    varu_->Execute("delete from articolo");
    std::vector<SheetRow> rows{{{2, QStringLiteral("PASTA")}, {20, 15.0}, {22, 1.0}}};
    for (int i = 0; i < c.codes; ++i)
      rows.push_back(VaruArticle(250106 + i, c.description, 1.5,
                                 QStringLiteral("80123%1").arg(250106 + i, 8, 10, QChar('0'))));
    WriteVaru("lungo.xlsx", rows);
    const QString pdf = pdftext::NewPdf(fs::HostPath(print::PrintJob::PrintFolder()), [&] {
      ASSERT_TRUE(Import("lungo.xlsx", "1", QString::number(c.codes + 1), true).completed);
    });
    ASSERT_FALSE(pdf.isEmpty());
    const QStringList pages = pdftext::Pages(pdf);
    EXPECT_EQ(pages.size(), c.pages);
    const QString text = pages.join(QLatin1Char(' ')).simplified();
    EXPECT_EQ(text.count("Nuovo Codice :"), c.codes) << text.toStdString();
    for (int i = 0; i < c.codes; ++i) {
      EXPECT_TRUE(
          text.contains(QStringLiteral("Nuovo Codice : %1 %2").arg(250106 + i).arg(c.description)))
          << i << "\n"
          << text.toStdString();
    }
  }
}

}  // namespace
}  // namespace vx::pricelists
