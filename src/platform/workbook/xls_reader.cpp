// .xls: the Workbook (BIFF8) or Book (BIFF5) stream of the compound file, walked record by
// record: the sheets, shared strings, formats and date system of the globals, then a
// sheet's cell records on demand. Every read is checked against the record's length.
#include <QHash>
#include <QStringDecoder>
#include <cstring>

#include "platform/files.h"
#include "platform/workbook/compound_file.h"
#include "platform/workbook/workbook_source.h"

namespace vx::workbook::detail {

namespace {

enum : quint16 {
  kFormula = 0x0006,
  kEof = 0x000A,
  kDateMode = 0x0022,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kMulBlank = 0x00BE,
  kRString = 0x00D6,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kBlank = 0x0201,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kArray = 0x0221,
  kTable = 0x0236,
  kRk = 0x027E,
  kFormat = 0x041E,
  kShrFmla = 0x04BC,
  kBof = 0x0809,
};

[[noreturn]] void Damaged(const QString& what = {}) { throw WorkbookError(DamagedMessage(what)); }

quint16 U16(const uchar* p) { return static_cast<quint16>(p[0] | (p[1] << 8)); }
quint32 U32(const uchar* p) {
  return static_cast<quint32>(p[0]) | (static_cast<quint32>(p[1]) << 8) |
         (static_cast<quint32>(p[2]) << 16) | (static_cast<quint32>(p[3]) << 24);
}
double F64(const uchar* p) {
  quint64 bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

double DecodeRk(quint32 rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<qint32>(rk) >> 2);
  } else {
    const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100.0 : v;
}

QString ErrorText(quint8 code) {
  switch (code) {
    case 0x00:
      return QStringLiteral("#NULL!");
    case 0x07:
      return QStringLiteral("#DIV/0!");
    case 0x0F:
      return QStringLiteral("#VALUE!");
    case 0x17:
      return QStringLiteral("#REF!");
    case 0x1D:
      return QStringLiteral("#NAME?");
    case 0x24:
      return QStringLiteral("#NUM!");
    case 0x2A:
      return QStringLiteral("#N/A");
    default:
      return QStringLiteral("#N/A");
  }
}

struct Record {
  quint16 type = 0;
  const uchar* data = nullptr;
  quint32 size = 0;
};

// The records of the stream from an offset.
class Records {
 public:
  Records(const QByteArray& stream, quint32 from) : s_(stream), pos_(from) {
    if (from > static_cast<quint32>(s_.size())) Damaged(QStringLiteral("foglio fuori dal file"));
  }
  bool Next(Record& r) {
    const auto total = static_cast<quint32>(s_.size());
    if (pos_ + 4 > total) return false;
    const auto* p = reinterpret_cast<const uchar*>(s_.constData()) + pos_;
    r.type = U16(p);
    r.size = U16(p + 2);
    if (pos_ + 4 + r.size > total) Damaged(QStringLiteral("record troncato"));
    r.data = p + 4;
    pos_ += 4 + r.size;
    return true;
  }
  // The next record when it is a CONTINUE, consumed; false otherwise.
  bool NextContinue(Record& r) {
    const quint32 keep = pos_;
    if (Next(r) && r.type == kContinue) return true;
    pos_ = keep;
    return false;
  }

 private:
  const QByteArray& s_;
  quint32 pos_;
};

// Reads across a record and the CONTINUE records after it; a text's characters that run
// into a CONTINUE resume after a fresh option byte there.
class Chain {
 public:
  explicit Chain(const Record& first) { segs_.push_back(first); }
  void Add(const Record& r) { segs_.push_back(r); }

