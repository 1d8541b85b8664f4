// .xlsx: the zip container through libzip, each XML part streamed through QXmlStreamReader
// straight from the archive, so that a sheet's memory is that of its cells.
#include <zip.h>

#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <optional>

#include "platform/workbook/workbook_source.h"

namespace vx::workbook::detail {

namespace {

constexpr const char* kOfficeDocument = "/officeDocument";

// One archive entry as a sequential device.
class EntryDevice : public QIODevice {
 public:
  explicit EntryDevice(zip_file_t* file) : file_(file) { open(QIODevice::ReadOnly); }
  ~EntryDevice() override {
    if (file_) zip_fclose(file_);
  }
  bool isSequential() const override { return true; }
  bool failed() const { return failed_; }

 protected:
  qint64 readData(char* data, qint64 max) override {
    if (!file_ || failed_) return -1;
    const zip_int64_t n = zip_fread(file_, data, static_cast<zip_uint64_t>(max));
    if (n < 0) {
      failed_ = true;
      return -1;
    }
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  zip_file_t* file_;
  bool failed_ = false;
};

QString Folder(const QString& part) {
  const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship's target as a part name: absolute targets start at the package's root,
// relative ones at the folder of the part that names them; "." and ".." are resolved.
QString ResolveTarget(const QString& sourcePart, const QString& target) {
  const QString joined =
      target.startsWith(QLatin1Char('/')) ? target.mid(1) : Folder(sourcePart) + target;
  QStringList out;
  for (const QString& seg : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (seg == QLatin1String(".")) continue;
    if (seg == QLatin1String("..")) {
      if (!out.isEmpty()) out.removeLast();
      continue;
    }
    out << seg;
  }
  return out.join(QLatin1Char('/'));
}

QString RelsPartOf(const QString& part) {
  const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
  return Folder(part) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

// The 1-based column of a cell reference's letters ("AB12" -> 28), and its row (0 without).
bool ParseReference(QStringView ref, quint32& column, quint32& row) {
  column = 0;
  row = 0;
  qsizetype i = 0;
  while (i < ref.size() && ref[i].isLetter()) {
    const char16_t u = ref[i].toUpper().unicode();
    if (u < 'A' || u > 'Z') return false;
    column = column * 26 + (u - 'A' + 1);
    if (column > 16384) return false;
    ++i;
  }
  while (i < ref.size() && ref[i].isDigit()) {
    row = row * 10 + (ref[i].unicode() - '0');
    if (row > 1048576) return false;
    ++i;
  }
  return i == ref.size() && column > 0;
}

struct Relationship {
  QString type;
  QString target;  // resolved part name
};

class XlsxSource : public Source {
 public:
  explicit XlsxSource(const QString& hostPath) {
    int err = 0;
    zip_ = zip_open(hostPath.toLocal8Bit().constData(), ZIP_RDONLY, &err);
    if (!zip_) {
      zip_error_t ze;
      zip_error_init_with_code(&ze, err);
      const QString why = QString::fromLocal8Bit(zip_error_strerror(&ze));
      zip_error_fini(&ze);
      throw WorkbookError(DamagedMessage(why));
    }
    const auto root = ReadRels(QStringLiteral("_rels/.rels"), QString());
    QString workbookPart;
    for (const auto& r : root) {
      if (r.type.endsWith(QLatin1String(kOfficeDocument))) workbookPart = r.target;
    }
    if (workbookPart.isEmpty())
      throw WorkbookError(DamagedMessage(QStringLiteral("manca il documento")));
    const auto rels = ReadRels(RelsPartOf(workbookPart), workbookPart);
    QHash<QString, QString> byId;
    QString sharedPart, stylesPart;
    for (const auto& r : rels) {
      if (r.type.endsWith(QLatin1String("/sharedStrings"))) sharedPart = r.target;
      if (r.type.endsWith(QLatin1String("/styles"))) stylesPart = r.target;
    }
    ReadWorkbook(workbookPart, rels);
    if (!sharedPart.isEmpty()) ReadSharedStrings(sharedPart);
    if (!stylesPart.isEmpty()) ReadStyles(stylesPart);
  }
  ~XlsxSource() override {
    if (zip_) zip_discard(zip_);
  }

  QStringList SheetNames() const override { return names_; }

  std::vector<Sheet::Entry> ReadSheet(int index) override {
    std::vector<Sheet::Entry> cells;
    auto dev = OpenPart(parts_.at(index));
    QXmlStreamReader x(dev.get());
    quint32 row = 0, column = 0;
    while (!x.atEnd()) {
      if (x.readNext() != QXmlStreamReader::StartElement) continue;
      const auto name = x.name();
      if (name == QLatin1String("row")) {
        const auto r = x.attributes().value(QLatin1String("r"));
        if (r.isEmpty()) {
          ++row;
        } else {
          bool ok = false;
          const uint n = r.toUInt(&ok);
          if (!ok || n < 1 || n > 1048576) Fail(x, QStringLiteral("riga non valida"));
          row = n;
        }
        column = 0;
      } else if (name == QLatin1String("c")) {
        ReadCell(x, row, column, cells);
      }
    }
    Check(x, dev.get(), parts_.at(index));
    return cells;
  }

 private:
  [[noreturn]] static void Fail(const QXmlStreamReader& x, const QString& what) {
    throw WorkbookError(
        DamagedMessage(QStringLiteral("%1, riga %2 dell'XML").arg(what).arg(x.lineNumber())));
  }

  static void Check(const QXmlStreamReader& x, const EntryDevice* dev, const QString& part) {
    if (dev->failed())
      throw WorkbookError(DamagedMessage(QStringLiteral("%1 illeggibile").arg(part)));
    if (x.hasError()) {
      throw WorkbookError(DamagedMessage(QStringLiteral("%1: %2").arg(part, x.errorString())));
    }
  }

  std::unique_ptr<EntryDevice> OpenPart(const QString& part, bool required = true) {
    const zip_int64_t idx = zip_name_locate(zip_, part.toUtf8().constData(), ZIP_FL_NOCASE);
    if (idx < 0) {
      if (!required) return nullptr;
      throw WorkbookError(DamagedMessage(QStringLiteral("manca la parte %1").arg(part)));
    }
    zip_file_t* f = zip_fopen_index(zip_, static_cast<zip_uint64_t>(idx), 0);
    if (!f) {
      const QString why = QString::fromLocal8Bit(zip_strerror(zip_));
      if (zip_get_error(zip_)->zip_err == ZIP_ER_ENCRNOTSUPP ||
          zip_get_error(zip_)->zip_err == ZIP_ER_NOPASSWD) {
        throw WorkbookError(QStringLiteral("il file è protetto da password"));
      }
      throw WorkbookError(DamagedMessage(why));
    }
    return std::make_unique<EntryDevice>(f);
  }

  std::vector<Relationship> ReadRels(const QString& relsPart, const QString& sourcePart) {
    std::vector<Relationship> out;
    auto dev =
        OpenPart(relsPart, !sourcePart.isEmpty() || relsPart == QLatin1String("_rels/.rels"));
    if (!dev) return out;
    QXmlStreamReader x(dev.get());
    while (!x.atEnd()) {
      if (x.readNext() != QXmlStreamReader::StartElement) continue;
      if (x.name() != QLatin1String("Relationship")) continue;
      const auto a = x.attributes();
      if (a.value(QLatin1String("TargetMode"))
              .compare(QLatin1String("External"), Qt::CaseInsensitive) == 0)
        continue;
      Relationship r;
      r.type = a.value(QLatin1String("Type")).toString();
      r.target = ResolveTarget(sourcePart, a.value(QLatin1String("Target")).toString());
      const QString id = a.value(QLatin1String("Id")).toString();
      ids_.insert(relsPart + QLatin1Char('#') + id, r.target);
      out.push_back(r);
    }
    Check(x, dev.get(), relsPart);
    return out;
  }

  void ReadWorkbook(const QString& part, const std::vector<Relationship>&) {
    const QString rels = RelsPartOf(part);
    auto dev = OpenPart(part);
    QXmlStreamReader x(dev.get());
    while (!x.atEnd()) {
      if (x.readNext() != QXmlStreamReader::StartElement) continue;
      const auto a = x.attributes();
      if (x.name() == QLatin1String("workbookPr")) {
        const auto d = a.value(QLatin1String("date1904"));
        date1904_ =
            d == QLatin1String("1") || d.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
      } else if (x.name() == QLatin1String("sheet")) {
        QString id;
        for (const auto& at : a) {
          if (at.name() == QLatin1String("id") && !at.namespaceUri().isEmpty())
            id = at.value().toString();
        }
        if (id.isEmpty()) {
          for (const auto& at : a) {
            if (at.qualifiedName().endsWith(QLatin1String(":id"))) id = at.value().toString();
          }
        }
        const QString target = ids_.value(rels + QLatin1Char('#') + id);
        if (target.isEmpty()) Fail(x, QStringLiteral("foglio senza parte"));
        // Only worksheets: chart sheets have no cells.
        names_ << a.value(QLatin1String("name")).toString();
        parts_ << target;
      }
    }
    Check(x, dev.get(), part);
    if (names_.isEmpty()) throw WorkbookError(DamagedMessage(QStringLiteral("nessun foglio")));
  }

  // The text of an <si> or <is>: its <t> elements joined, phonetic runs left out.
  static QString ReadRichText(QXmlStreamReader& x) {
    const QString end = x.name().toString();
    QString text;
    int phonetic = 0;
    while (!x.atEnd()) {
      const auto t = x.readNext();
      if (t == QXmlStreamReader::StartElement) {
        if (x.name() == QLatin1String("rPh"))
          ++phonetic;
        else if (x.name() == QLatin1String("t") && phonetic == 0)
          text += x.readElementText(QXmlStreamReader::IncludeChildElements);
      } else if (t == QXmlStreamReader::EndElement) {
        if (x.name() == QLatin1String("rPh"))
          --phonetic;
        else if (x.name() == end)
          break;
      }
    }
    return text;
  }

  void ReadSharedStrings(const QString& part) {
    auto dev = OpenPart(part);
    QXmlStreamReader x(dev.get());
    while (!x.atEnd()) {
      if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("si")) {
        shared_.push_back(ReadRichText(x));
      }
    }
    Check(x, dev.get(), part);
  }

  void ReadStyles(const QString& part) {
    auto dev = OpenPart(part);
    QXmlStreamReader x(dev.get());
    QHash<int, bool> customDate;
    bool inCellXfs = false;
    while (!x.atEnd()) {
      const auto t = x.readNext();
      if (t == QXmlStreamReader::EndElement && x.name() == QLatin1String("cellXfs"))
        inCellXfs = false;
      if (t != QXmlStreamReader::StartElement) continue;
      const auto a = x.attributes();
      if (x.name() == QLatin1String("numFmt")) {
        customDate.insert(a.value(QLatin1String("numFmtId")).toInt(),
                          IsDateFormatText(a.value(QLatin1String("formatCode")).toString()));
      } else if (x.name() == QLatin1String("cellXfs")) {
        inCellXfs = true;
      } else if (inCellXfs && x.name() == QLatin1String("xf")) {
        const int id = a.value(QLatin1String("numFmtId")).toInt();
        xfIsDate_.push_back(customDate.contains(id) ? customDate.value(id)
                                                    : IsBuiltInDateFormat(id));
      }
    }
    Check(x, dev.get(), part);
  }

  void ReadCell(QXmlStreamReader& x, quint32 row, quint32& column,
                std::vector<Sheet::Entry>& cells) {
    const auto a = x.attributes();
    quint32 cellRow = row;
    const auto ref = a.value(QLatin1String("r"));
    if (ref.isEmpty()) {
      ++column;
    } else {
      quint32 refRow = 0;
      if (!ParseReference(ref, column, refRow)) Fail(x, QStringLiteral("cella non valida"));
      if (refRow) cellRow = refRow;
    }
    if (cellRow == 0) cellRow = 1;
    const QString type = a.value(QLatin1String("t")).toString();
    const int style = a.value(QLatin1String("s")).toInt();
    QString v;
    bool hasV = false;
    QString inline_;
    bool hasInline = false;
    while (!x.atEnd()) {
      const auto t = x.readNext();
      if (t == QXmlStreamReader::StartElement) {
        if (x.name() == QLatin1String("v")) {
          v = x.readElementText(QXmlStreamReader::IncludeChildElements);
          hasV = true;
        } else if (x.name() == QLatin1String("is")) {
          inline_ = ReadRichText(x);
          hasInline = true;
        } else {
          x.skipCurrentElement();
        }
      } else if (t == QXmlStreamReader::EndElement && x.name() == QLatin1String("c")) {
        break;
      }
    }
    if (x.hasError()) return;
    Variant value;
    if (type == QLatin1String("inlineStr")) {
      if (!hasInline && !hasV) return;
      value = Variant(hasInline ? inline_ : v);
    } else if (!hasV) {
      return;  // a cell with a style only
    } else if (type == QLatin1String("s")) {
      bool ok = false;
      const qlonglong i = v.trimmed().toLongLong(&ok);
      if (!ok || i < 0 || i >= static_cast<qlonglong>(shared_.size())) {
        Fail(x, QStringLiteral("testo condiviso %1 inesistente").arg(v));
      }
      value = Variant(shared_[static_cast<size_t>(i)]);
    } else if (type == QLatin1String("str")) {
      value = Variant(v);
    } else if (type == QLatin1String("b")) {
      value = Variant(v.trimmed() == QLatin1String("1") || v.trimmed() == QLatin1String("true"));
    } else if (type == QLatin1String("e")) {
      value = Variant::error(v.trimmed());
    } else if (type == QLatin1String("d")) {
      const QDateTime dt = QDateTime::fromString(v.trimmed(), Qt::ISODate);
      if (!dt.isValid()) Fail(x, QStringLiteral("data non valida"));
      value = Variant(dt);
    } else {
      bool ok = false;
      const double d = v.trimmed().toDouble(&ok);
      if (!ok) Fail(x, QStringLiteral("numero non valido"));
      const bool isDate =
          style >= 0 && style < static_cast<int>(xfIsDate_.size()) && xfIsDate_[style];
      value = isDate ? DateCellValue(d, date1904_) : Variant(d);
    }
    cells.push_back({cellRow, column, std::move(value)});
  }

  zip_t* zip_ = nullptr;
  bool date1904_ = false;
  QStringList names_, parts_;
  QHash<QString, QString> ids_;
  std::vector<QString> shared_;
  std::vector<bool> xfIsDate_;
};

}  // namespace

std::unique_ptr<Source> OpenXlsx(const QString& hostPath) {
  return std::make_unique<XlsxSource>(hostPath);
}

}  // namespace vx::workbook::detail
