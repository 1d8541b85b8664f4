#include "platform/workbook/workbook.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "platform/files.h"
#include "support/qt_print.h"
#include "workbook_writer.h"

namespace vx::workbook {
namespace {

using tools::BookCell;
using tools::BookOptions;
using tools::BookSheet;

const double kDay = 46096;  // 15/03/2026

// One description of a sheet, written in every format and read back.
std::vector<BookSheet> Description() {
  BookSheet s{QStringLiteral("Foglio1"), {}};
  auto put = [&](int r, int c, Variant v, bool formula = false) {
    s.cells.push_back({r, c, v, formula});
  };
  put(1, 1, QStringLiteral("Caffè Qualità \"Oro\" <&>"));
  put(1, 2, 8001234567890.0);
  put(1, 3, Variant::fromDayNumber(kDay));
  put(1, 4, true);
  put(1, 5, false);
  put(1, 6, Variant::error(QStringLiteral("#N/A")));
  put(1, 7, Variant::error(QStringLiteral("#DIV/0!")));
  put(2, 1, 0.85);
  put(2, 2, -12.0);
  put(2, 3, 250.0);  // whole numbers in a row
  put(2, 4, 7.0);
  put(2, 5, 1e10);
  put(2, 26, QStringLiteral("colonna Z"));
  put(3, 1, 3.5, true);  // formulas with their stored results
  put(3, 2, QStringLiteral("testo calcolato"), true);
  put(3, 3, true, true);
  put(3, 4, Variant::error(QStringLiteral("#VALUE!")), true);
  put(3, 5, Variant::fromDayNumber(kDay + 1), true);
  put(4, 2, Variant());  // a blank cell: formatted, no value
  put(5, 1, QStringLiteral("dopo una riga vuota"));
  put(5, 3, QStringLiteral("Caffè Qualità \"Oro\" <&>"));  // the same text again
  put(6, 1, Variant::fromDayNumber(10));                   // before the phantom 29/02/1900
  return {s, BookSheet{QStringLiteral("1"), {{1, 1, QStringLiteral("secondo")}}}};
}

struct Variation {
  const char* name;
  bool xls;
  BookOptions options;
};

std::vector<Variation> Variations() {
  std::vector<Variation> v;
  v.push_back({"xlsx shared strings", false, {}});
  BookOptions inl;
  inl.sharedStrings = false;
  inl.omitReferences = true;
  inl.absoluteTargets = true;
  inl.date1904 = true;
  v.push_back({"xlsx inline, no references, absolute targets, 1904", false, inl});
  BookOptions rich;
  rich.richText = true;
  rich.builtInDateFormat = true;
  v.push_back({"xlsx rich text, built-in date format", false, rich});
  v.push_back({"xls BIFF8 with SST", true, {}});
  BookOptions labels;
  labels.sharedStrings = false;
  labels.sharedFormulaBeforeString = true;
  labels.date1904 = true;
  v.push_back({"xls BIFF8 labels, 1904, shared formula", true, labels});
  BookOptions b5;
  b5.biff5 = true;
  b5.builtInDateFormat = true;
  v.push_back({"xls BIFF5 1252", true, b5});
  BookOptions b5dos;
  b5dos.biff5 = true;
  b5dos.codePage = 850;
  v.push_back({"xls BIFF5 code page 850", true, b5dos});
  return v;
}

class WorkbookTest : public ::testing::Test {
 protected:
  QString Write(const std::vector<BookSheet>& sheets, bool xls, const BookOptions& o = {},
                const QString& name = {}) {
    const QString path = dir_.filePath(
        name.isEmpty() ? (xls ? QStringLiteral("w.xls") : QStringLiteral("w.xlsx")) : name);
    QString error;
    EXPECT_TRUE(xls ? tools::WriteXls(path, sheets, o, &error)
                    : tools::WriteXlsx(path, sheets, o, &error))
        << error.toStdString();
    return path;
  }
  QString WriteBytes(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  // The message of the error opening (and reading every sheet of) the file; "" when none.
  static QString ErrorOf(const QString& path) {
    try {
      auto wb = Workbook::Open(path);
      for (int i = 1; i <= wb->SheetCount(); ++i) {
        const Sheet& s = wb->SheetAt(i);
        for (int r = 1; r <= std::min(s.LastRow(), 50); ++r) {
          for (int c = 1; c <= 30; ++c) (void)s.Cell(r, c).str();
        }
      }
      return QString();
    } catch (const WorkbookError& e) {
      return e.message();
    }
  }
  QTemporaryDir dir_;
};

TEST_F(WorkbookTest, EveryFormatReadsTheSameCells) {
  for (const auto& var : Variations()) {
    SCOPED_TRACE(var.name);
    const QString path = Write(Description(), var.xls, var.options);
    const QByteArray before = Read(path);
    auto wb = Workbook::Open(path);
    EXPECT_EQ(wb->format(), var.xls ? Format::Xls : Format::Xlsx);
    EXPECT_EQ(wb->SheetNames(), (QStringList{"Foglio1", "1"}));
    const Sheet& s = wb->SheetNamed(QStringLiteral("fOGLIO1"));
    EXPECT_EQ(s.Cell(1, 1), Variant(QStringLiteral("Caffè Qualità \"Oro\" <&>")));
    EXPECT_EQ(s.Cell(5, 3).str(), s.Cell(1, 1).str());
    EXPECT_EQ(s.Cell(1, 2).type(), Variant::Type::Double);
    EXPECT_EQ(s.Cell(1, 2).toDouble(), 8001234567890.0);
    EXPECT_TRUE(s.Cell(1, 3).isDate());
    EXPECT_EQ(s.Cell(1, 3).toDayNumber(), kDay);
    EXPECT_EQ(s.Cell(1, 3).toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(s.Cell(1, 4), Variant(true));
    EXPECT_EQ(s.Cell(1, 5), Variant(false));
    EXPECT_TRUE(s.Cell(1, 6).isError());
    EXPECT_EQ(s.Cell(1, 6).str(), "#N/A");
    EXPECT_EQ(s.Cell(1, 7).str(), "#DIV/0!");
    EXPECT_EQ(s.Cell(2, 1).toDouble(), 0.85);
    EXPECT_EQ(s.Cell(2, 2).toDouble(), -12);
    EXPECT_EQ(s.Cell(2, 3).toDouble(), 250);
    EXPECT_EQ(s.Cell(2, 4).toDouble(), 7);
    EXPECT_EQ(s.Cell(2, 5).toDouble(), 1e10);
    EXPECT_EQ(s.Cell(2, 26).str(), "colonna Z");
    EXPECT_EQ(s.Cell(3, 1).toDouble(), 3.5);
    EXPECT_EQ(s.Cell(3, 2), Variant(QStringLiteral("testo calcolato")));
    EXPECT_EQ(s.Cell(3, 3), Variant(true));
    EXPECT_EQ(s.Cell(3, 4).str(), "#VALUE!");
    EXPECT_TRUE(s.Cell(3, 4).isError());
    EXPECT_EQ(s.Cell(3, 5).toDayNumber(), kDay + 1);
    // Before 1904 the 1904 system has no dates: the serial stays a number.
    EXPECT_EQ(s.Cell(6, 1).isDate(), !var.options.date1904);
    EXPECT_EQ(s.Cell(6, 1).toDouble(), var.options.date1904 ? 10 - 1462 : 10);
    for (const auto& [r, c] :
         std::vector<std::pair<int, int>>{{4, 1}, {4, 2}, {2, 6}, {1, 8}, {9, 9}, {0, 1}, {1, 0}}) {
      EXPECT_TRUE(s.Cell(r, c).isEmpty()) << r << "," << c;
    }
    EXPECT_EQ(s.LastRow(), 6);
    // "1" is a sheet name, never a position.
    EXPECT_EQ(wb->SheetNamed(QStringLiteral("1")).Cell(1, 1).str(), "secondo");
    EXPECT_EQ(wb->SheetAt(2).Name(), "1");
    EXPECT_EQ(Read(path), before);  // the file is never written
  }
}

TEST_F(WorkbookTest, ErrorValuesRefuseEveryConversion) {
  const Variant e = Variant::error(QStringLiteral("#N/A"));
  EXPECT_THROW(e.toDouble(), ConversionError);
  EXPECT_THROW(e.toLong(), ConversionError);
  EXPECT_THROW(e.toBool(), ConversionError);
  EXPECT_THROW(e.toDayNumber(), ConversionError);
  EXPECT_NE(e, Variant(QStringLiteral("#N/A")));
  EXPECT_EQ(e, Variant::error(QStringLiteral("#N/A")));
}

TEST_F(WorkbookTest, MissingSheetsAndBadFilesGiveReasons) {
  const QString xlsx = Write(Description(), false);
  auto wb = Workbook::Open(xlsx);
  try {
    wb->SheetNamed(QStringLiteral("foglio 1"));
    ADD_FAILURE() << "no error";
  } catch (const WorkbookError& e) {
    EXPECT_EQ(e.message(), "il foglio \"foglio 1\" non esiste");
  }
  EXPECT_THROW(wb->SheetAt(3), WorkbookError);
  EXPECT_FALSE(wb->HasSheet(QStringLiteral("2")));

  EXPECT_EQ(ErrorOf(dir_.filePath("none.xlsx")), "il file non esiste");
  ASSERT_TRUE(QFile::copy(xlsx, dir_.filePath("big.xlsx")));
  ASSERT_TRUE(QFile(dir_.filePath("big.xlsx")).resize(fs::kMaxPriceListBytes + 1));
  EXPECT_TRUE(ErrorOf(dir_.filePath("big.xlsx")).contains("supera i 256 MB"));
  EXPECT_EQ(ErrorOf(WriteBytes("empty.xlsx", {})), "il file è vuoto");
  EXPECT_EQ(ErrorOf(WriteBytes("text.xls", "codice;descrizione\r\n1;pasta\r\n")),
            "il file non è una cartella di lavoro Excel");
  // A name says nothing: an .xlsx named .xls reads.
  QFile::copy(xlsx, dir_.filePath("renamed.xls"));
  EXPECT_EQ(ErrorOf(dir_.filePath("renamed.xls")), "");

  // Encrypted: an .xlsx with a password is a compound file with an encrypted package; an
  // .xls with a password has FILEPASS among its globals.
  const QString encrypted = dir_.filePath("enc.xlsx");
  ASSERT_TRUE(tools::WriteCompoundFile(encrypted, "EncryptedPackage", QByteArray(600, 'x')));
  EXPECT_EQ(ErrorOf(encrypted), "il file è protetto da password");
  const QByteArray bof = QByteArray::fromHex("0908100000060500") + QByteArray(12, 0);
  const QByteArray filepass = QByteArray::fromHex("2f000600010000000000");
  const QString locked = dir_.filePath("locked.xls");
  ASSERT_TRUE(tools::WriteCompoundFile(locked, "Workbook",
                                       bof + filepass + QByteArray::fromHex("0a000000")));
  EXPECT_EQ(ErrorOf(locked), "il file è protetto da password");
  const QString noBook = dir_.filePath("other.xls");
  ASSERT_TRUE(tools::WriteCompoundFile(noBook, "WordDocument", QByteArray(100, 0)));
  EXPECT_EQ(ErrorOf(noBook), "il file non contiene una cartella di lavoro Excel");
}

// Every cut of a file, and files with bytes flipped, are read or refused, never a crash.
TEST_F(WorkbookTest, TruncatedAndFlippedFilesAreRefusedWithoutACrash) {
  for (bool xls : {false, true}) {
    SCOPED_TRACE(xls ? "xls" : "xlsx");
    const QByteArray whole = Read(Write(Description(), xls));
    int refused = 0, cuts = 0;
    for (qsizetype n = 1; n < whole.size(); n += std::max<qsizetype>(1, whole.size() / 97)) {
      ++cuts;
      const QString err = ErrorOf(WriteBytes(xls ? "cut.xls" : "cut.xlsx", whole.left(n)));
      if (!err.isEmpty()) ++refused;
    }
    EXPECT_EQ(refused, cuts);  // a cut file is always incomplete
    unsigned seed = 7;
    for (int i = 0; i < 200; ++i) {
      QByteArray bytes = whole;
      for (int k = 0; k < 4; ++k) {
        seed = seed * 1103515245u + 12345u;
        bytes[(seed >> 8) % bytes.size()] ^= static_cast<char>(1 << ((seed >> 4) % 8));
      }
      (void)ErrorOf(WriteBytes(xls ? "flip.xls" : "flip.xlsx", bytes));
    }
  }
}

// Texts enough for the SST to run over many CONTINUE records, some split in the middle of
// a text of wide characters.
TEST_F(WorkbookTest, SharedTextsAcrossContinueRecords) {
  BookSheet s{QStringLiteral("Foglio1"), {}};
  for (int r = 1; r <= 3000; ++r) {
    QString t = QStringLiteral("articolo %1 ").arg(r);
    if (r % 7 == 0) t += QStringLiteral("€ prezzo speciale ѐ ");
    if (r % 500 == 0) t += QString(5000, QChar(0x20AC));
    s.cells.push_back({r, 1, t});
  }
  const QString path = Write({s}, true);
  auto wb = Workbook::Open(path);
  const Sheet& sheet = wb->SheetAt(1);
  for (const auto& c : s.cells) ASSERT_EQ(sheet.Cell(c.row, 1).str(), c.value.str()) << c.row;
}

TEST_F(WorkbookTest, SparseRowsCostOnlyTheirCells) {
  for (bool xls : {false, true}) {
    BookSheet s{QStringLiteral("1"), {}};
    const int last = xls ? 45000 : 45000;
    for (int r = 1; r <= last; r += 100) s.cells.push_back({r, 22, double(r)});
    s.cells.push_back({last, 5, QStringLiteral("ultima")});
    auto wb = Workbook::Open(Write({s}, xls));
    const Sheet& sheet = wb->SheetNamed(QStringLiteral("1"));
    EXPECT_EQ(sheet.CellCount(), static_cast<qsizetype>(s.cells.size()));
    EXPECT_EQ(sheet.LastRow(), last);
    EXPECT_EQ(sheet.Cell(last, 5).str(), "ultima");
    EXPECT_EQ(sheet.Cell(44901, 22).toDouble(), 44901);
    EXPECT_TRUE(sheet.Cell(44902, 22).isEmpty());
    EXPECT_TRUE(sheet.Cell(1000000, 1).isEmpty());
  }
}

}  // namespace
}  // namespace vx::workbook

namespace vx::workbook {
namespace {

TEST_F(WorkbookTest, DateFormattedNumbersBeyondTheCalendarStayNumbers) {
  for (bool xls : {false, true}) {
    BookSheet s{QStringLiteral("1"),
                {{1, 1, Variant::fromDayNumber(1e43)}, {1, 2, Variant::fromDayNumber(2958465)}}};
    auto wb = Workbook::Open(Write({s}, xls));
    const Sheet& sheet = wb->SheetAt(1);
    EXPECT_FALSE(sheet.Cell(1, 1).isDate());
    EXPECT_EQ(sheet.Cell(1, 1).toDouble(), 1e43);
    EXPECT_EQ(sheet.Cell(1, 2).toDate(), QDate(9999, 12, 31));
  }
}

}  // namespace
}  // namespace vx::workbook
