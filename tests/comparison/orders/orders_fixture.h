// A data drive for the order tests: the upgraded main database, supplier databases made as
// shipped, and helpers that put comparison rows, catalogue rows and conversion rows in them
// and read the written orders back.
#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QProcess>
#include <memory>
#include <ostream>
#include <vector>

#include "common/shared_values.h"
#include "comparison/orders.h"
#include "platform/db/database.h"
#include "support/qt_print.h"
#include "support/temp_data_root.h"

namespace vx::comparison::testing {

// Answers the order questions as told and records every box.
class ScriptedPrompts : public OrderPrompts {
 public:
  bool newOrder = true;
  int asked = 0;
  QStringList missing;
  QStringList failures;  // supplier names

  bool AskNewOrder() override {
    ++asked;
    return newOrder;
  }
  void MissingDatabase(const QString& path) override { missing << path; }
  void OrderFailed(const QString& supplier, const QString&, const QString&) override {
    failures << supplier;
  }
};

struct Line {
  int bns = 0;
  Variant articoli, descrizione, prezzo, unitaM, imballo, quantita, iva, eanrig, colli, totrig,
      desfor, desgru;
};

struct Header {
  Variant anno, numero, dataor, cliente, dsccliente, codsede, dscsede, codlis, fl3ts;
};

// A row of the comparison table, described step by step:
// Row(Ean(1)).Cost(1, 2).Packages(1, 5).Type("F").Seq(3).
struct ComparisonRow {
  QString ean;
  std::vector<std::pair<int, double>> costs;  // slot, cost
  std::vector<std::pair<int, int>> packages;  // slot, packages
  int imballo = 12;
  QString iva = QStringLiteral("22");
  Variant tipoart = Variant(QStringLiteral("1"));
  Variant sequenza = Variant::null();
  QString sel = QStringLiteral("X");
  QString desart = QStringLiteral("ARTICOLO");

  ComparisonRow& Cost(int slot, double cost) {
    costs.emplace_back(slot, cost);
    return *this;
  }
  ComparisonRow& Packages(int slot, int n) {
    packages.emplace_back(slot, n);
    return *this;
  }
  ComparisonRow& Imb(int n) {
    imballo = n;
    return *this;
  }
  ComparisonRow& Iva(const QString& v) {
    iva = v;
    return *this;
  }
  ComparisonRow& Type(const Variant& v) {
    tipoart = v;
    return *this;
  }
  ComparisonRow& Seq(const Variant& v) {
    sequenza = v;
    return *this;
  }
  ComparisonRow& Sel(const QString& v) {
    sel = v;
    return *this;
  }
  ComparisonRow& Desc(const QString& v) {
    desart = v;
    return *this;
  }
};
inline ComparisonRow Row(const QString& ean) {
  ComparisonRow r;
  r.ean = ean;
  return r;
}

class OrdersTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The supplier of the slot in `fornitori`, with its dati.mdb at C:\<folder>\dati.mdb
  // made as shipped unless `makeDatabase` is false.
  std::shared_ptr<db::Database> AddSupplier(int slot, const QString& name, int split = 0,
                                            bool makeDatabase = true);
  QString SupplierPath(int slot) const;
  std::shared_ptr<db::Database> Supplier(int slot);

  // A catalogue article with one EAN.
  void AddArticle(int slot, qint64 codart, const QString& ean, const QString& desart);
  void AddCustomer(int slot, const Variant& code, const Variant& name, const Variant& list);
  void AddComparisonRow(const ComparisonRow& row);
  // A conversion row of `eanconv` for codfor and ean; the columns are named in `set`.
  void AddConversion(int codfor, const QString& ean,
                     const std::vector<std::pair<QString, Variant>>& set);
  // Order `numero` of the year with `lines` lines, as another run left it.
  void AddExistingOrder(int slot, int year, int numero, int lines);

  std::vector<Header> Headers(int slot);
  std::vector<Line> Lines(int slot, int year, int numero);
  Variant MainValue(const QString& sql);

  SlotOrderResult Write(int slot) { return WriteSlotOrder(slot, values_, prompts_); }

  // Another program writing slot 1's order on this data drive (answering Yes to a new
  // order), started but held until Release(); with `stop`, it is killed once the order is
  // written, before anything else runs.
  std::unique_ptr<QProcess> StartWriter(bool stop = false);
  // Lets the writers go once `count` of them are ready, so that they run at once.
  void Release(int count);

  std::unique_ptr<TempDataRoot> root_;
  common::SharedValues values_;
  ScriptedPrompts prompts_;
  std::shared_ptr<db::Database> main_;
  QDate today_ = QDate(2026, 3, 10);
};

// The EAN-13 text of a number, with leading zeros.
QString Ean(qint64 n);

}  // namespace vx::comparison::testing
