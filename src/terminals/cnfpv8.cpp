#include "terminals/cnfpv8.h"

#include "terminals/numbered_terminal.h"

namespace vx::terminals {

namespace {

TerminalSettings Pdt6100Settings() {
  TerminalSettings s = NumberedTerminalSettings(QStringLiteral("Conferma confronta PV-PDT6100 "),
                                                QStringLiteral(":\\brunelvatto\\filedati.001"));
  // Only the first line holds readings; the others count for the progress step alone.
  s.readAll = [](const QStringList& lines) {
    return lines.isEmpty() ? std::vector<Reading>() : Pdt6100Readings(lines.first());
  };
  return s;
}

}  // namespace

cnfpv8::cnfpv8() : TerminalWindow("cnfpv8", Pdt6100Settings()) {}

}  // namespace vx::terminals
