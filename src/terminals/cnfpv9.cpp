#include "terminals/cnfpv9.h"

#include "terminals/numbered_terminal.h"

namespace vx::terminals {

namespace {

TerminalSettings GeneralCode630Settings() {
  TerminalSettings s = NumberedTerminalSettings(
      QStringLiteral("Conferma confronta General Code 630 "), QStringLiteral(":\\archivio.txt"));
  s.parse = GeneralCode630Reading;
  return s;
}

}  // namespace

cnfpv9::cnfpv9() : TerminalWindow("cnfpv9", GeneralCode630Settings()) {}

}  // namespace vx::terminals
