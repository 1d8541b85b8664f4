#include "data_drive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "data/paths_db.h"
#include "data/schema_upgrade.h"
#include "data/shipped_schema.h"
#include "data/store_record.h"
#include "data/unsynced_writes.h"
#include "demo_corvalia.h"
#include "demo_data.h"
#include "demo_excel_suppliers.h"
#include "demo_terminals.h"
#include "demo_update.h"
#include "demo_varu_workbook.h"
#include "platform/clock.h"
#include "platform/db/database.h"

namespace vx::tools {

namespace {

// Supplier folders the price-list imports and the Wi-Fi terminal use; they get an empty
// supplier database when no demo supplier lives there.
const char* const kImportFolders[] = {"varu", "sda", "rbm", "semvra", "corvalia", "brunelvatto"};

void RemoveExisting(const QString& hostPath) {
  for (const QString& p : {hostPath, hostPath + QStringLiteral("-journal")}) {
    if (QFileInfo::exists(p) && !QFile::remove(p)) {
      throw SetupError(QStringLiteral("Impossibile sostituire il file %1.").arg(p));
    }
  }
}

}  // namespace

QString HostPathUnder(const QString& root, const QString& windowsPath) {
  QString path = windowsPath;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  if (!parts.isEmpty() && parts.first().endsWith(QLatin1Char(':'))) {
    parts.first() = parts.first().left(1).toUpper();
  }
  QString host = root;
  bool exists = QFileInfo(host).isDir();
  for (const QString& part : parts) {
    QString name = part;
    if (exists) {
      const QStringList entries =
          QDir(host).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
      auto it = std::find_if(entries.begin(), entries.end(), [&](const QString& e) {
        return e.compare(part, Qt::CaseInsensitive) == 0;
      });
      if (it != entries.end()) {
        name = *it;
      } else {
        exists = false;
      }
    }
    host += QLatin1Char('/') + name;
  }
  return host;
}

DataDrive MakeDataDrive(const QString& root, const DataDriveOptions& options) {
  if (options.articles < 1) throw SetupError(QStringLiteral("Numero di articoli non valido."));
  const QChar letter = options.drive.toUpper();
  if (!letter.isLetter() || letter.unicode() > 'Z') {
    throw SetupError(QStringLiteral("Lettera di unità non valida: %1").arg(options.drive));
  }
  const QString drive(letter);
  const QString storeName =
      options.storeName.isEmpty() ? QStringLiteral("MARKET BELLAVISTA") : options.storeName;

  DataDrive d;
  d.root = QDir(root).absolutePath();
  d.drive = letter;
  d.mainDbWindows = data::MainDatabasePath(drive);
  d.storeDbWindows = data::StoreDatabasePath(drive);
  d.storeRecordFileWindows = data::StoreRecordFilePath(drive);
  d.mainDb = HostPathUnder(d.root, d.mainDbWindows);
  d.storeDb = HostPathUnder(d.root, d.storeDbWindows);
  d.storeRecordFile = HostPathUnder(d.root, d.storeRecordFileWindows);

  QStringList folders;
  if (options.demo) {
    for (const auto& s : DemoSuppliers()) {
      folders << s.folder;
      // The VARU import writes C:\varu\dati.mdb whatever the data drive is.
      const QString on = s.folder == QLatin1String("varu") ? QStringLiteral("C") : drive;
      const QString win = on + QStringLiteral(":\\") + s.folder + QStringLiteral("\\dati.mdb");
      d.suppliers.push_back(
          {s.slot, s.name, win, HostPathUnder(d.root, win),
           drive + QStringLiteral(":\\") + s.folder + QStringLiteral("\\") + s.program});
    }
  }
  for (const char* f : kImportFolders) {
    const QString folder = QString::fromLatin1(f);
    if (folders.contains(folder)) continue;
    // The Excel imports and the Wi-Fi terminal name their databases on drive C; the text
    // import on the data drive.
    const QString on = folder == QLatin1String("corvalia") ? drive : QStringLiteral("C");
    const QString win = on + QStringLiteral(":\\") + folder + QStringLiteral("\\dati.mdb");
    d.suppliers.push_back({0, folder.toUpper(), win, HostPathUnder(d.root, win), QString()});
  }

  QStringList files = {d.mainDb, d.storeDb, d.storeRecordFile};
  for (const auto& s : d.suppliers) files << s.hostPath;
  for (const auto& f : files) {
    if (!QFileInfo::exists(f)) continue;
    if (!options.force) {
      throw SetupError(QStringLiteral("L'unità dati %1 esiste già (%2): usare --force per "
                                      "sostituirla.")
                           .arg(drive, f));
    }
    RemoveExisting(f);
  }

  // The new files are written without waiting for the disk while they are made; each
  // connection goes back to its usual safety when its guard ends.
  std::vector<std::unique_ptr<data::UnsyncedWrites>> unsynced;
  unsynced.push_back(
      std::make_unique<data::UnsyncedWrites>(data::CreateMainDatabase(d.mainDb, storeName)));
  d.made << QStringLiteral("Archivio principale %1").arg(d.mainDb);
  unsynced.push_back(
      std::make_unique<data::UnsyncedWrites>(data::CreateStoreDatabase(d.storeDb, storeName)));
  d.made << QStringLiteral("Archivio negozio %1").arg(d.storeDb);
  for (const auto& s : d.suppliers) {
    unsynced.push_back(
        std::make_unique<data::UnsyncedWrites>(data::CreateSupplierDatabase(s.hostPath)));
    d.made << QStringLiteral("Archivio fornitore %1 %2").arg(s.name, s.hostPath);
  }

  data::rec_negozio rec;
  rec.nome_negozio = storeName;
  rec.codice_negozio = data::StoreCodeText(1);
  if (!data::WriteStoreRecord(d.storeRecordFile, rec)) {
    throw SetupError(QStringLiteral("Impossibile scrivere il file %1.").arg(d.storeRecordFile));
  }
  d.made << QStringLiteral("File dati negozio %1").arg(d.storeRecordFile);

  data::inserisco_nuovi_campi_client(d.storeDb);
  data::inserisco_nuovi_campi_bancaean(d.mainDb);
  db::Database::Open(d.storeDb)->Execute(
      QStringLiteral("update inizio set codope = 1 where codute = 1"));
  d.made << QStringLiteral("Aggiornamento degli archivi eseguito");

  if (options.demo) {
    DemoSettings s;
    s.drive = letter;
    s.articles = options.articles;
    s.today = options.today.isValid() ? options.today : vx::Today();
    s.seed = options.seed;
    s.storeName = storeName;
    std::vector<QString> hosts;
    for (int i = 0; i < 4; ++i) hosts.push_back(d.suppliers[i].hostPath);
    d.made << QStringLiteral("Dati dimostrativi:");
    d.made << FillDemo(d.mainDb, hosts, s);
    if (!options.demoFiles) return d;
    d.made << WriteDemoCorvaliaFiles(
        HostPathUnder(d.root, drive + QStringLiteral(":\\Programmi\\tolmo\\corvalia")),
        d.suppliers[3].hostPath, s.today, s.seed);
    d.made << WriteTerminalSample(d.root, letter, QString());
    d.made << WriteDemoArchiver(d.root, letter);
    d.made << MakeDemoVaruWorkbook(
        hosts[0], HostPathUnder(d.root, QStringLiteral("C:\\varu\\listino_varu.xls")), s.today,
        s.seed);
    d.made << MakeDemoExcelSupplierBooks(
        hosts[1], hosts[2], HostPathUnder(d.root, QStringLiteral("C:\\sda")),
        HostPathUnder(d.root, QStringLiteral("C:\\rbm")),
        HostPathUnder(d.root, QStringLiteral("C:\\semvra")), s.today, s.seed);
  }
  return d;
}

}  // namespace vx::tools
