#include "masterdata/ali01.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "common/shared_values.h"
#include "masterdata/art03.h"
#include "platform/clock.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {

namespace {

constexpr int kEanWidth = 13;

// The grid's headings and column widths (twips), column 0 being the row-header column.
const std::array<const char*, 10> kHeadings = {"",
                                               "CodFor",
                                               "Ean",
                                               "Desart",
                                               "NXM",
                                               "Azione",
                                               "EanAlternativo",
                                               "EanAlternativo2",
                                               "EanAlternativo3",
                                               "EanAlternativo4"};
const std::array<int, 10> kWidths = {200, 800, 1500, 3000, 800, 800, 1800, 1800, 1800, 1800};

QString WherePiece(qint32 slot) { return QStringLiteral(" WHERE codfor = %1 ").arg(slot); }

void ReportDbError(const db::DbError& e) {
  ui::MsgCritical(QStringLiteral("ATTENZIONE !!! Errore nell'archivio: %1").arg(e.message()));
}

using ui::Named;

// Whether a description read from the list is already the one to write: the same text, or
// Null over Null.
bool SameStored(const Variant& held, const Variant& value) {
  if (held.isNull() || value.isNull()) return held.isNull() && value.isNull();
  return held.isText() && value.isText() && held.str() == value.str();
}

}  // namespace

QString ListSelect() {
  return QStringLiteral(
      "SELECT  [CodFor] ,[Ean],[Desart],[fatconv] as NXM,[Azione],[EanAlternativo],"
      "[EanAlternativo2],[EanAlternativo3],[EanAlternativo4]FROM eanconv ");
}

QString OptionSource(int slot) {
  // The first option's text has no blank before FROM; the others have one.
  const QString select = ListSelect().chopped(QStringLiteral("FROM eanconv ").size());
  return select + (slot == 1 ? QString() : QStringLiteral(" ")) +
         QStringLiteral("FROM eanconv  WHERE codfor = %1 ORDER BY [ean]").arg(slot);
}

QString CopyComparisonDescriptions(db::Recordset& list) {
  QString ean = FixedText(QString(), kEanWidth);
  if (list.RecordCount() == 0) return ean;
  db::Database& database = list.database();
  db::Transaction tx(database);
  db::Statement lookup =
      database.Prepare(QStringLiteral("SELECT desart FROM articoli WHERE vedovo = ?"));
  const int eanField = list.FieldIndex(QStringLiteral("ean"));
  const int desartField = list.FieldIndex(QStringLiteral("desart"));
  list.MoveFirst();
  while (!list.Eof()) {
    const Variant code = list.Field(eanField);
    ean = FixedText(code.isNull() ? QString() : code.str(), kEanWidth);
    lookup.Reset();
    lookup.Bind(1, ean);
    if (lookup.Step()) {
      const Variant desart = lookup.Column(0);
      lookup.Reset();
      // A row that already holds the description is left as it is: writing it again would
      // store the same value.
      if (desartField < 0 || !SameStored(list.Field(desartField), desart)) {
        list.Edit();
        list.SetField(QStringLiteral("desart"), desart);
        list.Update();
      }
    }
    list.MoveNext();
  }
  lookup.Reset();
  tx.Commit();
  return ean;
}

int MoveFirstAlternatives(db::Recordset& list) {
  if (list.RecordCount() == 0) return 0;
  db::Transaction tx(list.database());
  int moved = 0;
  const int firstField = list.FieldIndex(QStringLiteral("eanalternativo"));
  list.MoveFirst();
  while (!list.Eof()) {
    const Variant first = list.Field(firstField);
    if (!first.isNull() && !first.str().trimmed().isEmpty()) {
      list.Edit();
      list.SetField(QStringLiteral("eanalternativo2"), first);
      list.SetField(QStringLiteral("eanalternativo"), QString());
      list.Update();
      ++moved;
    }
    list.MoveNext();
  }
  tx.Commit();
  return moved;
}

ali01::ali01() {
  SetCaption(QStringLiteral("Tabella fattori moltiplicatori/divisori"));
  BuildControls();
}

