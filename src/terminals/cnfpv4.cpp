#include "terminals/cnfpv4.h"

#include "common/programs.h"
#include "common/shared_values.h"
#include "platform/ui/msgbox.h"

namespace vx::terminals {

namespace {

QString CipherLabPath(const QString& drive, const QString& name) {
  return drive + QStringLiteral(":\\cipherlab\\") + name;
}

TerminalSettings CipherLabSettings() {
  TerminalSettings s;
  s.caption = QStringLiteral("Conferma confronta PV Cipherlab");
  s.source = [](const QString& drive) { return CipherLabPath(drive, QStringLiteral("dati.txt")); };
  s.parse = CipherLabReading;
  s.rule = ThreeSlotImport(true);
  s.sourceAfterSuccess = SourceAfterSuccess::DeleteAfterMessage;
  s.unloadOnFailedCheck = true;
  return s;
}

}  // namespace

cnfpv4::cnfpv4() : TerminalWindow("cnfpv4", CipherLabSettings()) {}

bool cnfpv4::BeforeRun() {
  common::StartProgram(CipherLabPath(common::G().drive.str(), QStringLiteral("IR_read.exe")));
  return ui::AskYesNo(QStringLiteral("Il file è stato scaricato, vuoi procedere ? ..."), QString(),
                      ui::MsgIcon::None);
}

void cnfpv4::AfterRun(const std::vector<Reading>& readings) {
  // The shared values keep the last line that held a reading.
  for (auto it = readings.rbegin(); it != readings.rend(); ++it) {
    if (it->kind != Reading::Kind::Ok) continue;
    common::SharedValues& g = common::G();
    g.codice_letto = it->code;
    g.quantita = float(it->quantity);
    g.ean_corrente = it->key;
    break;
  }
}

}  // namespace vx::terminals
