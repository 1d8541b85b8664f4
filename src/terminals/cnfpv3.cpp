#include "terminals/cnfpv3.h"

#include "terminals/pdt3100.h"

namespace vx::terminals {

namespace {

TerminalSettings PdmSettings() {
  TerminalSettings s = Pdt3100Settings(QStringLiteral("Conferma confronta PV 3"), 18, 31);
  s.source = [](const QString& drive) { return Pdt3100Path(drive, QStringLiteral("dati*")); };
  s.sourceIsPattern = true;
  s.rule = ThreeSlotImport(true);
  s.sourceAfterSuccess = SourceAfterSuccess::DeleteAfterMessage;
  return s;
}

}  // namespace

cnfpv3::cnfpv3() : TerminalWindow("cnfpv3", PdmSettings()) {}

}  // namespace vx::terminals
