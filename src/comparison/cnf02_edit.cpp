// Marks and packages of the comparison grid: clicks and keys on the grid, each written back
// to its article's row at once, and the two buttons that act on many rows.
#include <utility>

#include "comparison/cnf02.h"
#include "comparison/cnf02_marks.h"
#include "comparison/written_orders.h"
#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/ui/application.h"
#include "platform/ui/flexgrid.h"

namespace vx::comparison {

namespace {

const QString kMarked = QStringLiteral("X");

QString PackagesField(int slot) { return QStringLiteral("Colli%1").arg(slot); }

// The number a cell shows: its leading number, 0 when there is none.
double CellNumber(const QString& text) { return Val(text); }

// A package count as the table holds it; Null, empty and text that is no number count as 0.
double Packages(const Variant& v) {
  if (v.isNumber()) return v.toDouble();
  if (v.isText()) return ParseRegional(v.str()).value_or(0.0);
  return 0;
}

}  // namespace

void cnf02::ScriviRiga(int riga, const std::vector<std::pair<QString, Variant>>& fields,
                       const std::vector<CellText>& undo) {
  db::Recordset* rs = art->recordset();
  if (!rs) return;
  const QString ean = flex1->TextMatrix(riga, kColEan);
  try {
    db::Transaction tx(rs->database());
    rs->FindFirst(QStringLiteral("ean = ") + db::Quote(ean) + QStringLiteral(" "));
    if (rs->NoMatch()) return;
    rs->Edit();
    try {
      for (const auto& [name, value] : fields) rs->SetField(name, value);
      rs->Update();
    } catch (const db::DbError&) {
      rs->CancelUpdate();
      throw;
    }
    tx.Commit();
  } catch (const db::DbError& e) {
    for (const CellText& cell : undo) flex1->SetTextMatrix(cell.row, cell.col, cell.text);
    MostraErrore(QStringLiteral("l'aggiornamento dell'articolo ") + ean, e.message());
  }
}

void cnf02::cnf02_flex1_Click() {
  // A press on a heading leaves the current cell where it was: nothing to do.
  if (std::exchange(pressOnHeading_, false)) return;
  const int r = flex1->Row();
  const int c = flex1->Col();
  if (r < 1) return;
  const QString before = flex1->TextMatrix(r, c);
  if (c == kColSel) {
    if (before != kMarked) {
      flex1->SetTextMatrix(r, c, kMarked);
    } else {
      double sum = 0;
      for (int n = 1; n <= 4; ++n) sum += CellNumber(flex1->TextMatrix(r, PackageColumn(n)));
      if (sum <= 0) flex1->SetTextMatrix(r, c, QString());
    }
    ScriviRiga(r, {{QStringLiteral("Sel"), Variant(flex1->TextMatrix(r, c))}}, {{r, c, before}});
  } else if (const int slot = SlotOfPackageColumn(c); slot != 0) {
    ScriviRiga(r, {{PackagesField(slot), Variant(CellNumber(before))}}, {});
  } else if (c == kColUm) {
    flex1->SetTextMatrix(
        r, c, before == QStringLiteral("CT") ? QStringLiteral("PZ") : QStringLiteral("CT"));
    ScriviRiga(r, {{QStringLiteral("UM"), Variant(flex1->TextMatrix(r, c))}}, {{r, c, before}});
  }
}

void cnf02::cnf02_flex1_KeyDown(int& KeyCode, int /*Shift*/) {
  if (KeyCode != 46 && KeyCode != 3) return;
  const int r = flex1->Row();
  const int c = flex1->Col();
  const int slot = SlotOfPackageColumn(c);
  if (slot == 0 || r < 1) return;
  const std::vector<CellText> undo = {{r, c, flex1->TextMatrix(r, c)},
                                      {r, kColSel, flex1->TextMatrix(r, kColSel)}};
  flex1->SetTextMatrix(r, c, QStringLiteral("0"));
  flex1->SetTextMatrix(r, kColSel, QStringLiteral(" "));
  ScriviRiga(r, {{PackagesField(slot), Variant(0)}, {QStringLiteral("Sel"), Variant(" ")}}, undo);
}

void cnf02::cnf02_flex1_KeyPress(int& KeyAscii) {
  if (KeyAscii < '0' || KeyAscii > '9') return;
  const int r = flex1->Row();
  const int c = flex1->Col();
  const int slot = SlotOfPackageColumn(c);
  if (slot == 0 || r < 1) return;
  const QString before = flex1->TextMatrix(r, c);
  if (before.size() >= 4) return;
  const std::vector<CellText> undo = {{r, c, before}, {r, kColSel, flex1->TextMatrix(r, kColSel)}};
  const double packages = Val(before + QChar(KeyAscii));
  flex1->SetTextMatrix(r, c, NumberText(packages));
  flex1->SetTextMatrix(r, kColSel, kMarked);
  ScriviRiga(r, {{PackagesField(slot), Variant(float(packages))}, {QStringLiteral("Sel"), kMarked}},
             undo);
}

void cnf02::cnf02_Command1_Click() {
  cnf02_attesa(true);
  db::Recordset* rs = art->recordset();
  if (!rs || rs->RecordCount() == 0) {
    cnf02_carica_griglia();
    cnf02_attesa(false);
    return;
  }
  try {
    db::Transaction tx(rs->database());
    rs->MoveFirst();
    while (!rs->Eof()) {
      double sum = 0;
      for (int n = 1; n <= 4; ++n) sum += Packages(rs->Field(PackagesField(n)));
      if (sum == 0) {
        const bool marked = rs->Field(QStringLiteral("Sel")).str() == kMarked;
        rs->Edit();
        rs->SetField(QStringLiteral("Sel"), marked ? Variant(" ") : Variant(kMarked));
        rs->Update();
      }
      rs->MoveNext();
    }
    tx.Commit();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la selezione degli articoli"), e.message());
  }
  RicaricaVista();
}

void cnf02::cnf02_Command5_Click() {
  if (flex1->Rows() <= 1 || !art->database()) return;
  cnf02_attesa(true);
  try {
    db::Transaction tx(*art->database());
    // All marked rows of the table, whatever the view shows.
    auto marked =
        art->database()->OpenRecordset(QStringLiteral("select * from articoli where sel = 'X'"));
    while (!marked->Eof()) {
      marked->Edit();
      for (int n = 1; n <= 4; ++n) marked->SetField(QStringLiteral("colli%1").arg(n), Variant(0));
      marked->SetField(QStringLiteral("sel"), Variant(" "));
      marked->Update();
      ui::DoEvents();
      marked->MoveNext();
    }
    // The orders written from these packages go with them.
    ForgetWrittenOrders(*art->database());
    tx.Commit();
  } catch (const db::DbError& e) {
    MostraErrore(QStringLiteral("la pulizia dei colli"), e.message());
  }
  RicaricaVista();
}

}  // namespace vx::comparison
