#include "common/windows.h"

#include <map>

#include "common/main_window.h"

namespace vx::common {

namespace {

std::map<QString, std::function<void()>>& Openers() {
  static std::map<QString, std::function<void()>> openers;
  return openers;
}

std::map<QString, std::function<void(const QString&)>>& NoteReceivers() {
  static std::map<QString, std::function<void(const QString&)>> receivers;
  return receivers;
}

MainWindowLink*& CurrentMainWindow() {
  static MainWindowLink* window = nullptr;
  return window;
}

}  // namespace

void RegisterWindow(const QString& name, std::function<void()> open) {
  Openers()[name] = std::move(open);
}

bool HasWindow(const QString& name) { return Openers().count(name) > 0; }

bool OpenWindow(const QString& name) {
  auto it = Openers().find(name);
  if (it == Openers().end()) return false;
  // A copy: the opener may register windows itself.
  const std::function<void()> open = it->second;
  open();
  return true;
}

QStringList RegisteredWindows() {
  QStringList names;
  for (const auto& [name, open] : Openers()) names << name;
  return names;
}

void RegisterWindowNote(const QString& name, std::function<void(const QString&)> show) {
  NoteReceivers()[name] = std::move(show);
}

bool OpenWindow(const QString& name, const QString& note) {
  if (!OpenWindow(name)) return false;
  auto it = NoteReceivers().find(name);
  if (it != NoteReceivers().end()) {
    const std::function<void(const QString&)> show = it->second;
    show(note);
  }
  return true;
}

MainWindowLink* MainWindow() { return CurrentMainWindow(); }

void SetMainWindow(MainWindowLink* window) { CurrentMainWindow() = window; }

}  // namespace vx::common
