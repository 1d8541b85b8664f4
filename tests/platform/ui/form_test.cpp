#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

using vx::ui::Form;
using vx::ui::Forms;

namespace {

struct Counts {
  int loads = 0;
  int unloads = 0;
  int resizes = 0;
};

class Alpha : public Form {
 public:
  static inline Counts counts;
  static inline bool refuse = false;
  QString loadedCaption;

 protected:
  void Form_Load() override {
    ++counts.loads;
    SetCaption(QStringLiteral("Alpha %1").arg(counts.loads));
    resize(200, 100);
  }
  void Form_Unload() override { ++counts.unloads; }
  void Form_Resize() override { ++counts.resizes; }
  bool CanClose() override { return !refuse; }
};

class Beta : public Form {};

// A window whose load closes it again, as a login that succeeds by itself.
class SelfClosing : public Form {
 protected:
  void Form_Load() override { Unload(); }
};

void DestroyUnloaded() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    Alpha::refuse = false;
    Forms::UnloadAll();
    DestroyUnloaded();
    Alpha::counts = {};
  }
};

TEST_F(FormsTest, GetCreatesAndLoadsTheDefaultInstanceOnce) {
  EXPECT_FALSE(Forms::IsLoaded<Alpha>());
  Alpha* a = Forms::Get<Alpha>();
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(Forms::IsLoaded<Alpha>());
  EXPECT_FALSE(a->isVisible());  // loading does not show
  EXPECT_EQ(Forms::Get<Alpha>(), a);
  EXPECT_EQ(Alpha::counts.loads, 1);
  EXPECT_FALSE(Forms::IsLoaded<Beta>());
  EXPECT_EQ(Forms::LoadedCount(), 1);
}

TEST_F(FormsTest, ShowingALoadedWindowKeepsWhatItLoaded) {
  Alpha* a = Forms::Show<Alpha>();
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->isVisible());
  EXPECT_EQ(a->Caption(), "Alpha 1");
  a->SetCaption("changed since load");
  Beta* b = Forms::Show<Beta>();
  EXPECT_EQ(Forms::Show<Alpha>(), a);
  EXPECT_EQ(Alpha::counts.loads, 1);
  EXPECT_EQ(a->Caption(), "changed since load");
  EXPECT_TRUE(b->isVisible());
}

TEST_F(FormsTest, UnloadDestroysAndTheNextUseLoadsAfresh) {
  QPointer<Alpha> first = Forms::Show<Alpha>();
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->Unload());
  EXPECT_EQ(Alpha::counts.unloads, 1);
  EXPECT_FALSE(Forms::IsLoaded<Alpha>());
  EXPECT_FALSE(first->isVisible());
  DestroyUnloaded();
  EXPECT_TRUE(first.isNull());

  Alpha* second = Forms::Get<Alpha>();
  EXPECT_EQ(Alpha::counts.loads, 2);
  EXPECT_EQ(second->Caption(), "Alpha 2");
}

TEST_F(FormsTest, IfLoadedNeverLoadsTheWindow) {
  int touched = 0;
  Forms::IfLoaded<Alpha>([&](Alpha&) { ++touched; });
  EXPECT_EQ(touched, 0);
  EXPECT_FALSE(Forms::IsLoaded<Alpha>());
  EXPECT_EQ(Alpha::counts.loads, 0);

  Forms::Get<Alpha>();
  Forms::IfLoaded<Alpha>([&](Alpha& a) {
    ++touched;
    a.SetCaption("touched");
  });
  EXPECT_EQ(touched, 1);
  EXPECT_EQ(Forms::Get<Alpha>()->Caption(), "touched");
}

TEST_F(FormsTest, CloseBoxUnloadsUnlessTheWindowRefuses) {
  Alpha* a = Forms::Show<Alpha>();
  Alpha::refuse = true;
  EXPECT_FALSE(a->close());
  EXPECT_TRUE(Forms::IsLoaded<Alpha>());
  EXPECT_EQ(Alpha::counts.unloads, 0);

  Alpha::refuse = false;
  EXPECT_TRUE(a->close());
  EXPECT_FALSE(Forms::IsLoaded<Alpha>());
  EXPECT_EQ(Alpha::counts.unloads, 1);
}

TEST_F(FormsTest, AWindowThatUnloadsItselfWhileLoadingIsNotLeftLoaded) {
  EXPECT_EQ(Forms::Get<SelfClosing>(), nullptr);
  EXPECT_FALSE(Forms::IsLoaded<SelfClosing>());
  EXPECT_EQ(Forms::Show<SelfClosing>(), nullptr);
  EXPECT_EQ(Forms::LoadedCount(), 0);
}

TEST_F(FormsTest, ResizeEventsReachTheWindowOnlyAfterItsLoad) {
  Alpha* a = Forms::Get<Alpha>();  // the load's own resize is before it counts
  EXPECT_EQ(Alpha::counts.resizes, 0);
  a->Show();
  a->resize(300, 150);
  QCoreApplication::processEvents();
  EXPECT_GE(Alpha::counts.resizes, 1);
  EXPECT_DOUBLE_EQ(a->ScaleWidth(), 300 * 15);
  EXPECT_DOUBLE_EQ(a->ScaleHeight(), 150 * 15);
}

TEST_F(FormsTest, UnloadingTheLastWindowEndsTheRunningLoop) {
  Alpha* a = Forms::Show<Alpha>();
  Beta* b = Forms::Show<Beta>();
  QEventLoop loop;
  QTimer::singleShot(0, [&] {
    b->Unload();  // one window is left: the loop goes on
    QTimer::singleShot(0, [&] { a->Unload(); });
  });
  // Only reached when the last Unload did not end the loop.
  QTimer::singleShot(10000, &loop, [&] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 0);
  EXPECT_EQ(Forms::LoadedCount(), 0);
}

}  // namespace
