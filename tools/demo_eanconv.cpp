#include "demo_eanconv.h"

#include "ean13.h"
#include "platform/db/database.h"
#include "platform/variant.h"

namespace vx::tools {

QStringList FillDemoSlotConversions(const QString& mainDbHost,
                                    const std::vector<QString>& supplierDbHosts) {
  if (supplierDbHosts.size() < 2) return {};
  auto main = db::Database::Open(mainDbHost);
  auto first = db::Database::Open(supplierDbHosts[0]);
  auto second = db::Database::Open(supplierDbHosts[1]);
  // Supplier 2's articles from the highest EAN down, in-house codes left out.
  auto candidates = second->Prepare(QStringLiteral(
      "select eanare, desart from codean, articolo where codare = codart and eanare not like "
      "'000000*' and eanare not like '000002*' order by eanare desc"));
  auto listedByFirst =
      first->Prepare(QStringLiteral("select count(*) from codean where eanare = ?"));
  auto hasRow = main->Prepare(QStringLiteral("select count(*) from eanconv where ean = ?"));
  auto count = [](db::Statement& st, const QString& ean) {
    st.Reset();
    st.Bind(1, ean);
    const qint64 n = st.Step() ? st.Column(0).toLong() : 0;
    st.Reset();
    return n;
  };

  struct Row {
    QString ean, desart;
  };
  std::vector<Row> rows;
  while (rows.size() < 4 && candidates.Step()) {
    const QString ean = candidates.Column(0).str();
    if (count(listedByFirst, ean) == 1 && count(hasRow, ean) == 0) {
      rows.push_back({ean, candidates.Column(1).str()});
    }
  }
  candidates.Reset();

  db::Transaction tx(*main);
  const QString unlisted = Ean13(QStringLiteral("899999999999"));
  for (size_t i = 0; i < rows.size(); ++i) {
    // The last row's supplier-1 EAN is one that no supplier lists.
    const QString alternative = i + 1 == rows.size() ? unlisted : rows[i].ean;
    main->Execute(QStringLiteral("insert into eanconv (codfor, ean, desart, fatconv, azione, "
                                 "eanalternativo) values (?,?,?,?,?,?)"),
                  {2, rows[i].ean, rows[i].desart, 1, "M", alternative});
  }
  tx.Commit();
  return {QStringLiteral("  tabella EAN: %1 righe del fornitore 2").arg(rows.size())};
}

}  // namespace vx::tools
