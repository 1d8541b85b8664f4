#include "data/paths_db.h"

#include <gtest/gtest.h>

namespace vx::data {
namespace {

TEST(PathsDbTest, PathsAreBuiltFromTheDriveLetter) {
  EXPECT_EQ(MainDatabasePath("D"), "D:\\Programmi\\tolmo\\dizizOrezav.mdb");
  EXPECT_EQ(StoreFolder("C"), "C:\\pelko");
  EXPECT_EQ(StoreDatabasePath("C"), "C:\\pelko\\client.mdb");
  EXPECT_EQ(RootStoreDatabasePath("E"), "E:\\client.mdb");
  EXPECT_EQ(StoreRecordFilePath("C"), "C:\\tolmodati.txt");
  EXPECT_EQ(LogFilePath("C"), "C:\\programmi\\tolmo\\log_tolmo.txt");
  // Only the first character of the drive text counts.
  EXPECT_EQ(StoreFolder("C:\\"), "C:\\pelko");
}

}  // namespace
}  // namespace vx::data
