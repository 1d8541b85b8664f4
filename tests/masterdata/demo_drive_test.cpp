// A new user's first steps on the demo data drive: the suppliers from the main window's menu
// and toolbar, a supplier renamed, the store renamed.
#include <QAction>
#include <QPushButton>
#include <QTest>

#include "common/shared_values.h"
#include "masterdata/for01.h"
#include "masterdata/for03.h"
#include "masterdata/masterdata_fixture.h"
#include "masterdata/ute01.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"

using vx::masterdata::for01;
using vx::masterdata::for03;
using vx::masterdata::ute01;
using vx::shell::Main;
using vx::ui::Forms;

namespace {

class DemoDriveTest : public MasterDataTest {
 protected:
  void SetUp() override {
    options.demo = true;
    options.articles = 20;
    MasterDataTest::SetUp();
  }
};

TEST_F(DemoDriveTest, SuppliersAndStoreRenamedFromTheMainWindow) {
  Main* main = Forms::Show<Main>();
  ASSERT_TRUE(main->mafor->isEnabled());
  ASSERT_TRUE(main->mnute->isEnabled());
  ASSERT_TRUE(main->Buttons[4]->isEnabled());
  main->mafor->trigger();
  ASSERT_TRUE(Forms::IsLoaded<for03>());
  Forms::Unload<for03>();
  main->Buttons[4]->trigger();
  ASSERT_TRUE(Forms::IsLoaded<for03>());

  // APULIA is slot 2, first by description: button 6 of the toolbar.
  for03* list = Forms::Get<for03>();
  ASSERT_EQ(list->flex1->TextMatrix(1, 2), "APULIA");
  ClickCell(list->flex1, 1, 2);
  for01* record = Forms::Get<for01>();
  record->desforw->SetText("APULIA NORD");
  record->Command4->click();
  Activate(main);
  EXPECT_EQ(main->Buttons[6]->text(), "APULIA NORD");

  main->mnute->trigger();
  ute01* settings = Forms::Get<ute01>();
  settings->desutew->SetText("BOTTEGA DEL CORSO");
  settings->Command2->click();
  Settle();
  EXPECT_TRUE(Forms::Get<Main>()->windowTitle().contains("BOTTEGA DEL CORSO"));
  EXPECT_TRUE(boxes->Texts().isEmpty()) << boxes->Texts().join('\n').toStdString();
}

}  // namespace
