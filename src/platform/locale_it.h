// The program's fixed Italian locale.
#pragma once

#include <QLocale>

namespace vx {

// Makes Italian (Italy) the default QLocale of the process.
void InstallItalianLocale();
const QLocale& ItalianLocale();

}  // namespace vx
