// Colours, input boxes, the status box and the progress bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>

#include "platform/clock.h"
#include "platform/ui/colors.h"
#include "platform/ui/progressbar.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"

using namespace vx::ui;

namespace {

void GiveFocus(QWidget* w) {
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(w, &in);
}

TEST(VbColorTest, ReadsBlueGreenRedOrder) {
  EXPECT_EQ(VbColor(0xFFFF), QColor(255, 255, 0));  // yellow
  EXPECT_EQ(VbColor(255), QColor(255, 0, 0));       // red
  EXPECT_EQ(VbColor(0xFF0000), QColor(0, 0, 255));  // blue
  EXPECT_EQ(VbColor(62720), QColor(0, 0xF5, 0));    // the cheapest cost's green
  EXPECT_EQ(ToVbColor(QColor(0, 0xF5, 0)), 62720);
}

TEST(VbColorTest, SystemWindowColourIsThePaletteBase) {
  EXPECT_EQ(VbColor(kVbSystemWindow), QApplication::palette().color(QPalette::Base));
}

TEST(TextBoxTest, FocusRunsChiaroFirstThenTurnsTheBoxYellow) {
  QWidget window;
  auto* a = new TextBox(&window);
  auto* b = new TextBox(&window);
  QStringList order;
  auto chiaro = [&] {
    order << "chiaro";
    SetBackColor(a, VbColor(kVbSystemWindow));
    SetBackColor(b, VbColor(kVbSystemWindow));
  };
  HighlightOnFocus(a, chiaro);
  HighlightOnFocus(b, chiaro);
  QObject::connect(a, &TextBox::GotFocus, [&] { order << "got focus"; });

  GiveFocus(a);
  EXPECT_EQ(BackColor(a), VbColor(kVbYellow));
  GiveFocus(b);
  EXPECT_EQ(BackColor(b), VbColor(kVbYellow));
  EXPECT_EQ(BackColor(a), VbColor(kVbSystemWindow));
  EXPECT_EQ(order.count("chiaro"), 2);
  EXPECT_EQ(order.count("got focus"), 1);
}

TEST(TextBoxTest, ChangeFollowsTextSetByTheProgramAsByTyping) {
  TextBox box;
  QSignalSpy change(&box, &TextBox::Change);
  box.SetText("abc");
  EXPECT_EQ(change.count(), 1);
  QTest::keyClicks(&box, "d");
  EXPECT_EQ(change.count(), 2);
  EXPECT_EQ(box.Text(), "abcd");
}

TEST(TextBoxTest, EnterReachesKeyPressAndAHandlerCanSwallowAKey) {
  TextBox box;
  QList<int> keys;
  QObject::connect(&box, &TextBox::KeyPress, [&](int& ascii) {
    keys << ascii;
    if (ascii == 'x') ascii = 0;
  });
  QTest::keyClicks(&box, "axb");
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_EQ(keys, (QList<int>{'a', 'x', 'b', 13}));
  EXPECT_EQ(box.Text(), "ab");
}

class StatusBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vx::SetClock([] { return QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)); });
  }
  void TearDown() override { vx::SetClock({}); }
};

TEST_F(StatusBoxTest, LinesAreTimeColonMessageSeparatedByCrLf) {
  StatusBox box;
  box.AppendLine("Inizio elaborazione ...");
  EXPECT_EQ(box.Text(), "09:05:07: Inizio elaborazione ...");
  box.AppendLine(" ");
  box.AppendPrefixed("- ", "Scaricamento");
  EXPECT_EQ(box.Text(), "09:05:07: Inizio elaborazione ...\r\n09:05:07:  \r\n- Scaricamento");
  EXPECT_EQ(box.document()->blockCount(), 3);
}

TEST_F(StatusBoxTest, CaretFollowsTheLastLine) {
  StatusBox box;
  for (int i = 0; i < 50; ++i) box.AppendLine(QString::number(i));
  EXPECT_TRUE(box.textCursor().atEnd());
  box.Clear();
  EXPECT_EQ(box.Text(), "");
  box.AppendLine("dopo");
  EXPECT_EQ(box.Text(), "09:05:07: dopo");
}

TEST(ProgressBarTest, ValueAdvancesByFractionsAndIsClampedToTheRange) {
  ProgressBar bar;
  bar.SetMax(100);
  bar.SetValue(0);
  for (int i = 0; i < 3; ++i) bar.SetValue(bar.Value() + 100.0 / 3);
  EXPECT_NEAR(bar.Value(), 100.0, 1e-9);
  EXPECT_EQ(bar.value(), bar.maximum());
  bar.SetValue(150);
  EXPECT_EQ(bar.Value(), 100);
  bar.SetValue(-5);
  EXPECT_EQ(bar.Value(), 0);
  bar.SetValue(50);
  bar.SetMax(20);  // a smaller range pulls the value in
  EXPECT_EQ(bar.Value(), 20);
  EXPECT_EQ(bar.Min(), 0);
}

TEST(ProgressBarTest, FractionalStepsShowOnTheBar) {
  ProgressBar bar;
  bar.SetMax(1);
  bar.SetValue(0.5);
  EXPECT_EQ(bar.value(), bar.maximum() / 2);
}

}  // namespace
