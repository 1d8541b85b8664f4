// The installed printers in the system's order, and the program's current printer.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vx::print {

// The printer that stands in where the system has none: its documents become PDF files.
inline const QString kPdfPrinterName = QStringLiteral("PDF");

// The system's printers (their device names) in the system's order; where none is
// installed, the PDF printer alone.
QStringList Printers();
// Replaces the system's list (tests); nullopt returns to the system's list.
void SetPrinterList(std::optional<QStringList> names);

// The current printer: the system's default printer until a window chooses another by its
// position in Printers(); a position outside the list is refused (false).
bool SetCurrentPrinter(int index);
int CurrentPrinterIndex();
QString CurrentPrinterName();

// True when documents for this printer become PDF files (the PDF printer, or a name that
// is no installed printer).
bool IsPdfPrinter(const QString& name);

}  // namespace vx::print
