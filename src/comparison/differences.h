// The differences pass over the comparison table `articoli`: for every row, in description
// order, the six percentage differences between the slots' costs, the packages of the four
// slots back to 0 and the running number `ns` (1, 2, 3 ... in that order). The
// three-supplier comparison runs the same pass under its own rule.
#pragma once

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

// How a pass works out and writes the differences.
struct DifferenceRule {
  // 4: the six differences and colli1 to colli4; 3: diff12, diff23, diff31, colli1 to colli3.
  int slotCount = 4;
  // The value of a difference among slots 1 to 3 whose divisor is 0 or empty.
  double noDivisor = 0;
  // True: an empty cost reads as 0 (an empty first cost gives -100). False: a difference
  // whose first cost is empty is 0.
  bool emptyCostReadsZero = false;
  bool runningNumber = true;  // `ns` written, rows numbered in description order
};

// The four-supplier loader's rule (the default) and the three-supplier loader's: 1000 where
// the divisor is 0 or empty, an empty cost read as 0, `ns`, `colli4` and diff14..34 left.
DifferenceRule FourSupplierDifferences();
DifferenceRule ThreeSupplierDifferences();

struct DifferencesOutcome {
  bool completed = false;  // the pass ran to its end (an empty table included)
  int rows = 0;            // rows rewritten
};

// Reports on `sink`: "Inizio calcolo ...", the row count, progress, "Fine calcolo ..." or
// one "ERRORE: ..." line. With an empty table only the first and last lines. Database
// failures are reported, never thrown.
DifferencesOutcome ComputeDifferences(db::Database& main, common::ProgressSink& sink,
                                      const DifferenceRule& rule = FourSupplierDifferences());

}  // namespace vx::comparison
