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
#include <functional>
#include <memory>
#include <vector>

#include "common/shared_values.h"
#include "comparison/order_values.h"
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

// One row of the comparison table with packages for the slot, as an order reads it.
struct ArticleRow {
  Variant ean, imb, iva, cost, packages, tipoart, um, description;
};

// Writes the lines of one order; made once per order, on the main and the supplier database.
class OrderLineWriter {
 public:
  virtual ~OrderLineWriter() = default;
  virtual void Write(qint16 year, qint32 numero, int bns, const ArticleRow& row,
                     common::SharedValues& values) = 0;
};

// What the comparisons' orders do each their own way; the supplier, the archive check, the
// customer, the numbering, the header and the transaction are the same for all.
struct OrderPolicy {
  // Every row of the comparison table with packages for the slot, in the order of the lines.
  std::function<std::vector<ArticleRow>(db::Database& main, int slot)> rows;
  // Whether the supplier's `creazioneordine` starts a new order where the article type
  // changes.
  bool split = false;
  std::function<std::unique_ptr<OrderLineWriter>(db::Database& main, db::Database& sup, int slot)>
      lines;
};
// The four-supplier comparison's orders: rows by type and reading order, split by type, lines
// priced through the EAN conversion table.
OrderPolicy FourSupplierOrders();

// A line of the supplier's `movimenti` as the order writers add it.
struct MovementLine {
  Variant article;
  FormattedNumber price;
  QString description;
  QString unit;
  Variant imb;
  FormattedNumber quantita;
  Variant iva;
  QString ean;
  double pieces = 0;  // packages times pack size
};

// Adds lines to the supplier's `movimenti`, each value fitted to its column; the total is the
// pieces times the price as the line holds them.
class MovementInsert {
 public:
  explicit MovementInsert(db::Database& sup);
  void Insert(qint16 year, qint32 numero, int bns, const MovementLine& line);

 private:
  db::Statement insert_;
  ColumnKind prezzo_, quantita_, colli_, totrig_;
};

// The criteria by which a view has packages for the slot: "not isnull(colliN) and colliN > 0 ".
QString SlotPackagesCriteria(int slot);

// Writes the order of supplier slot 1..4 from every row of the comparison table with packages
// for it. Reads `percorso_db` and `ragione_sociale` of the values; sets
// `numero_ordine`, `ean_corrente` and `azione_conv` as the lines are written (restored as
// they were when the order fails). The comparison table is only read.
SlotOrderResult WriteSlotOrder(int slot, common::SharedValues& values, OrderPrompts& prompts,
                               const OrderPolicy& policy = FourSupplierOrders());

// A slot whose order was not attempted because reading its packages failed.
SlotOrderResult FailedSlot(int slot, const QString& supplier, const QString& error);

// True when the slot's order is in the supplier's database (written now or by an earlier run).
bool OrderInPlace(const SlotOrderResult& result);
// True when every slot that was attempted has its order in place.
bool AllOrdersWritten(const std::vector<SlotOrderResult>& results);

// The closing question of "Crea Ordini": the success text when every order was written,
// otherwise a text naming the suppliers whose order was not written.
QString ClosingQuestion(const std::vector<SlotOrderResult>& results);

// The rows whose packages a clearing covers, and the grid's slot count.
struct PackageRows {
  QString where = QStringLiteral("sel = 'X'");
  int slotCount = 4;
};

// Clears, on the given rows of the comparison table, the packages of the given slots only,
// and unmarks those rows that are left without packages; one transaction, which also forgets
// those slots' written orders. Used in place of the full package clearing when some orders
// were not written, so that their packages stay.
void ClearWrittenPackages(db::Database& main, const std::vector<int>& written,
                          const PackageRows& rows = {});

}  // namespace vx::comparison
