// Starting another program of the data drive (a supplier's ordering program, a terminal's
// download tool or batch file) without waiting for it; one that cannot start is reported.
#pragma once

#include <QString>

#include "platform/sys/launcher.h"

namespace vx::common {

// Starts the program at the Windows path; when it cannot start, shows the critical message
// `ATTENZIONE!!! Impossibile avviare il programma "<path>": <reason>` and gives false.
bool StartProgram(const QString& program, sys::WindowState state = sys::WindowState::Maximized);

}  // namespace vx::common