  quint8 U8() {
    Ensure();
    return seg().data[at_++];
  }
  quint16 U16v() {
    const quint8 lo = U8();
    return static_cast<quint16>(lo | (U8() << 8));
  }
  quint32 U32v() {
    const quint16 lo = U16v();
    return lo | (static_cast<quint32>(U16v()) << 16);
  }
  void Skip(quint32 n) {
    while (n > 0) {
      Ensure();
      const quint32 take = std::min(n, seg().size - at_);
      at_ += take;
      n -= take;
    }
  }
  QString Chars(quint32 count, bool wide) {
    QString out;
    out.reserve(static_cast<qsizetype>(std::min<quint32>(count, 65536)));
    while (count > 0) {
      if (at_ >= seg().size) {
        Advance();
        wide = (U8() & 1) != 0;  // the option byte at the start of the CONTINUE
        continue;
      }
      if (wide) {
        if (seg().size - at_ < 2) Damaged(QStringLiteral("testo spezzato"));
        out += QChar(U16(seg().data + at_));
        at_ += 2;
      } else {
        out += QChar(static_cast<char16_t>(seg().data[at_]));
        at_ += 1;
      }
      --count;
    }
    return out;
  }
  // A BIFF8 text with its count of cntBytes (1 or 2) bytes: option byte, rich-text runs and
  // the extended block skipped.
  QString UnicodeString(int cntBytes) {
    const quint32 count = cntBytes == 1 ? U8() : U16v();
    const quint8 flags = U8();
    quint32 runs = 0, ext = 0;
    if (flags & 0x08) runs = U16v();
    if (flags & 0x04) ext = U32v();
    QString s = Chars(count, flags & 1);
    Skip(runs * 4);
    Skip(ext);
    return s;
  }
  bool AtEnd() const { return idx_ + 1 >= segs_.size() && at_ >= segs_[idx_].size; }

 private:
  const Record& seg() const { return segs_[idx_]; }
  void Advance() {
    if (idx_ + 1 >= segs_.size()) Damaged(QStringLiteral("testo troncato"));
    ++idx_;
    at_ = 0;
  }
  void Ensure() {
    while (at_ >= seg().size) Advance();
  }
  std::vector<Record> segs_;
  size_t idx_ = 0;
  quint32 at_ = 0;
};

class XlsSource : public Source {
 public:
  explicit XlsSource(const QString& hostPath) {
    CompoundFile cf =
        ReadCompoundFile(hostPath, {QStringLiteral("Workbook"), QStringLiteral("Book")});
    if (!cf.content) {
      for (const QString& s : cf.streams) {
        if (s.compare(QLatin1String("EncryptedPackage"), Qt::CaseInsensitive) == 0 ||
            s.compare(QLatin1String("EncryptionInfo"), Qt::CaseInsensitive) == 0) {
          throw WorkbookError(QStringLiteral("il file è protetto da password"));
        }
      }
      throw WorkbookError(QStringLiteral("il file non contiene una cartella di lavoro Excel"));
    }
    stream_ = std::move(*cf.content);
    ReadGlobals();
  }

  QStringList SheetNames() const override {
    QStringList n;
    for (const auto& s : sheets_) n << s.name;
    return n;
  }

