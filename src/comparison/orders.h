// Purchase orders from the comparison table: for one supplier slot, an order header in the
// supplier's `testa` and one line per article with packages in its `movimenti`, priced from
// the comparison cost converted back through the EAN conversion table.
//
// One supplier's order (its headers and all its lines) is written in one transaction on the
// supplier's database: a failure leaves that database as it was. The order and line numbers
// are taken inside that transaction, so that two programs writing at once write two orders.
// Each committed order is recorded in the main database (written_orders.h).
#pragma once

#include <QString>
#include <vector>

#include "common/shared_values.h"
#include "platform/db/database.h"

namespace vx::comparison {

// The texts of the order writing's boxes.
QString NewOrderQuestion();  // "Vuoi creare un nuovo ordine (SI=... NO=...) ?"
QString NewOrderCaption();   // "Creazione ordine"
QString MissingDatabaseText(const QString& path);  // "Attenzione ... archivio dati ..."
QString OrderFailedText(const QString& supplier, const QString& path, const QString& reason);
QString MissingArticleDescription();  // "AAAAA !!!! articolo inesistente"

// The questions and messages of one slot's order; the window shows them as boxes, tests
// answer them directly.
class OrderPrompts {
 public:
  virtual ~OrderPrompts() = default;
  // The year already has orders: true for a new order, false to add the lines to the last.
  virtual bool AskNewOrder() = 0;
  // The supplier's database named by `percorso` does not exist.
  virtual void MissingDatabase(const QString& path) = 0;
  // The order could not be written; the supplier's database was left as it was.
  virtual void OrderFailed(const QString& supplier, const QString& path, const QString& reason) = 0;
};

enum class OrderOutcome {
  NoSupplier,       // no `fornitori` row for the slot: skipped without a message, not written
  MissingDatabase,  // the supplier's database does not exist: nothing written
  Failed,           // an error while reading or writing: rolled back, nothing written
  Written,          // headers and lines committed
  AlreadyWritten,   // written by an earlier run from the same packages, not written again
};

struct SlotOrderResult {
  int slot = 0;
  OrderOutcome outcome = OrderOutcome::NoSupplier;
  QString supplier;            // `descr` of the supplier row (trimmed)
  QString databasePath;        // `percorso` of the supplier row
  std::vector<qint32> orders;  // numbers of the headers written, in writing order
  int lines = 0;               // lines written
  QString error;               // why it failed
};

// The criteria by which a view has packages for the slot: "not isnull(colliN) and colliN > 0 ".
QString SlotPackagesCriteria(int slot);

// Writes the order of supplier slot 1..4 from every row of the comparison table with packages
// for it. Reads `percorso_db` and `ragione_sociale` of the values; sets
// `numero_ordine`, `ean_corrente` and `azione_conv` as the lines are written (restored as
// they were when the order fails). The comparison table is only read.
SlotOrderResult WriteSlotOrder(int slot, common::SharedValues& values, OrderPrompts& prompts);

// A slot whose order was not attempted because reading its packages failed.
SlotOrderResult FailedSlot(int slot, const QString& supplier, const QString& error);

// True when the slot's order is in the supplier's database (written now or by an earlier run).
bool OrderInPlace(const SlotOrderResult& result);
// True when every slot that was attempted has its order in place.
bool AllOrdersWritten(const std::vector<SlotOrderResult>& results);

// The closing question of "Crea Ordini": the success text when every order was written,
// otherwise a text naming the suppliers whose order was not written.
QString ClosingQuestion(const std::vector<SlotOrderResult>& results);

// Clears, on the marked rows of the comparison table, the packages of the given slots only,
// and unmarks the rows left without packages; one transaction, which also forgets those
// slots' written orders. Used in place of the full package clearing when some orders were
// not written, so that their packages stay.
void ClearWrittenPackages(db::Database& main, const std::vector<int>& written);

}  // namespace vx::comparison
