#include "platform/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/paths.h"

namespace vx::fs {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp_.isValid());
    SetDataRoot(tmp_.path());
    QDir(tmp_.path()).mkpath("C/dati");
  }
  void TearDown() override { SetDataRoot(QString()); }

  QByteArray RawBytes(const QString& rel) {
    QFile f(tmp_.path() + QLatin1Char('/') + rel);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  void WriteRaw(const QString& rel, const QByteArray& bytes) {
    QFile f(tmp_.path() + QLatin1Char('/') + rel);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QTemporaryDir tmp_;
};

TEST(Cp1252, RoundTripOfAccentsAndEuro) {
  const QString text = QString::fromUtf8("€àèéìòù");
  const QByteArray bytes = ToCp1252(text);
  EXPECT_EQ(bytes, QByteArray("\x80\xE0\xE8\xE9\xEC\xF2\xF9"));
  EXPECT_EQ(FromCp1252(bytes), text);
}

TEST(Cp1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
  EXPECT_EQ(FromCp1252("\x93\x94\x96\x99"), QString::fromUtf8("“”–™"));
}

TEST(Cp1252, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(ToCp1252(QString::fromUtf8("a€Ωb😀")), QByteArray("a\x80?b?"));
  EXPECT_EQ(ToCp1252(QString(QChar(0x0085))), QByteArray("?"));  // 0x85 is the ellipsis
}

TEST_F(FilesTest, TextLinesAreWrittenWithCrLfAndRead) {
  const QStringList lines = {QString::fromUtf8("perché 1,50 €"), "", "ultima"};
  ASSERT_TRUE(WriteTextLines("C:\\DATI\\out.txt", lines));
  EXPECT_EQ(RawBytes("C/dati/out.txt"), QByteArray("perch\xE9 1,50 \x80\r\n\r\nultima\r\n"));
  EXPECT_EQ(ReadTextLines("c:\\dati\\OUT.TXT"), lines);

  ASSERT_TRUE(WriteTextLines("C:\\dati\\out.txt", {"altra"}, true));
  EXPECT_EQ(ReadTextLines("C:\\dati\\out.txt")->size(), 4);
  ASSERT_TRUE(WriteTextLines("C:\\dati\\out.txt", {"sola"}));
  EXPECT_EQ(*ReadTextLines("C:\\dati\\out.txt"), QStringList({"sola"}));
  EXPECT_FALSE(WriteTextLines("C:\\manca\\out.txt", {"x"}));
}

TEST_F(FilesTest, LineEndsOfAnyKind) {
  WriteRaw("C/dati/in.txt", "uno\r\ndue\ntre\rquattro");
  EXPECT_EQ(*ReadTextLines("C:\\dati\\in.txt"), QStringList({"uno", "due", "tre", "quattro"}));
  WriteRaw("C/dati/eof.txt", "a\r\nb\r\n\x1A \t\r\n\x1A");
  EXPECT_EQ(*ReadTextLines("C:\\dati\\eof.txt"), QStringList({"a", "b"}));
  EXPECT_EQ(DamagedTextReason("a\r\n\x1A\r\nb"),
            "è danneggiato: il byte di fine file (0x1A) alla posizione 4 è seguito da altro testo");
  WriteRaw("C/dati/empty.txt", "");
  EXPECT_EQ(*ReadTextLines("C:\\dati\\empty.txt"), QStringList());
  EXPECT_FALSE(ReadTextLines("C:\\dati\\none.txt").has_value());
}

TEST_F(FilesTest, TruncateEmptiesOrCreates) {
  WriteRaw("C/dati/t.txt", "contenuto");
  EXPECT_TRUE(TruncateFile("C:\\DATI\\T.TXT"));
  EXPECT_EQ(RawBytes("C/dati/t.txt"), QByteArray());
  EXPECT_TRUE(TruncateFile("C:\\dati\\new.txt"));
  EXPECT_TRUE(Exists("C:\\dati\\new.txt"));
}

TEST_F(FilesTest, RecordFileRoundTripByteForByte) {
  const RecordFile file("C:\\dati\\rec.dat", 256);
  // Reading a file that does not exist gives a record of NULs and creates nothing.
  EXPECT_EQ(file.Read(1), QByteArray(256, '\0'));
  EXPECT_FALSE(Exists("C:\\dati\\rec.dat"));

  QByteArray rec(256, ' ');
  rec.replace(0, 13, "8001234567890");
  rec.replace(128, 2, "\x01\xFF");
  rec.replace(130, 6, ToCp1252(QString::fromUtf8("caffè ")));
  rec.replace(160, 4, QByteArray("\x00\x80\x00\x7F", 4));
  rec[255] = '\xE0';
  ASSERT_TRUE(file.Write(3, rec));
  EXPECT_EQ(RawBytes("C/dati/rec.dat").size(), 3 * 256);
  EXPECT_EQ(file.Read(3), rec);
  EXPECT_EQ(file.Read(1), QByteArray(256, '\0'));  // skipped records are NULs
  EXPECT_EQ(file.Read(4), QByteArray(256, '\0'));  // past the end
  EXPECT_EQ(RawBytes("C/dati/rec.dat").size(), 3 * 256);

  // Short data is padded with NUL, long data cut; neighbours are untouched.
  ASSERT_TRUE(file.Write(2, "abc"));
  ASSERT_TRUE(file.Write(1, QByteArray(300, 'z')));
  EXPECT_EQ(file.Read(2), QByteArray("abc") + QByteArray(253, '\0'));
  EXPECT_EQ(file.Read(1), QByteArray(256, 'z'));
  EXPECT_EQ(file.Read(3), rec);
  EXPECT_EQ(RawBytes("C/dati/rec.dat").mid(512), rec);

  EXPECT_FALSE(file.Write(0, rec));
  EXPECT_EQ(file.Read(0), QByteArray(256, '\0'));
}

TEST_F(FilesTest, RecordFileWithPartialLastRecord) {
  WriteRaw("C/dati/part.dat", "0123456789ab");
  const RecordFile file("C:\\dati\\part.dat", 10);
  EXPECT_EQ(file.Read(1), "0123456789");
  EXPECT_EQ(file.Read(2), QByteArray("ab") + QByteArray(8, '\0'));
}

}  // namespace
}  // namespace vx::fs
