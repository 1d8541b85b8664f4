// Loading one supplier's catalogue into the comparison table `articoli` of the main
// database: one row per EAN of the supplier's `codean` table (EANs beginning "000000" and
// "000002" left out), with the slot's supplier code, cost and offer mark; through the EAN
// conversion table `eanconv`, when asked, the costs of other suppliers' articles too. The
// three-supplier loader uses the same load with its own conversion model and columns.
#pragma once

#include <QString>

#include "common/progress.h"

namespace vx::db {
class Database;
}

namespace vx::comparison {

// How the EAN conversion table takes part in a load.
enum class ConversionModel {
  // The slot's row lists each of the four suppliers' alternative EAN, factor and action:
  // every supplier named there is priced from its own catalogue (four-supplier loader).
  EverySupplier,
  // The row of the EAN and slot converts the slot's own price by its first factor and
  // action, and an alternative EAN files that price under the alternative (three-supplier
  // loader). A factor of 0 with the action "M" gives 0.
  OwnSlot,
};

// What the `forn`N column of the slot receives.
enum class SupplierColumn {
  SlotNumber,    // the slot's number (four-supplier loader)
  SupplierCode,  // the code of the supplier loaded into the slot (three-supplier loader)
};

struct SlotLoad {
  // The text of the slot's code box; its leading number names the `fornitori` row
  // ("3a" names supplier 3).
  QString supplierCode;
  int slot = 1;                  // comparison slot 1 to 4
  double percentage = 0;         // added to the own prices; may be negative
  bool applyConversion = false;  // "Applica tabella moltiplicatori"
  bool useDescription = false;   // "Descrizione Articolo"
  bool byType = false;           // "Ordine per tipologia"
  ConversionModel conversion = ConversionModel::EverySupplier;
  SupplierColumn supplierColumn = SupplierColumn::SlotNumber;
  bool writeOfferAndType = true;  // `promo`N and `tipoart` written
};

struct LoadOutcome {
  bool completed = false;  // the article loop ran to its end
  int eligible = 0;        // `codean` rows left by the filter (the progress maximum)
  int written = 0;         // comparison rows added or changed
  // The values of the last article handled (empty when none): its 13-character EAN (the
  // alternative one where the own-slot model filed the price there) and the conversion
  // action (of supplier 1 in the four-supplier model, of the slot's row in the own-slot
  // one; "M" unless the conversion row says otherwise).
  QString lastEan;
  QString lastAction;
};

// Runs the whole load and reports on `sink`: "Inizio caricamento ...", the article count,
// progress, "Fine caricamento ..." or one "ERRORE: ..." line; the closing (End, Yield) runs
// whatever happened. Database failures are reported, never thrown; rows written before a
// failure stay (each is written whole). An alternative supplier's database that cannot be
// opened does not end the load: its alternatives resolve to nothing (cost 0), and one
// "ERRORE: ..." line names its file.
LoadOutcome LoadSupplier(db::Database& main, const SlotLoad& request, common::ProgressSink& sink);

}  // namespace vx::comparison
