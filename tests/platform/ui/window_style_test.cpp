// The windows' style draws group box frames and scroll bars as the platform's own style does.
#include "platform/ui/window_style.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QScrollBar>
#include <QStyleFactory>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>

using vx::ui::WindowStyle;

namespace {

// The largest difference of one colour channel between two pictures of one size; 256 when
// the sizes differ.
int MaxDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 256;
  int most = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return most;
}

// Group boxes on either side of the bands a frame is put on screen in, with and without a
// title (the title moves the border down), enabled and not; scroll bars tall and flat, at the
// start and further on. Each drawn twice, the second time from a kept border. A border drawn
// apart and then laid on the window rounds a channel by one step at most.
TEST(WindowStyleTest, FramesAndScrollBarsLookAsThePlatformStyleDrawsThem) {
  auto* style = dynamic_cast<WindowStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr) << "the test program sets the application up as the program does";
  std::unique_ptr<QStyle> platform(QStyleFactory::create(style->baseStyle()->name()));
  const auto box = [](QSize size, const char* title, bool enabled) {
    return [=]() -> QWidget* {
      auto* b = new QGroupBox(QString::fromUtf8(title));
      b->resize(size);
      b->setEnabled(enabled);
      return b;
    };
  };
  const auto bar = [](Qt::Orientation orientation, QSize size, int value) {
    return [=]() -> QWidget* {
      auto* b = new QScrollBar(orientation);
      b->resize(size);
      b->setRange(0, 84);
      b->setPageStep(16);
      b->setValue(value);
      return b;
    };
  };
  const struct {
    std::function<QWidget*()> make;
    int tolerance;
  } cases[] = {
      {box({240, 63}, "", true), 1},
      {box({240, 63}, "Fornitore #1", true), 1},
      {box({300, 64}, "", true), 1},
      {box({300, 65}, "Ricerche", true), 1},
      {box({978, 372}, "", true), 1},
      {box({978, 372}, "", false), 1},
      {box({132, 128}, "Selezione", true), 1},
      {box({132, 128}, "Selezione", false), 1},
      {bar(Qt::Vertical, {14, 356}, 0), 0},
      {bar(Qt::Vertical, {14, 356}, 60), 0},
      {bar(Qt::Horizontal, {962, 14}, 30), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::unique_ptr<QWidget> ours(cases[i].make()), reference(cases[i].make());
    reference->setStyle(platform.get());
    const QImage expected = reference->grab().toImage();
    for (int pass = 0; pass < 2; ++pass) {
      EXPECT_LE(MaxDifference(ours->grab().toImage(), expected), cases[i].tolerance)
          << "case " << i << " pass " << pass;
    }
  }
}

}  // namespace
