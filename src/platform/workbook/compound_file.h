// The streams of a compound file (the container of .xls workbooks) through libgsf.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vx::workbook::detail {

// The names of the streams at the root and the content of one of them (the name matched
// without regard to case); WorkbookError when the container is damaged.
struct CompoundFile {
  QStringList streams;
  std::optional<QByteArray> content;  // of the stream asked for, when there is one
};
CompoundFile ReadCompoundFile(const QString& hostPath, const QStringList& wanted);

}  // namespace vx::workbook::detail
