#include "demo_terminals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <memory>

#include "data/paths_db.h"
#include "data_drive.h"
#include "ean13.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/files.h"

namespace vx::tools {

namespace {

// Four catalogue codes (those that most catalogues carry first) and one that none carries.
struct SampleCodes {
  QStringList known;
  QString unknown;
};

SampleCodes CatalogueCodes(const QString& root, const QString& mainDbHost) {
  std::map<QString, int> carriers;  // code -> catalogues carrying it
  {
    auto main = db::Database::Open(mainDbHost);
    auto suppliers = main->OpenRecordset(
        QStringLiteral("select percorso from fornitori where codice >= 1 and codice <= 4"));
    for (; !suppliers->Eof(); suppliers->MoveNext()) {
      const Variant path = suppliers->Field(0);
      if (path.isNull()) continue;
      const QString host = HostPathUnder(root, path.str().trimmed());
      if (!QFileInfo(host).isFile()) continue;
      auto catalogue = db::Database::Open(host);
      // The codes the comparison loader takes.
      auto eans = catalogue->OpenRecordset(
          QStringLiteral("select distinct eanare from codean where eanare not like '000000*' and "
                         "eanare not like '000002*'"));
      for (; !eans->Eof(); eans->MoveNext()) {
        const QString ean = eans->Field(0).str().trimmed();
        if (ean.size() == 13) ++carriers[ean];
      }
    }
  }
  if (carriers.empty()) {
    throw SetupError(QStringLiteral(
        "Nessun codice EAN nei cataloghi dei fornitori dell'unità dati: prepararla con --demo."));
  }
  QStringList shared, single;
  for (const auto& [ean, count] : carriers) (count >= 2 ? shared : single) << ean;
  const QStringList& pool = shared.size() >= 4 ? shared : shared + single;
  SampleCodes codes;
  for (int i = 0; i < 4 && i < pool.size(); ++i) {
    codes.known << pool[qsizetype(i) * (pool.size() - 1) / 3];
  }
  codes.known.removeDuplicates();
  while (codes.known.size() < 4) codes.known << codes.known.first();
  for (int n = 0; codes.unknown.isEmpty() || carriers.count(codes.unknown); ++n) {
    codes.unknown = Ean13(QStringLiteral("29900000%1").arg(n, 4, 10, QLatin1Char('0')));
  }
  return codes;
}

QString Fixed(const QString& text, int width) {
  return text.leftJustified(width, QLatin1Char(' '), true);
}

// A line of fixed columns (from 1): filler up to codeColumn, the code in 13, the quantity in
// `quantityWidth` from quantityColumn, a tail.
QString FixedLine(int n, int codeColumn, int quantityColumn, int quantityWidth, const QString& code,
                  const QString& quantity) {
  const QString head =
      Fixed(QStringLiteral("%1 TERM01").arg(n, 4, 10, QLatin1Char('0')), codeColumn - 1);
  const QString middle = Fixed(code, quantityColumn - codeColumn);
  return head + middle + Fixed(quantity, quantityWidth) + QStringLiteral("  FINE");
}

struct Sample {
  QString code, quantity;
};

QString Write(const QString& host, const QStringList& lines,
              const QString& what = QStringLiteral("Scarico del terminale")) {
  QDir().mkpath(QFileInfo(host).absolutePath());
  if (!fs::WriteTextLines(host, lines)) {
    throw SetupError(QStringLiteral("Impossibile scrivere il file %1.").arg(host));
  }
  return QStringLiteral("%1 %2 (%3 righe)").arg(what, host).arg(lines.size());
}

// An executable shell script standing in for a download tool: it writes the sample lines
// (CR LF) into `file` beside itself.
QString WriteStandIn(const QString& host, const QString& file, const QStringList& lines) {
  QString script = QStringLiteral(
      "#!/bin/sh\n# Stand-in for the terminal's download tool: leaves what the terminal "
      "holds.\ncd \"$(dirname \"$0\")\" || exit 1\nprintf '%s\\r\\n'");
  for (QString line : lines) {
    line.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    script += QStringLiteral(" \\\n  '") + line + QLatin1Char('\'');
  }
  script += QStringLiteral(" > ") + file + QLatin1Char('\n');
  QDir().mkpath(QFileInfo(host).absolutePath());
  QFile out(host);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(script.toUtf8()) < 0) {
    throw SetupError(QStringLiteral("Impossibile scrivere il file %1.").arg(host));
  }
  out.close();
  out.setPermissions(out.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                     QFileDevice::ExeOther);
  return QStringLiteral("Programma di scarico di prova %1").arg(host);
}

// Removes the files of a folder that match a pattern, so that the new sample is the one
// the import takes first.
void RemoveMatching(const QString& folderHost, const QString& pattern) {
  const QStringList names = QDir(folderHost).entryList({pattern}, QDir::Files | QDir::Hidden);
  for (const QString& name : names) QFile::remove(folderHost + QLatin1Char('/') + name);
}

}  // namespace

