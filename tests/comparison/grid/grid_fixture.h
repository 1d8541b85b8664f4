// A main database on a temporary data drive with a comparison table made row by row, and the
// grid window opened on it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "comparison/cnf02.h"
#include "platform/db/database.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::comparison::testing {

struct Article {
  QString ean;
  QString desart;
  std::array<double, 4> costo{};
  std::array<int, 4> colli{};
  QString sel = " ";
  QString umart = "CT";
  QString ivart = "4";
  std::array<double, 6> diff{};  // diff12, diff23, diff31, diff14, diff24, diff34
};

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Suppliers: the `fornitori` rows 1..4 are replaced by these names (empty: no row).
  void SetSuppliers(const std::array<QString, 4>& names);
  void Add(const Article& a);
  // n articles "ART 00001".. with EANs 8000000000001.., all four slots loaded.
  void AddMany(int n);

  cnf02* Open();
  // Grid row of an EAN, -1 when the grid does not show it.
  int RowOf(const QString& ean) const;
  // A column of the article's table row.
  Variant Column(const QString& ean, const QString& column) const;
  long long Count(const QString& where = {}) const;
  // Makes every update (or delete) of the row with that EAN fail inside the database.
  void BreakRow(const QString& ean, const QString& operation = "UPDATE");

  // Clicks a cell of the grid with the mouse.
  void ClickCell(int row, int col);
  void TypeKeys(const QString& keys);
  void PressKey(Qt::Key key);

  std::unique_ptr<TempDataRoot> root_;
  std::shared_ptr<db::Database> db_;
  std::unique_ptr<ScriptedMessages> boxes_;
  cnf02* w_ = nullptr;
};

}  // namespace vx::comparison::testing
