#include "shell/window_registry.h"

#include "common/windows.h"
#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "comparison3/cnf01T.h"
#include "comparison3/cnf02T.h"
#include "masterdata/for03.h"
#include "masterdata/ute01.h"
#include "masterdata/ali01.h"
#include "platform/ui/form.h"
#include "pricelists/art22.h"
#include "pricelists/lis06b.h"
#include "shell/agg_software.h"
#include "shell/arc02.h"
#include "shell/com02.h"
#include "terminals/cnfpv.h"
#include "terminals/cnfpv2.h"
#include "terminals/cnfpv3.h"
#include "terminals/cnfpv4.h"
#include "terminals/cnfpv5.h"
#include "terminals/cnfpv6.h"
#include "terminals/cnfpv7.h"
#include "terminals/cnfpv8.h"
#include "terminals/cnfpv9.h"

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
  common::RegisterWindowNote(QStringLiteral("cnf01"), [](const QString& note) {
    ui::Forms::IfLoaded<comparison::cnf01>(
        [&note](comparison::cnf01& w) { w.cnf01_scrivi_stato(note); });
  });
  Register<comparison::cnf02>("cnf02");
  Register<comparison3::cnf01T>("cnf01T");
  Register<comparison3::cnf02T>("cnf02T");
  Register<masterdata::for03>("for03");
  Register<masterdata::ute01>("ute01");
  Register<pricelists::art22>("art22");
  Register<terminals::cnfpv2>("cnfpv2");
  Register<terminals::cnfpv7>("cnfpv7");
  Register<terminals::cnfpv3>("cnfpv3");
  Register<terminals::cnfpv4>("cnfpv4");
  Register<terminals::cnfpv5>("cnfpv5");
  Register<terminals::cnfpv8>("cnfpv8");
  Register<terminals::cnfpv9>("cnfpv9");
  Register<terminals::cnfpv>("cnfpv");
  Register<terminals::cnfpv6>("cnfpv6");
  Register<masterdata::ali01>("ali01");
  Register<pricelists::lis06b>("lis06b");
}

}  // namespace vx::shell
