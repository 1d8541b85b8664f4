#include "terminals/cnfpv7.h"

#include "common/programs.h"
#include "common/shared_values.h"
#include "platform/ui/msgbox.h"
#include "terminals/pdt3100.h"

namespace vx::terminals {

cnfpv7::cnfpv7()
    : TerminalWindow("cnfpv7",
                     Pdt3100Settings(QStringLiteral("Conferma confronta PV-PDT3100 C"), 18, 31)) {}

void cnfpv7::Form_Load() {
  // The batch runs beside the window; the operator's OK is the only hand-over.
  common::StartProgram(Pdt3100Path(common::G().drive.str(), QStringLiteral("scarico.bat")));
  ui::MsgBox({QStringLiteral(" Premere OK per continuare"), QString(), ui::MsgIcon::None,
              ui::MsgButtons::Ok, ui::MsgAnswer::Ok});
}

}  // namespace vx::terminals
