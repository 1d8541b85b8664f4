#include "platform/ui/application.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

#include "platform/db/database.h"
#include "platform/locale_it.h"
#include "platform/ui/window_style.h"

namespace vx::ui {

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Shortcut:
      return true;
    default:
      return false;
  }
}

// Holds back the user input that reaches the application during a yield inside a write
// transaction: the window system's input is left queued by ExcludeUserInputEvents; input
// posted as events is kept here and posted again when the last transaction ends.
class InputHold : public QObject {
 public:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!IsUserInput(event->type()) || db::OpenWriteTransactions() == 0) return false;
    held_.emplace_back(QPointer<QObject>(receiver), std::unique_ptr<QEvent>(event->clone()));
    return true;
  }

  void Release() {
    auto held = std::move(held_);
    held_.clear();
    for (auto& [receiver, event] : held) {
      if (receiver) QCoreApplication::postEvent(receiver, event.release());
    }
  }

 private:
  std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

InputHold& Hold() {
  static InputHold* hold = [] {
    auto* h = new InputHold;  // lives as long as the process
    db::OnWriteTransactionsEnded([h] { h->Release(); });
    return h;
  }();
  return *hold;
}

}  // namespace

void SetupApplication(QApplication& app) {
  InstallItalianLocale();
  app.setQuitOnLastWindowClosed(false);
  QApplication::setStyle(new WindowStyle);
}

void DoEvents() {
  if (db::OpenWriteTransactions() == 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  InputHold& hold = Hold();
  QCoreApplication* app = QCoreApplication::instance();
  if (app) app->installEventFilter(&hold);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (app) app->removeEventFilter(&hold);
}

}  // namespace vx::ui
