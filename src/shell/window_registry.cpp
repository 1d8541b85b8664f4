#include "shell/window_registry.h"

#include "common/windows.h"
#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "platform/ui/form.h"
#include "shell/com02.h"

namespace vx::shell {

namespace {

template <class Window>
void Register(const char* name) {
  common::RegisterWindow(QString::fromLatin1(name), [] { ui::Forms::Show<Window>(); });
}

}  // namespace

void RegisterProgramWindows() {
  Register<com02>("com02");
  Register<comparison::cnf01>("cnf01");
  common::RegisterWindowNote(QStringLiteral("cnf01"), [](const QString& note) {
    ui::Forms::IfLoaded<comparison::cnf01>(
        [&note](comparison::cnf01& w) { w.cnf01_scrivi_stato(note); });
  });
  Register<comparison::cnf02>("cnf02");
}

}  // namespace vx::shell
