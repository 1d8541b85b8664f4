#include "pricelists/varu_import.h"

#include <optional>

#include "common/modules.h"
#include "common/shared_values.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/jet_types.h"
#include "platform/print/printers.h"
#include "platform/print/printjob.h"

namespace vx::pricelists {

namespace {

// Columns of the VARU sheet.
enum Col {
  kGroupName = 2,
  kCode = 5,
  kDescription1 = 6,
  kDescription2 = 7,
  kPrice = 9,
  kOfferPrice = 11,
  kOfferFirst = 12,
  kOfferLast = 13,
  kPublicPrice = 15,
  kVat = 17,
  kEan = 20,
  kUnit = 21,
  kPack = 22,
};

// The day number of an offer day: a date cell, or a text that reads as a date.
std::optional<qint32> DayOf(const Variant& v) {
  std::optional<double> day;
  if (v.isDate()) {
    day = v.toDayNumber();
  } else if (v.isText()) {
    day = ParseDateText(v.str().trimmed());
  }
  if (!day) return std::nullopt;
  try {
    return CLng(*day);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

// The start of each line of the new codes' list.
const QString kNewCodeLabel = QStringLiteral("Nuovo Codice : ");

bool Blank(const Variant& v) { return v.str().trimmed().isEmpty(); }

Variant Conformed(db::Database& db, const QString& column, const Variant& v) {
  return db::ConformForWrite(
      v, db::JetTypeFromDeclared(db.ColumnType(QStringLiteral("articolo"), column)), column);
}

}  // namespace

QString NewCodeLine(qint32 code, const QString& description) {
  const QString number =
      (code >= 0 ? QStringLiteral(" ") : QString()) + QString::number(code) + QLatin1Char(' ');
  return kNewCodeLabel + number + QStringLiteral("  ") + description;
}

ImportResult ImportVaru(const ImportRequest& request, ImportDisplay* display) {
  auto& g = common::G();
  g.nome_stampante = request.printerName;
  if (request.fstampa) print::SetCurrentPrinter(common::mod_indice_stampante(g.nome_stampante));

  ImportFrame f({QStringLiteral("C:\\varu\\"), {QStringLiteral("1")}}, request);
  if (!f.Open()) return f.result();

  const qint32 today = static_cast<qint32>(QDate(1899, 12, 30).daysTo(Today()));
  QString groupText;  // the group of the last group row read; none before the first

  auto resetOffers = [&] {
    db::Database& db = f.database();
    auto st = db.PrepareNative(
        QStringLiteral("update articolo set [przoff] = ?, [data1] = ?, [data2] = ?"));
    st.Bind(1, Conformed(db, QStringLiteral("przoff"), Variant(0)))
        .Bind(2, Conformed(db, QStringLiteral("data1"), Variant(QStringLiteral("00:00:00"))))
        .Bind(3, Conformed(db, QStringLiteral("data2"), Variant(QStringLiteral("00:00:00"))));
    st.Run();
  };

  auto row = [&](int r) {
    if (r == 1) {
      try {
        f.WriteNote(1, kCode, f.Value(1, kCode));
      } catch (const RowSkipped&) {
        // listed; the row itself is still read
      }
    }
    if (f.ValOf(r, kPack) == 0) return;
    g.codart = f.Code(r, kCode);
    g.imballo = f.Pack(r, kPack);

    if (!f.Text(r, kGroupName).isEmpty()) {
      const Variant codeCell = f.Value(r, kEan);
      std::optional<qint32> code;
      try {
        code = CLng(Val(codeCell.str()));
      } catch (const ConversionError&) {
        f.Note(r, kEan, codeCell, QStringLiteral("codice gruppo non valido, gruppo ignorato"));
      }
      if (code) {
        groupText = f.Text(r, kGroupName).left(20);
        g.gruppo = groupText;
        g.codrep = *code;
        f.AddGroupIfMissing(r, kGroupName, *code, groupText);
      }
    }
    if (g.codart == 0) return;

    g.ean_corrente = Blank(f.Value(r, kEan)) ? QStringLiteral("0000000000000") : f.Ean(r, kEan);
    const QString ean = g.ean_corrente.str();
    const QString description = f.Text(r, kDescription1) + f.Text(r, kDescription2);
    g.descrizione = description;
    const Variant price = f.Value(r, kPrice);
    g.iva = f.Vat(r, kVat);
    QString unit = f.Text(r, kUnit);
    const Variant publicCell = f.Value(r, kPublicPrice);
    float publicPrice = 0;
    if (IsNumeric(publicCell)) publicPrice = static_cast<float>(publicCell.toDouble());

    g.data_inizio = 0;
    g.data_fine = 0;
    Variant offer = 0;
    const Variant offerCell = f.Value(r, kOfferPrice);
    if (!offerCell.str().isEmpty()) {
      const Variant firstCell = f.Value(r, kOfferFirst), lastCell = f.Value(r, kOfferLast);
      const auto first = DayOf(firstCell), last = DayOf(lastCell);
      if (!first) {
        f.Note(r, kOfferFirst, firstCell, QStringLiteral("data non valida, offerta ignorata"));
      } else if (!last) {
        f.Note(r, kOfferLast, lastCell, QStringLiteral("data non valida, offerta ignorata"));
      } else {
        g.data_inizio = *first;
        g.data_fine = *last;
        if (today > *first && today < *last) offer = offerCell;
      }
    }

    f.Show({ean, description, price.str(), g.iva.str(), QString::number(g.imballo)});
    if (unit.trimmed().isEmpty()) unit = QStringLiteral("CT");

    const bool add = !f.ArticleExists(g.codart);
    Fields fields;
    std::vector<int> from;
    if (add) {
      fields.push_back({QStringLiteral("ea1art"), Variant(ean)});
      from.push_back(kEan);
    }
    const std::pair<Fields, std::vector<int>> rest = {
        {{QStringLiteral("ivart"), Variant(g.iva.str())},
         {QStringLiteral("imbart"), Variant(int(g.imballo))},
         {QStringLiteral("desart"), Variant(description.left(100))},
         {QStringLiteral("przart"), Blank(price) ? Variant(0) : price},
         {QStringLiteral("desgru"), Variant(groupText)},
         {QStringLiteral("tipges"), Variant(QStringLiteral("M"))},
         {QStringLiteral("tipart"), Variant(QString())},
         {QStringLiteral("colli"), Variant::null()},
         {QStringLiteral("umart"), Variant(unit.trimmed())},
         {QStringLiteral("codrep"), Variant(g.codrep)},
         {QStringLiteral("przoff"), Blank(offer) ? Variant(0) : offer},
         {QStringLiteral("data1"), Variant(g.data_inizio)},
         {QStringLiteral("data2"), Variant(g.data_fine)},
         {QStringLiteral("przpub"), Variant(publicPrice)}},
        {kVat, kPack, kDescription1, kPrice, kGroupName, 0, 0, 0, kUnit, kEan, kOfferPrice,
         kOfferFirst, kOfferLast, kPublicPrice}};
    fields.insert(fields.end(), rest.first.begin(), rest.first.end());
    from.insert(from.end(), rest.second.begin(), rest.second.end());
    f.WriteArticle(r, g.codart, add, fields, from);
    if (add && request.fstampa) f.PrintLater(NewCodeLine(g.codart, description));
  };

  ImportResult& result = f.Run(display, resetOffers, row);
  if (result.completed && request.fstampa) {
    print::PrintJob& printer = print::Printer();
    // A long description goes on under the code rather than past the edge of the page.
    const double indent = printer.TextWidth(kNewCodeLabel);
    for (const QString& line : result.printed) printer.PrintWrapped(line, indent);
    const print::PrintResult printed = printer.EndDoc();
    if (!printed.ok) {
      result.printError =
          QStringLiteral("Stampa dei nuovi codici non riuscita:\n%1").arg(printed.error);
    }
  }
  return result;
}

}  // namespace vx::pricelists
