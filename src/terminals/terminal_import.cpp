#include "terminals/terminal_import.h"

#include <optional>

#include "platform/db/database.h"
#include "platform/print/printjob.h"

namespace vx::terminals {

namespace {

constexpr int kKeyLength = 13;  // articoli.vedovo: a longer key matches no row
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

namespace {

std::array<double, 4> ComparisonCosts(const std::array<Variant, 4>& costs) {
  std::array<double, 4> c;
  for (size_t i = 0; i < c.size(); ++i) c[i] = ComparisonCost(costs[i]);
  return c;
}

}  // namespace

ImportRule ThreeSlotImport(bool slot2Fallback) {
  ImportRule rule;
  rule.slotCount = 3;
  rule.slotRule = [slot2Fallback](const std::array<Variant, 4>& costs,
                                  const std::array<Variant, 4>&, double q) {
    const std::array<double, 4> c = ComparisonCosts(costs);
    return ThreeSlotRule({c[0], c[1], c[2]}, q, slot2Fallback);
  };
  return rule;
}

ImportRule AccumulatingImport() {
  ImportRule rule;
  rule.slotCount = 4;
  rule.slotRule = [](const std::array<Variant, 4>& costs, const std::array<Variant, 4>& packages,
                     double q) { return AccumulatingRule(ComparisonCosts(costs), packages, q); };
  rule.skipZero = true;
  rule.numbered = true;
  rule.adds = true;
  return rule;
}

ImportRule ChainImport() {
  ImportRule rule;
  rule.slotCount = 4;
  rule.slotRule = [](const std::array<Variant, 4>& costs, const std::array<Variant, 4>&, double q) {
    return ChainRule(ComparisonCosts(costs), q);
  };
  return rule;
}

ImportRule PairwiseImport() {
  ImportRule rule;
  rule.slotCount = 3;
  rule.slotRule = [](const std::array<Variant, 4>& costs, const std::array<Variant, 4>& packages,
                     double q) {
    return PairwiseRule({costs[0], costs[1], costs[2]}, {packages[0], packages[1], packages[2]}, q);
  };
  return rule;
}

QString NotFoundLine(const QString& key, double quantity) {
  return QStringLiteral("Codice non trovato: ") + key + QStringLiteral("  Quantità: ") +
         PrintedNumber(quantity);
}

QString UnreadLine(const Reading& r, ReadingFault fault) {
  QString text = r.text;
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return QStringLiteral("Riga %1 non registrata (%2): %3").arg(r.line).arg(FaultText(fault), text);
}

namespace {

// The fault that keeps a reading from being registered; a reading the rule passes over
// (quantity 0 where zeros are skipped) has none, whatever its code.
ReadingFault FaultUnder(const ImportRule& rule, const Reading& r) {
  const ReadingFault fault = FaultOf(r);
  if (fault == ReadingFault::NoCode && rule.skipZero && r.quantity == 0) {
    return ReadingFault::None;
  }
  return fault;
}

}  // namespace

ImportOutcome ApplyReadings(db::Database& main, const std::vector<Reading>& readings,
                            qint32 lineCount, const ImportRule& rule,
                            const std::function<void(qint16)>& progress,
                            const SourceConsumer* consumer) {
  const bool consumerBusy = consumer && consumer->database->transactionDepth() > 0;
  if (main.transactionDepth() > 0 || consumerBusy) {
    throw ImportRefused(QStringLiteral(
        "ATTENZIONE!!! Il confronto è in uso da un'altra operazione: riprovare al suo termine."));
  }
  ImportOutcome out;
  std::vector<ReadingFault> faults(readings.size());
  bool anyReading = false;
  for (size_t i = 0; i < readings.size(); ++i) {
    const Reading& r = readings[i];
    faults[i] = FaultUnder(rule, r);
    if (faults[i] != ReadingFault::None) {
      ++out.unread;
    } else if (r.kind != Reading::Kind::Blank && !(rule.skipZero && r.quantity == 0)) {
      anyReading = true;
    }
  }
  if (out.unread > 0 && (!anyReading || (rule.adds && !consumer))) {
    for (size_t i = 0; i < readings.size(); ++i) {
      if (faults[i] != ReadingFault::None) out.report << UnreadLine(readings[i], faults[i]);
    }
    out.noReading = !anyReading;
    out.nothingWritten = true;
    return out;
  }
  db::Transaction tx(main);
  std::optional<db::Transaction> consumed;
  if (consumer) consumed.emplace(*consumer->database);
  // The look-up on the EAN index and the row's write, as prepared statements: a record set
  // in table mode reads the whole row three times per reading, these read what the rule
  // needs and write what it changed (values fitted to their columns as a record set fits
  // them).
  QStringList columns;
  for (int n = 1; n <= rule.slotCount; ++n) columns << kCost.arg(n) << kPackages.arg(n);
  db::Statement seek =
      main.Prepare(QStringLiteral("select rowid, %1 from articoli where vedovo = ? order by vedovo")
                       .arg(columns.join(QStringLiteral(", "))));

  const qint16 step = ProgressStep(lineCount);
  qint16 value = 0;
  qint32 number = 0;
  const auto advance = [&] {
    value = NextProgress(value, step);
    if (progress) progress(value);
  };
  // False for a reading that was not registered and stays in the source.
  const auto apply = [&](const Reading& r, ReadingFault fault) {
    if (r.kind == Reading::Kind::Blank) {
      advance();
      return true;
    }
    if (fault != ReadingFault::None) {
      advance();
      out.report << UnreadLine(r, fault);
      return false;
    }
    if (rule.skipZero && r.quantity == 0) return true;
    advance();
    ++number;
    bool found = false;
    std::array<Variant, 4> costs, packages;
    Variant rowid;
    if (r.kind == Reading::Kind::Ok && r.key.size() <= kKeyLength) {
      seek.Reset().Bind(1, Variant(r.key));
      found = seek.Step();
      if (found) {
        rowid = seek.Column(0);
        for (int n = 0; n < rule.slotCount; ++n) {
          costs[n] = seek.Column(1 + 2 * n);
          packages[n] = seek.Column(2 + 2 * n);
        }
      }
      seek.Reset();
    }
    if (!found) {
      if (rule.reportNotFound) {
        out.report << NotFoundLine(r.kind == Reading::Kind::Unreadable ? r.code : r.key,
                                   r.quantity);
      }
      return true;
    }
    const PackageWrites writes = rule.slotRule(costs, packages, r.quantity);
    QStringList sets;
    std::vector<Variant> values;
    for (int n = 1; n <= rule.slotCount; ++n) {
      if (!writes[n - 1]) continue;
      sets << kPackages.arg(n) + QStringLiteral(" = ?");
      values.push_back(Variant(*writes[n - 1]));
    }
    if (rule.numbered) {
      sets << QStringLiteral("sequenza = ?");
      values.push_back(Variant(number));
    }
    sets << QStringLiteral("sel = ?");
    values.push_back(Variant(QStringLiteral("X")));
    values.push_back(rowid);
    main.Execute(QStringLiteral("update articoli set %1 where rowid = ?")
                     .arg(sets.join(QStringLiteral(", "))),
                 values);
    ++out.applied;
    return true;
  };
  for (size_t i = 0; i < readings.size(); ++i) {
    if (apply(readings[i], faults[i]) && consumer) consumer->handled(i);
  }
  tx.Commit();
  if (consumed) {
    try {
      consumed->Commit();
    } catch (const db::DbError& e) {
      out.consumeError = e.message();
    }
  }
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