const QStringList& TerminalCodes() {
  static const QStringList codes = {QString(),
                                    QStringLiteral("PDT"),
                                    QStringLiteral("PDC"),
                                    QStringLiteral("PDM"),
                                    QStringLiteral("CIP"),
                                    QStringLiteral("IT7"),
                                    QStringLiteral("SIS"),
                                    QStringLiteral("PD6"),
                                    QStringLiteral("630")};
  return codes;
}

QStringList WriteTerminalSample(const QString& root, QChar drive, const QString& code) {
  const QString type = code.trimmed();
  if (!TerminalCodes().contains(type)) {
    throw SetupError(QStringLiteral("Tipo di terminale sconosciuto: \"%1\" (PDT, PDC, PDM, CIP, "
                                    "IT7, SIS, PD6, 630 o vuoto).")
                         .arg(code));
  }
  const QString letter(drive.toUpper());
  const auto host = [&](const QString& path) {
    return HostPathUnder(root, letter + QStringLiteral(":\\") + path);
  };
  const SampleCodes codes =
      CatalogueCodes(root, HostPathUnder(root, data::MainDatabasePath(letter)));
  const QStringList& k = codes.known;
  const QString& u = codes.unknown;
  QStringList made;

  if (type == QLatin1String("PDT") || type == QLatin1String("PDC") ||
      type == QLatin1String("PDM")) {
    const bool pdt = type == QLatin1String("PDT");
    const int codeColumn = pdt ? 20 : 18;
    // PDM writes a quantity of 0 as 0; the others have no rule for it.
    const std::vector<Sample> samples = {
        {k[0], QStringLiteral("4")},
        {k[1], QStringLiteral(" 12")},
        {k[2], QStringLiteral("5")},
        {u, QStringLiteral("3")},
        {k[3], type == QLatin1String("PDM") ? QStringLiteral("0") : QStringLiteral("6")}};
    QStringList lines;
    for (size_t i = 0; i < samples.size(); ++i) {
      lines << FixedLine(int(i) + 1, codeColumn, codeColumn + 13, 6, samples[i].code,
                         samples[i].quantity);
    }
    const QString folder = host(QStringLiteral("pdt3100"));
    if (type == QLatin1String("PDM")) {
      RemoveMatching(folder, QStringLiteral("dati*"));
      made << Write(folder + QStringLiteral("/dati001.txt"), lines);
    } else {
      made << Write(folder + QStringLiteral("/dati.txt"), lines);
    }
    if (type == QLatin1String("PDC")) {
      made << WriteStandIn(folder + QStringLiteral("/scarica.exe"), QStringLiteral("dati.txt"),
                           lines);
      made << Write(folder + QStringLiteral("/scarico.bat"),
                    {QStringLiteral("@echo off"), QStringLiteral("rem Scarico del PDT3100"),
                     QStringLiteral("scarica")},
                    QStringLiteral("File batch di scarico"));
    }
  } else if (type == QLatin1String("CIP")) {
    const QStringList lines = {k[0] + QStringLiteral(",3"), k[1] + QStringLiteral(",5"),
                               k[2] + QStringLiteral(",0"), u + QStringLiteral(",2"),
                               k[3] + QStringLiteral(",10")};
    const QString folder = host(QStringLiteral("cipherlab"));
    made << Write(folder + QStringLiteral("/dati.txt"), lines);
    made << WriteStandIn(folder + QStringLiteral("/IR_read.exe"), QStringLiteral("dati.txt"),
                         lines);
  } else if (type == QLatin1String("IT7")) {
    // The Wi-Fi terminal's database lies on drive C whatever the data drive.
    const QString wifi = HostPathUnder(root, QStringLiteral("C:\\brunelvatto\\dati.mdb"));
    if (!QFileInfo(wifi).isFile()) {
      throw SetupError(QStringLiteral("Manca l'archivio del terminale Wi-Fi %1.").arg(wifi));
    }
    auto database = db::Database::Open(wifi);
    db::Transaction tx(*database);
    database->Execute(QStringLiteral("delete from ordine"));
    const std::vector<std::pair<QString, double>> rows = {
        {k[0], 2}, {k[1], 0}, {u, 1}, {k[2], 5}, {k[3], 3}};
    for (const auto& [ean, colli] : rows) {
      database->Execute(QStringLiteral("insert into ordine (eanrig, colli) values (?, ?)"),
                        {Variant(ean), Variant(colli)});
    }
    tx.Commit();
    made << QStringLiteral("Letture del terminale Wi-Fi nella tabella ordine di %1 (%2 righe)")
                .arg(wifi)
                .arg(rows.size());
  } else if (type == QLatin1String("PD6")) {
    QString first = Fixed(QStringLiteral("VOD PDT6100 SCARICO 0001"), 104);
    const std::vector<Sample> records = {{k[0], QStringLiteral("2")}, {k[1], QStringLiteral("0")},
                                         {u, QStringLiteral("3")},    {k[2], QStringLiteral("  4")},
                                         {k[0], QStringLiteral("1")}, {k[3], QStringLiteral("6")}};
    for (const Sample& r : records) {
      first += Fixed(r.code, 13) + Fixed(r.quantity, 7) + QStringLiteral("00");
    }
    made << Write(host(QStringLiteral("brunelvatto\\filedati.001")),
                  {first, QStringLiteral("FINE SCARICO")});
  } else if (type == QLatin1String("630")) {
    const std::vector<Sample> lines = {{k[0], QStringLiteral("2")}, {k[1], QStringLiteral("0")},
                                       {u, QStringLiteral("3")},    {k[2], QStringLiteral("   4")},
                                       {k[0], QStringLiteral("1")}, {k[3], QStringLiteral("6")}};
    QStringList text;
    for (const Sample& s : lines)
      text << Fixed(s.code, 13) + Fixed(s.quantity, 8) + QStringLiteral("GC630");
    made << Write(host(QStringLiteral("archivio.txt")), text);
  } else if (type == QLatin1String("SIS")) {
    const QString folder = host(QStringLiteral("MC3000\\dati"));
    QDir().mkpath(folder);
    RemoveMatching(folder, QStringLiteral("MC*.txt"));
    const std::vector<Sample> lines = {{k[0], QStringLiteral("2")},
                                       {k[1], QStringLiteral(" 3 ")},
                                       {u, QStringLiteral("1")},
                                       {k[2], QStringLiteral("5")},
                                       {k[3], QStringLiteral("0")}};
    QStringList text;
    for (size_t i = 0; i < lines.size(); ++i) {
      text << FixedLine(int(i) + 1, 24, 44, 6, lines[i].code, lines[i].quantity);
    }
    made << Write(folder + QStringLiteral("/MC000001.txt"), text);
  } else {
    const std::vector<Sample> lines = {{k[0], QStringLiteral("4")},
                                       {k[1], QStringLiteral(" 12 ")},
                                       {u, QStringLiteral("3")},
                                       {k[2], QStringLiteral("5")},
                                       {k[3], QStringLiteral("0")}};
    QStringList text;
    for (const Sample& s : lines)
      text << Fixed(s.code, 13) + QStringLiteral(";") + Fixed(s.quantity, 8) +
                  QStringLiteral(";MV");
    made << Write(host(QStringLiteral("mvterminal\\ordini.txt")), text);
  }
  return made;
}

QStringList SetUpTerminal(const QString& root, QChar drive, const QString& code) {
  const QString type = code.trimmed();
  const QString mainDb = HostPathUnder(root, data::MainDatabasePath(QString(drive.toUpper())));
  if (!QFileInfo(mainDb).isFile()) {
    throw SetupError(QStringLiteral("Manca l'archivio principale %1: preparare prima l'unità dati.")
                         .arg(mainDb));
  }
  QStringList made = WriteTerminalSample(root, drive, type);
  db::Database::Open(mainDb)->Execute(
      QStringLiteral("update utenti set ncr = ? where codutente = 1"), {Variant(type)});
  made.prepend(QStringLiteral("Terminale del negozio 1: \"%1\"").arg(type));
  return made;
}

}  // namespace vx::tools
