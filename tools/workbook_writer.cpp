// libgsf's headers come first: they name GObject members that Qt's keywords would spoil.
#include "workbook_writer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>
#include <zip.h>

#include <QByteArray>
#include <QHash>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <list>
#include <map>

#include "platform/files.h"

namespace vx::tools {

namespace {

std::vector<BookCell> Sorted(const std::vector<BookCell>& cells) {
  std::vector<BookCell> s = cells;
  std::stable_sort(s.begin(), s.end(), [](const BookCell& a, const BookCell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  return s;
}

QString ColumnLetters(int column) {
  QString s;
  while (column > 0) {
    const int r = (column - 1) % 26;
    s.prepend(QChar('A' + r));
    column = (column - 1) / 26;
  }
  return s;
}

QString Number(double d) { return QString::number(d, 'g', 17); }

QString Esc(const QString& s) { return s.toHtmlEscaped(); }

quint8 ErrorCode(const QString& text) {
  static const QHash<QString, quint8> codes = {
      {"#NULL!", 0x00}, {"#DIV/0!", 0x07}, {"#VALUE!", 0x0F}, {"#REF!", 0x17},
      {"#NAME?", 0x1D}, {"#NUM!", 0x24},   {"#N/A", 0x2A}};
  return codes.value(text, 0x2A);
}

// ---------------------------------------------------------------- .xlsx

class XlsxParts {
 public:
  XlsxParts(const std::vector<BookSheet>& sheets, const BookOptions& o) : sheets_(sheets), o_(o) {}

  std::vector<std::pair<QString, QByteArray>> Build() {
    std::vector<std::pair<QString, QByteArray>> parts;
    std::vector<QByteArray> sheetXml;
    for (const auto& s : sheets_) sheetXml.push_back(SheetXml(s));
    const QString prefix = o_.absoluteTargets ? QStringLiteral("/xl/") : QString();
    QString ct = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
        "relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>");
    if (o_.sharedStrings) {
      ct += QStringLiteral(
          "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
          "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>");
    }
    for (size_t i = 0; i < sheets_.size(); ++i) {
      ct += QStringLiteral(
                "<Override PartName=\"/xl/worksheets/sheet%1.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>")
                .arg(i + 1);
    }
    ct += QStringLiteral("</Types>");
    parts.emplace_back(QStringLiteral("[Content_Types].xml"), ct.toUtf8());
    parts.emplace_back(
        QStringLiteral("_rels/.rels"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                       "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas."
                       "openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                       "Target=\"%1xl/workbook.xml\"/></Relationships>")
            .arg(o_.absoluteTargets ? QStringLiteral("/") : QString())
            .toUtf8());
    QString wb = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">");
    if (o_.date1904) wb += QStringLiteral("<workbookPr date1904=\"1\"/>");
    wb += QStringLiteral("<sheets>");
    QString rels = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    const QString relBase =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
    for (size_t i = 0; i < sheets_.size(); ++i) {
      wb += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>")
                .arg(Esc(sheets_[i].name))
                .arg(i + 1);
      rels += QStringLiteral(
                  "<Relationship Id=\"rId%1\" Type=\"%2worksheet\" "
                  "Target=\"%3worksheets/sheet%1.xml\"/>")
                  .arg(i + 1)
                  .arg(relBase, prefix);
    }
    wb += QStringLiteral("</sheets></workbook>");
    const size_t n = sheets_.size();
    rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2styles\" Target=\"%3styles.xml\"/>")
                .arg(n + 1)
                .arg(relBase, prefix);
    if (o_.sharedStrings) {
      rels += QStringLiteral(
                  "<Relationship Id=\"rId%1\" Type=\"%2sharedStrings\" "
                  "Target=\"%3sharedStrings.xml\"/>")
                  .arg(n + 2)
                  .arg(relBase, prefix);
    }
    rels += QStringLiteral("</Relationships>");
    parts.emplace_back(QStringLiteral("xl/workbook.xml"), wb.toUtf8());
    parts.emplace_back(QStringLiteral("xl/_rels/workbook.xml.rels"), rels.toUtf8());
    parts.emplace_back(
        QStringLiteral("xl/styles.xml"),
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
            "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
            "<fills count=\"1\"><fill><patternFill patternType=\"none\"/></fill></fills>"
            "<borders count=\"1\"><border/></borders>"
            "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\"/></cellStyleXfs>"
            "<cellXfs count=\"3\"><xf numFmtId=\"0\" xfId=\"0\"/>"
            "<xf numFmtId=\"164\" xfId=\"0\" applyNumberFormat=\"1\"/>"
            "<xf numFmtId=\"14\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
            "</styleSheet>")
            .toUtf8());
    if (o_.sharedStrings) parts.emplace_back(QStringLiteral("xl/sharedStrings.xml"), SharedXml());
    for (size_t i = 0; i < n; ++i) {
      parts.emplace_back(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), sheetXml[i]);
    }
    return parts;
  }

 private:
  int SharedIndex(const QString& s) {
    auto it = index_.find(s);
    if (it != index_.end()) return it.value();
    const int i = static_cast<int>(strings_.size());
    strings_.push_back(s);
    index_.insert(s, i);
    return i;
  }

  QByteArray SharedXml() const {
    QString x = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                    "count=\"%1\" uniqueCount=\"%1\">")
                    .arg(strings_.size());
    for (const QString& s : strings_) {
      if (o_.richText && s.size() > 1) {
        const qsizetype h = s.size() / 2;
        x += QStringLiteral(
                 "<si><r><t xml:space=\"preserve\">%1</t></r><r><rPr><b/></rPr>"
                 "<t xml:space=\"preserve\">%2</t></r><rPh sb=\"0\" eb=\"1\"><t>X</t>"
                 "</rPh></si>")
                 .arg(Esc(s.left(h)), Esc(s.mid(h)));
      } else {
        x += QStringLiteral("<si><t xml:space=\"preserve\">%1</t></si>").arg(Esc(s));
      }
    }
    x += QStringLiteral("</sst>");
    return x.toUtf8();
  }

  QString CellXml(const BookCell& c) {
    const QString ref = o_.omitReferences
                            ? QString()
                            : QStringLiteral(" r=\"%1%2\"").arg(ColumnLetters(c.column)).arg(c.row);
    const QString f = c.formula ? QStringLiteral("<f>1+0</f>") : QString();
    const Variant& v = c.value;
    switch (v.type()) {
      case Variant::Type::Text:
        if (c.formula)
          return QStringLiteral("<c%1 t=\"str\">%2<v>%3</v></c>").arg(ref, f, Esc(v.str()));
        if (o_.sharedStrings)
          return QStringLiteral("<c%1 t=\"s\"><v>%2</v></c>").arg(ref).arg(SharedIndex(v.str()));
        return QStringLiteral("<c%1 t=\"inlineStr\"><is><t xml:space=\"preserve\">%2</t></is></c>")
            .arg(ref, Esc(v.str()));
      case Variant::Type::Boolean:
        return QStringLiteral("<c%1 t=\"b\">%2<v>%3</v></c>").arg(ref, f, v.toBool() ? "1" : "0");
      case Variant::Type::Error:
        return QStringLiteral("<c%1 t=\"e\">%2<v>%3</v></c>").arg(ref, f, Esc(v.str()));
      case Variant::Type::Date:
        return QStringLiteral("<c%1 s=\"%2\">%3<v>%4</v></c>")
            .arg(ref, o_.builtInDateFormat ? "2" : "1", f,
                 Number(SerialOfDayNumber(v.toDayNumber(), o_.date1904)));
      case Variant::Type::Empty:
      case Variant::Type::Null:
        return QStringLiteral("<c%1/>").arg(ref);
      default:
        return QStringLiteral("<c%1>%2<v>%3</v></c>").arg(ref, f, Number(v.toDouble()));
    }
  }

  QByteArray SheetXml(const BookSheet& sheet) {
    QString x = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<sheetData>");
    const auto cells = Sorted(sheet.cells);
    int row = 0, column = 0;
    bool open = false;
    for (const auto& c : cells) {
      if (c.row != row) {
        if (open) x += QStringLiteral("</row>");
        if (o_.omitReferences) {
          while (row + 1 < c.row) {
            x += QStringLiteral("<row/>");
            ++row;
          }
          x += QStringLiteral("<row>");
        } else {
          x += QStringLiteral("<row r=\"%1\">").arg(c.row);
        }
        row = c.row;
        column = 0;
        open = true;
      }
      if (o_.omitReferences) {
        while (column + 1 < c.column) {
          x += QStringLiteral("<c/>");
          ++column;
        }
      }
      x += CellXml(c);
      column = c.column;
    }
    if (open) x += QStringLiteral("</row>");
    x += QStringLiteral("</sheetData></worksheet>");
    return x.toUtf8();
  }

  const std::vector<BookSheet>& sheets_;
  const BookOptions& o_;
  std::vector<QString> strings_;
  QHash<QString, int> index_;
};

