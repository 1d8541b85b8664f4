#include "support/requirements.h"

#include <QString>

bool UnderCi() { return qEnvironmentVariable("CI").compare("true", Qt::CaseInsensitive) == 0; }
