// The import procedures of the Excel import window, by supplier and kind of file.
#pragma once

#include <functional>

#include "pricelists/import_frame.h"

namespace vx::pricelists {

enum class Supplier { Varu, Sda, Semvra, Rbm };
enum class FileKind { Listino, Promozioni };

// Runs one import to its end and returns what happened (no message shown).
using ImportProcedure = std::function<ImportResult(const ImportRequest&, ImportDisplay*)>;

// The procedure for the supplier and kind; empty where there is none.
ImportProcedure ImportProcedureFor(Supplier supplier, FileKind kind);

}  // namespace vx::pricelists
