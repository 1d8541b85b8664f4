#include "comparison3/orders3.h"

#include "comparison/order_values.h"

namespace vx::comparison3 {

using comparison::ArticleRow;
using comparison::FormatOrderValue;
using comparison::FormattedNumber;
using comparison::NumberOf;
using comparison::TextOf;

namespace {

std::vector<ArticleRow> ReadRows(db::Database& main, int slot) {
  auto st = main.Prepare(QStringLiteral("select [vedovo], [imballo], [ivart], [costo%1], "
                                        "[colli%1], [umart], [desart] from articoli "
                                        "where colli%1 > 0 and not isnull(colli%1)")
                             .arg(slot));
  std::vector<ArticleRow> rows;
  while (st.Step()) {
    rows.push_back({st.Column(0), st.Column(1), st.Column(2), st.Column(3), st.Column(4),
                    Variant::null(), st.Column(5), st.Column(6)});
  }
  st.Reset();
  return rows;
}

class Lines3 : public comparison::OrderLineWriter {
 public:
  Lines3(db::Database& main, db::Database& sup)
      : codean_(sup.Prepare(QStringLiteral("select codare from codean where eanare = ?"))),
        articolo_(sup.Prepare(QStringLiteral("select codart from articolo where codart = ?"))),
        store_(main.Prepare(QStringLiteral(
            "select cobart from listi01 inner join codean on listi01.codart = codean.codare "
            "where codean.eanare = ? order by listi01.codart"))),
        insert_(sup) {}

  void Write(qint16 year, qint32 numero, int bns, const ArticleRow& row,
             common::SharedValues& /*values*/) override {
    const QString ean = TextOf(row.ean);
    comparison::MovementLine line;
    line.article = Variant(0);
    if (const Variant code = CatalogueCode(ean); !code.isNull()) {
      line.article = code;
      line.price = FormatOrderValue(NumberOf(row.cost));
    } else {
      line.price = FormatOrderValue(StoreCost(ean));
    }
    line.description = TextOf(row.description).left(30);
    line.unit = TextOf(row.um);
    line.imb = row.imb;
    line.quantita = FormatOrderValue(NumberOf(row.packages));
    line.iva = row.iva;
    line.ean = ean;
    line.pieces = NumberOf(row.imb) * line.quantita.number;
    insert_.Insert(year, numero, bns, line);
  }

 private:
  // `codare` of the EAN's first `codean` row when `articolo` holds it; Null otherwise (a Null
  // `codare` is no article).
  Variant CatalogueCode(const QString& ean) {
    codean_.Reset().Bind(1, Variant(ean));
    const Variant code = codean_.Step() ? codean_.Column(0) : Variant::null();
    codean_.Reset();
    if (comparison::IsAbsent(code)) return Variant::null();
    articolo_.Reset().Bind(1, code);
    const bool found = articolo_.Step();
    articolo_.Reset();
    return found ? comparison::NumberVariant(NumberOf(code)) : Variant::null();
  }

  // The store's cost of the EAN's article with the lowest code; 0 without one.
  double StoreCost(const QString& ean) {
    store_.Reset().Bind(1, Variant(ean));
    const double cost = store_.Step() ? NumberOf(store_.Column(0)) : 0;
    store_.Reset();
    return cost;
  }

  db::Statement codean_, articolo_, store_;
  comparison::MovementInsert insert_;
};

}  // namespace

comparison::OrderPolicy ThreeSupplierOrders() {
  comparison::OrderPolicy p;
  p.rows = ReadRows;
  p.split = false;
  p.lines = [](db::Database& main, db::Database& sup, int /*slot*/) {
    return std::unique_ptr<comparison::OrderLineWriter>(new Lines3(main, sup));
  };
  return p;
}

comparison::PackageRows ThreeSupplierPackageRows() {
  comparison::PackageRows rows;
  rows.where = QStringLiteral("colli1 + colli2 + colli3 > 0");
  rows.slotCount = 3;
  return rows;
}

}  // namespace vx::comparison3
