// "Stampa elenco " of the comparison grid: the grid switched to the ticked rows, then those
// rows printed as a boxed list with the four suppliers' packages and costs.
#include <QGroupBox>
#include <QPushButton>

#include "common/shared_values.h"
#include "comparison/boxed_list.h"
#include "comparison/cnf02.h"
#include "comparison/cnf02_query.h"
#include "platform/db/datacontrol.h"
#include "platform/print/printjob.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

// The list's columns: EAN, description, unit, pack, VAT, per slot packages and cost, and an
// empty box. The headings from "Qta.2" on are in size 8, the EAN's rows too.
std::vector<ListColumn> ComparisonColumns(const std::array<QString, 4>& suppliers) {
  std::vector<ListColumn> c = {{50, QStringLiteral("Codice Ean"), 10, 8, {}},
                               {150, QStringLiteral(" Descrizione"), 10, 10, {}},
                               {20, QStringLiteral("UM"), 10, 10, {}},
                               {20, QStringLiteral("Imb."), 10, 10, {}},
                               {20, QStringLiteral("Iva"), 10, 10, {}}};
  for (int n = 1; n <= 4; ++n) {
    c.push_back({35, QStringLiteral("Qta.%1").arg(n), n == 1 ? 10.0 : 8.0, 10, {}});
    c.push_back({40, suppliers[n - 1].left(7), 8, 10, {}});
  }
  c.push_back({60, QString(), 8, 10, {}});
  return c;
}

QStringList RowTexts(const db::Recordset& rs) {
  QStringList t;
  for (const char* field : {"ean", "descrizione", "um", "imb", "iva"}) {
    t << rs.Field(QString::fromLatin1(field)).str();
  }
  for (int n = 1; n <= 4; ++n) {
    t << ListPackagesText(rs.Field(QStringLiteral("colli%1").arg(n)))
      << ListCostText(rs.Field(QStringLiteral("costo%1").arg(n)));
  }
  return t;
}

}  // namespace

void cnf02::cnf02_Command10_Click() {
  PrintTickedList(
      QStringLiteral("Stampa Confronto Fornitori"),
      [this] {
        Frame1->setEnabled(false);
        repaint();
        cond_vista = ViewMarked();
        Command3->setText(QStringLiteral("Vedi tutti"));
        Command3->repaint();
        flag_vista = true;
        art->DatabaseName = common::G().percorso_db;
        const bool shown = Requery();
        Frame1->setEnabled(true);
        repaint();
        return shown;
      },
      [this] { return cnf02_stampa_confronto(); });
}

print::PrintResult cnf02::cnf02_stampa_confronto() {
  print::PrintJob job(QStringLiteral("confronto"));
  db::Recordset* rs = art->recordset();
  if (rs && rs->RecordCount() > 0) rs->MoveFirst();
  const std::vector<ListColumn> columns = ComparisonColumns({});
  return PrintBoxedList(
      job, common::G(), columns, [this, &job](int page) { testap2(job, page); },
      [rs](QStringList& texts) {
        if (!rs || rs->Eof()) return false;
        texts = RowTexts(*rs);
        rs->MoveNext();
        return true;
      });
}

void cnf02::testap2(print::PrintJob& job, int page) {
  ListHeading heading;
  heading.title = QStringLiteral("CONTROLLO PRODOTTI ");
  heading.storeName = common::G().ragione_sociale;
  heading.columns = ComparisonColumns({forn1->text(), forn2->text(), forn3->text(), forn4->text()});
  PrintListHeading(job, common::G(), heading, page);
}

}  // namespace vx::comparison
