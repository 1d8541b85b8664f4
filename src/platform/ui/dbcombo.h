// The data-bound combo box: its list is the ListField of its row source's records, and the
// row whose list text equals the box's text gives the bound value (BoundColumn).
#pragma once

#include <QComboBox>
#include <QPointer>
#include <QStringList>

namespace vx::db {
class DataControl;
}

namespace vx::ui {

class DBCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit DBCombo(QWidget* parent = nullptr);

  // The data control whose records fill the list; the list is read again each time the
  // control is refreshed (and at once when it already holds a record set).
  void SetRowSource(db::DataControl* source);
  db::DataControl* RowSource() const { return source_; }
  QString ListField;
  QString BoundColumn;

  // The text shown; setting it raises Change as typing does.
  QString Text() const;
  void SetText(const QString& text);
  // The bound value of the row whose list text equals the text (without regard to case);
  // "" when the text names no row of the list.
  QString BoundText() const;

  // Reads the list afresh from the row source's record set.
  void ReFill();
  QStringList ListTexts() const { return list_; }

 signals:
  void Change();  // the text changed, picked, typed or set by the program
  void Click();   // the operator picked a row of the list

 private:
  int MatchingRow() const;
  QPointer<db::DataControl> source_;
  QMetaObject::Connection refreshed_;
  QStringList list_;
  QStringList bound_;
};

}  // namespace vx::ui
