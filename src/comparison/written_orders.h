// The orders already written from the comparison table's current packages, kept in the main
// database's table `ordiniconfronto` so that the record outlives the program: a run cut short
// after a supplier's order was committed leaves that slot's packages in place, and the next
// "Crea Ordini" over them must not write the same order again without asking.
//
// A slot's record is written inside the main database's transaction and committed before the
// supplier's order, then confirmed once the order is committed. A record left unconfirmed
// (the program stopped between the two commits) counts only when the supplier's database
// holds the lines it names; otherwise it is dropped when read. The records go when the
// packages go: cleared with the packages, when the comparison table is emptied and when a
// new load begins.
#pragma once

#include <QString>
#include <vector>

namespace vx::db {
class Database;
}

namespace vx::comparison {

struct WrittenOrder {
  int slot = 0;
  QString supplier;  // `descr` of the supplier row, as the boxes name it
  QString path;      // the supplier's database
  int year = 0;
  qint32 number = 0;
  int firstLine = 0;  // the order's lines written by that run: firstLine to lastLine
  int lastLine = 0;   // (lastLine < firstLine when it wrote none)
};

// Adds the records of one slot's run, unconfirmed; the caller's transaction holds them.
void RecordWrittenOrders(db::Database& main, const std::vector<WrittenOrder>& orders);
// Confirms the slot's records once the supplier's order is committed.
void ConfirmWrittenOrders(db::Database& main, int slot);
// The orders recorded for the slot, in writing order. Unconfirmed records whose lines the
// supplier's database does not hold are dropped.
std::vector<WrittenOrder> WrittenOrdersOf(db::Database& main, int slot);
// Forgets the records of the given slots; every slot when `which` is empty.
void ForgetWrittenOrders(db::Database& main, const std::vector<int>& which = {});

// The question asked before the orders of these packages are written again: names each
// supplier with its order numbers and year.
QString WriteAgainQuestion(const std::vector<WrittenOrder>& orders);

}  // namespace vx::comparison
