#include "shell/window_registry.h"

#include "common/windows.h"
#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "platform/ui/form.h"
#include "pricelists/lis06b.h"
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
  Register<comparison::cnf02>("cnf02");
  Register<pricelists::lis06b>("lis06b");
}

}  // namespace vx::shell
