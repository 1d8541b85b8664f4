#include "pricelists/corvalia_import.h"

#include <QElapsedTimer>
#include <optional>

#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace vx::pricelists {

namespace {

// Lines longer than these are used; shorter ones only advance the bar.
constexpr int kLongLine = 100;    // types B and A
constexpr int kBarcodeLine = 17;  // type T
constexpr int kMinBarcodeLength = 8;
// The loops yield at most this often: a yield per line would cost more than the line.
constexpr qint64 kYieldEveryMs = 25;

// The whole number that a column holds as digits with blanks around ("000012345",
// " 12345  "); nullopt for anything else (blank, a sign, a point, blanks between digits).
std::optional<qint64> DigitsIn(const QString& column) {
  qsizetype from = 0, to = column.size();
  while (from < to && column[from] == QLatin1Char(' ')) ++from;
  while (to > from && column[to - 1] == QLatin1Char(' ')) --to;
  if (from == to || to - from > 18) return std::nullopt;
  qint64 v = 0;
  for (qsizetype i = from; i < to; ++i) {
    const char16_t c = column[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    v = v * 10 + (c - u'0');
  }
  return v;
}

// What a pass makes of one line: too short (or, type T, without its separator letter) it is
// passed over; with a code or a price that is no number it is damaged.
enum class Use { Skipped, Damaged, Used };

struct LineB {
  Use use = Use::Skipped;
  QString code;  // characters 1-9 as read
  qint64 codart = 0, hundredths = 0;
};

LineB ReadLineB(const QString& line) {
  LineB b;
  if (line.size() <= kLongLine) return b;
  b.code = line.left(9);
  const auto codart = DigitsIn(b.code);
  const auto hundredths = DigitsIn(line.mid(61, 13));
  if (!codart || !hundredths) {
    b.use = Use::Damaged;
    return b;
  }
  b.use = Use::Used;
  b.codart = *codart;
  b.hundredths = *hundredths;
  return b;
}

struct LineT {
  Use use = Use::Skipped;
  qint64 codare = 0;
  QString barcode;
};

LineT ReadLineT(const QString& line) {
  LineT t;
  const QChar separator = line.size() > kBarcodeLine ? line[9] : QChar();
  if (separator != QLatin1Char('E') && separator != QLatin1Char('B')) return t;
  // Cut at every occurrence of the letter: the code before the first, the barcode up to the
  // second (or to the end of the line).
  const qsizetype first = line.indexOf(separator);
  qsizetype second = line.indexOf(separator, first + 1);
  if (second < 0) second = line.size();
  const auto codare = DigitsIn(line.left(first));
  if (!codare) {
    t.use = Use::Damaged;
    return t;
  }
  t.use = Use::Used;
  t.codare = *codare;
  t.barcode = line.mid(first + 1, second - first - 1);
  return t;
}

// Type A: the code only; the pass reads the rest of a used line.
struct LineA {
  Use use = Use::Skipped;
  qint64 code = 0;
};

LineA ReadLineA(const QString& line) {
  LineA a;
  if (line.size() <= kLongLine) return a;
  const auto code = DigitsIn(line.left(9));
  a.use = code ? Use::Used : Use::Damaged;
  a.code = code.value_or(0);
  return a;
}

enum class Kind { A, B, T };

Use UseOf(Kind kind, const QString& line) {
  switch (kind) {
    case Kind::B:
      return ReadLineB(line).use;
    case Kind::T:
      return ReadLineT(line).use;
    case Kind::A:
      return ReadLineA(line).use;
  }
  return Use::Skipped;
}

// Whether the pass would write from the line (type T: a barcode long enough to be added).
bool GivesRow(Kind kind, const QString& line) {
  if (kind != Kind::T) return UseOf(kind, line) == Use::Used;
  const LineT t = ReadLineT(line);
  return t.use == Use::Used && t.barcode.trimmed().size() >= kMinBarcodeLength;
}

// Whether the file ends in the middle of its last line: that line has no line end, is not
// blank and is shorter than the file's records (the shortest line with its end that the
// pass uses; the shortest line the pass reads when there is none).
bool CutShort(const CorvaliaFile& file, Kind kind) {
  if (file.ended || file.lines.isEmpty() || file.lines.last().trimmed().isEmpty()) return false;
  std::optional<qsizetype> record;
  for (qsizetype i = 0; i + 1 < file.lines.size(); ++i) {
    const QString& line = file.lines[i];
    if ((!record || line.size() < *record) && UseOf(kind, line) == Use::Used) {
      record = line.size();
    }
  }
  const qsizetype shortest = (kind == Kind::T ? kBarcodeLine : kLongLine) + 1;
  return file.lines.last().size() < record.value_or(shortest);
}

// True when a line other than a cut-short last one gives the pass a row.
bool HasRows(const CorvaliaFile& file, Kind kind) {
  const qsizetype n = file.lines.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (GivesRow(kind, file.lines[i])) return i + 1 < n || !CutShort(file, kind);
  }
  return false;
}

// The bar and the yields of one pass: Begin with the file's line count, a step for every
// line read, a yield at the start and then every few tens of milliseconds; End whatever
// happens.
class PassProgress {
 public:
  PassProgress(common::ProgressSink& sink, int lines) : sink_(sink) {
    sink_.Begin(lines);
    sink_.Yield();
    timer_.start();
  }
  ~PassProgress() { sink_.End(); }
  void LineDone() {
    sink_.Step();
    if (timer_.elapsed() >= kYieldEveryMs) {
      sink_.Yield();
      timer_.restart();
    }
  }

