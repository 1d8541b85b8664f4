// Registers the opener of every window this build has (common/windows.h). A new window
// joins the program by one line here; the main window's entries of windows not registered
// stay disabled.
#pragma once

namespace vx::shell {

void RegisterProgramWindows();

}  // namespace vx::shell
