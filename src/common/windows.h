// The windows that can be opened by name: the program registers an opener for each window
// it has (the main window's menus and toolbar, and any window that opens another
// subsystem's, go through here), so no subsystem includes another one's windows.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vx::common {

// Registers, or replaces, the opener of the named window.
void RegisterWindow(const QString& name, std::function<void()> open);
// True when an opener is registered for the name.
bool HasWindow(const QString& name);
// Opens the named window; false, and nothing happens, when none is registered.
bool OpenWindow(const QString& name);
// The names of the registered windows, in name order.
QStringList RegisteredWindows();

// A window that can be opened with a note for the operator (a line for its status box)
// registers how it shows one.
void RegisterWindowNote(const QString& name, std::function<void(const QString&)> show);
// Opens the named window, then hands it the note; a window without a note receiver is only
// opened.
bool OpenWindow(const QString& name, const QString& note);

}  // namespace vx::common
