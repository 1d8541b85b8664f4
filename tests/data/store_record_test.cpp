// Record 1 of the store record file, byte for byte.
#include "data/store_record.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/conv.h"
#include "support/file_bytes.h"

namespace vx::data {
namespace {

class StoreRecordTest : public ::testing::Test {
 protected:
  QTemporaryDir dir_;
  QString path_ = dir_.filePath("tolmodati.txt");
};

TEST_F(StoreRecordTest, ReadAndWriteBackKeepsEveryByte) {
  // Record 1 with NULs and odd bytes in the reserved fields, an accented name, bytes after
  // the fields, and a second record.
  QByteArray bytes(512, '\0');
  for (int i = 0; i < 128; i += 3) bytes[i] = static_cast<char>('A' + i % 26);
  bytes[5] = '\xE8';
  bytes[128] = 'z';
  bytes.replace(130, 30, QByteArray("CAFF\xC8 DEL CORSO").leftJustified(30, ' '));
  bytes.replace(160, 2, "7 ");
  for (int i = 162; i < 512; ++i) bytes[i] = static_cast<char>(i % 251);
  WriteAll(path_, bytes);

  const rec_negozio r = ReadStoreRecord(path_);
  EXPECT_EQ(r.nome_negozio.str(), QString::fromUtf8("CAFFÈ DEL CORSO").leftJustified(30, ' '));
  EXPECT_EQ(r.codice_negozio.str(), "7 ");
  EXPECT_EQ(r.riservato_2.str(), QString("z") + QChar(0));

  ASSERT_TRUE(WriteStoreRecord(path_, r));
  EXPECT_EQ(ReadAll(path_), bytes);
}

TEST_F(StoreRecordTest, WritingNameAndCodeChangesOnlyThoseFields) {
  QByteArray bytes(256, 'x');
  WriteAll(path_, bytes);
  rec_negozio r = ReadStoreRecord(path_);
  r.nome_negozio = "MARKET BELLAVISTA";
  r.codice_negozio = StoreCodeText(1);
  ASSERT_TRUE(WriteStoreRecord(path_, r));

  QByteArray expected = bytes;
  expected.replace(130, 30, QByteArray("MARKET BELLAVISTA").leftJustified(30, ' '));
  expected.replace(160, 2, "1 ");
  EXPECT_EQ(ReadAll(path_), expected);
}

TEST_F(StoreRecordTest, MissingFileReadsBlankAndIsNotCreated) {
  const rec_negozio r = ReadStoreRecord(path_);
  EXPECT_EQ(r.nome_negozio.str(), QString(30, ' '));
  EXPECT_EQ(r.codice_negozio.str(), "  ");
  EXPECT_FALSE(QFile::exists(path_));
  // The main window takes the numeric value of the code: blank gives 0 (then store 1).
  EXPECT_EQ(Val(r.codice_negozio), 0);
}

TEST_F(StoreRecordTest, ShortFileReadsBlankNameAndCode) {
  WriteAll(path_, QByteArray(140, 'Q'));
  const rec_negozio r = ReadStoreRecord(path_);
  EXPECT_EQ(r.nome_negozio.str(), QString(10, 'Q') + QString(20, ' '));
  EXPECT_EQ(r.codice_negozio.str(), "  ");
}

TEST_F(StoreRecordTest, FirstWriteCreatesRecordOne) {
  rec_negozio r;
  r.nome_negozio = "UN NOME DI NEGOZIO LUNGO PIU' DI TRENTA CARATTERI";
  r.codice_negozio = StoreCodeText(1);
  ASSERT_TRUE(WriteStoreRecord(path_, r));

  const QByteArray bytes = ReadAll(path_);
  ASSERT_EQ(bytes.size(), 256);
  EXPECT_EQ(bytes.left(130), QByteArray(130, ' '));
  EXPECT_EQ(bytes.mid(130, 30), QByteArray("UN NOME DI NEGOZIO LUNGO PIU' "));
  EXPECT_EQ(bytes.mid(160, 2), QByteArray("1 "));
  EXPECT_EQ(Val(ReadStoreRecord(path_).codice_negozio), 1);
}

TEST(StoreCodeTextTest, NumberLeftAlignedInTwoCharacters) {
  EXPECT_EQ(StoreCodeText(1), "1 ");
  EXPECT_EQ(StoreCodeText(12), "12");
  EXPECT_EQ(StoreCodeText(0), "0 ");
}

}  // namespace
}  // namespace vx::data
