// A data drive for the EAN conversion table and the article card: the shipped and upgraded
// main database in a temporary data root, supplier catalogues made article by article, the
// shared values of a logged-in store, and scripted message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <vector>

#include "platform/db/database.h"
#include "platform/variant.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::masterdata::testing {

class MasterdataFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A supplier database C:\<folder>\dati.mdb and its `fornitori` row; returns its path.
  QString AddSupplier(int codice, const QString& descr, const QString& folder, double perce = 0);
  // An article with one EAN in a supplier database.
  void AddArticle(const QString& percorso, qint64 codart, const QString& ean, double przart,
                  const QString& desart);
  // An `eanconv` row; alternatives, factors and actions of suppliers 1 to 4 (Null past the
  // end of each list).
  void AddConversion(int codfor, const QString& ean, const Variant& desart,
                     const std::vector<Variant>& alternatives, const std::vector<Variant>& factors,
                     const std::vector<Variant>& actions);
  // A comparison row with its four costs.
  void AddComparison(const QString& ean, const QString& desart, const std::vector<double>& costs);

  // The first column of the first row of a query on the main database (Empty when no row).
  Variant Scalar(const QString& sql, const std::vector<Variant>& params = {});
  // A column of the `eanconv` row of a slot and EAN.
  Variant Conversion(int codfor, const QString& ean, const QString& column);

  // Pending deletions run, so that an unloaded window is gone.
  static void SettleWindows();

  TempDataRoot root_;
  ScriptedMessages boxes_;
  QString mainPath_;
  std::shared_ptr<db::Database> main_;
};

}  // namespace vx::masterdata::testing
