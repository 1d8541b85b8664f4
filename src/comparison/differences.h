// The differences pass over the comparison table `articoli`: for every row, in description
// order, the six percentage differences between the slots' costs, the packages of the four
// slots back to 0 and the running number `ns` (1, 2, 3 ... in that order).
#pragma once

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

struct DifferencesOutcome {
  bool completed = false;  // the pass ran to its end (an empty table included)
  int rows = 0;            // rows rewritten
};

// Reports on `sink`: "Inizio calcolo ...", the row count, progress, "Fine calcolo ..." or
// one "ERRORE: ..." line. With an empty table only the first and last lines. Database
// failures are reported, never thrown.
DifferencesOutcome ComputeDifferences(db::Database& main, common::ProgressSink& sink);

}  // namespace vx::comparison
