// The comparison grid's record source: the grid query, its order and the WHERE clause
// joined from the window's four view conditions.
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace vx::comparison {

// The grid query; the comparison table keeps its EAN in the column [vedovo].
QString GridSelect();
// The order of the first view and of the page and description views.
QString OrderByDescription();
// The order after a search by EAN.
QString OrderByEan();

// Joins the conditions that are present (not empty, not only blanks), in this order, into
// " WHERE " c1 " AND " c2 ...; empty when none is present.
QString ComposeWhere(const QString& condVista, const QString& condRicerca,
                     const QString& condSelezione, const QString& condConvenienza);

// The condition texts of the window's controls. `named` holds whether slots 1..4 are named.

// "Vedi selezionati" and the printed list: the marked rows.
QString ViewMarked();
// "Vedi Promo": the rows with a promotion price in some slot, as one parenthesised whole.
QString ViewPromo();
// Searches on the description and on the EAN (the text as typed, trimmed by the caller
// where the window trims it). "*" and "?" stay wildcards; a quote and every other character
// match themselves.
QString DescriptionSearch(const QString& text);
QString EanSearch(const QString& text);
// The page window of the running numbers x + 1 .. x + 500.
QString PageWindow(qint32 x);
// "In comune": every named slot has a cost above 0; empty when no slot is named (no
// condition rather than empty parentheses, which the database refuses).
QString InCommon(const std::array<bool, 4>& named);
// "Convenienti Fornitore K": K's cost is not 0 and no named slot's cost is lower. K itself
// need not be named.
QString Convenience(int k, const std::array<bool, 4>& named);
// The convenience condition once "Per convenienza" is cleared: one blank, absent.
QString ConvenienceCleared();

// One step of "Pagina avanti" / "Pagina indietro" on the page counter, the forward flag and
// the row count of the first view: the new values, the search condition it leaves (a page
// window or empty) and the paging buttons it switches (nullopt: left as they are).
struct PageStep {
  qint16 pagina = 0;
  bool flagAvanti = false;
  QString condRicerca;
  std::optional<bool> pic1Enabled;
  std::optional<bool> pic2Enabled;
};
PageStep PageForward(qint16 pagina, bool flagAvanti, qint32 nrec);
PageStep PageBack(qint16 pagina, bool flagAvanti, qint32 nrec);

}  // namespace vx::comparison
