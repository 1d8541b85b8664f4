// A data drive for the comparison loaders' tests (four and three suppliers): the shipped and
// upgraded main database, supplier catalogues made article by article, a recording progress
// sink and a fixed today.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "common/progress.h"
#include "platform/db/database.h"
#include "platform/variant.h"

namespace vx::comparison::testing {

// Records what the procedures report, and checks that they never report work after End.
class RecordingSink : public common::ProgressSink {
 public:
  void Status(const QString& message) override { lines << message; }
  void Begin(int max) override {
    maximum = max;
    value = 0;
    busy = true;
    ++begins;
  }
  void Step() override {
    EXPECT_TRUE(busy) << "a step outside Begin/End";
    if (value + 1 <= maximum) ++value;
  }
  void End() override {
    busy = false;
    ++ends;
  }
  void Yield() override { ++yields; }

  QStringList lines;
  int maximum = -1;
  int value = 0;
  bool busy = false;
  int begins = 0, ends = 0, yields = 0;
};

struct ArticleSpec {
  qint64 codart = 0;
  QString desart = QStringLiteral("ARTICOLO");
  double przart = 0;
  Variant przoff = 0;
  Variant data1 = Variant::null();
  Variant data2 = Variant::null();
  QString tipart = QStringLiteral("F");
  QString umart = QStringLiteral("CT");
  int imbart = 6;
  Variant ivart = QStringLiteral("22");
};

class LoaderFixture : public ::testing::Test {
 protected:
  static QDate Day() { return QDate(2026, 3, 15); }

  void SetUp() override;
  void TearDown() override;

  // A supplier database C:\<folder>\dati.mdb and its `fornitori` row; returns its path.
  QString AddSupplier(int codice, const QString& descr, const QString& folder, double perce = 0);
  // A `fornitori` row whose database does not exist.
  void AddSupplierRow(int codice, const QString& descr, const QString& percorso, double perce = 0);
  std::shared_ptr<db::Database> Supplier(const QString& percorso);
  void AddArticle(const QString& percorso, const ArticleSpec& a);
  void AddEan(const QString& percorso, const Variant& codare, const QString& eanare);
  // An article with one EAN.
  void AddPriced(const QString& percorso, qint64 codart, const QString& ean, double price,
                 const QString& desart = QStringLiteral("ARTICOLO"));
  // An `eanconv` row: alternatives[j-1] / factors / actions for suppliers 1 to 4.
  void AddConversion(int codfor, const QString& ean, const std::vector<Variant>& alternatives,
                     const std::vector<Variant>& factors, const std::vector<Variant>& actions);

  // One column of the comparison row of an EAN (Empty when the row is missing).
  // The first column of the first row of a query on the main database (Empty when no row),
  // with `key` bound to its ? when given.
  Variant Scalar(const QString& sql, const Variant& key = Variant());
  Variant Cell(const QString& ean, const QString& column);
  bool HasRow(const QString& ean);
  // The slot's columns of the row were never written: no supplier code, and the cost the
  // shipped table gives a new row (empty, or 0 where the column defaults to it).
  bool SlotUntouched(const QString& ean, int slot);
  int RowCount();

  QTemporaryDir dir_;
  QString mainPath_;
  std::shared_ptr<db::Database> main_;
};

}  // namespace vx::comparison::testing
