#include "comparison/cnf02_main_link.h"

#include <QGroupBox>

#include "platform/ui/form.h"
#include "shell/Main.h"

namespace vx::comparison {

MainWindowProgress MainProgress() {
  MainWindowProgress parts;
  ui::Forms::IfLoaded<shell::Main>([&parts](shell::Main& main) {
    parts.scadenze = main.scadenze;
    parts.pb1 = main.pb1;
  });
  return parts;
}

}  // namespace vx::comparison
