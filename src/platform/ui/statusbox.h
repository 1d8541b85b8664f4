// The multi-line status box in which long operations report, one line per message.
#pragma once

#include <QPlainTextEdit>

namespace vx::ui {

class StatusBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit StatusBox(QWidget* parent = nullptr);

  // Appends "hh:mm:ss: message" (the current time, ": " and the message).
  void AppendLine(const QString& message);
  // Appends prefix & message, e.g. "- " & message.
  void AppendPrefixed(const QString& prefix, const QString& message);

  // The box's text, lines separated by CR LF, the first without a separator before it.
  QString Text() const;
  void Clear();

 private:
  QString text_;
};

}  // namespace vx::ui
