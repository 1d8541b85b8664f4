// The note of a supplier's price list as the three-supplier windows show it: `note`, two
// blanks and `datafine` of the row '01' of the supplier's `listini`.
#pragma once

#include <QString>
#include <optional>

namespace vx::db {
class DataControl;
}

namespace vx::comparison3 {

// Points `testa` at the supplier's file with "select * from listini where codlis= '01'"
// and reads its first row. Nothing when the path is empty, off the data drive or names no
// file, when the file cannot be read or has no `listini` table, or when the row '01' is
// missing.
std::optional<QString> PriceListNote(db::DataControl& testa, const QString& percorso);

}  // namespace vx::comparison3
