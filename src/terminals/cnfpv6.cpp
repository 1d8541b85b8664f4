#include "terminals/cnfpv6.h"

namespace vx::terminals {

namespace {

TerminalSettings Mc3000Settings() {
  TerminalSettings s;
  s.caption = QStringLiteral("Conferma confronta PV Allegro-Varu");
  s.source = [](const QString& drive) {
    return drive + QStringLiteral(":\\MC3000\\dati\\MC*.txt");
  };
  s.sourceIsPattern = true;
  s.parse = Mc3000Reading;
  s.rule = ChainImport();
  s.sourceAfterSuccess = SourceAfterSuccess::DeleteBeforeMessage;
  return s;
}

}  // namespace

cnfpv6::cnfpv6() : TerminalWindow("cnfpv6", Mc3000Settings()) {}

}  // namespace vx::terminals
