// Whether a load of the comparison table `articoli` is under way: marked in the main database
// (table `caricamentoconfronto`, made when first needed) as a supplier load begins, and
// cleared when the differences pass that completes the load ends, or when the table is
// emptied. A load cut short (the program stopped midway) leaves the mark, so the next look
// at the comparison knows its rows are partial.
#pragma once

namespace vx::db {
class Database;
}

namespace vx::data {

void MarkLoadBegun(db::Database& main);
void MarkLoadEnded(db::Database& main);
bool LoadUnderWay(db::Database& main);

}  // namespace vx::data
