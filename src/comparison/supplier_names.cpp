#include "comparison/supplier_names.h"

#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

void FillSupplierNames(db::DataControl& forn, const QString& mainDb,
                       const std::vector<ui::TextBox*>& boxes) {
  const int count = int(boxes.size());
  QString maxima;
  for (int n = 1; n <= count; ++n) {
    maxima += QStringLiteral("%1max(forn%2) as f%2").arg(n > 1 ? ", " : "").arg(n);
  }
  forn.DatabaseName = mainDb;
  forn.RecordSource = QStringLiteral("select ") + maxima + QStringLiteral(" from articoli");
  forn.Refresh();
  std::vector<qint64> codes(boxes.size(), 0);
  if (db::Recordset* rs = forn.recordset(); rs && rs->RecordCount() > 0) {
    rs->MoveFirst();
    for (int n = 0; n < count; ++n) {
      const Variant v = rs->Field(n);
      codes[n] = v.isNumber() ? qint64(v.toDouble()) : qint64(Val(v.str()));
    }
  }
  forn.RecordSource = QStringLiteral("SELECT * FROM fornitori ");
  forn.Refresh();
  db::Recordset* rs = forn.recordset();
  if (!rs) return;
  for (int n = 0; n < count; ++n) {
    rs->FindFirst(QStringLiteral("codice = %1").arg(codes[n]));
    if (!rs->NoMatch()) boxes[n]->setText(rs->Field(QStringLiteral("descr")).str());
  }
}

void SetCostHeadings(ui::FlexGrid& grid, const std::vector<ui::TextBox*>& boxes,
                     const std::vector<int>& costColumns, int cut) {
  for (size_t n = 0; n < boxes.size() && n < costColumns.size(); ++n) {
    const QString name = boxes[n]->text();
    grid.SetTextMatrix(
        0, costColumns[n],
        name.trimmed().isEmpty() ? QStringLiteral("Costo%1").arg(n + 1) : name.left(cut));
    grid.SetCellColors(0, costColumns[n], QColor(), ui::VbColor(0xFFFF));
  }
}

}  // namespace vx::comparison