 private:
  common::ProgressSink& sink_;
  QElapsedTimer timer_;
};

void Damaged(const CorvaliaFile& file, int index, PassOutcome& out,
             std::vector<DamagedLine>& damaged) {
  damaged.push_back({file.name, index + 1});
  ++out.damaged;
}

// The cut-short last line is listed among the damaged lines and not applied.
void Incomplete(const CorvaliaFile& file, PassOutcome& out, std::vector<DamagedLine>& damaged) {
  damaged.push_back({file.name, static_cast<int>(file.lines.size()), true});
  out.incomplete = true;
}

// The index of the last line when the file was cut in the middle of it, else -1.
int CutLine(const CorvaliaFile& file, Kind kind) {
  return CutShort(file, kind) ? static_cast<int>(file.lines.size()) - 1 : -1;
}

void ReportDamaged(const CorvaliaFile& file, const PassOutcome& out, common::ProgressSink& sink) {
  if (out.damaged > 0) {
    sink.Status(QStringLiteral("File %1: %2 righe non valide scartate (codice o prezzo non "
                               "numerico).")
                    .arg(file.name)
                    .arg(out.damaged));
  }
  if (out.incomplete) {
    sink.Status(QStringLiteral("File %1: l'ultima riga (riga %2) è incompleta e non è stata "
                               "importata.")
                    .arg(file.name)
                    .arg(file.lines.size()));
  }
}

// The type B price: hundredths held as a single, written through "########0.00", which the
// single column reads back.
float PriceOf(qint64 hundredths) {
  const float price = static_cast<float>(static_cast<double>(hundredths) / 100.0);
  const QString text = Format(Variant(price), QStringLiteral("########0.00"));
  return static_cast<float>(ParseRegional(text).value_or(0));
}

}  // namespace

QString FirstMatchingFile(const QString& folder, const QString& pattern) {
  const QStringList names = fs::ListFolder(folder, pattern);
  return names.isEmpty() ? QString() : names.first();
}

CorvaliaFile ReadCorvaliaFile(const QString& path) {
  CorvaliaFile f;
  f.path = path;
  f.name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
  const auto refuse = [&f](const QString& reason) {
    return CorvaliaError(
        QStringLiteral("Il file %1 %2: listino non aggiornato").arg(f.name, reason));
  };
  QString why;
  const std::optional<QByteArray> bytes = fs::ReadFileBytes(path, fs::kMaxPriceListBytes, &why);
  if (!bytes) throw refuse(why);
  QString notText;
  if (bytes->startsWith("\xFF\xFE") || bytes->startsWith("\xFE\xFF")) {
    notText = QStringLiteral("è codificato in UTF-16");
  } else if (const qsizetype nul = bytes->indexOf('\0'); nul >= 0) {
    notText = QStringLiteral("contiene un byte nullo alla posizione %1").arg(nul + 1);
  }
  if (!notText.isEmpty()) {
    throw refuse(QStringLiteral("non è un testo Windows-1252 (%1)").arg(notText));
  }
  if (const QString damage = fs::DamagedTextReason(*bytes); !damage.isEmpty()) throw refuse(damage);
  f.lines = fs::TextLines(*bytes, &f.ended);
  return f;
}

