#include "pricelists/importers.h"

#include "pricelists/varu_import.h"

namespace vx::pricelists {

ImportProcedure ImportProcedureFor(Supplier supplier, FileKind kind) {
  if (kind == FileKind::Listino && supplier == Supplier::Varu) return ImportVaru;
  return {};
}

}  // namespace vx::pricelists
