// The grid reached from the main window's "Articoli": the main window's frame and progress
// bar as the grid drives them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "common/shared_values.h"
#include "comparison/grid/grid_fixture.h"
#include "platform/print/printers.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/form.h"
#include "platform/ui/progressbar.h"
#include "shell/Main.h"

namespace vx::comparison::testing {
namespace {

class Cnf02MainRoadTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    print::SetPrinterList(QStringList{QStringLiteral("PDF")});
    common::G().codcommesso = 1;  // logged in: the main window asks for no login
    main_ = ui::Forms::Get<shell::Main>();
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    GridTest::TearDown();
    print::SetPrinterList(std::nullopt);
  }
  shell::Main* main_ = nullptr;
};

TEST_F(Cnf02MainRoadTest, ArticoliShowsGridThatDrivesTheBarAndExitHidesTheFrame) {
  Add({"0000000000001", "UNO", {1, 2, 3, 4}, {}});
  Add({"0000000000002", "DUE", {1, 2, 3, 4}, {}});
  Add({"0000000000003", "TRE", {1, 2, 3, 4}, {}});
  main_->pb1->SetMax(100);
  std::vector<double> values;
  QObject::connect(main_->pb1, &QProgressBar::valueChanged,
                   [this, &values] { values.push_back(main_->pb1->Value()); });

  main_->Toolbar1_ButtonClick("lis");
  ASSERT_TRUE(ui::Forms::IsLoaded<cnf02>());
  w_ = ui::Forms::Get<cnf02>();
  EXPECT_EQ(w_->flex1->Rows(), 4);
  EXPECT_FALSE(main_->scadenze->isHidden());
  // One step of a third of the range per row, back to 0 where the next would pass the end.
  ASSERT_EQ(values.size(), 3u);
  EXPECT_NEAR(values[0], 100.0 / 3, 1e-3);
  EXPECT_NEAR(values[1], 200.0 / 3, 1e-3);
  EXPECT_EQ(values[2], 0.0);

  QTest::mouseClick(w_->Command6, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnf02>());
  EXPECT_TRUE(main_->scadenze->isHidden());
  EXPECT_EQ(Count(), 3);
}

TEST_F(Cnf02MainRoadTest, TheTitleBarHidesTheFrameAndBarAsUscitaDoes) {
  Add({"0000000000001", "UNO", {1, 2, 3, 4}, {}});
  main_->Show();
  main_->Toolbar1_ButtonClick("lis");
  w_ = ui::Forms::Get<cnf02>();
  ASSERT_FALSE(main_->scadenze->isHidden());
  ASSERT_TRUE(main_->pb1->isVisibleTo(main_));
  w_->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnf02>());
  EXPECT_TRUE(main_->scadenze->isHidden());
  EXPECT_FALSE(main_->pb1->isVisibleTo(main_));
  EXPECT_EQ(Count(), 1);
}

TEST_F(Cnf02MainRoadTest, DeleteAnsweredYesHidesTheFrameAndEmptiesTheTable) {
  Add({"0000000000001", "UNO", {1, 2, 3, 4}, {}});
  main_->Toolbar1_ButtonClick("lis");
  w_ = ui::Forms::Get<cnf02>();
  ASSERT_FALSE(main_->scadenze->isHidden());
  boxes_->Answer(ui::MsgAnswer::Yes);
  QTest::mouseClick(w_->Command2, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(ui::Forms::IsLoaded<cnf02>());
  EXPECT_TRUE(main_->scadenze->isHidden());
  EXPECT_EQ(Count(), 0);
}

}  // namespace
}  // namespace vx::comparison::testing
