#include "pricelists/sda_import.h"

#include <cmath>

#include "common/shared_values.h"
#include "platform/conv.h"
#include "platform/files.h"

namespace vx::pricelists {

namespace {

const QString kFolder = QStringLiteral("C:\\sda\\");
const QString kPriceFile = QStringLiteral("C:\\sda\\listino.txt");

// Columns of the SDA sheet.
enum Col { kCode = 1, kEan = 2, kDescription = 3, kGroup = 4, kPrice = 6, kVat = 8, kPack = 9 };

bool Blank(const Variant& v) { return v.str().trimmed().isEmpty(); }

}  // namespace

float Discounted(float price, double percent) {
  const double p = price;
  return static_cast<float>(RoundHalfEven((p - p * (percent / 100.0)) * 10000.0) / 10000.0);
}

std::optional<SdaPriceLine> ReadSdaPriceLine(const QString& line, QString* why) {
  why->clear();
  if (line.size() < 55 || !(line[54] >= QLatin1Char('0') && line[54] <= QLatin1Char('9'))) {
    return std::nullopt;
  }
  SdaPriceLine l;
  const QString code = line.mid(54, 6), price = line.mid(115, 7);
  const std::optional<double> c = ParseRegional(code);
  try {
    if (!c) throw ConversionError(QString());
    l.code = CLng(*c);
  } catch (const ConversionError&) {
    *why = QStringLiteral("posizioni 55-60: \"%1\" (codice non valido)").arg(code);
    return std::nullopt;
  }
  const std::optional<double> p = ParseRegional(price);
  if (!p || !std::isfinite(*p) || std::fabs(*p) > 3.4e38) {
    *why = QStringLiteral("posizioni 116-122: \"%1\" (prezzo non valido)").arg(price);
    return std::nullopt;
  }
  l.price = Discounted(static_cast<float>(*p), Val(line.mid(132, 5)));
  return l;
}

ImportResult ImportSda(const ImportRequest& request, ImportDisplay* display) {
  auto& g = common::G();
  ImportFrame f({kFolder, {QStringLiteral("foglio1")}}, request);
  if (!f.Open()) return f.result();
  // The text file is read before anything is written: without it, or damaged, nothing changes.
  QString why;
  const std::optional<QStringList> lines =
      fs::ReadTextLines(kPriceFile, fs::kMaxPriceListBytes, &why);
  if (!lines) {
    f.result().failure = QStringLiteral("Il file %1 %2: l'archivio %3 non è stato modificato.")
                             .arg(kPriceFile, why, f.databasePath());
    return f.result();
  }

  QString groupText;  // the group of the last group row read; none before the first

  auto empty = [&] {
    f.DeleteAll({QStringLiteral("articolo"), QStringLiteral("codean"), QStringLiteral("gruppi")});
  };

  auto row = [&](int r) {
    if (r == 1) {
      try {
        f.WriteNote(1, kCode, f.Value(1, kCode));
      } catch (const RowSkipped&) {
        // listed; the row itself is still read
      }
    }
    const Variant priceCell = f.Value(r, kPrice);
    if (IsNumeric(priceCell)) {
      if (!IsNumeric(f.Value(r, kCode))) return;  // a heading: no group either
      g.codart = f.Code(r, kCode);
      g.imballo = f.Pack(r, kPack);
    }
    const QString group = f.Text(r, kGroup);
    if (f.ValOf(r, kPrice) != 0 && !group.isEmpty()) {
      const QString code = group.left(3);
      groupText = QStringLiteral("GRUPPO ") + code;
      g.codrep = CLng(Val(code));
      g.gruppo = groupText;
      f.AddGroupIfMissing(r, kGroup, g.codrep, groupText);
    }
    if (g.codart == 0) return;

    const qint32 codart = g.codart;
    g.ean_corrente = Blank(f.Value(r, kEan)) ? QStringLiteral("0000000000000") : f.Ean(r, kEan);
    const QString ean = g.ean_corrente.str();
    const QString description = f.Text(r, kDescription);
    g.descrizione = description;
    float price = 0;
    try {
      price = static_cast<float>(priceCell.toDouble());
    } catch (const ConversionError&) {
      f.Skip(r, kPrice, priceCell, QStringLiteral("prezzo non valido"));
    }
    g.iva = f.Vat(r, kVat);
    price = Discounted(price, 5);
    f.Show({ean, description, NumberText(price, 7), g.iva.str(), QString::number(g.imballo)});

    if (!f.ArticleExists(codart)) {
      f.WriteArticle(r, codart, true,
                     {{QStringLiteral("ea1art"), Variant(ean)},
                      {QStringLiteral("ivart"), Variant(g.iva.str())},
                      {QStringLiteral("imbart"), Variant(int(g.imballo))},
                      {QStringLiteral("desart"), Variant(description.left(100))},
                      {QStringLiteral("przart"), Variant(price)},
                      {QStringLiteral("desgru"), Variant(groupText)},
                      {QStringLiteral("tipges"), Variant(QStringLiteral("M"))},
                      {QStringLiteral("tipart"), Variant(QString())},
                      {QStringLiteral("colli"), Variant::null()},
                      {QStringLiteral("umart"), Variant(QStringLiteral("CT"))},
                      {QStringLiteral("codrep"), Variant(g.codrep)}},
                     {kEan, kVat, kPack, kDescription, kPrice, kGroup, 0, 0, 0, 0, kGroup});
    }
    if (f.CodeOfEan(ean).isEmpty()) f.AddEan(r, Variant(codart), ean);
  };

  auto prices = [&] {
    QString why;
    for (qsizetype i = 0; i < lines->size(); ++i) {
      const std::optional<SdaPriceLine> l = ReadSdaPriceLine(lines->at(i), &why);
      if (!l) {
        if (!why.isEmpty()) {
          f.result().skipped << QStringLiteral("listino.txt, riga %1, %2").arg(i + 1).arg(why);
        }
        continue;
      }
      g.codart = l->code;
      if (!f.ArticleExists(l->code)) continue;
      try {
        f.WriteArticle(static_cast<int>(i + 1), l->code, false,
                       {{QStringLiteral("przart"), Variant(l->price)}}, {});
      } catch (const RowSkipped&) {
      }
    }
  };

  return f.Run(display, empty, row, prices);
}

}  // namespace vx::pricelists
