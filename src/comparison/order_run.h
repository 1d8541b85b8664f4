// "Crea Ordini" of the comparison grids: the slots with packages in the grid's view, the
// question before orders are written a second time from the same packages, one order per
// slot, and the closing question about clearing the packages.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "comparison/orders.h"

namespace vx::db {
class Database;
class Recordset;
}  // namespace vx::db

namespace vx::comparison {

// The order writing's questions and messages as the window's boxes.
class WindowOrderPrompts : public OrderPrompts {
 public:
  bool AskNewOrder() override;
  void MissingDatabase(const QString& path) override;
  void OrderFailed(const QString& supplier, const QString& path, const QString& reason) override;
};

// A grid's part in writing its orders.
struct OrderRun {
  int slotCount = 4;
  db::Recordset* view = nullptr;  // the grid's view: the slots with packages in it get orders
  db::Database* main = nullptr;   // the main database (the written-orders record)
  OrderPolicy policy;
  std::function<QString(int slot)> supplierName;             // the slot's name box
  std::function<void(const QString& text)> showStatus;       // the busy frame's label
  std::function<void(const QString&, const QString&)> fail;  // (action, error): a critical box
};

// Writes the orders of the slots 1..slots with packages in the view, in slot order. A slot
// whose view cannot be read is a failed slot. Orders that an earlier run wrote from the same
// packages are written again only when the operator says so. The label gets the supplier's
// name while its order is written, then the waiting text again.
std::vector<SlotOrderResult> WriteOrders(const OrderRun& run);

// The closing question and what its answer clears: nothing, every package (all orders in
// place), or the packages of the slots whose order is in place.
struct ClearChoice {
  bool clear = false;
  bool all = false;
  std::vector<int> written;
};
ClearChoice AskClearPackages(const std::vector<SlotOrderResult>& results);

}  // namespace vx::comparison
