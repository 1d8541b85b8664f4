#include "terminals/terminal_import.h"

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/print/printjob.h"

namespace vx::terminals {

namespace {

const QString kCost = QStringLiteral("costo%1");
const QString kPackages = QStringLiteral("colli%1");

// A number as a printed line shows it: a blank in the place of the sign, the decimal comma,
// a blank after.
QString PrintedNumber(double v) {
  QString text = QString::number(v, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
  if (v >= 0) text.prepend(QLatin1Char(' '));
  return text + QLatin1Char(' ');
}

}  // namespace

QString NotFoundLine(const QString& key, double quantity) {
  return QStringLiteral("Codice non trovato: ") + key + QStringLiteral("  Quantità: ") +
         PrintedNumber(quantity);
}

QString InvalidLine(const QString& line) {
  QString text = line;
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return QStringLiteral("Riga non valida: ") + text;
}

ImportOutcome ApplyReadings(db::Database& main, const std::vector<Reading>& readings,
                            qint32 lineCount, const ImportRule& rule,
                            const std::function<void(qint16)>& progress) {
  if (main.transactionDepth() > 0) {
    throw ImportRefused(QStringLiteral(
        "ATTENZIONE!!! Il confronto è in uso da un'altra operazione: riprovare al suo termine."));
  }
  ImportOutcome out;
  db::Transaction tx(main);
  auto rs = main.OpenRecordset(QStringLiteral("articoli"), db::RecordsetType::Table);
  rs->SetIndex(QStringLiteral("vedovo"));

  const qint16 step = ProgressStep(lineCount);
  qint16 value = 0;
  qint32 number = 0;
  for (const Reading& r : readings) {
    if (r.kind == Reading::Kind::Blank) {
      value = NextProgress(value, step);
      if (progress) progress(value);
      continue;
    }
    if (r.kind == Reading::Kind::Invalid) {
      value = NextProgress(value, step);
      if (progress) progress(value);
      out.report << InvalidLine(r.code);
      continue;
    }
    if (rule.skipZero && r.quantity == 0) continue;
    value = NextProgress(value, step);
    if (progress) progress(value);
    ++number;
    if (!rs->Seek(QStringLiteral("="), Variant(r.key))) {
      out.report << NotFoundLine(r.key, r.quantity);
      continue;
    }
    std::array<double, 4> costs{9999, 9999, 9999, 9999};
    std::array<Variant, 4> packages;
    for (int n = 1; n <= rule.slotCount; ++n) {
      costs[n - 1] = ComparisonCost(rs->Field(kCost.arg(n)));
      packages[n - 1] = rs->Field(kPackages.arg(n));
    }
    const PackageWrites writes = rule.slotRule(costs, packages, r.quantity);
    rs->Edit();
    for (int n = 1; n <= rule.slotCount; ++n) {
      if (writes[n - 1]) rs->SetField(kPackages.arg(n), Variant(*writes[n - 1]));
    }
    if (rule.numbered) rs->SetField(QStringLiteral("sequenza"), Variant(number));
    rs->SetField(QStringLiteral("sel"), Variant(QStringLiteral("X")));
    rs->Update();
    ++out.applied;
  }
  tx.Commit();
  return out;
}

QString PrintReport(const QStringList& lines, double fontSize) {
  if (lines.isEmpty()) return {};
  print::PrintJob job(QStringLiteral("codici non trovati"));
  if (fontSize > 0) job.SetFontSize(fontSize);
  for (const QString& line : lines) {
    job.SetCurrentX(5);
    job.Print(line);
  }
  const print::PrintResult result = job.EndDoc();
  return result.ok ? QString() : result.error;
}

}  // namespace vx::terminals
