#include "platform/ui/dbcombo.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/db/datacontrol.h"

namespace vx::ui {

DBCombo::DBCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  connect(lineEdit(), &QLineEdit::textChanged, this, &DBCombo::Change);
  connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { emit Click(); });
}

void DBCombo::SetRowSource(db::DataControl* source) {
  if (refreshed_) disconnect(refreshed_);
  source_ = source;
  if (source_) {
    refreshed_ = connect(source_, &db::DataControl::refreshed, this, &DBCombo::ReFill);
    if (source_->recordset()) ReFill();
  }
}

void DBCombo::ReFill() {
  list_.clear();
  bound_.clear();
  db::Recordset* rs = source_ ? source_->recordset() : nullptr;
  if (rs && rs->RecordCount() > 0) {
    const int listIndex = rs->FieldIndex(ListField);
    const int boundIndex = rs->FieldIndex(BoundColumn);
    rs->MoveFirst();
    while (!rs->Eof()) {
      list_ << (listIndex >= 0 ? rs->Field(listIndex).str() : QString());
      bound_ << (boundIndex >= 0 ? rs->Field(boundIndex).str() : QString());
      rs->MoveNext();
    }
    // Leave the record set on its first row, where the window's code expects it.
    rs->MoveFirst();
  }
  // Refilling the list keeps the text the box shows.
  const QString text = Text();
  {
    const QSignalBlocker block(this);
    const QSignalBlocker blockEdit(lineEdit());
    clear();
    addItems(list_);
    setCurrentIndex(-1);
    lineEdit()->setText(text);
  }
}

QString DBCombo::Text() const { return lineEdit()->text(); }

void DBCombo::SetText(const QString& text) {
  const QString old = Text();
  {
    const QSignalBlocker block(this);
    const QSignalBlocker blockEdit(lineEdit());
    setCurrentIndex(list_.indexOf(text));
    lineEdit()->setText(text);
  }
  // As typing does, a new text raises Change once.
  if (old != text) emit Change();
}

int DBCombo::MatchingRow() const {
  const QString text = Text();
  // The row the operator picked wins over an earlier row of the same text.
  const int picked = currentIndex();
  if (picked >= 0 && picked < list_.size() && list_[picked] == text) return picked;
  const int exact = list_.indexOf(text);
  if (exact >= 0) return exact;
  for (int i = 0; i < list_.size(); ++i) {
    if (list_[i].compare(text, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QString DBCombo::BoundText() const {
  const int row = MatchingRow();
  return row >= 0 ? bound_[row] : QString();
}

}  // namespace vx::ui
