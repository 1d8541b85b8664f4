#include "masterdata/for03.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <algorithm>

#include "common/shared_values.h"
#include "masterdata/for01.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/textbox.h"

namespace vx::masterdata {

using common::G;
using ui::MakeControl;

namespace {

const QString kNoSupplier = QStringLiteral("ATTENZIONE !!!. Selezionare prima un Fornitore ...");
const QString kDeleteQuestion =
    QStringLiteral("Sei sicuro di voler cancellare questo Fornitore ...");
const QString kCannotDelete = QStringLiteral(
    "Questo Fornitore non può essere eliminato perchè ha dei movimenti in scadenze ...");

constexpr qint64 kLightYellow = 0xC0FFFF;

// The nearest whole 32-bit number; a number beyond the range is taken as the range's end.
qint32 ClampedWholeNumber(double v) {
  return CLng(std::clamp(RoundHalfEven(v), -2147483648.0, 2147483647.0));
}

}  // namespace

for03::for03() {
  setObjectName(QStringLiteral("for03"));
  SetCaption(QStringLiteral("Gestione Fornitori"));
  resize(ui::TwipsToPixels(10800), ui::TwipsToPixels(6600));
  BuildControls();
}

void for03::BuildControls() {
  Label1 = MakeControl<QLabel>(this, "Label1", 120, 120, 4000, 255,
                               QStringLiteral("Ricerca alfabetica"));
  ricw = MakeControl<ui::TextBox>(this, "ricw", 120, 400, 4000, 330);
  Label2 = MakeControl<QLabel>(this, "Label2", 4320, 120, 1600, 255, QStringLiteral("Per Codice"));
  codw = MakeControl<ui::TextBox>(this, "codw", 4320, 400, 1600, 330);

  flex1 = MakeControl<ui::FlexGrid>(this, "flex1", 120, 900, 10560, 4560);
  flex1->SetFixedRows(1);
  flex1->SetFixedCols(1);
  Data1 = new db::DataControl(this);
  Data1->setObjectName(QStringLiteral("Data1"));
  flex1->SetDataSource(Data1);

  Command2 =
      MakeControl<QPushButton>(this, "Command2", 120, 5640, 1800, 600,
                               style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("Nuovo"));
  Command4 = MakeControl<QPushButton>(this, "Command4", 2040, 5640, 2600, 600,
                                      style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                      QStringLiteral("Visualizza/Modifica"));
  // Enter on the focused button presses it, as on any button of the program's windows.
  Command4->setAutoDefault(true);
  Command6 = MakeControl<QPushButton>(this, "Command6", 4760, 5640, 1800, 600,
                                      style()->standardIcon(QStyle::SP_TrashIcon),
                                      QStringLiteral("Elimina"));
  Cmdesc = MakeControl<QPushButton>(this, "Cmdesc", 9840, 5640, 840, 600,
                                    style()->standardIcon(QStyle::SP_DialogCloseButton), QString());
  // The window's cancel button: Esc anywhere in the window presses it.
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(esc, &QShortcut::activated, Command6, &QPushButton::click);

  connect(Command2, &QPushButton::clicked, this, &for03::Command2_Click);
  connect(Command4, &QPushButton::clicked, this, &for03::Command4_Click);
  connect(Command6, &QPushButton::clicked, this, &for03::Command6_Click);
  connect(Cmdesc, &QPushButton::clicked, this, &for03::Cmdesc_Click);

  connect(ricw, &ui::TextBox::Change, this, &for03::ricw_Change);
  connect(codw, &ui::TextBox::Change, this, &for03::codw_Change);
  for (ui::TextBox* box : {ricw, codw}) {
    ui::HighlightOnFocus(box, [this] { chiaro(); });
    ui::HighlightOnClick(box, [this] { chiaro(); });
    ui::SetBackColor(box, ui::VbColor(kLightYellow));
    connect(box, &ui::TextBox::KeyDown, this, [this](int& keyCode, int) {
      if (keyCode == 40) flex1->setFocus(Qt::OtherFocusReason);
    });
  }
  connect(codw, &ui::TextBox::KeyPress, this, [this](int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    Command4->setFocus(Qt::OtherFocusReason);
  });

  connect(flex1, &ui::FlexGrid::Click, this, &for03::flex1_Click);
  connect(flex1, &ui::FlexGrid::DblClick, this, &for03::flex1_DblClick);
  connect(flex1, &ui::FlexGrid::KeyPress, this, [this](int& keyAscii) {
    if (keyAscii != 13) return;
    if (flex1->Row() >= flex1->FixedRows()) TakeCurrentRow();
    OpenCurrentSupplier();
  });
}

void for03::Form_Load() {
  select_ = QStringLiteral(
                "SELECT [Codice],[descr] as Descrizione,[Percorso],[Programma],[Perce] as Perc "
                "FROM ") +
            FixedText(QStringLiteral("fornitori"), 10);
  where_.clear();
  order_ = QStringLiteral(" ORDER BY [descr]");
  Data1->DatabaseName = G().percorso_db;
  Requery();
}

void for03::Requery() {
  Data1->RecordSource = select_ + where_ + order_;
  try {
    Data1->Refresh();
  } catch (const db::DbError& e) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! ") + e.message());
  }
  vedo();
}

