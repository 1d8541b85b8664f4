#include "comparison/grid_edit.h"

#include <memory>

#include "comparison/written_orders.h"
#include "data/comparison_load.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"

namespace vx::comparison {

namespace {

const QString kMarked = QStringLiteral("X");

// The comparison row of an EAN under the names of the grids' views (followed by the quoted EAN).
const QString kRowByEan = QStringLiteral(
    "select [Sel], [umart] as UM, [Colli1], [Colli2], [Colli3], [Colli4] from articoli "
    "where [vedovo] = ");

QString PackagesField(int slot) { return QStringLiteral("Colli%1").arg(slot); }

}  // namespace

std::optional<RowEdit> ClickEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c) {
  if (r < 1) return std::nullopt;
  const QString before = grid.TextMatrix(r, c);
  RowEdit edit;
  if (c == cols.sel) {
    if (before != kMarked) {
      grid.SetTextMatrix(r, c, kMarked);
    } else {
      double sum = 0;
      for (int n = 1; n <= cols.slotCount; ++n)
        sum += Val(grid.TextMatrix(r, cols.packageColumn(n)));
      if (sum <= 0) grid.SetTextMatrix(r, c, QString());
    }
    edit.fields = {{QStringLiteral("Sel"), Variant(grid.TextMatrix(r, c))}};
    edit.undo = {{r, c, before}};
    edit.markOrUnit = true;
  } else if (c == cols.um) {
    grid.SetTextMatrix(
        r, c, before == QStringLiteral("CT") ? QStringLiteral("PZ") : QStringLiteral("CT"));
    edit.fields = {{QStringLiteral("UM"), Variant(grid.TextMatrix(r, c))}};
    edit.undo = {{r, c, before}};
    edit.markOrUnit = true;
  } else if (const int slot = cols.slotOfPackageColumn(c); slot != 0) {
    edit.fields = {{PackagesField(slot), Variant(Val(before))}};
  } else {
    return std::nullopt;
  }
  return edit;
}

std::optional<RowEdit> DeleteKeyEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c,
                                     int keyCode) {
  if (keyCode != 46 && keyCode != 3) return std::nullopt;
  const int slot = cols.slotOfPackageColumn(c);
  if (slot == 0 || r < 1) return std::nullopt;
  RowEdit edit;
  edit.undo = {{r, c, grid.TextMatrix(r, c)}, {r, cols.sel, grid.TextMatrix(r, cols.sel)}};
  grid.SetTextMatrix(r, c, QStringLiteral("0"));
  grid.SetTextMatrix(r, cols.sel, QStringLiteral(" "));
  edit.fields = {{PackagesField(slot), Variant(0)}, {QStringLiteral("Sel"), Variant(" ")}};
  return edit;
}

std::optional<RowEdit> DigitKeyEdit(ui::FlexGrid& grid, const GridColumns& cols, int r, int c,
                                    int keyAscii) {
  if (keyAscii < '0' || keyAscii > '9') return std::nullopt;
  const int slot = cols.slotOfPackageColumn(c);
  if (slot == 0 || r < 1) return std::nullopt;
  const QString before = grid.TextMatrix(r, c);
  if (before.size() >= 4) return std::nullopt;
  RowEdit edit;
  edit.undo = {{r, c, before}, {r, cols.sel, grid.TextMatrix(r, cols.sel)}};
  const int packages = int(Val(before + QChar(keyAscii)));
  grid.SetTextMatrix(r, c, QString::number(packages));
  grid.SetTextMatrix(r, cols.sel, kMarked);
  edit.fields = {{PackagesField(slot), Variant(packages)}, {QStringLiteral("Sel"), kMarked}};
  return edit;
}

std::optional<QString> WriteRowEdit(db::Recordset* view, ui::FlexGrid& grid,
                                    const GridColumns& cols, int r, const RowEdit& edit) {
  if (!view) return std::nullopt;
  const QString ean = grid.TextMatrix(r, cols.ean);
  auto undo = [&] {
    for (const CellText& cell : edit.undo) grid.SetTextMatrix(cell.row, cell.col, cell.text);
  };
  // A click on a package cell only writes back the number the cell shows: the operator changed
  // nothing, and a write that cannot be done has nothing to tell.
  const bool unchanged = edit.undo.empty();
  bool gone = false;
  try {
    db::Transaction tx(view->database());
    db::Recordset* row = view;
    std::unique_ptr<db::Recordset> byEan;
    view->FindFirst(QStringLiteral("ean = ") + db::Quote(ean) + QStringLiteral(" "));
    if (view->NoMatch()) {
      // The view holds the rows of its last query: a row that another program deleted and
      // inserted again is found in the table by its EAN.
      byEan = view->database().OpenRecordset(kRowByEan + db::Quote(ean));
      row = byEan.get();
      gone = row->Eof();
    }
    if (!gone) {
      row->Edit();
      try {
        for (const auto& [name, value] : edit.fields) row->SetField(name, value);
        row->Update();
      } catch (const db::DbError&) {
        row->CancelUpdate();
        throw;
      }
      tx.Commit();
    }
  } catch (const db::DbError& e) {
    undo();
    if (unchanged) return std::nullopt;
    return e.message();
  }
  if (gone && !unchanged) {
    undo();
    ui::MsgExclamation(QStringLiteral("L'articolo %1 non è più nella tabella di confronto: "
                                      "premere \"Tutti\" per ricaricare la griglia.")
                           .arg(ean),
                       grid.window()->windowTitle());
  }
  return std::nullopt;
}

void ToggleUnpackedMarks(db::Recordset& view, int slotCount, bool nullLeavesRow) {
  if (view.RecordCount() == 0) return;
  // The fields by position, looked up once; a field the view lacks raises as by name.
  auto indexOf = [&view](const QString& name) {
    const int k = view.FieldIndex(name);
    if (k < 0) (void)view.Field(name);
    return k;
  };
  std::vector<int> packages;
  for (int n = 1; n <= slotCount; ++n) packages.push_back(indexOf(PackagesField(n)));
  const QString selName = QStringLiteral("Sel");
  const int sel = indexOf(selName);
  db::Transaction tx(view.database());
  view.MoveFirst();
  while (!view.Eof()) {
    double sum = 0;
    bool leave = false;
    for (int k : packages) {
      const Variant v = view.Field(k);
      if (v.isNumber()) {
        sum += v.toDouble();
      } else if (v.isText()) {
        sum += ParseRegional(v.str()).value_or(0.0);
      } else if (nullLeavesRow) {
        leave = true;
      }
    }
    if (!leave && sum == 0) {
      const bool marked = view.Field(sel).str() == kMarked;
      view.Edit();
      view.SetField(selName, marked ? Variant(" ") : Variant(kMarked));
      view.Update();
    }
    view.MoveNext();
  }
  tx.Commit();
}

void DeleteViewRows(db::Recordset& view) {
  if (view.RecordCount() == 0) return;
  db::Transaction tx(view.database());
  view.MoveFirst();
  while (!view.Eof()) {
    view.Delete();
    view.MoveNext();
  }
  db::Statement left = view.database().Prepare(QStringLiteral("select count(*) from articoli"));
  const bool emptied = left.Step() && left.Column(0).toLong() == 0;
  left.Reset();
  if (emptied) {
    ForgetWrittenOrders(view.database());
    data::MarkLoadEnded(view.database());
  }
  tx.Commit();
}

}  // namespace vx::comparison
