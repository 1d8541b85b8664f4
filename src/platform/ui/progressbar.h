// The progress bar as the program drives it: Min, Max and a Value that may advance by
// fractions of a step. A value outside Min..Max is clamped to the range (the bar never
// raises an error in the middle of a long operation).
#pragma once

#include <QProgressBar>

namespace vx::ui {

class ProgressBar : public QProgressBar {
  Q_OBJECT
 public:
  explicit ProgressBar(QWidget* parent = nullptr);

  double Min() const { return min_; }
  double Max() const { return max_; }
  double Value() const { return value_; }
  void SetMin(double v);
  void SetMax(double v);
  void SetValue(double v);
  bool Visible() const { return isVisible(); }
  void SetVisible(bool v) { setVisible(v); }

 private:
  void Sync();
  double min_ = 0;
  double max_ = 100;
  double value_ = 0;
};

}  // namespace vx::ui