void for03::chiaro() {
  for (ui::TextBox* box : {ricw, codw}) ui::SetBackColor(box, ui::VbColor(ui::kVbSystemWindow));
}

void for03::vedo() {
  static const int widths[] = {300, 600, 2500, 3000, 3000, 600};
  for (int c = 0; c < 6; ++c) flex1->SetColWidth(c, widths[c]);
  // The heading is the query's alias where it has one, else the name as written there.
  static const char* headings[] = {"Codice", "Descrizione", "Percorso", "Programma", "Perc"};
  for (int c = 1; c <= 5; ++c) flex1->SetTextMatrix(0, c, QString::fromLatin1(headings[c - 1]));
}

void for03::ricw_Change() {
  ui::SetBackColor(ricw, ui::VbColor(ui::kVbYellow));
  where_ = QStringLiteral(" WHERE [descr] >= ") + db::Quote(ricw->Text());
  order_ = QStringLiteral(" ORDER BY [descr]");
  Requery();
}

void for03::codw_Change() {
  ui::SetBackColor(codw, ui::VbColor(ui::kVbYellow));
  where_ = QStringLiteral(" WHERE [codice] >= ") +
           QString::number(ClampedWholeNumber(Val(codw->Text())));
  order_ = QStringLiteral(" ORDER BY [codice]");
  Requery();
}

void for03::TakeCurrentRow() {
  const int row = flex1->Row();
  G().codice_fornitore = ClampedWholeNumber(Val(flex1->TextMatrix(row, 1)));
  G().descrizione_fornitore = flex1->TextMatrix(row, 2);
}

void for03::OpenCurrentSupplier() {
  if (G().codice_fornitore == 0) {
    ui::MsgCritical(kNoSupplier);
    return;
  }
  ui::Forms::Show<for01>();
}

void for03::flex1_Click() {
  // A click on the heading row chooses nothing.
  const int mouseRow = flex1->MouseRow();
  if (mouseRow >= 0 && mouseRow < flex1->FixedRows()) return;
  if (flex1->Row() < flex1->FixedRows()) return;
  TakeCurrentRow();
  OpenCurrentSupplier();
}

void for03::flex1_DblClick() {
  const int mouseRow = flex1->MouseRow();
  const bool onHeading = mouseRow >= 0 && mouseRow < flex1->FixedRows();
  if (!onHeading && flex1->Row() >= flex1->FixedRows()) TakeCurrentRow();
  OpenCurrentSupplier();
}

void for03::Command4_Click() { OpenCurrentSupplier(); }

void for03::Command2_Click() {
  G().codice_fornitore = 0;
  // The record is shown before the list goes, so that the program never finds itself
  // without a window in between.
  ui::Forms::Show<for01>();
  Unload();
}

void for03::Command6_Click() {
  if (!ui::AskYesNo(kDeleteQuestion, {})) return;
  bool deleted = false;
  if (db::Recordset* rs = Data1->recordset()) {
    try {
      const QString criteria =
          QStringLiteral("codice = ") + QString::number(G().codice_fornitore) + QLatin1Char(' ');
      if (rs->FindFirst(criteria)) {
        rs->Delete();
        Data1->Refresh();
        vedo();
        deleted = true;
      }
    } catch (const db::DbError&) {
      // Refused by the database: the same refusal as a supplier not in the list.
    }
  }
  if (!deleted) ui::MsgCritical(kCannotDelete);
}

void for03::Cmdesc_Click() { Unload(); }

}  // namespace vx::masterdata
