#include "comparison/cnf02_query.h"

namespace vx::comparison {

QString GridSelect() {
  return QStringLiteral(
             "SELECT [Sel], [vedovo] as Ean, [desart] as Descrizione, [umart] as UM, "
             "[ivart] as Iva, [Imballo] as Imb , ") +
         QStringLiteral(" [quaco] As QtaConf, [umco] As UMConf, ") +
         QStringLiteral(
             " [Costo1],[promo1] as P1, [Colli1], [Costo2],[promo2] as P2 ,[Colli2] , "
             "[Costo3],[promo3] as P3, [Colli3],[Costo4],[promo4] as P4, [Colli4], ") +
         QStringLiteral(
             " [Diff12] as D12, [Diff23] as D23, [Diff31] as D13,[Diff14] as D14, "
             "[Diff24] as D24,[Diff34] as D34,[forn1], [forn2], [forn3],[forn4],[tipoart],"
             "[ns] from articoli ");
}

QString OrderByDescription() { return QStringLiteral(" ORDER BY [desart]"); }
QString OrderByEan() { return QStringLiteral(" ORDER BY [vedovo]"); }

QString ComposeWhere(const QString& condVista, const QString& condRicerca,
                     const QString& condSelezione, const QString& condConvenienza) {
  QString where;
  for (const QString* cond : {&condVista, &condRicerca, &condSelezione, &condConvenienza}) {
    if (cond->trimmed().isEmpty()) continue;
    where += where.trimmed().isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
    where += *cond;
  }
  return where;
}

}  // namespace vx::comparison
