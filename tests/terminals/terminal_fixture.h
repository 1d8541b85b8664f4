// A shipped main database on a temporary data drive whose comparison table the test fills,
// the shared values of a logged-in store, scripted message boxes and the PDF printer.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <memory>

#include "platform/db/database.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::terminals::testing {

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A comparison row with the costs of slots 1 to 4 (0 for none) and packages 0.
  void AddArticle(const QString& ean, const std::array<double, 4>& costs);
  Variant Column(const QString& ean, const QString& column) const;
  // Writes a download file at a Windows path of the data drive (CR LF line ends).
  void WriteSource(const QString& windowsPath, const QStringList& lines) const;
  bool SourceExists(const QString& windowsPath) const;
  // Makes every update of the row with that EAN fail inside the database.
  void BreakRow(const QString& ean);
  // The text of the newest document printed, read back from its PDF ("" when none).
  QString PrintedText() const;
  static void ProcessDeferredDeletes();

  std::unique_ptr<TempDataRoot> root_;
  std::shared_ptr<db::Database> db_;
  std::unique_ptr<ScriptedMessages> boxes_;
};

}  // namespace vx::terminals::testing
