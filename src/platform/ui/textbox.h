// The input box of the windows: a line edit that reports getting the focus and each key
// before it is typed, raises Change whether the operator or the program sets the text, and
// reports a double click.
#pragma once

#include <QLineEdit>
#include <functional>

namespace vx::ui {

class TextBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit TextBox(QWidget* parent = nullptr);

  QString Text() const { return text(); }
  void SetText(const QString& t) { setText(t); }

 signals:
  void GotFocus();
  // Key code as the windows know it (40 Down arrow, 13 Enter; see VbKeyCode), shift 1 Shift,
  // 2 Ctrl, 4 Alt; raised before the box handles the key.
  void KeyDown(int& keyCode, int shift);
  // The character typed (13 for Enter); a handler that sets keyAscii to 0 swallows the key.
  void KeyPress(int& keyAscii);
  // The text changed, typed or set by the program.
  void Change();
  void DblClick();

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
};

// When the widget gets the focus: first the window's chiaro (boxes back to their normal
// colour), then the widget turns yellow.
void HighlightOnFocus(QWidget* widget, std::function<void()> chiaro);
// The same on a mouse click in the widget (pressed with any button).
void HighlightOnClick(QWidget* widget, std::function<void()> chiaro);

}  // namespace vx::ui
