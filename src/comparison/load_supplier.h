// Loading one supplier's catalogue into the comparison table `articoli` of the main
// database: one row per EAN of the supplier's `codean` table (EANs beginning "000000" and
// "000002" left out), with the slot's supplier code, cost and offer mark; through the EAN
// conversion table `eanconv`, when asked, the costs of other suppliers' articles too.
#pragma once

#include <QString>

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

struct SlotLoad {
  // The text of the slot's code box; its leading number names the `fornitori` row
  // ("3a" names supplier 3).
  QString supplierCode;
  int slot = 1;                  // comparison slot 1 to 4
  double percentage = 0;         // added to the own prices; may be negative
  bool applyConversion = false;  // "Applica tabella moltiplicatori"
  bool useDescription = false;   // "Descrizione Articolo"
  bool byType = false;           // "Ordine per tipologia"
};

struct LoadOutcome {
  bool completed = false;  // the article loop ran to its end
  int eligible = 0;        // `codean` rows left by the filter (the progress maximum)
  int written = 0;         // comparison rows added or changed
  // The values of the last article handled (empty when none): its 13-character EAN and
  // the conversion action of supplier 1 ("M" unless the conversion row says otherwise).
  QString lastEan;
  QString lastAction;
};

// Runs the whole load and reports on `sink`: "Inizio caricamento ...", the article count,
// progress, "Fine caricamento ..." or one "ERRORE: ..." line; the closing (End, Yield) runs
// whatever happened. Database failures are reported, never thrown; rows written before a
// failure stay (each is written whole).
LoadOutcome LoadSupplier(db::Database& main, const SlotLoad& request, common::ProgressSink& sink);

}  // namespace vx::comparison
