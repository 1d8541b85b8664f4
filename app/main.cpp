// vantorelix [--data-root DIR] [--drive X] [--tre-fornitori]: starts on the login window.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "platform/cmdline.h"
#include "platform/paths.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "shell/com02.h"

namespace {

bool HasDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty()) return true;  // the caller chose a platform (offscreen, xcb, ...)
  return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "vantorelix: nessun display disponibile (DISPLAY non impostato). "
                 "Avviare con: xvfb-run %s ...\n",
                 argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(vx::shell::kProductTitle);
  vx::ui::SetupApplication(app);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Gestione confronto listini fornitori"));
  parser.addHelpOption();
  QCommandLineOption dataRoot(QStringLiteral("data-root"),
                              QStringLiteral("Cartella dei dati (una sottocartella per unità)."),
                              QStringLiteral("DIR"));
  QCommandLineOption drive(QStringLiteral("drive"), QStringLiteral("Unità dei dati (C)."),
                           QStringLiteral("X"));
  QCommandLineOption threeSuppliers(
      QStringLiteral("tre-fornitori"),
      QStringLiteral("Dopo l'accesso mostra, sopra la finestra principale, il confronto "
                     "listini di tre fornitori (cnf01T)."));
  parser.addOption(dataRoot);
  parser.addOption(drive);
  parser.addOption(threeSuppliers);
  if (const auto exitCode = vx::ParseCommandLine(parser, QApplication::arguments())) {
    return *exitCode;
  }

  if (parser.isSet(dataRoot)) vx::fs::SetDataRoot(parser.value(dataRoot));
  if (parser.isSet(drive)) {
    const QString letter = parser.value(drive).trimmed();
    if (letter.isEmpty() || !letter.at(0).isLetter()) {
      std::fprintf(stderr, "vantorelix: unità non valida: %s\n", qPrintable(letter));
      return 2;
    }
    vx::fs::SetCurrentDrive(letter.at(0).toUpper());
  }
  if (!vx::fs::IsFolder(QString(vx::fs::CurrentDrive()) + QStringLiteral(":\\"))) {
    std::fprintf(stderr,
                 "vantorelix: la cartella dell'unità %s non esiste sotto %s "
                 "(prepararla con vantorelix-setup).\n",
                 qPrintable(QString(vx::fs::CurrentDrive())), qPrintable(vx::fs::DataRoot()));
    return 2;
  }

  if (parser.isSet(threeSuppliers)) vx::shell::com02::ShowAfterLogin(QStringLiteral("cnf01T"));
  // The login window may log in by itself and hand over to the main window while it loads.
  vx::ui::Forms::Show<vx::shell::com02>();
  if (vx::ui::Forms::LoadedCount() == 0) return 0;
  return app.exec();
}
