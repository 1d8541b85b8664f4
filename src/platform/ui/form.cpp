#include "platform/ui/form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QThread>
#include <vector>

#include "platform/ui/twips.h"

namespace vx::ui {

namespace {

// Default instances by window class, in the order they were loaded.
std::vector<std::pair<std::type_index, Form*>>& Registry() {
  static std::vector<std::pair<std::type_index, Form*>> forms;
  return forms;
}

}  // namespace

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window) {}

Form::~Form() { Forms::Remove(this); }

void Form::Load() {
  // Every window carries its name, so that tests and tools find it: by default its class's
  // name without the namespace.
  if (objectName().isEmpty()) {
    setObjectName(QString::fromLatin1(metaObject()->className()).section(QLatin1String("::"), -1));
  }
  loaded_ = true;
  // A message box of the load runs an event loop, in which the operator may unload the
  // window; the deletion waits until the load, and Forms::Get after it, are done with it.
  inLoad_ = true;
  const auto loaded = qScopeGuard([this] {
    inLoad_ = false;
    if (unloaded_) deleteLater();
  });
  Form_Load();
}

void Form::Show() {
  if (unloaded_) return;
  show();
  raise();
  activateWindow();
}

bool Form::Unload() {
  if (unloaded_) return true;
  if (!CanClose()) return false;
  unloaded_ = true;
  Form_Unload();
  Forms::Remove(this);
  hide();
  if (!inLoad_) deleteLater();
  // The process ends with its last window, but only once the main loop is running: tests
  // and start-up code unload windows before any loop runs.
  if (Registry().empty() && QThread::currentThread()->loopLevel() > 0) {
    QCoreApplication::exit(0);
  }
  return true;
}

double Form::ScaleWidth() const { return PixelsToTwips(width()); }
double Form::ScaleHeight() const { return PixelsToTwips(height()); }

bool Form::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && IsLoaded()) Form_Activate();
  return QWidget::event(e);
}

void Form::closeEvent(QCloseEvent* e) {
  // The close box is an Unload; a window that refuses keeps itself open.
  if (unloaded_ || Unload()) {
    e->accept();
  } else {
    e->ignore();
  }
}

void Form::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (IsLoaded()) Form_Resize();
}

void Forms::UnloadAll() {
  // Copy first: each Unload changes the registry.
  const auto forms = Registry();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) it->second->Unload();
}

int Forms::LoadedCount() { return int(Registry().size()); }

Form* Forms::Find(const std::type_index& key) {
  for (auto& [k, f] : Registry()) {
    if (k == key) return f;
  }
  return nullptr;
}

void Forms::Add(const std::type_index& key, Form* form) { Registry().emplace_back(key, form); }

void Forms::Remove(Form* form) {
  auto& forms = Registry();
  std::erase_if(forms, [form](const auto& entry) { return entry.second == form; });
}

}  // namespace vx::ui