  std::vector<Sheet::Entry> ReadSheet(int index) override {
    std::vector<Sheet::Entry> cells;
    Records recs(stream_, sheets_.at(index).offset);
    Record r;
    if (!recs.Next(r) || r.type != kBof) Damaged(QStringLiteral("inizio del foglio mancante"));
    int depth = 1;
    bool pendingString = false;
    Sheet::Entry pending{};
    auto add = [&](quint32 row, quint32 col, Variant v) {
      cells.push_back({row + 1, col + 1, std::move(v)});
    };
    auto number = [&](quint16 xf, double d) {
      return xf < xfDate_.size() && xfDate_[xf] ? DateCellValue(d, date1904_) : Variant(d);
    };
    auto need = [&](quint32 n) {
      if (r.size < n) Damaged(QStringLiteral("record di cella troppo corto"));
    };
    auto flushPending = [&] {
      if (pendingString) {
        cells.push_back(pending);  // the text that never came reads as empty text
        pendingString = false;
      }
    };
    bool ended = false;
    while (recs.Next(r)) {
      if (r.type == kBof) {
        ++depth;
        continue;
      }
      if (r.type == kEof) {
        if (--depth == 0) {
          ended = true;
          break;
        }
        continue;
      }
      if (depth != 1) continue;
      if (pendingString && r.type != kString && r.type != kShrFmla && r.type != kArray &&
          r.type != kTable && r.type != kContinue) {
        flushPending();
      }
      switch (r.type) {
        case kNumber:
          need(14);
          add(U16(r.data), U16(r.data + 2), number(U16(r.data + 4), F64(r.data + 6)));
          break;
        case kRk:
          need(10);
          add(U16(r.data), U16(r.data + 2), number(U16(r.data + 4), DecodeRk(U32(r.data + 6))));
          break;
        case kMulRk: {
          need(6);
          const quint16 row = U16(r.data), first = U16(r.data + 2);
          const quint32 n = (r.size - 6) / 6;
          for (quint32 i = 0; i < n; ++i) {
            const uchar* p = r.data + 4 + i * 6;
            add(row, first + i, number(U16(p), DecodeRk(U32(p + 2))));
          }
          break;
        }
        case kLabel:
        case kRString: {
          need(8);
          Chain c(r);
          c.Skip(6);
          add(U16(r.data), U16(r.data + 2),
              Variant(biff8_ ? c.UnicodeString(2) : ByteString(c, 2)));
          break;
        }
        case kLabelSst: {
          need(10);
          const quint32 i = U32(r.data + 6);
          if (i >= sst_.size()) Damaged(QStringLiteral("testo condiviso inesistente"));
          add(U16(r.data), U16(r.data + 2), Variant(sst_[i]));
          break;
        }
        case kBoolErr: {
          need(8);
          const quint8 v = r.data[6];
          add(U16(r.data), U16(r.data + 2),
              r.data[7] ? Variant::error(ErrorText(v)) : Variant(v != 0));
          break;
        }
        case kFormula: {
          need(20);
          const quint32 row = U16(r.data), col = U16(r.data + 2);
          const uchar* res = r.data + 6;
          if (U16(res + 6) == 0xFFFF) {
            switch (res[0]) {
              case 0:  // text, in the STRING record that follows
                pendingString = true;
                pending = {row + 1, col + 1, Variant(QString())};
                break;
              case 1:
                add(row, col, Variant(res[2] != 0));
                break;
              case 2:
                add(row, col, Variant::error(ErrorText(res[2])));
                break;
              default:  // 3: empty text
                add(row, col, Variant(QString()));
            }
          } else {
            add(row, col, number(U16(r.data + 4), F64(res)));
          }
          break;
        }
        case kString: {
          if (!pendingString) break;
          Chain c(r);
          Record more;
          while (recs.NextContinue(more)) c.Add(more);
          pending.value = Variant(biff8_ ? c.UnicodeString(2) : ByteString(c, 2));
          cells.push_back(pending);
          pendingString = false;
          break;
        }
        default:
          break;  // BLANK, MULBLANK and the rest hold no value
      }
    }
    flushPending();
    if (!ended) Damaged(QStringLiteral("foglio troncato"));
    return cells;
  }

 private:
  struct SheetInfo {
    QString name;
    quint32 offset;
  };

  QString Decode(const QByteArray& bytes) const {
    if (codePage_ == 1252 || codePage_ == 0) return fs::FromCp1252(bytes);
    QByteArray name;
    switch (codePage_) {
      case 367:
        name = "US-ASCII";
        break;
      case 1200:
        return QString::fromLatin1(bytes);
      case 10000:
      case 32768:
        name = "macintosh";
        break;
      case 32769:
        return fs::FromCp1252(bytes);
      default:
        name = codePage_ >= 1250 && codePage_ <= 1258 ? "windows-" + QByteArray::number(codePage_)
                                                      : "IBM" + QByteArray::number(codePage_);
    }
    QStringDecoder dec(name.constData());
    if (!dec.isValid()) return fs::FromCp1252(bytes);
    return dec.decode(bytes);
  }

