#include "platform/ui/statusbox.h"

#include <QScrollBar>
#include <QTextCursor>

#include "platform/clock.h"

namespace vx::ui {

StatusBox::StatusBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
}

void StatusBox::AppendLine(const QString& message) {
  AppendPrefixed(Now().toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(": "), message);
}

void StatusBox::AppendPrefixed(const QString& prefix, const QString& message) {
  const QString line = prefix + message;
  if (!text_.isEmpty()) text_ += QStringLiteral("\r\n");
  text_ += line;
  appendPlainText(line);
  // Caret to the end so the box shows the last line, and paint now: the caller is usually
  // a long loop that does not return to the event loop for a while. The view then goes back
  // to the left edge: a line wider than the box would otherwise leave every line shown
  // without its time and first words.
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
  horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
  viewport()->repaint();
}

QString StatusBox::Text() const { return text_; }

void StatusBox::Clear() {
  text_.clear();
  clear();
}

}  // namespace vx::ui
