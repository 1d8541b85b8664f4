#include "pricelists/corvalia_import.h"

#include <gtest/gtest.h>

#include "pricelists/corvalia_fixture.h"

namespace vx::pricelists {
namespace {

using testing::CorvaliaFixture;
using testing::RecordingSink;

TEST(CorvaliaEanKeyTest, NumbersBecomeThirteenDigitsOtherTextIsCutOrPadded) {
  const std::pair<const char*, const char*> cases[] = {
      {"8001234567890", "8001234567890"},
      {"80012345", "0000080012345"},
      {"  80012345  ", "0000080012345"},
      {"ABC12345X", "ABC12345X    "},
      {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLM"},
      {"80012345678901", "8001234567890"},  // 14 digits: the first 13
      {"", "             "},
      {"12 34", "12 34        "},
  };
  for (const auto& [barcode, key] : cases) {
    EXPECT_EQ(CorvaliaEanKey(QString::fromLatin1(barcode)), QString::fromLatin1(key)) << barcode;
  }
}

class CorvaliaImportTest : public CorvaliaFixture {
 protected:
  CorvaliaFiles ReadAll(const QString& a = "A0612.TXT", const QString& b = "b0612.TXT",
                        const QString& t = "T0612.TXT") {
    const QString folder = QString::fromLatin1(kFolder);
    return {ReadCorvaliaFile(folder + a), ReadCorvaliaFile(folder + b),
            ReadCorvaliaFile(folder + t)};
  }
};

TEST_F(CorvaliaImportTest, EdgeCasesOfTheThreeFiles) {
  WriteEdgeCaseFiles();
  EXPECT_EQ(FirstMatchingFile(QString::fromLatin1(kFolder), "B*.txt"), "b0612.TXT");
  EXPECT_EQ(FirstMatchingFile(QString::fromLatin1(kFolder), "Z*.txt"), "");
  RecordingSink sink;
  const CorvaliaOutcome out = ImportCorvalia(*catalogue_, ReadAll(), "ABC", sink);

  // Each pass's bar runs over every line of its file, up to the DOS end mark.
  EXPECT_EQ(sink.maxima, (std::vector<int>{8, 11, 5}));
  EXPECT_EQ(sink.steps, 8 + 11 + 5);
  EXPECT_EQ(sink.value, 5);

  // B: 100 characters skipped, 101 used; the repeated code keeps its second line.
  EXPECT_EQ(Count("articolo"), 3);
  EXPECT_TRUE(Article(1, "codart").isEmpty());
  EXPECT_EQ(Article(12345, "desart").str(), QString::fromUtf8("ABC ÀÈÌ DESCRIZIONE LUNGA OLTR"));
  EXPECT_FLOAT_EQ(Article(12345, "przart").toDouble(), 123.45f);
  EXPECT_EQ(Article(12345, "codafo").str(), "000012345");
  EXPECT_EQ(Article(12345, "desfor").str(), "ABC" + QString(32, ' '));
  EXPECT_EQ(Article(777, "desart").str(), "SECONDA" + QString(23, ' '));
  EXPECT_FLOAT_EQ(Article(777, "przart").toDouble(), 2.5f);
  EXPECT_FLOAT_EQ(Article(778, "przart").toDouble(), 1.99f);
  for (const auto& [column, value] : std::vector<std::pair<QString, QString>>{{"fl3art", "Si"},
                                                                              {"desgru", " "},
                                                                              {"dessot", " "},
                                                                              {"tipges", "M"},
                                                                              {"tipart", "S"},
                                                                              {"stato", " "},
                                                                              {"marchio", " "}}) {
    EXPECT_EQ(Article(777, column).str(), value) << column.toStdString();
  }
  EXPECT_EQ(out.b.added, 3);
  EXPECT_EQ(out.b.edited, 1);

  // T: E with 13 digits, B with 8 digits, text keys (one with quotes); 7 characters, a
  // known key, no separator, 17 characters and a barcode cut short by its own letter E add
  // nothing; the first line's code keeps the EAN.
  EXPECT_EQ(Eans(), (QStringList{"777|'QUO'1234    ", "777|ABC12345X    ", "12345|0000080012345",
                                 "12345|8001234567890"}));

  // A: "04" gives 4, blanks 0; the line of 100 characters and the unknown code change
  // nothing, nor does the line after the end mark.
  EXPECT_EQ(Article(12345, "ivart").toDouble(), 4);
  EXPECT_EQ(Article(12345, "umart").str(), "PZ");
  EXPECT_EQ(Article(12345, "imbart").toLong(), 12);
  EXPECT_EQ(Article(777, "ivart").toDouble(), 0);
  EXPECT_EQ(Article(777, "umart").str(), "CT");
  EXPECT_EQ(Article(777, "imbart").toLong(), 6);
  EXPECT_TRUE(Article(778, "umart").isNull());
  EXPECT_EQ(out.a.edited, 2);
  EXPECT_EQ(out.a.lastCode, 54321);

  // Lines whose code or price is no number are listed by file and line.
  ASSERT_EQ(out.damaged.size(), 3u);
  EXPECT_EQ(out.damaged[0].file, "b0612.TXT");
  EXPECT_EQ(out.damaged[0].line, 6);
  EXPECT_EQ(out.damaged[1].line, 7);
  EXPECT_EQ(out.damaged[2].file, "T0612.TXT");
  EXPECT_EQ(out.damaged[2].line, 9);
}

TEST_F(CorvaliaImportTest, AFailureInAPassLeavesTheOldCatalogue) {
  WriteEdgeCaseFiles();
  RecordingSink sink;
  sink.onYield = [this](RecordingSink& s) {
    if (s.lines.last() == "Elaborazione file Tipo T ...") {
      catalogue_->Execute(QStringLiteral("drop table codean"));
    }
  };
  EXPECT_THROW(ImportCorvalia(*catalogue_, ReadAll(), "ABC", sink), db::DbError);
  EXPECT_EQ(Count("articolo"), 1);
  EXPECT_EQ(Article(1, "desart").str(), "VECCHIO ARTICOLO");
  EXPECT_EQ(Eans(), QStringList{"1|8000000000001"});
  EXPECT_EQ(catalogue_->transactionDepth(), 0);
}

TEST_F(CorvaliaImportTest, AnEmptyFileIsRefusedBeforeAnythingIsEmptied) {
  WriteEdgeCaseFiles();
  WriteText("B0001.TXT", "");
  RecordingSink sink;
  try {
    ImportCorvalia(*catalogue_, ReadAll("A0612.TXT", "B0001.TXT"), "ABC", sink);
    FAIL() << "no error";
  } catch (const CorvaliaError& e) {
    EXPECT_EQ(e.message(),
              "Il file B0001.TXT non contiene righe di listino utilizzabili: listino non "
              "aggiornato");
  }
  EXPECT_TRUE(sink.lines.isEmpty());
  EXPECT_EQ(Count("articolo"), 1);
  EXPECT_EQ(Eans(), QStringList{"1|8000000000001"});
}

TEST_F(CorvaliaImportTest, ACatalogueWithoutItsTablesOrAFileThatIsNotThereIsNamed) {
  try {
    ReadCorvaliaFile(QString::fromLatin1(kFolder) + "A9999.TXT");
    FAIL() << "no error";
  } catch (const CorvaliaError& e) {
    EXPECT_TRUE(e.message().contains("A9999.TXT"));
  }
  catalogue_->Execute(QStringLiteral("drop table codean"));
  try {
    OpenCorvaliaCatalogue(QString::fromLatin1(kCatalogue));
    FAIL() << "no error";
  } catch (const CorvaliaError& e) {
    EXPECT_TRUE(e.message().contains("codean")) << e.message().toStdString();
  }
  try {
    OpenCorvaliaCatalogue(QStringLiteral("C:\\manca\\dati.mdb"));
    FAIL() << "no error";
  } catch (const CorvaliaError& e) {
    EXPECT_TRUE(e.message().contains("C:\\manca\\dati.mdb"));
  }
}

}  // namespace
}  // namespace vx::pricelists
