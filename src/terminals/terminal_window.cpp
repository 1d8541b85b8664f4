#include "terminals/terminal_window.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "common/shared_values.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
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
const QString kNoReadings = QStringLiteral("non contiene letture del terminalino");

QString FolderOf(const QString& windowsPath) {
  return windowsPath.left(windowsPath.lastIndexOf(QLatin1Char('\\')) + 1);
}

// A download that is not read, for the reason given: nothing is written and it stays.
QString KeptFile(const QString& file, const QString& reason) {
  return QStringLiteral(
             "ATTENZIONE!!! Il file %1 %2: nessuna quantità registrata, il file resta sul disco.")
      .arg(file, reason);
}

// A download that holds no reading of its terminal.
QString NotTerminalFile(const QString& file) { return KeptFile(file, kNoReadings); }

// "1 lettura <one>, elencata" or "N letture <many>, elencate".
QString ListedReadings(int n, const QString& one, const QString& many) {
  return n == 1 ? QStringLiteral("1 lettura %1, elencata").arg(one)
                : QStringLiteral("%1 letture %2, elencate").arg(n).arg(many);
}

// A download with readings that cannot be registered: none of its readings is written, so
// that it can be mended and read again, and it stays.
QString UnregisteredFile(int unread, const QString& file) {
  const QString count = ListedReadings(unread, QStringLiteral("non registrabile"),
                                       QStringLiteral("non registrabili"));
  return QStringLiteral(
             "ATTENZIONE!!! Il file %1 contiene %2 nella stampa con il numero della riga: "
             "nessuna quantità registrata, il file resta sul disco.")
      .arg(file, count);
}

// The closing message of a run that left readings unregistered in its source.
QString UnreadMessage(int unread, const QString& source) {
  const QString count =
      ListedReadings(unread, QStringLiteral("non registrata"), QStringLiteral("non registrate"));
  return QStringLiteral(
             "ATTENZIONE!!! Elaborazione terminata: %1 nella stampa con il numero "
             "della riga; %2.")
      .arg(count, source);
}

// Deletes the source file when `now` is the moment the rule names.
void DeleteSourceFile(SourceAfterSuccess rule, SourceAfterSuccess now, const QString& file) {
  if (rule == now && fs::Exists(file)) fs::DeleteFile(file);
}

}  // namespace

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
  Annulla->setToolTip(QStringLiteral("Annulla"));  // the button shows no caption
  if (settings_.table) {
    SourceControl = new db::DataControl(this);
    SourceControl->setObjectName(QString::fromLatin1(settings_.table->control));
  }
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

QString TerminalWindow::ReadTable(std::vector<Reading>& readings, std::vector<long>& positions) {
  const TableSource& t = *settings_.table;
  try {
    // The data-drive rule: a path that leads out of the data root, links included, is
    // refused before anything is read.
    auto database = db::Database::OpenOnDrive(t.database);
    if (!database->HasTable(t.table)) return kNoFile;
    SourceControl->OnDataDrive = true;
    SourceControl->DatabaseName = t.database;
    SourceControl->RecordSource = t.recordSource;
    SourceControl->Refresh();
    db::Recordset& rs = *SourceControl->recordset();
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
      readings.push_back(t.read(rs));
      readings.back().line = int(readings.size());
      positions.push_back(rs.AbsolutePosition());
    }
    rs.MoveFirst();
  } catch (const db::DbError& e) {
    if (e.kind() == db::DbErrorKind::OffDrive) return db::CannotOpenText(t.database, e);
    // A database that is there but cannot be read (in use, damaged) says why.
    if (e.kind() == db::DbErrorKind::Missing) return kNoFile;
    return QStringLiteral("ATTENZIONE!!! Impossibile leggere il database del terminalino: ") +
           e.message();
  }
  return {};
}