  // A BIFF5 text: its length in lenBytes bytes, then the bytes in the code page.
  QString ByteString(Chain& c, int lenBytes) {
    const quint32 n = lenBytes == 1 ? c.U8() : c.U16v();
    QByteArray b;
    b.reserve(static_cast<qsizetype>(n));
    for (quint32 i = 0; i < n; ++i) b.append(static_cast<char>(c.U8()));
    return Decode(b);
  }

  void ReadGlobals() {
    Records recs(stream_, 0);
    Record r;
    if (!recs.Next(r) || r.type != kBof || r.size < 4) {
      if (r.type == 0x0009 || r.type == 0x0209 || r.type == 0x0409) {
        throw WorkbookError(QStringLiteral("il formato Excel del file è troppo vecchio"));
      }
      Damaged(QStringLiteral("inizio della cartella mancante"));
    }
    const quint16 version = U16(r.data);
    if (version == 0x0600) {
      biff8_ = true;
    } else if (version == 0x0500) {
      biff8_ = false;
    } else {
      throw WorkbookError(QStringLiteral("versione del formato Excel non supportata"));
    }
    std::vector<int> xfFormat;
    QHash<int, QString> formats;
    bool ended = false;
    while (recs.Next(r)) {
      switch (r.type) {
        case kEof:
          ended = true;
          break;
        case kFilePass:
          throw WorkbookError(QStringLiteral("il file è protetto da password"));
        case kCodePage:
          if (r.size >= 2) codePage_ = U16(r.data);
          break;
        case kDateMode:
          if (r.size >= 2) date1904_ = U16(r.data) != 0;
          break;
        case kXf:
          if (r.size < 4) Damaged();
          xfFormat.push_back(U16(r.data + 2));
          break;
        case kFormat: {
          if (r.size < 3) Damaged();
          Chain c(r);
          const int id = c.U16v();
          formats.insert(id, biff8_ ? c.UnicodeString(2) : ByteString(c, 1));
          break;
        }
        case kBoundSheet: {
          if (r.size < 7) Damaged();
          Chain c(r);
          const quint32 offset = c.U32v();
          c.U8();  // visibility
          const quint8 kind = c.U8();
          const QString name = biff8_ ? c.UnicodeString(1) : ByteString(c, 1);
          if (kind == 0) sheets_.push_back({name, offset});
          break;
        }
        case kSst: {
          Chain c(r);
          Record more;
          while (recs.NextContinue(more)) c.Add(more);
          c.U32v();
          const quint32 unique = c.U32v();
          sst_.reserve(std::min<quint32>(unique, 1u << 20));
          for (quint32 i = 0; i < unique && !c.AtEnd(); ++i) sst_.push_back(c.UnicodeString(2));
          break;
        }
        default:
          break;
      }
      if (ended) break;
    }
    if (!ended) Damaged(QStringLiteral("cartella troncata"));
    if (sheets_.empty()) Damaged(QStringLiteral("nessun foglio"));
    xfDate_.reserve(xfFormat.size());
    for (int f : xfFormat) {
      xfDate_.push_back(formats.contains(f) ? IsDateFormatText(formats.value(f))
                                            : IsBuiltInDateFormat(f));
    }
  }

  QByteArray stream_;
  bool biff8_ = true;
  bool date1904_ = false;
  quint16 codePage_ = 0;
  std::vector<SheetInfo> sheets_;
  std::vector<QString> sst_;
  std::vector<bool> xfDate_;
};

}  // namespace

std::unique_ptr<Source> OpenXls(const QString& hostPath) {
  return std::make_unique<XlsSource>(hostPath);
}

}  // namespace vx::workbook::detail
