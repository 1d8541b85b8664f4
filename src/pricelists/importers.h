// The import procedures of the Excel import window, by supplier and kind of file.
#pragma once

#include <QString>
#include <functional>

#include "pricelists/import_frame.h"

namespace vx::pricelists {

enum class Supplier { Varu, Sda, Semvra, Rbm };
enum class FileKind { Listino, Promozioni };

// What the window keeps from one import to the next while it stays loaded.
struct OpeningMarks {
  // The SEMVRA and RBM catalogues already emptied in this opening (each set when the
  // import that emptied it commits).
  bool semvraEmptied = false;
  bool rbmEmptied = false;
  // The offer days the SEMVRA promotions last read (empty until then).
  QString offerFirst, offerLast;
};

// Runs one import to its end and returns what happened (no message shown).
using ImportProcedure =
    std::function<ImportResult(const ImportRequest&, ImportDisplay*, OpeningMarks&)>;

// The procedure for the supplier and kind; empty where there is none.
ImportProcedure ImportProcedureFor(Supplier supplier, FileKind kind);

}  // namespace vx::pricelists
