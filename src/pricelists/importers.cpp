#include "pricelists/importers.h"

#include "pricelists/rbm_import.h"
#include "pricelists/sda_import.h"
#include "pricelists/semvra_import.h"
#include "pricelists/varu_import.h"

namespace vx::pricelists {

ImportProcedure ImportProcedureFor(Supplier supplier, FileKind kind) {
  if (kind == FileKind::Listino) {
    switch (supplier) {
      case Supplier::Varu:
        return [](const ImportRequest& r, ImportDisplay* d, OpeningMarks&) {
          return ImportVaru(r, d);
        };
      case Supplier::Sda:
        return
            [](const ImportRequest& r, ImportDisplay* d, OpeningMarks&) { return ImportSda(r, d); };
      case Supplier::Semvra:
        return ImportSemvra;
      case Supplier::Rbm:
        return ImportRbm;
    }
  }
  if (supplier == Supplier::Semvra) return ImportSemvraPromotions;
  return {};
}

}  // namespace vx::pricelists
