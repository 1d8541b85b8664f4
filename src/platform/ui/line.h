// A line control: two end points in twips relative to its container.
#pragma once

#include <QWidget>

namespace vx::ui {

class Line : public QWidget {
  Q_OBJECT
 public:
  explicit Line(QWidget* parent = nullptr);

  double X1() const { return x1_; }
  double Y1() const { return y1_; }
  double X2() const { return x2_; }
  double Y2() const { return y2_; }
  void SetPoints(double x1, double y1, double x2, double y2);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

}  // namespace vx::ui
