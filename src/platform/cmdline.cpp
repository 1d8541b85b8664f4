#include "platform/cmdline.h"

#include <QFileInfo>
#include <cstdio>

namespace vx {

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& args) {
  const QString program = args.isEmpty() ? QString() : QFileInfo(args.first()).fileName();
  auto fail = [&program](const QString& what) {
    std::fprintf(stderr, "%s: %s (--help per le opzioni).\n", qPrintable(program),
                 what.toLocal8Bit().constData());
    return 2;
  };
  if (!parser.parse(args)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
      return fail(
          QStringLiteral("opzione sconosciuta: --%1").arg(unknown.join(QStringLiteral(", --"))));
    }
    return fail(QStringLiteral("opzione non valida (%1)").arg(parser.errorText()));
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fprintf(stdout, "%s", parser.helpText().toLocal8Bit().constData());
    return 0;
  }
  if (!parser.positionalArguments().isEmpty()) {
    return fail(QStringLiteral("argomento non previsto: \"%1\"")
                    .arg(parser.positionalArguments().join(QLatin1Char(' '))));
  }
  return std::nullopt;
}

}  // namespace vx
