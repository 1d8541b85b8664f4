#include "platform/ui/progressbar.h"

#include <algorithm>
#include <cmath>

namespace vx::ui {

namespace {
// The Qt bar counts in whole steps; a thousand per unit keeps fractional advances visible.
constexpr double kSteps = 1000.0;
}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
  setTextVisible(false);
  Sync();
}

void ProgressBar::SetMin(double v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  value_ = std::clamp(value_, min_, max_);
  Sync();
}

void ProgressBar::SetMax(double v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  value_ = std::clamp(value_, min_, max_);
  Sync();
}

void ProgressBar::SetValue(double v) {
  value_ = std::clamp(v, min_, max_);
  Sync();
}

void ProgressBar::Sync() {
  // Scale to the Qt range with the bar's own span, so that large Max values do not overflow.
  const double span = max_ - min_;
  const int top = span > 0 ? int(std::min(span * kSteps, 1e9)) : 0;
  setRange(0, top);
  setValue(span > 0 ? int(std::lround((value_ - min_) / span * top)) : 0);
}

}  // namespace vx::ui
