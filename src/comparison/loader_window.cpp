#include "comparison/loader_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "comparison/loader_values.h"
#include "platform/conv.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/ui/application.h"
#include "platform/ui/dbcombo.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/place.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/textbox.h"

namespace vx::comparison {

namespace {

using ui::Named;

bool Filled(const Variant& v) { return !v.isNull() && !v.isEmpty() && !v.str().isEmpty(); }

void SetBox(QCheckBox* box, const Variant& v, const SlotFillRule& rule) {
  const double n = NumberIn(v).value_or(0);
  if (!rule.flagValues) {
    box->setChecked(n != 0);
    return;
  }
  if (n == 2) {
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
  } else {
    box->setCheckState(n == 1 ? Qt::Checked : Qt::Unchecked);
  }
}

}  // namespace

SlotFrame MakeSlotFrame(QWidget* parent, int n, const QString& frameName,
                        const SlotFrameOptions& options, db::DataControl* forn) {
  const QString num = QString::number(n);
  SlotFrame f;
  f.slot = n;
  f.frame =
      Named(new QGroupBox(QStringLiteral("Selezionare Fornitore %1#").arg(n), parent), frameName);
  f.list = Named(new ui::DBCombo(f.frame), QStringLiteral("DBCombo") + num);
  f.code = Named(new ui::TextBox(f.frame), QStringLiteral("codfor%1w").arg(n));
  f.percent = Named(new ui::TextBox(f.frame), QStringLiteral("perce%1w").arg(n));
  f.percent->setToolTip(
      QStringLiteral("Inserire la % da aggiungere o togliere ai Prezzi del listino"));
  f.percentHeading = new QLabel(QStringLiteral("%  \"+/-\""), f.frame);
  if (!options.headingName.isEmpty()) f.percentHeading->setObjectName(options.headingName);
  f.conversion = Named(new QCheckBox(QStringLiteral("Applica tabella moltiplicatori"), f.frame),
                       QStringLiteral("Check") + num);
  f.description = Named(new QCheckBox(QStringLiteral("Descrizione Articolo"), f.frame),
                        QStringLiteral("des") + num);
  f.load = Named(new QCheckBox(QStringLiteral("Elabora"), f.frame), QStringLiteral("ela") + num);
  if (options.typeBox) {
    f.type = Named(new QCheckBox(QStringLiteral("Ordine per tipologia"), f.frame),
                   QStringLiteral("crea") + num);
  }
  if (options.noteLabel) {
    f.note = Named(new QLabel(f.frame), QStringLiteral("des%1l").arg(n));
    f.note->setWordWrap(true);
  }
  if (forn) {
    f.list->ListField = QStringLiteral("descr");
    f.list->BoundColumn = QStringLiteral("codice");
    f.list->SetRowSource(forn);
  }
  return f;
}

int SlotOfRow(db::Recordset& row, int slotCount) {
  const double codice = NumberIn(row.Field("codice")).value_or(0);
  const int n = static_cast<int>(codice);
  return codice == n && n >= 1 && n <= slotCount ? n : 0;
}

void FillSlotFrame(const SlotFrame& f, db::Recordset& row, const SlotFillRule& rule) {
  f.code->SetText(row.Field("codice").str());
  f.list->SetText(row.Field("descr").str());
  const Variant perce = row.Field("perce");
  f.percent->SetText(Format(NumberIn(perce) ? perce : Variant(0), QStringLiteral("##0.00")));
  if (f.type) {
    if (const Variant v = row.Field("creazioneordine"); Filled(v)) SetBox(f.type, v, rule);
  }
  if (const Variant v = row.Field("flagconv"); Filled(v)) SetBox(f.conversion, v, rule);
  if (const Variant v = row.Field("flagdes"); Filled(v)) SetBox(f.description, v, rule);
}

int BoxValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void LoaderSink::Begin(int maximum) {
  bar_->SetMax(maximum);
  bar_->SetValue(bar_->Min());
  bar_->SetVisible(true);
  run_->setVisible(false);
  exit_->setVisible(false);
  window_.repaint();
}

void LoaderSink::Step() {
  if (bar_->Value() + 1 <= bar_->Max()) bar_->SetValue(bar_->Value() + 1);
}

void LoaderSink::End() {
  run_->setVisible(true);
  exit_->setVisible(true);
  bar_->SetVisible(false);
  window_.repaint();
}

void LoaderSink::Yield() { ui::DoEvents(); }

void RunErrors::Note(const QString& statusLine) {
  // The line that logs a fault is listed with its file.
  if (statusLine == std::exchange(faultLine_, QString())) return;
  if (statusLine.startsWith(QStringLiteral("ERRORE"))) entries_.push_back({statusLine, {}, {}});
}

void RunErrors::Fault(const common::DatabaseFault& fault, const QString& statusLine) {
  auto entry = std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.path == fault.path; });
  if (entry == entries_.end()) {
    entry =
        entries_.insert(entries_.end(), {QStringLiteral("ERRORE: ") + fault.text, fault.path, {}});
  }
  faultLine_ = statusLine;
  auto supplier = std::find_if(entry->suppliers.begin(), entry->suppliers.end(),
                               [&](const Supplier& s) { return s.name == fault.supplier; });
  if (supplier == entry->suppliers.end()) {
    supplier = entry->suppliers.insert(entry->suppliers.end(), {fault.supplier, {}, {}});
  }
  std::vector<int>& cost = fault.own ? supplier->own : supplier->alternative;
  if (std::find(cost.begin(), cost.end(), fault.slot) == cost.end()) cost.push_back(fault.slot);
}

