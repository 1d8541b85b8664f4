// vantorelix [--data-root DIR] [--drive X]
#include <QApplication>
#include <cstdio>

#include "platform/locale_it.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vx::InstallItalianLocale();
  std::puts("vantorelix: nothing to show yet");
  return 0;
}