void CheckCorvaliaFiles(const CorvaliaFiles& files) {
  for (const auto& [file, kind] :
       {std::pair{&files.b, Kind::B}, std::pair{&files.t, Kind::T}, std::pair{&files.a, Kind::A}}) {
    if (!HasRows(*file, kind)) {
      throw CorvaliaError(QStringLiteral("Il file %1 non contiene righe di listino utilizzabili: "
                                         "listino non aggiornato")
                              .arg(file->name));
    }
  }
}

std::shared_ptr<db::Database> OpenCorvaliaCatalogue(const QString& path) {
  std::shared_ptr<db::Database> target;
  try {
    target = db::Database::OpenOnDrive(path);
    for (const char* table : {"articolo", "codean"}) {
      if (!target->HasTable(QString::fromLatin1(table))) {
        throw CorvaliaError(QStringLiteral("ATTENZIONE!!! Nel database %1 manca la tabella %2.")
                                .arg(path, QString::fromLatin1(table)));
      }
    }
  } catch (const db::DbError& e) {
    throw CorvaliaError(db::CannotOpenText(path, e));
  }
  return target;
}

QString CorvaliaEanKey(const QString& barcode) {
  QString key;
  if (const auto digits = DigitsIn(barcode); digits && barcode.trimmed().size() <= 15) {
    key = QStringLiteral("%1").arg(*digits, 13, 10, QLatin1Char('0'));
  } else if (const auto number = ParseRegional(barcode)) {
    key = Format(Variant(*number), QStringLiteral("0000000000000"));
  } else {
    key = barcode;
  }
  return FixedText(key, 13);
}

void EmptyCorvaliaCatalogue(db::Database& target, common::ProgressSink& sink) {
  sink.Status(QStringLiteral("Pulizia archivi ... Attendere prego"));
  target.Execute(QStringLiteral("delete from articolo"));
  sink.Yield();
  target.Execute(QStringLiteral("delete from codean"));
  sink.Yield();
  sink.Status(QStringLiteral("Pulizia archivi terminata ..."));
}

PassOutcome ImportCorvaliaTypeB(db::Database& target, const CorvaliaFile& file,
                                const QString& supplier, common::ProgressSink& sink,
                                std::vector<DamagedLine>& damaged) {
  sink.Status(QStringLiteral("Elaborazione file Tipo B ..."));
  PassOutcome out;
  const QString desfor = FixedText(supplier, 45).left(35);
  db::Statement find =
      target.Prepare(QStringLiteral("select rowid from articolo where codart = ?"));
  db::Statement add = target.Prepare(QStringLiteral(
      "insert into articolo (codart, desart, przart, codafo, fl3art, desgru, dessot, desfor, "
      "tipges, tipart, stato, marchio) values (?, ?, ?, ?, 'Si', ' ', ' ', ?, 'M', 'S', ' ', "
      "' ')"));
  db::Statement edit = target.Prepare(QStringLiteral(
      "update articolo set desart = ?, przart = ?, codafo = ?, fl3art = 'Si', desgru = ' ', "
      "dessot = ' ', desfor = ?, tipges = 'M', tipart = 'S', stato = ' ', marchio = ' ' "
      "where rowid = ?"));
  {
    PassProgress progress(sink, static_cast<int>(file.lines.size()));
    const int cut = CutLine(file, Kind::B);
    for (int i = 0; i < file.lines.size(); ++i) {
      const QString& line = file.lines[i];
      if (i == cut) {
        Incomplete(file, out, damaged);
      } else if (const LineB b = ReadLineB(line); b.use == Use::Damaged) {
        Damaged(file, i, out, damaged);
      } else if (b.use == Use::Used) {
        const QString desart = line.mid(9, 30);
        const float przart = PriceOf(b.hundredths);
        find.Reset();
        find.Bind(1, b.codart);
        if (find.Step()) {
          const Variant rowid = find.Column(0);
          find.Reset();
          edit.Bind(1, desart).Bind(2, przart).Bind(3, b.code).Bind(4, desfor).Bind(5, rowid);
          edit.Run();
          ++out.edited;
        } else {
          find.Reset();
          add.Bind(1, b.codart).Bind(2, desart).Bind(3, przart).Bind(4, b.code).Bind(5, desfor);
          add.Run();
          ++out.added;
        }
      }
      progress.LineDone();
    }
  }
  ReportDamaged(file, out, sink);
  sink.Status(QStringLiteral("Elaborazione file Tipo B ... TERMINATA"));
  return out;
}

