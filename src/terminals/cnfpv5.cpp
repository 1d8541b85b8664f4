#include "terminals/cnfpv5.h"

#include "common/shared_values.h"
#include "platform/db/recordset.h"
#include "platform/ui/msgbox.h"

namespace vx::terminals {

namespace {

TerminalSettings WifiSettings() {
  TerminalSettings s;
  s.caption = QStringLiteral("Conferma confronta PV WI-FI");
  TableSource t;
  t.control = "brunef";
  // Drive C whatever the data drive: the Wi-Fi terminal's software keeps it there.
  t.database = QStringLiteral("C:\\brunelvatto\\dati.mdb");
  t.table = QStringLiteral("ordine");
  t.recordSource = QStringLiteral("select * from ordine ");
  t.read = [](const db::Recordset& row) {
    return WifiReading(row.Field(QStringLiteral("eanrig")), row.Field(QStringLiteral("colli")));
  };
  s.table = t;
  s.rule = ThreeSlotImport(true);
  s.unloadOnFailedCheck = true;
  return s;
}

}  // namespace

cnfpv5::cnfpv5() : TerminalWindow("cnfpv5", WifiSettings()) { brunef = SourceControl; }

bool cnfpv5::BeforeRun() {
  return ui::AskYesNo(QStringLiteral("Vuoi procedere ? ..."), QString(), ui::MsgIcon::None);
}

void cnfpv5::AfterRun(const std::vector<Reading>& readings) {
  // The shared values keep the last row's code and quantity.
  if (readings.empty()) return;
  common::G().ean_corrente = readings.back().key;
  common::G().quantita = float(readings.back().quantity);
}

}  // namespace vx::terminals