void TerminalWindow::importa_quantita_terminale() {
  common::SharedValues& g = common::G();
  if (!BeforeRun()) {  // step 1 of the windows whose pre-step belongs to the click
    Unload();
    return;
  }
  if (!settings_.table) g.file_terminale = settings_.source(g.drive.str());
  if (!fs::Exists(g.percorso_db) || fs::IsFolder(g.percorso_db)) {
    ui::MsgCritical(kNoDatabase);
    return StopRun();
  }

  std::vector<Reading> readings;
  std::vector<long> positions;  // of a table source's rows in SourceControl's record set
  qint32 lineCount = 0;
  QString file;
  if (settings_.table) {
    if (const QString failure = ReadTable(readings, positions); !failure.isEmpty()) {
      ui::MsgCritical(failure);
      return StopRun();
    }
    lineCount = qint32(readings.size());
  } else {
    file = ResolveSource();
    if (file.isEmpty() || fs::IsFolder(file)) {
      ui::MsgCritical(kNoFile);
      return StopRun();
    }
    g.file_terminale = file;
    // A download that is no regular file of a download's size, can't be read, is no text of
    // its terminal or is damaged is named and stays.
    QString why;
    const std::optional<QByteArray> bytes = fs::ReadFileBytes(file, fs::kMaxDownloadBytes, &why);
    const std::optional<QStringList> lines =
        bytes ? std::optional(fs::TextLines(*bytes)) : std::nullopt;
    if (lines && !IsTerminalText(*lines)) {
      why = kNoReadings;
    } else if (bytes) {
      why = fs::DamagedTextReason(*bytes);
    }
    if (!why.isEmpty()) {
      ui::MsgCritical(KeptFile(file, why));
      return StopRun();
    }
    lineCount = qint32(lines->size());
    if (settings_.readAll) {
      readings = settings_.readAll(*lines);
    } else {
      readings.reserve(size_t(lines->size()));
      for (const QString& line : *lines) {
        Reading r = settings_.parse(line);
        r.line = int(readings.size()) + 1;
        r.text = line;
        readings.push_back(r);
      }
    }
  }

  ProgressBar1->SetValue(0);
  ProgressBar1->SetVisible(true);
  Command1->setVisible(false);

  ImportOutcome outcome;
  try {
    auto main = db::Database::Open(g.percorso_db);
    std::optional<SourceConsumer> consumer;
    if (settings_.table) {
      // Each row handled is deleted where the walk finds it (a row gone meanwhile is passed);
      // the rows deleted before it moved it up by as many places.
      db::Recordset* rs = SourceControl->recordset();
      consumer = SourceConsumer{SourceControl->database().get(),
                                [rs, &positions, deleted = 0L](size_t i) mutable {
                                  const long at = positions[i] - deleted;
                                  while (!rs->Eof() && rs->AbsolutePosition() < at) rs->MoveNext();
                                  if (!rs->Eof() && rs->AbsolutePosition() == at) {
                                    rs->Delete();
                                    ++deleted;
                                  }
                                }};
    }
    outcome = ApplyReadings(
        *main, readings, lineCount, settings_.rule,
        [this](qint16 value) { ProgressBar1->SetValue(value); }, consumer ? &*consumer : nullptr);
  } catch (const ImportRefused& e) {
    ui::MsgCritical(e.message());
    return StopRun();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Importazione non eseguita, nessuna quantità "
                                   "registrata: ") +
                    e.message());
    return StopRun();
  }
  const auto printReport = [&] {
    const QString printError = PrintReport(outcome.report, settings_.reportFontSize);
    if (!printError.isEmpty()) {
      ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Stampa non riuscita: ") + printError);
    }
  };
  if (outcome.nothingWritten && !settings_.table) {
    ui::MsgCritical(outcome.noReading ? NotTerminalFile(file)
                                      : UnregisteredFile(outcome.unread, file));
    printReport();
    return StopRun();
  }

  // A source whose readings were not all registered stays where it is.
  const SourceAfterSuccess deletion =
      outcome.unread > 0 ? SourceAfterSuccess::Keep : settings_.sourceAfterSuccess;
  DeleteSourceFile(deletion, SourceAfterSuccess::DeleteBeforeMessage, file);
  if (outcome.unread == 0) {
    ui::MsgInformation(kDone);
  } else {
    ui::MsgExclamation(UnreadMessage(
        outcome.unread,
        settings_.table ? QStringLiteral("le righe restano nella tabella ") + settings_.table->table
                        : QStringLiteral("il file %1 resta sul disco").arg(file)));
  }
  if (!outcome.consumeError.isEmpty()) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Quantità registrate, ma le letture restano "
                                   "nella tabella del terminale: ") +
                    outcome.consumeError);
  }
  DeleteSourceFile(deletion, SourceAfterSuccess::DeleteAfterMessage, file);
  AfterRun(readings);
  Unload();
  printReport();
  DeleteSourceFile(deletion, SourceAfterSuccess::DeleteAtEnd, file);
}

}  // namespace vx::terminals
