#include "platform/clock.h"

#include <mutex>

namespace vx {

namespace {

std::mutex& ClockMutex() {
  static std::mutex m;
  return m;
}

std::function<QDateTime()>& Clock() {
  static std::function<QDateTime()> clock;
  return clock;
}

}  // namespace

QDateTime Now() {
  std::function<QDateTime()> clock;
  {
    std::lock_guard<std::mutex> lock(ClockMutex());
    clock = Clock();
  }
  return clock ? clock() : QDateTime::currentDateTime();
}

QDate Today() { return Now().date(); }

void SetClock(std::function<QDateTime()> clock) {
  std::lock_guard<std::mutex> lock(ClockMutex());
  Clock() = std::move(clock);
}

}  // namespace vx
