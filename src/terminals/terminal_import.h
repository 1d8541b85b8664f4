// The engine every terminal window runs: the readings of one download applied to the
// comparison table in one transaction, and the report of the codes it does not hold.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

#include "terminals/terminal_rules.h"

namespace vx::db {
class Database;
}

namespace vx::terminals {

// How one window applies a found reading to its row.
struct ImportRule {
  // Slots whose costs the rule compares and whose packages it may write (3 or 4).
  int slotCount = 3;
  // The packages to write from the row's cost columns (as stored: the rule takes their
  // comparison costs where it compares those), the packages the row holds and q.
  std::function<PackageWrites(const std::array<Variant, 4>& costs,
                              const std::array<Variant, 4>& packages, double q)>
      slotRule;
  // Readings of quantity 0 are passed over altogether (no progress, number or report).
  bool skipZero = false;
  // The readings not passed over are numbered from 1 into `sequenza`.
  bool numbered = false;
  // The rule adds the quantity to the packages the row holds: a reading applied twice counts
  // twice.
  bool adds = false;
  // Codes not found go on the report; without, they are passed over without a trace.
  bool reportNotFound = true;
};

// A source whose readings are taken away as the run handles them (the rows of a table in
// another database). Its work runs in a transaction of its own database, begun after the
// main one and committed right after it: a failure before the main commit leaves both as
// they were, and a failure of its own commit leaves the readings there to be applied again.
struct SourceConsumer {
  db::Database* database = nullptr;
  // Called once for each reading, in order, when the run has handled it.
  std::function<void(size_t index)> handled;
};

struct ImportOutcome {
  int applied = 0;  // readings whose row was found and written
  // Readings that could not be registered (FaultOf), each listed on the report; the
  // consumer leaves them in its source.
  int unread = 0;
  // The source holds unread readings and none that can be registered.
  bool noReading = false;
  // Nothing was written and nothing consumed: the source holds unread readings and either
  // none that can be registered, or it is a file read by a rule that adds. A file stays
  // whole on the disk, so under such a rule its readings are registered all together or not
  // at all: a run again, after the file is mended, must not add its good readings twice.
  bool nothingWritten = false;
  // Why the source could not be emptied after the main commit ("" when it was).
  QString consumeError;
  // The report's lines, in reading order: codes not found, and readings not registered.
  QStringList report;
};

// The run could not even begin (another operation holds a transaction on the database).
class ImportRefused : public std::runtime_error {
 public:
  explicit ImportRefused(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

// Applies the readings to `articoli`, found through its EAN index, in one transaction that
// must be the database's outermost (ImportRefused otherwise; likewise for the consumer's
// database); every found row is marked "X". A reading that cannot be registered is listed
// and passed over; when no reading can be registered, or when a rule that adds has no
// consumer, nothing is written at all (ImportOutcome::nothingWritten). `lineCount` sets the progress step;
// progress(value) is called for each reading. A database error rolls everything back and
// propagates (db::DbError).
ImportOutcome ApplyReadings(db::Database& main, const std::vector<Reading>& readings,
                            qint32 lineCount, const ImportRule& rule,
                            const std::function<void(qint16)>& progress,
                            const SourceConsumer* consumer = nullptr);

// The rules of the windows as import rules: the three-slot rule with or without the slot-2
// fallback (slots 1 to 3); the accumulating rule (slots 1 to 4, zero quantities skipped,
// readings numbered); the chain rule (slots 1 to 4); the pairwise rule (slots 1 to 3).
ImportRule ThreeSlotImport(bool slot2Fallback);
ImportRule AccumulatingImport();
ImportRule ChainImport();
ImportRule PairwiseImport();

// The report line of a code that the comparison table does not hold.
QString NotFoundLine(const QString& key, double quantity);
// The report line of a reading that could not be registered: its line number, why and its
// text.
QString UnreadLine(const Reading& r, ReadingFault fault);

// Prints the report lines, one document of their own on the current printer (a PDF in the
// print folder where there is none), each at CurrentX 5 and, when fontSize > 0, in that size.
// An empty report prints nothing. Gives the reason when printing failed, else "".
QString PrintReport(const QStringList& lines, double fontSize = 0);

}  // namespace vx::terminals