PassOutcome ImportCorvaliaTypeT(db::Database& target, const CorvaliaFile& file,
                                common::ProgressSink& sink, std::vector<DamagedLine>& damaged) {
  sink.Status(QStringLiteral("Elaborazione file Tipo T ..."));
  PassOutcome out;
  db::Statement find = target.Prepare(QStringLiteral("select 1 from codean where eanare = ?"));
  db::Statement add =
      target.Prepare(QStringLiteral("insert into codean (codare, eanare) values (?, ?)"));
  {
    PassProgress progress(sink, static_cast<int>(file.lines.size()));
    const int cut = CutLine(file, Kind::T);
    for (int i = 0; i < file.lines.size(); ++i) {
      if (i == cut) {
        Incomplete(file, out, damaged);
      } else if (const LineT t = ReadLineT(file.lines[i]); t.use == Use::Damaged) {
        Damaged(file, i, out, damaged);
      } else if (t.use == Use::Used) {
        const QString key = CorvaliaEanKey(t.barcode);
        out.lastKey = key;
        find.Reset();
        find.Bind(1, key);
        const bool known = find.Step();
        find.Reset();
        if (!known && t.barcode.trimmed().size() >= kMinBarcodeLength) {
          add.Bind(1, t.codare).Bind(2, key);
          add.Run();
          ++out.added;
        }
      }
      progress.LineDone();
    }
  }
  ReportDamaged(file, out, sink);
  sink.Status(QStringLiteral("Elaborazione file Tipo T ...TERMINATA"));
  return out;
}

PassOutcome ImportCorvaliaTypeA(db::Database& target, const CorvaliaFile& file,
                                common::ProgressSink& sink, std::vector<DamagedLine>& damaged) {
  sink.Status(QStringLiteral("Elaborazione file Tipo A ..."));
  PassOutcome out;
  db::Statement edit = target.Prepare(
      QStringLiteral("update articolo set umart = ?, imbart = ?, ivart = ? where codart = ?"));
  {
    PassProgress progress(sink, static_cast<int>(file.lines.size()));
    const int cut = CutLine(file, Kind::A);
    for (int i = 0; i < file.lines.size(); ++i) {
      const QString& line = file.lines[i];
      if (i == cut) {
        Incomplete(file, out, damaged);
      } else if (const LineA a = ReadLineA(line); a.use == Use::Damaged) {
        Damaged(file, i, out, damaged);
      } else if (a.use == Use::Used) {
        out.lastCode = CLng(static_cast<double>(a.code));
        const qint16 ivart = CInt(Val(line.mid(65, 2)));
        const QString umart = line.mid(68, 2);
        const qint16 imbart = CInt(Val(line.mid(95, 3)));
        edit.Bind(1, umart).Bind(2, static_cast<int>(imbart)).Bind(3, static_cast<int>(ivart));
        edit.Bind(4, out.lastCode);
        out.edited += edit.Run();
      }
      progress.LineDone();
    }
  }
  ReportDamaged(file, out, sink);
  sink.Status(QStringLiteral("Elaborazione file Tipo A ...TERMINATA"));
  return out;
}

CorvaliaOutcome ImportCorvalia(db::Database& target, const CorvaliaFiles& files,
                               const QString& supplier, common::ProgressSink& sink) {
  CheckCorvaliaFiles(files);
  CorvaliaOutcome out;
  db::Transaction tx(target);
  EmptyCorvaliaCatalogue(target, sink);
  out.b = ImportCorvaliaTypeB(target, files.b, supplier, sink, out.damaged);
  out.t = ImportCorvaliaTypeT(target, files.t, sink, out.damaged);
  out.a = ImportCorvaliaTypeA(target, files.a, sink, out.damaged);
  tx.Commit();
  return out;
}

}  // namespace vx::pricelists
