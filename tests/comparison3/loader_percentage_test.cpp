// The percentage rule of both loader windows (four and three suppliers): a percentage that
// would give negative costs stops "Elabora dati" before anything is written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <functional>

#include "comparison/cnf01.h"
#include "comparison/cnf02.h"
#include "comparison3/cnf01T.h"
#include "platform/ui/statusbox.h"
#include "platform/ui/textbox.h"
#include "support/loader_fixture.h"

namespace vx::comparison3 {
namespace {

using comparison::testing::LoaderFixture;

// Types the percentage of slot 1 and presses "Elabora dati"; gives the status log.
template <class Window>
QString RunWithPercentage(const QString& typed) {
  Window* w = ui::Forms::Get<Window>();
  w->perce1w->SetText(typed);
  w->Command1->click();
  const QString log = w->txtStatus->Text();
  ui::Forms::Unload<comparison::cnf02>();
  w->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return log;
}

class LoaderPercentageTest : public LoaderFixture {
 protected:
  void SetUp() override {
    LoaderFixture::SetUp();
    AddPriced(AddSupplier(1, "VARU", "varu", 2.5), 1, "8001234567890", 2);
    AddPriced(AddSupplier(2, "SDA", "sda"), 2, "8001234567890", 3);
  }
};

TEST_F(LoaderPercentageTest, APercentageBelowMinusOneHundredIsRefusedBeforeAnythingIsWritten) {
  const std::vector<std::pair<const char*, std::function<QString(const QString&)>>> loaders = {
      {"cnf01", RunWithPercentage<comparison::cnf01>}, {"cnf01T", RunWithPercentage<cnf01T>}};
  for (const auto& [name, run] : loaders) {
    for (const QString typed : {"-100,01", "-1e9"}) {
      SCOPED_TRACE(std::string(name) + " " + typed.toStdString());
      const QStringList lines = run(typed).split("\r\n");
      ASSERT_EQ(lines.size(), 1);
      EXPECT_TRUE(lines[0].endsWith(
          QStringLiteral("ERRORE: La percentuale del fornitore 1# è minore di -100: \"%1\". "
                         "Elaborazione annullata.")
              .arg(typed)))
          << lines[0].toStdString();
      EXPECT_EQ(RowCount(), 0);
      EXPECT_DOUBLE_EQ(Scalar("select perce from fornitori where codice = 1").toDouble(), 2.5);
    }
  }
}

}  // namespace
}  // namespace vx::comparison3
