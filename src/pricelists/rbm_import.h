// The RBM price list: sheet "stampa listino 3" of a workbook in C:\rbm\ into
// C:\rbm\dati.mdb. The first RBM import of a window opening empties articles, EANs and
// groups; every import adds only the codes and EANs not there yet.
#pragma once

#include "pricelists/import_frame.h"
#include "pricelists/importers.h"

namespace vx::pricelists {

ImportResult ImportRbm(const ImportRequest& request, ImportDisplay* display, OpeningMarks& marks);

}  // namespace vx::pricelists
