// What the PDT6100 and General Code 630 windows have in common: a download file on the data
// drive whose readings add up in the cheapest of four slots, numbered into `sequenza`, with
// zero quantities skipped, codes not found printed in size 14, the file deleted at the end.
#pragma once

#include "terminals/terminal_window.h"

namespace vx::terminals {

// `path` follows the drive letter (":\archivio.txt").
TerminalSettings NumberedTerminalSettings(const QString& caption, const QString& path);

}  // namespace vx::terminals
