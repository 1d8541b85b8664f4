// Colours as the windows store them: whole numbers &HBBGGRR, or system colours &H800000nn.
#pragma once

#include <QColor>
#include <QtGlobal>

class QWidget;

namespace vx::ui {

inline constexpr qint64 kVbYellow = 0xFFFF;
inline constexpr qint64 kVbWhite = 0xFFFFFF;
inline constexpr qint64 kVbSystemWindow = 0x80000005;  // background of input boxes

// &HBBGGRR to QColor; a system colour takes the application palette's colour for it.
QColor VbColor(qint64 value);
// QColor back to &HBBGGRR.
qint64 ToVbColor(const QColor& color);

// Background of an input control (text box, list, combo box, status box).
void SetBackColor(QWidget* widget, const QColor& color);
QColor BackColor(const QWidget* widget);

}  // namespace vx::ui
