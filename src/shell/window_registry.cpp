#include "shell/window_registry.h"

#include "common/windows.h"
#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "platform/ui/form.h"
#include "shell/agg_software.h"
#include "shell/arc02.h"
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
  Register<arc02>("arc02");
  Register<agg_software>("agg_software");
  Register<comparison::cnf01>("cnf01");
  Register<comparison::cnf02>("cnf02");
}

}  // namespace vx::shell
