#include "platform/workbook/workbook.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/workbook/workbook_source.h"

namespace vx::workbook {

namespace detail {

bool IsBuiltInDateFormat(int id) { return (id >= 14 && id <= 22) || (id >= 45 && id <= 47); }

bool IsDateFormatText(const QString& format) {
  bool quoted = false;
  int bracket = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (quoted) {
      if (c == QLatin1Char('"')) quoted = false;
      continue;
    }
    if (c == QLatin1Char('"')) {
      quoted = true;
    } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
      ++i;  // the next character is shown as it is (or fills)
    } else if (c == QLatin1Char('[')) {
      ++bracket;
    } else if (c == QLatin1Char(']')) {
      if (bracket > 0) --bracket;
    } else if (bracket == 0) {
      const QChar l = c.toLower();
      if (l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')) return true;
    }
  }
  return false;
}

double DayNumberOfSerial(double serial, bool system1904) {
  if (system1904) return serial + 1462;
  // Serials before the phantom 29/02/1900 are one day behind the day numbers.
  if (serial >= 1 && serial < 60) return serial + 1;
  return serial;
}

Variant DateCellValue(double serial, bool system1904) {
  const double last = system1904 ? 2957003 : 2958465;  // 31/12/9999
  if (!(serial >= 0 && serial <= last)) return Variant(serial);
  return Variant::fromDayNumber(DayNumberOfSerial(serial, system1904));
}

QString DamagedMessage(const QString& detail) {
  QString m = QStringLiteral("il file è danneggiato o incompleto");
  if (!detail.isEmpty()) m += QStringLiteral(" (") + detail + QLatin1Char(')');
  return m;
}

}  // namespace detail

Sheet::Sheet(QString name, std::vector<Entry> cells)
    : name_(std::move(name)), cells_(std::move(cells)) {
  auto less = [](const Entry& a, const Entry& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  };
  if (!std::is_sorted(cells_.begin(), cells_.end(), less)) {
    std::stable_sort(cells_.begin(), cells_.end(), less);
  }
  // A cell written twice keeps its last value.
  std::vector<Entry> unique;
  unique.reserve(cells_.size());
  for (auto& e : cells_) {
    if (!unique.empty() && unique.back().row == e.row && unique.back().column == e.column) {
      unique.back().value = std::move(e.value);
    } else {
      unique.push_back(std::move(e));
    }
  }
  unique.shrink_to_fit();
  cells_ = std::move(unique);
}

Variant Sheet::Cell(int row, int column) const {
  if (row < 1 || column < 1) return Variant();
  const auto r = static_cast<quint32>(row), c = static_cast<quint32>(column);
  auto it = std::lower_bound(cells_.begin(), cells_.end(), std::pair{r, c},
                             [](const Entry& e, const std::pair<quint32, quint32>& k) {
                               return e.row != k.first ? e.row < k.first : e.column < k.second;
                             });
  if (it == cells_.end() || it->row != r || it->column != c) return Variant();
  return it->value;
}

int Sheet::LastRow() const { return cells_.empty() ? 0 : static_cast<int>(cells_.back().row); }

Workbook::~Workbook() = default;

std::unique_ptr<Workbook> Workbook::Open(const QString& path) {
  const QString host = fs::IsWindowsPath(path) ? fs::HostPath(path) : path;
  if (const QString refusal = fs::InputFileRefusal(host, fs::kMaxPriceListBytes);
      !refusal.isEmpty()) {
    throw WorkbookError(QStringLiteral("il file ") + refusal);
  }
  QFile file(host);
  if (!file.open(QIODevice::ReadOnly)) {
    throw WorkbookError(QStringLiteral("il file non si può leggere (%1)").arg(file.errorString()));
  }
  const QByteArray head = file.read(8);
  file.close();
  std::unique_ptr<Workbook> wb(new Workbook);
  wb->path_ = path;
  if (head.isEmpty()) throw WorkbookError(QStringLiteral("il file è vuoto"));
  if (head.startsWith("PK\x03\x04")) {
    wb->format_ = Format::Xlsx;
    wb->source_ = detail::OpenXlsx(host);
  } else if (head == QByteArray::fromHex("d0cf11e0a1b11ae1")) {
    wb->format_ = Format::Xls;
    wb->source_ = detail::OpenXls(host);
  } else {
    throw WorkbookError(QStringLiteral("il file non è una cartella di lavoro Excel"));
  }
  wb->names_ = wb->source_->SheetNames();
  wb->sheets_.resize(wb->names_.size());
  return wb;
}

const Sheet& Workbook::SheetAt(int index) {
  if (index < 1 || index > SheetCount()) {
    throw WorkbookError(QStringLiteral("il foglio %1 non esiste").arg(index));
  }
  auto& slot = sheets_[index - 1];
  if (!slot) slot = std::make_unique<Sheet>(names_[index - 1], source_->ReadSheet(index - 1));
  return *slot;
}

bool Workbook::HasSheet(const QString& name) const {
  return std::any_of(names_.begin(), names_.end(),
                     [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
}

const Sheet& Workbook::SheetNamed(const QString& name) {
  for (int i = 0; i < SheetCount(); ++i) {
    if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return SheetAt(i + 1);
  }
  throw WorkbookError(QStringLiteral("il foglio \"%1\" non esiste").arg(name));
}

}  // namespace vx::workbook
