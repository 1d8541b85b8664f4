// The recorded layout and its rescaling, on a real (offscreen) window.
#include "common/layout.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "platform/ui/form.h"
#include "platform/ui/line.h"

using namespace vx::common;

namespace {

// A login-like window: a frame holding a label and a box, a button, a line and a menu
// entry, laid out in twips at load and rescaled on every resize.
class Sample : public vx::ui::Form {
 public:
  QGroupBox* Frame1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* passw = nullptr;
  QLabel* Command1 = nullptr;
  vx::ui::Line* Line1 = nullptr;
  QAction* mnuesci = nullptr;
  layout_finestra layout;

 protected:
  void Form_Load() override {
    resize(400, 300);
    Frame1 = Make<QGroupBox>(this, "Frame1", QRect(20, 10, 300, 200), 12);
    Label1 = Make<QLabel>(Frame1, "Label1", QRect(10, 30, 100, 20), 9);
    passw = Make<QLineEdit>(Frame1, "passw", QRect(120, 30, 150, 24), 10);
    Command1 = Make<QLabel>(this, "Command1", QRect(330, 250, 60, 30), 8);
    Line1 = new vx::ui::Line(this);
    Line1->setObjectName("Line1");
    Line1->SetPoints(150, 3300, 4500, 3600);
    mnuesci = new QAction("&Esci", this);
    mnuesci->setObjectName("mnuesci");
    layout = mod_salva_layout(this);
  }
  void Form_Resize() override { mod_ridimensiona(layout); }

 private:
  template <class W>
  W* Make(QWidget* parent, const char* name, QRect geometry, double points) {
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    QFont f = w->font();
    f.setPointSizeF(points);
    w->setFont(f);
    return w;
  }
};

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w = vx::ui::Forms::Show<Sample>();
    ASSERT_NE(w, nullptr);
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    vx::ui::Forms::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Resize(int width, int height) {
    w->resize(width, height);
    QCoreApplication::processEvents();
  }
  Sample* w = nullptr;
};

TEST_F(LayoutTest, RecordsEveryControlInCollectionOrderInTwips) {
  const layout_finestra& l = w->layout;
  ASSERT_EQ(l.controlli.size(), 6u);  // the frame, its two controls, button, line, menu
  EXPECT_EQ(l.oggetti[0], w->Frame1);
  EXPECT_EQ(l.oggetti[1], w->Label1);
  EXPECT_EQ(l.oggetti[2], w->passw);
  EXPECT_EQ(l.scale_width, 400 * 15);
  EXPECT_EQ(l.scale_height, 300 * 15);
  const layout_controllo& box = l.controlli[2];
  EXPECT_EQ(box.left, 120 * 15);
  EXPECT_EQ(box.top, 30 * 15);
  EXPECT_EQ(box.width, 150 * 15);
  EXPECT_EQ(box.height, 24 * 15);
  EXPECT_EQ(box.font_size, 10);
  // A line keeps its first end point and its extent.
  const layout_controllo& line = l.controlli[4];
  EXPECT_EQ(line.left, 150);
  EXPECT_EQ(line.top, 3300);
  EXPECT_EQ(line.width, 4350);
  EXPECT_EQ(line.height, 300);
  EXPECT_EQ(line.font_size, 0);
  // A menu entry has no position: five zeros.
  const layout_controllo& menu = l.controlli[5];
  EXPECT_EQ(menu.left + menu.top + menu.width + menu.height + menu.font_size, 0);
  EXPECT_FALSE(mod_ha_left(w->mnuesci));
  EXPECT_TRUE(mod_ha_left(w->passw));
}

TEST_F(LayoutTest, TwiceTheWidthDoublesLeftEdgesAndWidthsOnly) {
  Resize(800, 300);
  EXPECT_EQ(w->Frame1->geometry(), QRect(40, 10, 600, 200));
  EXPECT_EQ(w->passw->geometry(), QRect(240, 30, 300, 24));
  EXPECT_EQ(w->Command1->geometry(), QRect(660, 250, 120, 30));
  EXPECT_DOUBLE_EQ(w->passw->font().pointSizeF(), 10);
  EXPECT_DOUBLE_EQ(w->Frame1->font().pointSizeF(), 12);
  EXPECT_DOUBLE_EQ(w->Line1->X1(), 300);
  EXPECT_DOUBLE_EQ(w->Line1->X2(), 9000);
  EXPECT_DOUBLE_EQ(w->Line1->Y1(), 3300);
  EXPECT_DOUBLE_EQ(w->Line1->Y2(), 3600);
}

TEST_F(LayoutTest, HeightScalesTopsHeightsAndFontSizes) {
  Resize(400, 450);
  EXPECT_EQ(w->passw->geometry(), QRect(120, 45, 150, 36));
  EXPECT_DOUBLE_EQ(w->passw->font().pointSizeF(), 15);
  EXPECT_DOUBLE_EQ(w->Label1->font().pointSizeF(), 13.5);
}

TEST_F(LayoutTest, MinimisingChangesNothing) {
  Resize(800, 600);
  const QRect before = w->passw->geometry();
  const double points = w->passw->font().pointSizeF();
  w->setWindowState(Qt::WindowMinimized);
  w->resize(100, 50);
  mod_ridimensiona(w->layout);
  EXPECT_EQ(w->passw->geometry(), before);
  EXPECT_DOUBLE_EQ(w->passw->font().pointSizeF(), points);
}

TEST_F(LayoutTest, RestoringReturnsEveryControlToItsLoadedPlace) {
  QList<QRect> loaded;
  for (QObject* o : w->layout.oggetti)
    if (auto* widget = qobject_cast<QWidget*>(o)) loaded << widget->geometry();
  // Odd ratios on the way must leave no drift behind.
  Resize(733, 211);
  Resize(1021, 517);
  Resize(400, 300);
  QList<QRect> now;
  for (QObject* o : w->layout.oggetti)
    if (auto* widget = qobject_cast<QWidget*>(o)) now << widget->geometry();
  EXPECT_EQ(now, loaded);
  EXPECT_DOUBLE_EQ(w->Label1->font().pointSizeF(), 9);
  EXPECT_DOUBLE_EQ(w->Line1->X2(), 4500);
}

TEST_F(LayoutTest, AControlMadeAfterTheLayoutWasSavedIsLeftAlone) {
  auto* late = new QLabel(w);
  late->setObjectName("late");
  late->setGeometry(5, 5, 10, 10);
  Resize(800, 600);
  EXPECT_EQ(late->geometry(), QRect(5, 5, 10, 10));
  EXPECT_EQ(w->passw->geometry(), QRect(240, 60, 300, 48));
}

}  // namespace
