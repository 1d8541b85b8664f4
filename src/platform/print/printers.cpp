#include "platform/print/printers.h"

#include <QPrinterInfo>

namespace vx::print {

namespace {

std::optional<QStringList>& TestList() {
  static std::optional<QStringList> list;
  return list;
}

// -1 until a window chooses; the default printer is looked up at each use then.
int& Chosen() {
  static int index = -1;
  return index;
}

int DefaultIndex(const QStringList& names) {
  if (TestList()) return 0;
  const int at = names.indexOf(QPrinterInfo::defaultPrinterName());
  return at >= 0 ? at : 0;
}

}  // namespace

QStringList Printers() {
  if (TestList()) return *TestList();
  const QStringList names = QPrinterInfo::availablePrinterNames();
  return names.isEmpty() ? QStringList{kPdfPrinterName} : names;
}

void SetPrinterList(std::optional<QStringList> names) {
  TestList() = std::move(names);
  Chosen() = -1;
}

bool SetCurrentPrinter(int index) {
  if (index < 0 || index >= Printers().size()) return false;
  Chosen() = index;
  return true;
}

int CurrentPrinterIndex() {
  const QStringList names = Printers();
  if (Chosen() >= 0 && Chosen() < names.size()) return Chosen();
  return DefaultIndex(names);
}

QString CurrentPrinterName() { return Printers().value(CurrentPrinterIndex()); }

bool IsPdfPrinter(const QString& name) {
  if (name == kPdfPrinterName) return true;
  return QPrinterInfo::printerInfo(name).isNull();
}

}  // namespace vx::print
