#include "common/programs.h"

#include "platform/ui/msgbox.h"

namespace vx::common {

bool StartProgram(const QString& program, sys::WindowState state) {
  const sys::StartResult started = sys::StartDetached(program, {}, state);
  if (!started.ok) {
    ui::MsgCritical(QStringLiteral("ATTENZIONE!!! Impossibile avviare il programma \"%1\": %2")
                        .arg(program, started.reason));
  }
  return started.ok;
}

}  // namespace vx::common
