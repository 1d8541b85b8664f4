#include "platform/locale_it.h"

namespace vx {

const QLocale& ItalianLocale() {
  static const QLocale locale(QLocale::Italian, QLocale::Italy);
  return locale;
}

void InstallItalianLocale() { QLocale::setDefault(ItalianLocale()); }

}  // namespace vx
