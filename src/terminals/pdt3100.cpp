#include "terminals/pdt3100.h"

namespace vx::terminals {

QString Pdt3100Path(const QString& drive, const QString& name) {
  return drive + QStringLiteral(":\\pdt3100\\") + name;
}

TerminalSettings Pdt3100Settings(const QString& caption, int codeColumn, int quantityColumn) {
  TerminalSettings s;
  s.caption = caption;
  s.source = [](const QString& drive) { return Pdt3100Path(drive, QStringLiteral("dati.txt")); };
  s.parse = [codeColumn, quantityColumn](const QString& line) {
    return FixedColumnsReading(line, codeColumn, quantityColumn);
  };
  s.rule = ThreeSlotImport(false);
  return s;
}

}  // namespace vx::terminals