namespace {

// "posizione 2", "posizioni 1, 3".
QString SlotList(const std::vector<int>& numbers) {
  QStringList texts;
  for (int n : numbers) texts << QString::number(n);
  return (numbers.size() == 1 ? QStringLiteral("posizione ") : QStringLiteral("posizioni ")) +
         texts.join(QStringLiteral(", "));
}

}  // namespace

void RunErrors::Warn(const QString& title) const {
  if (entries_.empty()) return;
  QStringList lines;
  for (const Entry& e : entries_) {
    lines << e.line;
    for (const Supplier& s : e.suppliers) {
      QStringList cost;
      if (!s.own.empty()) {
        cost << SlotList(s.own) + (s.own.size() == 1 ? QStringLiteral(" non caricata")
                                                     : QStringLiteral(" non caricate"));
      }
      if (!s.alternative.empty()) {
        cost << QStringLiteral("come alternativo nella ") + SlotList(s.alternative) +
                    QStringLiteral(", costo 0");
      }
      lines << QStringLiteral("   Fornitore %1: %2.").arg(s.name, cost.join(QStringLiteral("; ")));
    }
  }
  ui::MsgExclamation(
      QStringLiteral("Attenzione: durante l'elaborazione si sono verificati questi errori:\n") +
          lines.join(QLatin1Char('\n')),
      title);
}

// Taking more than the whole price would give negative costs.
constexpr double kLowestPercent = -100;

std::optional<double> PercentOf(const QString& text) {
  if (text.trimmed().isEmpty()) return 0.0;
  const std::optional<double> percent = ParseTypedNumber(text);
  if (percent && *percent < kLowestPercent) return std::nullopt;
  return percent;
}

QString BadPercentMessage(int slot, const QString& text) {
  const QString why = ParseTypedNumber(text) ? QStringLiteral("è minore di -100")
                                             : QStringLiteral("non è un numero");
  return QStringLiteral("ERRORE: La percentuale del fornitore %1# %2: \"%3\".")
      .arg(slot)
      .arg(why, text);
}

bool CheckPercentages(const std::vector<SlotFrame>& frames,
                      const std::function<void(const QString&)>& status) {
  for (const SlotFrame& f : frames) {
    if (f.percent->Text().trimmed().isEmpty()) f.percent->SetText(QStringLiteral("0"));
  }
  for (const SlotFrame& f : frames) {
    if (!PercentOf(f.percent->Text())) {
      status(BadPercentMessage(f.slot, f.percent->Text()) +
             QStringLiteral(" Elaborazione annullata."));
      return false;
    }
  }
  return true;
}

void SaveSlotSettings(db::DataControl& forn, const std::vector<SlotFrame>& frames) {
  if (!forn.recordset()) forn.Refresh();
  db::Recordset* rs = forn.recordset();
  if (!rs || rs->RecordCount() == 0) return;
  db::Transaction tx(rs->database());
  rs->MoveFirst();
  while (!rs->Eof()) {
    rs->Edit();
    if (const int n = SlotOfRow(*rs, static_cast<int>(frames.size()))) {
      const SlotFrame& f = frames[n - 1];
      rs->SetField(QStringLiteral("perce"), Variant(*PercentOf(f.percent->Text())));
      rs->SetField(QStringLiteral("flagconv"), Variant(BoxValue(f.conversion)));
      rs->SetField(QStringLiteral("flagdes"), Variant(BoxValue(f.description)));
    }
    rs->Update();
    rs->MoveNext();
  }
  tx.Commit();
  rs->MoveFirst();
}

}  // namespace vx::comparison
