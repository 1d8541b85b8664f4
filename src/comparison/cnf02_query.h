// The comparison grid's record source: the grid query, its order and the WHERE clause
// joined from the window's four view conditions.
#pragma once

#include <QString>

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

}  // namespace vx::comparison
