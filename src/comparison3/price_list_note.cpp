#include "comparison3/price_list_note.h"

#include <exception>

#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/paths.h"

namespace vx::comparison3 {

std::optional<QString> PriceListNote(db::DataControl& testa, const QString& percorso) {
  // Only a file on the data drive is read (a stored path never leads off it).
  if (percorso.trimmed().isEmpty() || !fs::DriveHostPath(percorso) || !fs::Exists(percorso) ||
      fs::IsFolder(percorso)) {
    return std::nullopt;
  }
  testa.DatabaseName = percorso;
  testa.RecordSource = QStringLiteral("select * from listini where codlis= '01'");
  try {
    testa.Refresh();
    db::Recordset* rs = testa.recordset();
    if (!rs || rs->Eof()) return std::nullopt;
    // A field without a value adds nothing; the two blanks stay.
    return rs->Field("note").str() + QStringLiteral("  ") + rs->Field("datafine").str();
  } catch (const std::exception&) {
    // An unreadable file or one without the table: no note.
    return std::nullopt;
  }
}

}  // namespace vx::comparison3
