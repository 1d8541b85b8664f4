#include "platform/ui/textbox.h"

#include <QEvent>
#include <QKeyEvent>

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
  if (int code = VbKeyCode(e->key()); code != 0) {
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

namespace {

class FocusHighlighter : public QObject {
 public:
  FocusHighlighter(QWidget* widget, std::function<void()> chiaro)
      : QObject(widget), widget_(widget), chiaro_(std::move(chiaro)) {}

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == widget_ && e->type() == QEvent::FocusIn) {
      if (chiaro_) chiaro_();
      SetBackColor(widget_, VbColor(kVbYellow));
    }
    return false;
  }

 private:
  QWidget* widget_;
  std::function<void()> chiaro_;
};

}  // namespace

void HighlightOnFocus(QWidget* widget, std::function<void()> chiaro) {
  widget->installEventFilter(new FocusHighlighter(widget, std::move(chiaro)));
}

}  // namespace vx::ui