// ---------------------------------------------------------------- .xls

constexpr int kMaxRecord = 8224;

class Biff {
 public:
  explicit Biff(const BookOptions& o) : o_(o), biff8_(!o.biff5) {}

  QByteArray Build(const std::vector<BookSheet>& sheets) {
    // Shared texts first, so that the SST can precede the sheets.
    if (biff8_ && o_.sharedStrings) {
      for (const auto& s : sheets) {
        for (const auto& c : s.cells) {
          if (c.value.isText() && !c.formula) SstIndex(c.value.str());
        }
      }
    }
    QByteArray g;
    Bof(g, 0x0005);
    if (biff8_)
      Rec(g, 0x0042, U16(1200));
    else if (o_.codePage)
      Rec(g, 0x0042, U16(o_.codePage));
    Rec(g, 0x0022, U16(o_.date1904 ? 1 : 0));
    for (int i = 0; i < 4; ++i) Font(g);
    {
      QByteArray f = U16(164);
      f += biff8_ ? XlString(QStringLiteral("dd/mm/yyyy"), 2)
                  : ByteString(QStringLiteral("dd/mm/yyyy"), 1);
      Rec(g, 0x041E, f);
    }
    for (int i = 0; i < 15; ++i) Xf(g, 0, true);
    Xf(g, 0, false);                                // 15: general cells
    Xf(g, o_.builtInDateFormat ? 14 : 164, false);  // 16: dates
    std::vector<int> boundAt;
    for (const auto& s : sheets) {
      boundAt.push_back(static_cast<int>(g.size()) + 4);
      QByteArray b = U32(0);
      b += char(0);
      b += char(0);
      b += biff8_ ? XlString(s.name, 1) : ByteString(s.name, 1);
      Rec(g, 0x0085, b);
    }
    if (biff8_ && o_.sharedStrings) Sst(g);
    Rec(g, 0x000A, {});
    QByteArray out = g;
    for (size_t i = 0; i < sheets.size(); ++i) {
      const quint32 at = static_cast<quint32>(out.size());
      const QByteArray pos = U32(at);
      std::memcpy(out.data() + boundAt[i], pos.constData(), 4);
      out += SheetStream(sheets[i]);
    }
    return out;
  }

