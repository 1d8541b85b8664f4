// The three-supplier grid on a temporary data drive: the upgraded main database, supplier
// databases made as shipped, comparison rows put in one by one, and the window driven through
// its named controls with the message boxes answered from a script.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <memory>

#include "comparison3/cnf02T.h"
#include "platform/db/database.h"
#include "platform/variant.h"
#include "support/qt_print.h"
#include "support/scripted_messages.h"
#include "support/temp_data_root.h"

namespace vx::comparison3::testing {

struct Row3 {
  QString ean;
  QString desart = QStringLiteral("ARTICOLO");
  std::array<Variant, 3> costo{Variant(0.0), Variant(0.0), Variant(0.0)};
  std::array<Variant, 3> colli{Variant(0), Variant(0), Variant(0)};
  QString sel = QStringLiteral(" ");
  QString umart = QStringLiteral("CT");
  int imballo = 12;
  std::array<Variant, 3> diff{Variant(0.0), Variant(0.0), Variant(0.0)};
};

// The EAN-13 text of a number.
QString Ean(qint64 n);

class Grid3Test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The supplier of a slot in `fornitori` with its database C:\forn<slot>\dati.mdb.
  std::shared_ptr<db::Database> AddSupplier(int slot, const QString& name);
  std::shared_ptr<db::Database> Supplier(int slot);
  void Add(const Row3& row);
  // n rows "ART 00001".. with costs in all three slots.
  void AddMany(int n);

  cnf02T* Open();
  int RowOf(const QString& ean) const;
  Variant Column(const QString& ean, const QString& column) const;
  long long Count(const QString& where = {}) const;
  // Makes every UPDATE (or DELETE) of the row with that EAN fail inside the database.
  void BreakRow(const QString& ean, const QString& operation = QStringLiteral("UPDATE"));
  void ClickCell(int row, int col);
  void TypeKeys(const QString& keys);
  void PressKey(Qt::Key key);
  // Types into a box (emptied first unless the text is empty) and presses Enter.
  void Search(ui::TextBox* box, const QString& text);

  std::unique_ptr<TempDataRoot> root_;
  std::shared_ptr<db::Database> main_;
  std::unique_ptr<ScriptedMessages> boxes_;
  cnf02T* w_ = nullptr;
};

}  // namespace vx::comparison3::testing
