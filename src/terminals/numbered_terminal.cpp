#include "terminals/numbered_terminal.h"

namespace vx::terminals {

TerminalSettings NumberedTerminalSettings(const QString& caption, const QString& path) {
  TerminalSettings s;
  s.caption = caption;
  s.source = [path](const QString& drive) { return drive + path; };
  s.rule = AccumulatingImport();
  s.reportFontSize = 14;
  s.sourceAfterSuccess = SourceAfterSuccess::DeleteAtEnd;
  return s;
}

}  // namespace vx::terminals
