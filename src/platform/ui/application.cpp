#include "platform/ui/application.h"

#include <QApplication>

#include "platform/locale_it.h"

namespace vx::ui {

void SetupApplication(QApplication& app) {
  InstallItalianLocale();
  app.setQuitOnLastWindowClosed(false);
}

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void DoEventsWithoutInput() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace vx::ui
