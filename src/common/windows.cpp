#include "common/windows.h"

#include <map>

#include "common/main_window.h"

namespace vx::common {

namespace {

std::map<QString, std::function<void()>>& Openers() {
  static std::map<QString, std::function<void()>> openers;
  return openers;
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

MainWindowLink* MainWindow() { return CurrentMainWindow(); }

void SetMainWindow(MainWindowLink* window) { CurrentMainWindow() = window; }

}  // namespace vx::common
