#include "terminals/terminal_window.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "common/shared_values.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/twips.h"

namespace vx::terminals {

namespace {

const QString kNoDatabase = QStringLiteral(" Attenzione !! Data Base confronta prezzi non esiste ");
const QString kNoFile = QStringLiteral(" Attenzione !! File terminalino non esiste ");
const QString kDone = QStringLiteral(" Elaborazione terminata con successo ");

QString FolderOf(const QString& windowsPath) {
  return windowsPath.left(windowsPath.lastIndexOf(QLatin1Char('\\')) + 1);
}

}  // namespace

ImportRule ThreeSlotImport(bool slot2Fallback) {
  ImportRule rule;
  rule.slotCount = 3;
  rule.slotRule = [slot2Fallback](const std::array<double, 4>& c, const std::array<Variant, 4>&,
                                  double q) {
    return ThreeSlotRule({c[0], c[1], c[2]}, q, slot2Fallback);
  };
  return rule;
}

TerminalWindow::TerminalWindow(const char* name, TerminalSettings settings)
    : settings_(std::move(settings)) {
  setObjectName(QString::fromLatin1(name));
  SetCaption(settings_.caption);
  resize(ui::TwipsToPixels(3915), ui::TwipsToPixels(3660));
  Label11 = ui::MakeControl<QLabel>(
      this, "Label11", 240, 120, 3375, 735,
      QStringLiteral(
          "Cliccare su OK per confermare il trasferimento nel DB  confronto PV fornitori"));
  Label11->setWordWrap(true);
  ProgressBar1 = ui::MakeControl<ui::ProgressBar>(this, "ProgressBar1", 120, 1080, 3735, 375);
  ProgressBar1->SetMin(0);
  ProgressBar1->SetMax(1200);
  ProgressBar1->SetVisible(false);
  Command1 = ui::MakeControl<QPushButton>(this, "Command1", 120, 1560, 3735, 975,
                                          QStringLiteral("Conferma"));
  Command1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  Annulla = ui::MakeControl<QPushButton>(this, "Annulla", 120, 2640, 3735, 975);
  Annulla->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Annulla, &QPushButton::clicked, this, [this] { Annulla_Click(); });
}

QString TerminalWindow::ResolveSource() const {
  const QString source = common::G().file_terminale;
  if (!settings_.sourceIsPattern) return fs::Exists(source) ? source : QString();
  const QString folder = FolderOf(source);
  const QStringList found = fs::ListFolder(folder, source.mid(folder.size()));
  return found.isEmpty() ? QString() : folder + found.first();
}

void TerminalWindow::StopRun() {
  ProgressBar1->SetVisible(false);
  Command1->setVisible(true);
  if (settings_.unloadOnFailedCheck) Unload();
}

void TerminalWindow::importa_quantita_terminale() {
  common::SharedValues& g = common::G();
  if (!BeforeRun()) {  // step 1 of the windows whose pre-step belongs to the click
    Unload();
    return;
  }
  g.file_terminale = settings_.source(g.drive.str());
  if (!fs::Exists(g.percorso_db) || fs::IsFolder(g.percorso_db)) {
    ui::MsgCritical(kNoDatabase);
    return StopRun();
  }
  const QString file = ResolveSource();
  if (file.isEmpty() || fs::IsFolder(file)) {
    ui::MsgCritical(kNoFile);
    return StopRun();
  }
  g.file_terminale = file;
  const std::optional<QStringList> lines = fs::ReadTextLines(file);
  if (!lines) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Impossibile leggere il file ") + file);
    return StopRun();
  }

  ProgressBar1->SetValue(0);
  ProgressBar1->SetVisible(true);
  Command1->setVisible(false);
  std::vector<Reading> readings;
  readings.reserve(size_t(lines->size()));
  for (const QString& line : *lines) readings.push_back(settings_.parse(line));

  ImportOutcome outcome;
  try {
    auto main = db::Database::Open(g.percorso_db);
    outcome = ApplyReadings(*main, readings, qint32(lines->size()), settings_.rule,
                            [this](qint16 value) { ProgressBar1->SetValue(value); });
  } catch (const ImportRefused& e) {
    ui::MsgCritical(e.message());
    return StopRun();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Importazione non eseguita, nessuna quantità "
                                   "registrata: ") +
                    e.message());
    return StopRun();
  }

  ui::MsgInformation(kDone);
  if (settings_.deleteSourceAfterSuccess && fs::Exists(file)) fs::DeleteFile(file);
  AfterRun(readings);
  Unload();
  const QString printError = PrintReport(outcome.report, settings_.reportFontSize);
  if (!printError.isEmpty()) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Stampa non riuscita: ") + printError);
  }
}

}  // namespace vx::terminals
