// Test entry point: one QApplication for the whole program (offscreen), then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ui/application.h"
#include "support/child_test.h"
#include "support/scripted_messages.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  vx::ui::SetupApplication(app);
  // Started by a test as another program on the same files: run that, not the tests.
  if (const int rc = RunChildEntryIfAsked(); rc >= 0) return rc;
  // A box that no test scripted fails that test instead of waiting for a click.
  InstallFailingMessageResponder();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
