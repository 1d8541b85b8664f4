#include "comparison3/cnf02T_query.h"

namespace vx::comparison3 {

QString GridSelect3() {
  return QStringLiteral(
             "SELECT [Sel], [vedovo] as Ean, [desart] as Descrizione, [umart] as UM, "
             "[ivart] as Iva, [Imballo] , ") +
         QStringLiteral(" [quaco] As QtaConf, [umco] As UMConf, ") +
         QStringLiteral(" [Costo1], [Colli1], [Costo2], [Colli2] , [Costo3], [Colli3], ") +
         QStringLiteral(" [Diff12], [Diff23], [Diff31], [forn1], [forn2], [forn3] from articoli ");
}

QString InCommon3() {
  return QStringLiteral(
      " ([costo1] + [costo2] > 0 and [costo2] + [costo3] > 0 and [costo3] + [costo1] > 0) ");
}

QString Convenience3(int k) {
  switch (k) {
    case 1:
      return QStringLiteral(
          " ([costo1] > 0 and ([costo1] <= [costo2] or [costo2] = 0) and ([costo1] <= [costo3] "
          "or [costo3] = 0)) ");
    case 2:
      return QStringLiteral(
          " ([costo2] > 0 and ([costo2] <= [costo1] or [costo1] = 0) and ([costo2] <= [costo3] "
          "or [costo3] = 0)) ");
    default:
      return QStringLiteral(
          " ([costo3] > 0 and ([costo3] <= [costo2] or [costo2] = 0) and ([costo3] <= [costo1] "
          "or [costo1] = 0)) ");
  }
}

}  // namespace vx::comparison3
