// vantorelix-setup: makes the shipped databases under a data root and, with --demo, fills a
// demo data drive.
//
//   vantorelix-setup [--data-root DIR] [--drive C] [--demo] [--articles N] [--force]
//                    [--terminal CODE]
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "data_drive.h"
#include "demo_terminals.h"
#include "platform/cmdline.h"
#include "platform/db/database.h"
#include "platform/paths.h"

namespace {

void Print(const QString& line, FILE* to = stdout) {
  std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vantorelix-setup"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Crea gli archivi del programma sotto una cartella dati."));
  parser.addHelpOption();
  const QCommandLineOption rootOpt(
      QStringLiteral("data-root"),
      QStringLiteral("Cartella dati (una sottocartella per unità, es. C/)."),
      QStringLiteral("DIR"));
  const QCommandLineOption driveOpt(QStringLiteral("drive"),
                                    QStringLiteral("Lettera dell'unità dati."),
                                    QStringLiteral("LETTERA"), QStringLiteral("C"));
  const QCommandLineOption demoOpt(
      QStringLiteral("demo"), QStringLiteral("Aggiunge quattro fornitori con listini di prova."));
  const QCommandLineOption articlesOpt(QStringLiteral("articles"),
                                       QStringLiteral("Articoli per listino di prova."),
                                       QStringLiteral("N"), QStringLiteral("3000"));
  const QCommandLineOption forceOpt(QStringLiteral("force"),
                                    QStringLiteral("Sostituisce gli archivi esistenti."));
  const QCommandLineOption terminalOpt(
      QStringLiteral("terminal"),
      QStringLiteral("Imposta il terminalino del negozio 1 (PDT, PDC, PDM, CIP, IT7, SIS, PD6, 630 "
                     "o \"\") e scrive il suo scarico di prova sull'unità dati esistente."),
      QStringLiteral("CODICE"));
  parser.addOptions({rootOpt, driveOpt, demoOpt, articlesOpt, forceOpt, terminalOpt});
  if (const auto exitCode = vx::ParseCommandLine(parser, QCoreApplication::arguments())) {
    return *exitCode;
  }

  vx::tools::DataDriveOptions options;
  const QString drive = parser.value(driveOpt).trimmed();
  bool ok = drive.size() == 1;
  if (ok) options.drive = drive[0];
  const int articles = parser.value(articlesOpt).toInt(&ok);
  if (!ok || articles < 1 || drive.size() != 1) {
    Print(QStringLiteral("vantorelix-setup: opzioni non valide (--drive una lettera, --articles "
                         "un numero positivo)."),
          stderr);
    return 2;
  }
  options.articles = articles;
  options.demo = parser.isSet(demoOpt);
  options.force = parser.isSet(forceOpt);
  if (parser.isSet(rootOpt)) vx::fs::SetDataRoot(parser.value(rootOpt));
  const QString root = vx::fs::DataRoot();

  try {
    // A terminal alone works on the drive as it is; with --demo or --force the drive is made
    // first.
    const bool terminal = parser.isSet(terminalOpt);
    if (!terminal || options.demo || options.force) {
      const auto made = vx::tools::MakeDataDrive(root, options);
      Print(QStringLiteral("Unità dati %1 preparata in %2:").arg(made.drive).arg(made.root));
      for (const auto& line : made.made) Print(QStringLiteral("  ") + line);
    }
    if (terminal) {
      const QStringList made =
          vx::tools::SetUpTerminal(root, options.drive, parser.value(terminalOpt));
      for (const auto& line : made) Print(QStringLiteral("  ") + line);
    }
    return 0;
  } catch (const vx::tools::SetupError& e) {
    Print(QStringLiteral("vantorelix-setup: ") + e.message(), stderr);
    return 1;
  } catch (const vx::db::DbError& e) {
    Print(QStringLiteral("vantorelix-setup: ") + e.message(), stderr);
    return 1;
  }
}