 private:
  static QByteArray U16(int v) {
    QByteArray b(2, 0);
    b[0] = char(v & 0xFF);
    b[1] = char((v >> 8) & 0xFF);
    return b;
  }
  static QByteArray U32(quint32 v) { return U16(v & 0xFFFF) + U16(v >> 16); }
  static QByteArray F64(double d) {
    quint64 bits;
    std::memcpy(&bits, &d, 8);
    QByteArray b(8, 0);
    for (int i = 0; i < 8; ++i) b[i] = char((bits >> (8 * i)) & 0xFF);
    return b;
  }
  static void Rec(QByteArray& out, int type, const QByteArray& data) {
    out += U16(type);
    out += U16(static_cast<int>(data.size()));
    out += data;
  }
  void Bof(QByteArray& out, int kind) const {
    QByteArray b = U16(biff8_ ? 0x0600 : 0x0500) + U16(kind) + U16(0x0DBB) + U16(0x07CC);
    if (biff8_) b += U32(0) + U32(0x0600);
    Rec(out, 0x0809, b);
  }
  void Font(QByteArray& g) const {
    QByteArray f = U16(200) + U16(0) + U16(0x7FFF) + U16(400) + U16(0);
    f += char(0);
    f += char(0);
    f += char(0);
    f += char(0);
    f += biff8_ ? XlString(QStringLiteral("Arial"), 1) : ByteString(QStringLiteral("Arial"), 1);
    Rec(g, 0x0031, f);
  }
  void Xf(QByteArray& g, int format, bool style) const {
    QByteArray x = U16(0) + U16(format) + U16(style ? 0xFFF5 : 0x0001);
    x += QByteArray(biff8_ ? 14 : 10, 0);
    Rec(g, 0x00E0, x);
  }
  static bool Compressible(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 256; });
  }
  static QByteArray Chars(const QString& s, bool wide) {
    QByteArray b;
    for (QChar c : s) {
      if (wide)
        b += U16(c.unicode());
      else
        b += char(c.unicode());
    }
    return b;
  }
  // A BIFF8 text with a countBytes count, option byte and characters.
  static QByteArray XlString(const QString& s, int countBytes) {
    const bool wide = !Compressible(s);
    QByteArray b =
        countBytes == 1 ? QByteArray(1, char(s.size())) : U16(static_cast<int>(s.size()));
    b += char(wide ? 1 : 0);
    b += Chars(s, wide);
    return b;
  }
  QByteArray Encode(const QString& s) const {
    if (o_.codePage == 1252 || o_.codePage == 0) return fs::ToCp1252(s);
    QStringEncoder enc(("IBM" + QByteArray::number(o_.codePage)).constData());
    if (o_.codePage >= 1250 && o_.codePage <= 1258)
      enc = QStringEncoder(("windows-" + QByteArray::number(o_.codePage)).constData());
    return enc.isValid() ? QByteArray(enc.encode(s)) : fs::ToCp1252(s);
  }
  QByteArray ByteString(const QString& s, int lengthBytes) const {
    const QByteArray bytes = Encode(s);
    QByteArray b =
        lengthBytes == 1 ? QByteArray(1, char(bytes.size())) : U16(static_cast<int>(bytes.size()));
    return b + bytes;
  }

  int SstIndex(const QString& s) {
    auto it = sstIndex_.find(s);
    if (it != sstIndex_.end()) return it.value();
    const int i = static_cast<int>(sst_.size());
    sst_.push_back(s);
    sstIndex_.insert(s, i);
    return i;
  }

  // The SST, split into CONTINUE records; a text split between records resumes after an
  // option byte.
  void Sst(QByteArray& g) const {
    std::vector<QByteArray> recs(
        1, U32(static_cast<quint32>(sst_.size())) + U32(static_cast<quint32>(sst_.size())));
    for (const QString& s : sst_) {
      const bool wide = !Compressible(s);
      const int cs = wide ? 2 : 1;
      if (recs.back().size() + 3 + cs > kMaxRecord) recs.emplace_back();
      recs.back() += U16(static_cast<int>(s.size()));
      recs.back() += char(wide ? 1 : 0);
      qsizetype i = 0;
      while (i < s.size()) {
        const qsizetype room = (kMaxRecord - recs.back().size()) / cs;
        if (room <= 0) {
          recs.emplace_back(1, char(wide ? 1 : 0));
          continue;
        }
        const qsizetype take = std::min(room, s.size() - i);
        recs.back() += Chars(s.mid(i, take), wide);
        i += take;
      }
    }
    Rec(g, 0x00FC, recs[0]);
    for (size_t i = 1; i < recs.size(); ++i) Rec(g, 0x003C, recs[i]);
  }

  static QByteArray Rk(double d, bool& ok) {
    ok = d == std::floor(d) && d >= -(1 << 29) && d < (1 << 29);
    return ok ? U32((static_cast<quint32>(static_cast<qint32>(d)) << 2) | 2) : QByteArray();
  }

  QByteArray SheetStream(const BookSheet& sheet) {
    QByteArray s;
    Bof(s, 0x0010);
    const auto cells = Sorted(sheet.cells);
    for (size_t i = 0; i < cells.size(); ++i) {
      const BookCell& c = cells[i];
      const QByteArray rc = U16(c.row - 1) + U16(c.column - 1);
      const Variant& v = c.value;
      if (c.formula) {
        Formula(s, c, rc);
        continue;
      }
      switch (v.type()) {
        case Variant::Type::Text:
          if (biff8_ && o_.sharedStrings)
            Rec(s, 0x00FD, rc + U16(15) + U32(SstIndex(v.str())));
          else
            Rec(s, 0x0204, rc + U16(15) + (biff8_ ? XlString(v.str(), 2) : ByteString(v.str(), 2)));
          break;
        case Variant::Type::Boolean:
          Rec(s, 0x0205, rc + U16(15) + QByteArray(1, char(v.toBool() ? 1 : 0)) + QByteArray(1, 0));
          break;
        case Variant::Type::Error:
          Rec(s, 0x0205, rc + U16(15) + QByteArray(1, char(ErrorCode(v.str()))) + QByteArray(1, 1));
          break;
        case Variant::Type::Date:
          Rec(s, 0x0203, rc + U16(16) + F64(SerialOfDayNumber(v.toDayNumber(), o_.date1904)));
          break;
        case Variant::Type::Empty:
        case Variant::Type::Null:
          Rec(s, 0x0201, rc + U16(15));
          break;
        default: {
          // Whole numbers as RK; a run of them in one row as one MULRK.
          bool ok = false;
          QByteArray rk = Rk(v.toDouble(), ok);
          if (!ok) {
            Rec(s, 0x0203, rc + U16(15) + F64(v.toDouble()));
            break;
          }
          size_t j = i + 1;
          QByteArray run = U16(15) + rk;
          while (j < cells.size() && cells[j].row == c.row &&
                 cells[j].column == cells[j - 1].column + 1 && !cells[j].formula &&
                 cells[j].value.isNumber()) {
            bool ok2 = false;
            const QByteArray rk2 = Rk(cells[j].value.toDouble(), ok2);
            if (!ok2) break;
            run += U16(15) + rk2;
            ++j;
          }
          if (j == i + 1) {
            Rec(s, 0x027E, rc + U16(15) + rk);
          } else {
            Rec(s, 0x00BD, rc + run + U16(cells[j - 1].column - 1));
            i = j - 1;
          }
        }
      }
    }
    Rec(s, 0x000A, {});
    return s;
  }

  void Formula(QByteArray& s, const BookCell& c, const QByteArray& rc) const {
    const Variant& v = c.value;
    QByteArray result(8, 0);
    int xf = 15;
    bool text = false;
    switch (v.type()) {
      case Variant::Type::Text:
        result[0] = v.str().isEmpty() ? 3 : 0;
        text = !v.str().isEmpty();
        break;
      case Variant::Type::Boolean:
        result[0] = 1;
        result[2] = char(v.toBool() ? 1 : 0);
        break;
      case Variant::Type::Error:
        result[0] = 2;
        result[2] = char(ErrorCode(v.str()));
        break;
      case Variant::Type::Date:
        xf = 16;
        result = F64(SerialOfDayNumber(v.toDayNumber(), o_.date1904));
        break;
      default:
        result = F64(v.toDouble());
    }
    if (result.size() == 8 && !(v.isNumber() || v.isDate())) {
      result[6] = char(0xFF);
      result[7] = char(0xFF);
    }
    // The formula "=0": one integer token.
    const QByteArray rgce = QByteArray(1, char(0x1E)) + U16(0);
    Rec(s, 0x0006,
        rc + U16(xf) + result + U16(0) + U32(0) + U16(static_cast<int>(rgce.size())) + rgce);
    if (!text) return;
    if (o_.sharedFormulaBeforeString) {
      Rec(s, 0x04BC,
          U16(c.row - 1) + U16(c.row - 1) + QByteArray(1, char(c.column - 1)) +
              QByteArray(1, char(c.column - 1)) + U16(0) + U16(3) + rgce);
    }
    Rec(s, 0x0207, biff8_ ? XlString(v.str(), 2) : ByteString(v.str(), 2));
  }

  const BookOptions& o_;
  bool biff8_;
  std::vector<QString> sst_;
  QHash<QString, int> sstIndex_;
};

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}

}  // namespace

