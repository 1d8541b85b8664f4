// What the workbook fuzz targets and the corpus replay run on one input: the bytes as a
// file (or, for the .xls target, as the Workbook stream of a compound file), opened and
// read whole: every sheet, every cell as text and as a number. Any failure must be a
// WorkbookError; anything else is a fault.
#pragma once

#include <QByteArray>

namespace vx::fuzz {

enum class Input { File, XlsStream };

// Returns the number of cells read (0 when the workbook was refused).
long ReadWholeWorkbook(const QByteArray& bytes, Input input);

}  // namespace vx::fuzz
