// The VARU price list: sheet "1" of a workbook in C:\varu\ into C:\varu\dati.mdb. Articles
// are updated in place and new codes added (and, when asked, printed); missing groups are
// added; every offer is cleared first and re-read from the sheet; the public price is kept.
#pragma once

#include "pricelists/import_frame.h"

namespace vx::pricelists {

ImportResult ImportVaru(const ImportRequest& request, ImportDisplay* display);

// The printed line of a new code: "Nuovo Codice : " & the code as a printed number (a
// blank for the sign before it and one after it) & "  " & the description.
QString NewCodeLine(qint32 code, const QString& description);

}  // namespace vx::pricelists