double SerialOfDayNumber(double dayNumber, bool system1904) {
  if (system1904) return dayNumber - 1462;
  if (dayNumber >= 2 && dayNumber < 61) return dayNumber - 1;
  return dayNumber;
}

bool WriteXlsx(const QString& hostPath, const std::vector<BookSheet>& sheets,
               const BookOptions& options, QString* error) {
  XlsxParts builder(sheets, options);
  const auto parts = builder.Build();
  int err = 0;
  zip_t* z = zip_open(hostPath.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!z) {
    SetError(error, QStringLiteral("impossibile creare %1").arg(hostPath));
    return false;
  }
  for (const auto& [name, data] : parts) {
    zip_source_t* src =
        zip_source_buffer(z, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    if (!src ||
        zip_file_add(z, name.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
      if (src) zip_source_free(src);
      SetError(error, QString::fromLocal8Bit(zip_strerror(z)));
      zip_discard(z);
      return false;
    }
  }
  // The buffers (held by `parts`) must live until the archive is written.
  if (zip_close(z) < 0) {
    SetError(error, QString::fromLocal8Bit(zip_strerror(z)));
    zip_discard(z);
    return false;
  }
  return true;
}

bool WriteCompoundFile(const QString& hostPath, const QString& streamName,
                       const QByteArray& bytes) {
  static const bool initialised = [] {
    gsf_init();
    return true;
  }();
  (void)initialised;
  GError* gerr = nullptr;
  GsfOutput* out = gsf_output_stdio_new(hostPath.toLocal8Bit().constData(), &gerr);
  if (!out) {
    if (gerr) g_error_free(gerr);
    return false;
  }
  GsfOutfile* ole = gsf_outfile_msole_new(out);
  GsfOutput* child = gsf_outfile_new_child(ole, streamName.toUtf8().constData(), FALSE);
  bool ok = child && gsf_output_write(child, static_cast<size_t>(bytes.size()),
                                      reinterpret_cast<const guint8*>(bytes.constData()));
  if (child) {
    ok = gsf_output_close(child) && ok;
    g_object_unref(child);
  }
  ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;  // closes the file too
  g_object_unref(ole);
  if (!gsf_output_is_closed(out)) ok = gsf_output_close(out) && ok;
  g_object_unref(out);
  return ok;
}

bool WriteXls(const QString& hostPath, const std::vector<BookSheet>& sheets,
              const BookOptions& options, QString* error) {
  Biff biff(options);
  const bool ok = WriteCompoundFile(
      hostPath, options.biff5 ? QStringLiteral("Book") : QStringLiteral("Workbook"),
      biff.Build(sheets));
  if (!ok) SetError(error, QStringLiteral("scrittura non riuscita: %1").arg(hostPath));
  return ok;
}

}  // namespace vx::tools
