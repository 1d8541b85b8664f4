// "Stampa elenco " of the three-supplier grid: the grid switched to the ticked rows, then
// those rows printed as a boxed list "CONTROLLO PRODOTTI " on a 450 x 650 page.
#include <QGroupBox>
#include <QPushButton>

#include "common/shared_values.h"
#include "comparison/boxed_list.h"
#include "comparison/cnf02_query.h"
#include "comparison3/cnf02T.h"
#include "platform/conv.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/print/printjob.h"

namespace vx::comparison3 {

using comparison::ListColumn;

namespace {

// The list's nine columns; the second heading lines name two fixed suppliers whatever the
// slots hold. The EAN prints in size 8, the rest in 10.
std::vector<ListColumn> ListColumns() {
  return {{60, QStringLiteral("Codice Ean"), 10, 8, {}},
          {150, QStringLiteral(" Descrizione"), 10, 10, {}},
          {20, QStringLiteral(" UM "), 10, 10, {}},
          {20, QStringLiteral("Imb."), 10, 10, {}},
          {35, QStringLiteral("Colli"), 10, 10, {}},
          {20, QStringLiteral("Iva"), 10, 10, {}},
          {38, QStringLiteral("Costo"), 8, 10, QStringLiteral("Brunelvatto")},
          {38, QStringLiteral("Costo"), 8, 10, QStringLiteral("Corvalia")},
          {39, QStringLiteral("Articoli"), 8, 10, QStringLiteral("non trovati")}};
}

// A value without a format as the printer takes it: text as stored, a number after the blank
// that stands for its plus sign, Null as nothing.
QString Plain(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return QString();
  if (v.isNumber()) return (v.toDouble() < 0 ? QString() : QStringLiteral(" ")) + v.toString();
  return v.str();
}

bool IsZero(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return true;
  return v.isNumber() ? v.toDouble() == 0 : ParseRegional(v.str()).value_or(0.0) == 0;
}

QStringList RowTexts(const db::Recordset& rs) {
  const QString whole = QStringLiteral("###,##0");
  const QString money = QStringLiteral("###,##0.00");
  const Variant colli1 = rs.Field(QStringLiteral("Colli1"));
  const Variant costo2 = rs.Field(QStringLiteral("Costo2"));
  return {Plain(rs.Field(QStringLiteral("Ean"))),
          Plain(rs.Field(QStringLiteral("Descrizione"))),
          Plain(rs.Field(QStringLiteral("UM"))),
          Plain(rs.Field(QStringLiteral("Imballo"))),
          comparison::LeadingBlanksText(
              IsZero(colli1) ? rs.Field(QStringLiteral("Colli2")) : colli1, whole),
          Plain(rs.Field(QStringLiteral("Iva"))),
          comparison::LeadingBlanksText(rs.Field(QStringLiteral("Costo1")), money),
          Format(costo2.isNull() || costo2.isEmpty() ? Variant(0) : costo2, money),
          comparison::LeadingBlanksText(rs.Field(QStringLiteral("Colli3")), whole)};
}

}  // namespace

void cnf02T::Command10_Click() {
  comparison::PrintTickedList(
      QStringLiteral("Stampa Confronto Fornitori"),
      [this] {
        Frame1->setEnabled(false);
        repaint();
        cond_vista = comparison::ViewMarked();
        Command3->setText(QStringLiteral("Vedi tutti"));
        Command3->repaint();
        vista_selezionati = true;
        const bool shown = Ricarica(true);
        Frame1->setEnabled(true);
        repaint();
        return shown;
      },
      [this] { return cnf02T_stampa_confronto(); });
}

print::PrintResult cnf02T::cnf02T_stampa_confronto() {
  print::PrintJob job(QStringLiteral("confronto3"));
  db::Recordset* rs = art->recordset();
  if (rs && rs->RecordCount() > 0) rs->MoveFirst();
  comparison::ListPage page;
  page.landscape = false;  // as the printer has it
  page.width = 450;
  page.height = 650;
  page.breakAt = 625;
  page.lineBetweenRows = true;
  return comparison::PrintBoxedList(
      job, common::G(), ListColumns(), [this, &job](int n) { testap2(job, n); },
      [rs](QStringList& texts) {
        if (!rs || rs->Eof()) return false;
        texts = RowTexts(*rs);
        rs->MoveNext();
        return true;
      },
      page);
}

void cnf02T::testap2(print::PrintJob& job, int page) {
  comparison::ListHeading heading;
  heading.title = QStringLiteral("CONTROLLO PRODOTTI ");
  heading.storeName = common::G().ragione_sociale;
  heading.columns = ListColumns();
  heading.titleWidth = 200;
  heading.storeWidth = 290;
  heading.endLine = true;
  comparison::PrintListHeading(job, common::G(), heading, page);
}

}  // namespace vx::comparison3
