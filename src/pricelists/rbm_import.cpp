#include "pricelists/rbm_import.h"

#include "common/shared_values.h"
#include "platform/conv.h"

namespace vx::pricelists {

namespace {

// Columns of the RBM sheet.
enum Col {
  kCode = 1,
  kEan = 3,
  kDescription = 4,
  kGroup = 8,
  kSubgroup = 10,
  kVat = 11,
  kPack = 12,
  kPrice = 13,
};

bool Blank(const Variant& v) { return v.str().trimmed().isEmpty(); }

}  // namespace

ImportResult ImportRbm(const ImportRequest& request, ImportDisplay* display, OpeningMarks& marks) {
  auto& g = common::G();
  ImportFrame f({QStringLiteral("C:\\rbm\\"), {QStringLiteral("stampa listino 3")}}, request);
  if (!f.Open()) return f.result();

  const bool empties = !marks.rbmEmptied;
  auto empty = [&] {
    if (empties) {
      f.DeleteAll({QStringLiteral("articolo"), QStringLiteral("codean"), QStringLiteral("gruppi")});
    }
  };

  auto row = [&](int r) {
    const Variant codeCell = f.Value(r, kCode);
    if (IsNumeric(codeCell)) {
      try {
        g.codart = CLng(f.ValOf(r, kCode));
      } catch (const ConversionError&) {
        f.Skip(r, kCode, codeCell, QStringLiteral("codice non valido"));
      }
      g.imballo = f.Pack(r, kPack);
    }
    if (g.codart == 0) return;

    const qint32 codart = g.codart;
    g.ean_corrente = Blank(f.Value(r, kEan)) ? QStringLiteral("0000000000000") : f.Ean(r, kEan);
    const QString ean = g.ean_corrente.str();
    const QString description = f.Text(r, kDescription);
    g.descrizione = description;
    const Variant priceCell = f.Value(r, kPrice);
    float price = 0;
    try {
      price = static_cast<float>(priceCell.toDouble());
    } catch (const ConversionError&) {
      f.Skip(r, kPrice, priceCell, QStringLiteral("prezzo non valido"));
    }
    g.iva = f.Text(r, kVat);  // the first two characters, a short one padded with a blank
    g.gruppo = f.Text(r, kGroup);
    g.sottogruppo = f.Text(r, kSubgroup);
    f.Show({ean, description, NumberText(price, 7), g.iva.str(), QString::number(g.imballo)});

    if (f.CodeOfEan(ean).isEmpty()) f.AddEan(r, Variant(codart), ean);
    if (f.ArticleExists(codart)) return;
    f.WriteArticle(r, codart, true,
                   {{QStringLiteral("ea1art"), Variant(ean)},
                    {QStringLiteral("ivart"), Variant(g.iva.str())},
                    {QStringLiteral("imbart"), Variant(int(g.imballo))},
                    {QStringLiteral("desart"), Variant(description.left(100))},
                    {QStringLiteral("przart"), Variant(price)},
                    {QStringLiteral("desgru"), Variant(g.gruppo.str().left(20))},
                    {QStringLiteral("dessot"), Variant(g.sottogruppo.str().left(20))},
                    {QStringLiteral("tipges"), Variant(QStringLiteral("M"))},
                    {QStringLiteral("tipart"), Variant(QString())},
                    {QStringLiteral("colli"), Variant::null()},
                    {QStringLiteral("umart"), Variant(QStringLiteral("CT"))},
                    {QStringLiteral("codrep"), Variant(1)}},
                   {kEan, kVat, kPack, kDescription, kPrice, kGroup, kSubgroup});
  };

  ImportResult& result = f.Run(display, empty, row);
  if (result.completed) marks.rbmEmptied = true;
  return result;
}

}  // namespace vx::pricelists
