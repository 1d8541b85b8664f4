#include "comparison/cnf02_query.h"

#include "platform/db/database.h"

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

QString ViewMarked() { return QStringLiteral("sel = 'X' "); }

QString ViewPromo() {
  return QStringLiteral("(promo1 = 'P' or promo2 = 'P' or Promo3 = 'P' or promo4 = 'P')");
}

QString DescriptionSearch(const QString& text) {
  return QStringLiteral(" [desart] like '*") + db::LikeWildcardLiteral(text) + QStringLiteral("*'");
}

QString EanSearch(const QString& text) {
  return QStringLiteral(" [vedovo] like '*") + db::LikeWildcardLiteral(text) + QStringLiteral("*'");
}

QString PageWindow(qint32 x) {
  return QStringLiteral(" [ns] >= %1  and ns <= %2 ").arg(x + 1).arg(x + 500);
}

QString InCommon(const std::array<bool, 4>& named) {
  QString terms;
  for (int n = 1; n <= 4; ++n) {
    if (!named[n - 1]) continue;
    if (terms.isEmpty()) {
      terms = QStringLiteral("[costo%1] > 0").arg(n);
    } else {
      terms += n == 4 ? QStringLiteral(" and [costo4] > 0")
                      : QStringLiteral(" and  [costo%1] > 0").arg(n);
    }
  }
  if (terms.isEmpty()) return QString();
  return QStringLiteral(" (") + terms + QStringLiteral(") ");
}

QString Convenience(int k, const std::array<bool, 4>& named) {
  QString cond = QStringLiteral(" ([costo%1] <> 0 ").arg(k);
  for (int m = 1; m <= 4; ++m) {
    if (m != k && named[m - 1]) cond += QStringLiteral(" and [costo%1] <= [costo%2]").arg(k).arg(m);
  }
  return cond + QStringLiteral(" ) ");
}

QString ConvenienceCleared() { return QStringLiteral(" "); }

namespace {

constexpr qint32 kPageRows = 500;

}  // namespace

PageStep PageForward(qint16 pagina, bool flagAvanti, qint32 nrec) {
  PageStep s;
  s.flagAvanti = flagAvanti;
  if (nrec > kPageRows && pagina <= 0) pagina = 1;
  const qint32 x = pagina <= 0 ? 0 : kPageRows * qint32(pagina);
  s.pagina = qint16(pagina + 1);
  // The window that holds the last row has been reached.
  if (x <= nrec && nrec <= x + kPageRows) s.pic1Enabled = false;
  if (s.pagina >= 2) {
    s.condRicerca = PageWindow(x);
    s.flagAvanti = true;
  }
  s.pic2Enabled = true;
  return s;
}

PageStep PageBack(qint16 pagina, bool flagAvanti, qint32 nrec) {
  PageStep s;
  s.flagAvanti = flagAvanti;
  if (pagina < 0) pagina = 0;
  if (pagina > 0) {
    if (!s.flagAvanti) {
      pagina = qint16(pagina - 1);
    } else {
      pagina = qint16(pagina - 2);
      s.flagAvanti = false;
    }
  }
  s.pagina = pagina;
  const qint32 x = pagina >= 1 ? kPageRows * qint32(pagina) : 0;
  if (nrec > kPageRows) s.pic1Enabled = true;
  if (pagina >= 0) s.condRicerca = PageWindow(x);
  if (pagina < 1) s.pic2Enabled = false;
  return s;
}

}  // namespace vx::comparison
