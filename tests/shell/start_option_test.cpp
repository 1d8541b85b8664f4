// The start option that shows a window over the main window once the login has succeeded.
#include <QPushButton>
#include <QTest>

#include "comparison3/cnf01T.h"
#include "platform/ui/textbox.h"
#include "shell/Main.h"
#include "shell/com02.h"
#include "shell/shell_fixture.h"

namespace {

using vx::shell::com02;
using vx::shell::Main;
using vx::ui::Forms;

class StartOptionTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    SetOperators({{1, "AMMINISTRATORE", "admin", "N"}});
  }
  void LogIn() {
    com02* w = Forms::Show<com02>();
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w->passw, "admin");
    w->Command4->click();
    Settle();
  }
};

TEST_F(StartOptionTest, ThreeSupplierLoaderShowsOverTheMainWindowAfterTheLogin) {
  com02::ShowAfterLogin(QStringLiteral("cnf01T"));
  LogIn();
  EXPECT_FALSE(Forms::IsLoaded<com02>());
  ASSERT_TRUE(Forms::IsLoaded<Main>());
  ASSERT_TRUE(Forms::IsLoaded<vx::comparison3::cnf01T>());
  EXPECT_TRUE(Forms::Get<vx::comparison3::cnf01T>()->isVisible());
  EXPECT_TRUE(Forms::Get<Main>()->isVisible());

  // Once only: the next login of the same run shows the main window alone.
  Forms::UnloadAll();
  Settle();
  LogIn();
  EXPECT_TRUE(Forms::IsLoaded<Main>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison3::cnf01T>());
}

TEST_F(StartOptionTest, AFailedLoginShowsNothing) {
  com02::ShowAfterLogin(QStringLiteral("cnf01T"));
  com02* w = Forms::Show<com02>();
  QTest::keyClicks(w->passw, "sbagliata");
  w->Command4->click();
  Settle();
  EXPECT_FALSE(Forms::IsLoaded<Main>());
  EXPECT_FALSE(Forms::IsLoaded<vx::comparison3::cnf01T>());
  com02::ShowAfterLogin(QString());
}

}  // namespace
