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

// Sizes on either side of the bands the frame is put on screen in, with and without a title
// (the title moves the border down), enabled and not; each drawn twice, the second time from
// the kept border. The border drawn apart and then laid on the window rounds a channel by one
// step at most.
TEST(WindowStyleTest, GroupBoxFramesLookAsThePlatformStyleDrawsThem) {
  auto* style = dynamic_cast<WindowStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr) << "the test program sets the application up as the program does";
  std::unique_ptr<QStyle> platform(QStyleFactory::create(style->baseStyle()->name()));
  struct Case {
    QSize size;
    QString title;
    bool enabled;
  } cases[] = {
      {{240, 63}, "", true},           {{240, 63}, "Fornitore #1", true},
      {{300, 64}, "", true},           {{300, 65}, "Ricerche", true},
      {{978, 372}, "", true},          {{978, 372}, "", false},
      {{132, 128}, "Selezione", true}, {{132, 128}, "Selezione", false},
  };
  for (const Case& c : cases) {
    QGroupBox box(c.title);
    QGroupBox reference(c.title);
    reference.setStyle(platform.get());
    for (QGroupBox* b : {&box, &reference}) {
      b->resize(c.size);
      b->setEnabled(c.enabled);
    }
    const QImage expected = reference.grab().toImage();
    for (int pass = 0; pass < 2; ++pass) {
      EXPECT_LE(MaxDifference(box.grab().toImage(), expected), 1)
          << c.size.width() << "x" << c.size.height() << " '" << c.title.toStdString() << "' "
          << c.enabled << " pass " << pass;
    }
  }
}

// Scroll bars, tall and wide, at the start and further on, are the platform style's pixels.
TEST(WindowStyleTest, ScrollBarsLookAsThePlatformStyleDrawsThem) {
  auto* style = dynamic_cast<WindowStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr);
  std::unique_ptr<QStyle> platform(QStyleFactory::create(style->baseStyle()->name()));
  struct Case {
    Qt::Orientation orientation;
    QSize size;
    int value;
  } cases[] = {
      {Qt::Vertical, {14, 356}, 0},
      {Qt::Vertical, {14, 356}, 60},
      {Qt::Vertical, {14, 40}, 10},
      {Qt::Horizontal, {962, 14}, 30},
  };
  for (const Case& c : cases) {
    QScrollBar bar(c.orientation);
    QScrollBar reference(c.orientation);
    reference.setStyle(platform.get());
    for (QScrollBar* b : {&bar, &reference}) {
      b->resize(c.size);
      b->setRange(0, 84);
      b->setPageStep(16);
      b->setValue(c.value);
    }
    EXPECT_EQ(MaxDifference(bar.grab().toImage(), reference.grab().toImage()), 0)
        << c.size.width() << "x" << c.size.height() << " at " << c.value;
  }
}

}  // namespace
