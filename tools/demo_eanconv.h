// Demo rows of the EAN conversion table for comparison slot 2, so that the table window
// lists something under "Fornitore 2" as well.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace vx::tools {

// Adds a few slot-2 rows for articles that suppliers 1 and 2 both list under the same EAN and
// that have no conversion row yet; one of them names, for supplier 1, an alternative EAN that
// no supplier lists. Returns a line on what it added.
QStringList FillDemoSlotConversions(const QString& mainDbHost,
                                    const std::vector<QString>& supplierDbHosts);

}  // namespace vx::tools
