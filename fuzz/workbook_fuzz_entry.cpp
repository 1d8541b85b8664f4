#include "workbook_fuzz_entry.h"

#include <QFile>
#include <QTemporaryDir>

#include "platform/workbook/workbook.h"
#include "workbook_writer.h"

namespace vx::fuzz {

long ReadWholeWorkbook(const QByteArray& bytes, Input input) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("input"));
  if (input == Input::XlsStream) {
    if (!tools::WriteCompoundFile(path, QStringLiteral("Workbook"), bytes)) return 0;
  } else {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(bytes);
  }
  long cells = 0;
  try {
    auto book = workbook::Workbook::Open(path);
    for (int i = 1; i <= book->SheetCount(); ++i) {
      const workbook::Sheet& sheet = book->SheetAt(i);
      for (const auto& e : sheet.Cells()) {
        (void)sheet.Cell(static_cast<int>(e.row), static_cast<int>(e.column)).str();
        try {
          (void)e.value.toDouble();
        } catch (const ConversionError&) {
        }
        ++cells;
      }
      (void)sheet.Cell(sheet.LastRow() + 1, 1);
    }
    (void)book->HasSheet(QStringLiteral("1"));
  } catch (const workbook::WorkbookError&) {
  }
  return cells;
}

}  // namespace vx::fuzz