void ali01::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  outer->addLayout(top);

  Frame1 = Named(new QGroupBox(QStringLiteral("Selezione Fornitore"), this), "Frame1");
  auto* options = new QVBoxLayout(Frame1);
  fo1 = Named(new QRadioButton(QStringLiteral("Fornitore 1"), Frame1), "fo1");
  fo2 = Named(new QRadioButton(QStringLiteral("Fornitore 2"), Frame1), "fo2");
  f03 = Named(new QRadioButton(QStringLiteral("Fornitore 3"), Frame1), "f03");
  fo4 = Named(new QRadioButton(QStringLiteral("Fornitore 4"), Frame1), "fo4");
  const std::array<QRadioButton*, 4> buttons{fo1, fo2, f03, fo4};
  for (int n = 1; n <= 4; ++n) {
    options->addWidget(buttons[n - 1]);
    connect(buttons[n - 1], &QRadioButton::clicked, this, [this, n] { fo_Click(n); });
  }
  top->addWidget(Frame1);

  Frame10 = Named(new QGroupBox(QStringLiteral("Ricerche"), this), "Frame10");
  auto* searches = new QGridLayout(Frame10);
  ricw = Named(new ui::TextBox(Frame10), "ricw");
  eanw = Named(new ui::TextBox(Frame10), "eanw");
  eanw->setMaxLength(kEanWidth);
  searches->addWidget(new QLabel(QStringLiteral("Per descrizione"), Frame10), 0, 0);
  searches->addWidget(ricw, 0, 1);
  searches->addWidget(new QLabel(QStringLiteral("Per EAN"), Frame10), 1, 0);
  searches->addWidget(eanw, 1, 1);
  // The search boxes turn yellow on the focus and stay so.
  ui::HighlightOnFocus(ricw, {});
  ui::HighlightOnFocus(eanw, {});
  connect(ricw, &ui::TextBox::Change, this, [this] { ricw_Change(); });
  connect(ricw, &ui::TextBox::KeyPress, this, [this](int& k) { ricw_KeyPress(k); });
  connect(eanw, &ui::TextBox::Change, this, [this] { eanw_Change(); });
  connect(eanw, &ui::TextBox::KeyPress, this, [this](int& k) { eanw_KeyPress(k); });
  top->addWidget(Frame10, 1);

  auto* labels = new QVBoxLayout;
  Label2 = Named(new QLabel(this), "Label2");
  Label9 = Named(new QLabel(QStringLiteral("Azione: M=moltiplica,D=Divide"), this), "Label9");
  labels->addWidget(Label2);
  labels->addWidget(Label9);
  labels->addStretch();
  top->addLayout(labels);

  flex1 = Named(new ui::FlexGrid(this), "flex1");
  flex1->SetFixedCols(1);
  outer->addWidget(flex1, 1);
  connect(flex1, &ui::FlexGrid::Click, this, [this] { flex1_Click(); });

  Data1 = Named(new db::DataControl(this), "Data1");
  flex1->SetDataSource(Data1);
  // After the grid's own fill: the headings as the window names its columns.
  connect(Data1, &db::DataControl::refreshed, this, [this] { SetHeadings(); });

  auto* row = new QHBoxLayout;
  outer->addLayout(row);
  Command3 = Named(new QPushButton(QStringLiteral("Inserimento"), this), "Command3");
  Command4 = Named(new QPushButton(QStringLiteral("Trasferisce Ean 1>2"), this), "Command4");
  Command4->setToolTip(QStringLiteral("Trasferisce ean da 1 > 2"));
  Command1 = Named(new QPushButton(QStringLiteral("Uscita programma"), this), "Command1");
  Command2 = Named(new QPushButton(QStringLiteral("Uscita programma"), this), "Command2");
  row->addWidget(Command3);
  row->addWidget(Command4);
  row->addStretch();
  row->addWidget(Command1);
  row->addWidget(Command2);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  resize(1000, 620);
}

void ali01::Form_Load() {
  common::SharedValues& g = common::G();
  g.codice_fornitore = 1;
  fo1->setChecked(true);
  g.anno = static_cast<qint16>(Today().year());
  sql_select = ListSelect();
  sql_where = WherePiece(g.codice_fornitore);
  sql_order = QStringLiteral(" ORDER BY [desart]");
  OpenList(sql_select + sql_where + sql_order);
  Label2->setText(g.ragione_sociale);
  vedo();
}

bool ali01::OpenList(const QString& source) {
  Data1->DatabaseName = common::G().percorso_db;
  Data1->RecordSource = source;
  try {
    Data1->Refresh();
    return true;
  } catch (const db::DbError& e) {
    flex1->FillFrom(nullptr);
    SetHeadings();
    ReportDbError(e);
    return false;
  }
}

