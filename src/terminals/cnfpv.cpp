#include "terminals/cnfpv.h"

namespace vx::terminals {

namespace {

TerminalSettings DefaultTerminalSettings() {
  TerminalSettings s;
  s.caption = QStringLiteral("Conferma confronta PV ");
  s.source = [](const QString& drive) {
    return drive + QStringLiteral(":\\mvterminal\\ordini.txt");
  };
  s.parse = DefaultTerminalReading;
  s.rule = PairwiseImport();
  s.rule.reportNotFound = false;
  return s;
}

}  // namespace

cnfpv::cnfpv() : TerminalWindow("cnfpv", DefaultTerminalSettings()) {}

}  // namespace vx::terminals
