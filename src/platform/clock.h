// Today and now, through a clock that tests can set.
#pragma once

#include <QDate>
#include <QDateTime>
#include <functional>

namespace vx {

QDateTime Now();
QDate Today();
// Installs a clock; an empty function restores the system clock.
void SetClock(std::function<QDateTime()> clock);

}  // namespace vx
