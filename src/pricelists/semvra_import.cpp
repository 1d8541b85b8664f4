#include "pricelists/semvra_import.h"

#include "common/shared_values.h"
#include "platform/conv.h"

namespace vx::pricelists {

namespace {

const QString kFolder = QStringLiteral("C:\\semvra\\");
const QString kNoEan = QStringLiteral("0000000000000");

// Columns of the SEMVRA sheets.
enum Col { kCode = 1, kEan = 4, kDescription = 5, kPack = 6, kOffer = 7, kPrice = 10 };
constexpr int kNoteRow = 4;
constexpr int kDayColumn = 5;

bool Blank(const Variant& v) { return v.str().trimmed().isEmpty(); }

// The code (Val of column 1, 0 when it is none) and, with one, the pack.
qint32 RowCode(ImportFrame& f, int r) {
  auto& g = common::G();
  const double v = f.ValOf(r, kCode);
  if (v == 0) return 0;
  try {
    g.codart = CLng(v);
  } catch (const ConversionError&) {
    f.Skip(r, kCode, f.Value(r, kCode), QStringLiteral("codice non valido"));
  }
  g.imballo = f.Pack(r, kPack);
  return g.codart;
}

// The EAN of column 4, 13 zeros for a blank cell.
QString RowEan(ImportFrame& f, int r) {
  auto& g = common::G();
  g.ean_corrente = Blank(f.Value(r, kEan)) ? kNoEan : f.Ean(r, kEan);
  return g.ean_corrente.str();
}

float SingleOf(ImportFrame& f, int r, int column, const QString& what) {
  const Variant v = f.Value(r, column);
  try {
    return static_cast<float>(v.toDouble());
  } catch (const ConversionError&) {
    f.Skip(r, column, v, what);
  }
}

}  // namespace

QString SemvraKind(const QString& fileName) {
  const qsizetype at = fileName.indexOf(QLatin1String("NO_FOOD"));
  return at >= 0 && at < 50 ? QStringLiteral("S") : QStringLiteral("F");
}

QString SemvraDescription(const QString& text) {
  if (!text.startsWith(QLatin1String("   "))) return text;
  return FixedText(text.mid(3), 50);
}

std::optional<QString> TextAfterColon(const QString& text) {
  std::optional<QString> day;
  for (qsizetype i = 0; i < 30 && i < text.size(); ++i) {
    if (text[i] == QLatin1Char(':')) day = text.mid(i + 2, 10);
  }
  return day;
}

ImportResult ImportSemvra(const ImportRequest& request, ImportDisplay* display,
                          OpeningMarks& marks) {
  auto& g = common::G();
  const QString kind = SemvraKind(request.numfatw);
  ImportFrame f({kFolder, {QStringLiteral("foglio1")}}, request);
  if (!f.Open()) return f.result();

  const bool empties = !marks.semvraEmptied;
  auto empty = [&] {
    if (empties) {
      f.DeleteAll({QStringLiteral("articolo"), QStringLiteral("codean"), QStringLiteral("gruppi")});
    }
  };

  auto row = [&](int r) {
    if (r == kNoteRow) {
      try {
        f.WriteNote(r, kCode, f.Value(r, kCode));
      } catch (const RowSkipped&) {
        // listed; the row itself is still read
      }
    }
    qint32 code = RowCode(f, r);
    if (code == 0) return;

    const QString ean = RowEan(f, r);
    const QString description = SemvraDescription(f.Text(r, kDescription));
    g.descrizione = description;
    const float price = SingleOf(f, r, kPrice, QStringLiteral("prezzo non valido"));
    g.iva = "22";
    f.Show({ean, description, NumberText(price, 7), g.iva.str(), QString::number(g.imballo)});

    // An all-zero EAN is no EAN: neither looked up nor linked.
    if (ean != kNoEan) {
      const Variant linked = f.CodeOfEan(ean);
      if (linked.isEmpty()) {
        f.AddEan(r, Variant(code), ean);
      } else {
        try {
          code = CLng(linked.toDouble());
        } catch (const ConversionError&) {
          f.Skip(r, kEan, Variant(ean), QStringLiteral("EAN collegato a un codice non valido"));
        }
        g.codart = code;
      }
    }
    const bool add = !f.ArticleExists(code);
    f.WriteArticle(r, code, add,
                   {{QStringLiteral("ea1art"), Variant(ean)},
                    {QStringLiteral("ivart"), Variant(g.iva.str())},
                    {QStringLiteral("imbart"), Variant(int(g.imballo))},
                    {QStringLiteral("desart"), Variant(description.left(100))},
                    {QStringLiteral("przart"), Variant(price)},
                    {QStringLiteral("desgru"), Variant(QStringLiteral("."))},
                    {QStringLiteral("tipges"), Variant(QStringLiteral("M"))},
                    {QStringLiteral("tipart"), Variant(kind)},
                    {QStringLiteral("colli"), Variant::null()},
                    {QStringLiteral("umart"), Variant(QStringLiteral("CT"))},
                    {QStringLiteral("codrep"), Variant(1)}},
                   {kEan, 0, kPack, kDescription, kPrice});
  };

  ImportResult& result = f.Run(display, empty, row);
  if (result.completed) marks.semvraEmptied = true;
  return result;
}

ImportResult ImportSemvraPromotions(const ImportRequest& request, ImportDisplay* display,
                                    OpeningMarks& marks) {
  auto& g = common::G();
  ImportRequest toTheEnd = request;
  toTheEnd.finew = QStringLiteral("3000");
  ImportFrame f({kFolder, {QStringLiteral("foglio 1")}}, toTheEnd);
  if (!f.Open()) return f.result();

  // The days the rows will receive are read and checked before anything is written.
  QString days[2] = {marks.offerFirst, marks.offerLast};
  for (int i = 0; i < 2; ++i) {
    const int r = 2 + i;
    QString text;
    if (r >= f.firstRow() && r <= f.lastRow()) {
      try {
        text = f.Text(r, kDayColumn);
      } catch (const RowSkipped&) {
        f.result().skipped.clear();
      }
      if (const std::optional<QString> day = TextAfterColon(text)) days[i] = *day;
    }
    if (!ParseDateText(days[i].trimmed())) {
      f.result().failure =
          QStringLiteral(
              "ATTENZIONE !!!! Nella riga %1, colonna %2 del file %3 non c'è il giorno %4 "
              "dell'offerta dopo i due punti: \"%5\" ...\nNessuna offerta è stata scritta.")
              .arg(r)
              .arg(kDayColumn)
              .arg(f.workbookPath(), i == 0 ? QStringLiteral("iniziale") : QStringLiteral("finale"),
                   text);
      return f.result();
    }
  }

  // The days each row receives: those kept until rows 2 and 3 are read.
  QString first = marks.offerFirst, last = marks.offerLast;
  auto row = [&](int r) {
    if (r == 2) first = days[0];
    if (r == 3) last = days[1];
    qint32 code = RowCode(f, r);
    if (code == 0) return;

    const QString ean = RowEan(f, r);
    const float offer = SingleOf(f, r, kOffer, QStringLiteral("prezzo di offerta non valido"));
    f.Show({ean, QString(), NumberText(offer, 7), g.iva.str(), QString::number(g.imballo)});

    if (ean != kNoEan) {
      const Variant linked = f.CodeOfEan(ean);
      if (!linked.isEmpty()) {
        try {
          code = CLng(linked.toDouble());
        } catch (const ConversionError&) {
          f.Skip(r, kEan, Variant(ean), QStringLiteral("EAN collegato a un codice non valido"));
        }
        g.codart = code;
      }
    }
    if (!f.ArticleExists(code)) return;
    if (!ParseDateText(first.trimmed()) || !ParseDateText(last.trimmed())) {
      f.Skip(r, kDayColumn, Variant(), QStringLiteral("giorni dell'offerta non ancora letti"));
    }
    f.WriteArticle(r, code, false,
                   {{QStringLiteral("przoff"), Variant(offer)},
                    {QStringLiteral("data1"), Variant(first.trimmed())},
                    {QStringLiteral("data2"), Variant(last.trimmed())}},
                   {kOffer, kDayColumn, kDayColumn});
  };

  ImportResult& result = f.Run(display, {}, row);
  if (result.completed) {
    marks.offerFirst = first;
    marks.offerLast = last;
  }
  return result;
}

}  // namespace vx::pricelists
