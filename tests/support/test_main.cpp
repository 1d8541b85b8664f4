// Test entry point: one QApplication for the whole program (offscreen), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/locale_it.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  vx::InstallItalianLocale();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