void ali01::SetHeadings() {
  for (int c = 1; c < int(kHeadings.size()) && c < flex1->Cols(); ++c) {
    flex1->SetTextMatrix(0, c, QString::fromLatin1(kHeadings[c]));
  }
}

void ali01::SetWidths() {
  for (int c = 0; c < int(kWidths.size()); ++c) flex1->SetColWidth(c, kWidths[c]);
}

void ali01::vedo() {
  try {
    if (db::Recordset* list = Data1->recordset(); list && list->RecordCount() > 0) {
      common::G().ean_corrente = CopyComparisonDescriptions(*list);
      Data1->Refresh();
      if (Data1->recordset()->RecordCount() > 0) Data1->recordset()->MoveFirst();
    }
  } catch (const db::DbError& e) {
    ReportDbError(e);
  }
  SetWidths();
}

void ali01::fo_Click(int slot) {
  common::SharedValues& g = common::G();
  g.codice_fornitore = slot;
  g.anno = static_cast<qint16>(Today().year());
  sql_where = WherePiece(slot);
  OpenList(OptionSource(slot));
  Label2->setText(g.ragione_sociale);
  vedo();
}

void ali01::ricw_Change() {
  sql_filtro =
      sql_where + QStringLiteral(" and desart >= ") + db::Quote(ricw->Text()) + QStringLiteral(" ");
  sql_order = QStringLiteral(" ORDER BY [desart]");
  OpenList(sql_select + sql_filtro + sql_order);
}

void ali01::ricw_KeyPress(int& keyAscii) {
  if (keyAscii != 13) return;
  const QString text = ricw->Text();
  sql_filtro = text.isEmpty() ? sql_where
                              : sql_where + QStringLiteral(" and desart like  '*") +
                                    db::LikeWildcardLiteral(text) + QStringLiteral("*' ");
  sql_order = QStringLiteral(" ORDER BY [desart]");
  OpenList(sql_select + sql_filtro + sql_order);
}

void ali01::eanw_Change() {
  sql_filtro =
      sql_where + QStringLiteral(" and ean >= ") + db::Quote(eanw->Text()) + QStringLiteral(" ");
  sql_order = QStringLiteral(" ORDER BY [ean]");
  OpenList(sql_select + sql_filtro + sql_order);
}

void ali01::eanw_KeyPress(int& keyAscii) {
  if (keyAscii != 13) return;
  const QString text = eanw->Text();
  sql_filtro = text.isEmpty() ? sql_where
                              : sql_where + QStringLiteral(" and ean like  '*") +
                                    db::LikeWildcardLiteral(text) + QStringLiteral("*' ");
  sql_order = QStringLiteral(" ORDER BY [ean]");
  OpenList(sql_select + sql_filtro + sql_order);
}

void ali01::flex1_Click() {
  const int row = flex1->Row();
  if (row == 0) return;
  common::SharedValues& g = common::G();
  g.codice_fornitore = static_cast<qint32>(Val(flex1->TextMatrix(row, 1)));
  g.ean_corrente = FixedText(flex1->TextMatrix(row, 2), kEanWidth);
  if (QString(g.ean_corrente).trimmed().isEmpty()) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE !!!. Selezionare prima un Prodotto ..."));
    return;
  }
  Command1->setEnabled(false);
  Command2->setEnabled(false);
  Command3->setEnabled(false);
  ui::Forms::Show<art03>();
}

void ali01::Command1_Click() { Unload(); }

void ali01::Command2_Click() { Unload(); }

void ali01::Command3_Click() {
  eanw->SetText(QString());
  common::G().ean_corrente = FixedText(QString(), kEanWidth);
  ui::Forms::Show<art03>();
}

void ali01::Command4_Click() {
  if (ui::AskYesNo(QStringLiteral("Sei sicuro di procedere ..."), QString())) {
    try {
      if (db::Recordset* list = Data1->recordset()) MoveFirstAlternatives(*list);
      Data1->Refresh();
    } catch (const db::DbError& e) {
      ReportDbError(e);
    }
  }
  ui::MsgInformation(QStringLiteral("Elaborazione terminata"));
}

void ali01::RefreshList() {
  try {
    Data1->Refresh();
  } catch (const db::DbError& e) {
    ReportDbError(e);
  }
}

}  // namespace vx::masterdata
