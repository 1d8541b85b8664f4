#include "comparison3/three_supplier_load.h"

namespace vx::comparison3 {

comparison::SlotLoad ThreeSupplierLoad(const QString& supplierCode, int slot, double percentage,
                                       bool applyConversion, bool useDescription) {
  comparison::SlotLoad request;
  request.supplierCode = supplierCode;
  request.slot = slot;
  request.percentage = percentage;
  request.applyConversion = applyConversion;
  request.useDescription = useDescription;
  request.conversion = comparison::ConversionModel::OwnSlot;
  request.supplierColumn = comparison::SupplierColumn::SupplierCode;
  request.writeOfferAndType = false;
  return request;
}

}  // namespace vx::comparison3
