#include "terminals/cnfpv2.h"

#include "terminals/pdt3100.h"

namespace vx::terminals {

cnfpv2::cnfpv2()
    : TerminalWindow("cnfpv2", Pdt3100Settings(QStringLiteral("Conferma confronta PV "), 20, 33)) {}

}  // namespace vx::terminals
