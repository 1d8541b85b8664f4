#include "platform/ui/textbox.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/ui/colors.h"
#include "platform/ui/flexgrid.h"

namespace vx::ui {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

void TextBox::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  emit GotFocus();
}

void TextBox::keyPressEvent(QKeyEvent* e) {
  int code = VbKeyCode(e->key());
  if (code != 0) {
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    emit KeyDown(code, shift);
  }
  int ascii = 0;
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    ascii = 13;
  } else if (!e->text().isEmpty()) {
    ascii = e->text().at(0).unicode();
  }
  if (ascii != 0) {
    emit KeyPress(ascii);
    if (ascii == 0) return;
  }
  QLineEdit::keyPressEvent(e);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
  QLineEdit::mouseDoubleClickEvent(e);
  emit DblClick();
}

namespace {

// Watches the widget (and, for a scrolling box, its viewport, which gets the mouse) for the
// event that highlights it.
class Highlighter : public QObject {
 public:
  Highlighter(QWidget* widget, QEvent::Type trigger, std::function<void()> chiaro)
      : QObject(widget), widget_(widget), trigger_(trigger), chiaro_(std::move(chiaro)) {}

  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == trigger_) {
      if (chiaro_) chiaro_();
      SetBackColor(widget_, VbColor(kVbYellow));
    }
    return false;
  }

 private:
  QWidget* widget_;
  QEvent::Type trigger_;
  std::function<void()> chiaro_;
};

void Install(QWidget* widget, QEvent::Type trigger, std::function<void()> chiaro) {
  auto* h = new Highlighter(widget, trigger, std::move(chiaro));
  widget->installEventFilter(h);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->installEventFilter(h);
  }
}

}  // namespace

void HighlightOnFocus(QWidget* widget, std::function<void()> chiaro) {
  Install(widget, QEvent::FocusIn, std::move(chiaro));
}

void HighlightOnClick(QWidget* widget, std::function<void()> chiaro) {
  Install(widget, QEvent::MouseButtonPress, std::move(chiaro));
}

}  // namespace vx::ui
