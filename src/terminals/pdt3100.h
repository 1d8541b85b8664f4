// What the PDT3100 windows (and the PDM window, which shares the PDC layout) have in common:
// the download file in the folder pdt3100 of the data drive and its fixed columns.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

// The data drive's "<drive>:\pdt3100\<name>".
QString Pdt3100Path(const QString& drive, const QString& name);

// A window on "<drive>:\pdt3100\dati.txt" with the code at codeColumn and the quantity at
// quantityColumn, the three-slot rule without fallback, the file kept.
TerminalSettings Pdt3100Settings(const QString& caption, int codeColumn, int quantityColumn);

}  // namespace vx::terminals
