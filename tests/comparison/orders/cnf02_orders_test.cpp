// "Crea Ordini" through the grid window: which slots get an order, the boxes shown and what
// the closing question clears.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "comparison/cnf02.h"
#include "comparison/orders/orders_fixture.h"
#include "comparison/written_orders.h"
#include "platform/ui/form.h"
#include "support/scripted_messages.h"

namespace vx::comparison::testing {
namespace {

using ui::MsgAnswer;
using ui::MsgButtons;
using ui::MsgIcon;

const QString kSuccess = "Elaborazione completata con successo. Vuoi pulire i colli?";

class Cnf02OrdersTest : public OrdersTest {
 protected:
  void SetUp() override {
    OrdersTest::SetUp();
    common::G().Reset();
    common::G().percorso_db = values_.percorso_db;
    common::G().ragione_sociale = "MARKET DI PROVA";
    boxes_ = std::make_unique<ScriptedMessages>();
    AddSupplier(1, "VARU");
    AddSupplier(2, "APULIA");
    for (int i = 1; i <= 3; ++i) {
      AddArticle(1, i, Ean(8000 + i), QStringLiteral("ARTICOLO %1").arg(i));
      AddArticle(2, i, Ean(8000 + i), QStringLiteral("ARTICOLO %1").arg(i));
    }
  }
  void TearDown() override {
    ui::Forms::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    boxes_.reset();
    OrdersTest::TearDown();
  }
  cnf02* Open() { return ui::Forms::Get<cnf02>(); }
  // Only the article of that EAN in the view, as a search leaves it.
  void ShowOnly(cnf02* w, qint64 ean) {
    w->cond_ricerca = QStringLiteral(" [vedovo] = '%1' ").arg(Ean(ean));
    w->Requery();
  }
  qint64 Packages(qint64 ean, int slot) {
    return MainValue(QStringLiteral("select colli%1 from articoli where vedovo = '%2'")
                         .arg(slot)
                         .arg(Ean(ean)))
        .toLong();
  }

  std::unique_ptr<ScriptedMessages> boxes_;
};

TEST_F(Cnf02OrdersTest, NoPackagesInTheViewStillAsksTheClosingQuestion) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Cost(2, 3).Sel(" "));
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::No);
  w->Command4->click();

  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  const ui::MessageRecord& box = boxes_->Boxes()[0];
  EXPECT_EQ(box.text, kSuccess);
  EXPECT_EQ(box.icon, MsgIcon::None);
  EXPECT_EQ(box.buttons, MsgButtons::YesNo);
  EXPECT_EQ(box.defaultButton, MsgAnswer::Yes);
  EXPECT_TRUE(Headers(1).empty());
  EXPECT_TRUE(Headers(2).empty());
  // The busy state is over.
  EXPECT_TRUE(w->isEnabled());
  EXPECT_TRUE(w->Frame7->isHidden());  // the window was never shown: isVisible() proves nothing
  EXPECT_EQ(w->Label3->text(), "Elaborazione in corso. Attendere prego...");
}

TEST_F(Cnf02OrdersTest, OneVisibleRowTriggersTheWholeSlotAndHiddenSlotsGetNone) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Packages(1, 1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Cost(2, 2).Packages(1, 2).Packages(2, 5));
  AddComparisonRow(Row(Ean(8003)).Cost(1, 2).Packages(1, 3));
  cnf02* w = Open();
  ShowOnly(w, 8001);
  boxes_->Answer(MsgAnswer::No);
  w->cnf02_Command4_Click();

  // Slot 1: all three rows, hidden ones included; slot 2 only on a hidden row: no order.
  EXPECT_EQ(Lines(1, 2026, 1).size(), 3u);
  EXPECT_TRUE(Headers(2).empty());
  EXPECT_EQ(boxes_->Texts(), QStringList{kSuccess});
  EXPECT_EQ(common::G().numero_ordine, 1);
  // No: the packages stay.
  EXPECT_EQ(Packages(8002, 1), 2);
}

TEST_F(Cnf02OrdersTest, NewOrderQuestionAndYesClearsThePackages) {
  AddExistingOrder(1, 2026, 4, 2);
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Packages(1, 1));
  AddComparisonRow(Row(Ean(8002)).Cost(2, 2).Packages(2, 2));
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::Yes).Answer(MsgAnswer::Yes);
  w->cnf02_Command4_Click();

  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  const ui::MessageRecord& question = boxes_->Boxes()[0];
  EXPECT_EQ(question.title, "Creazione ordine");
  EXPECT_EQ(question.icon, MsgIcon::Information);
  EXPECT_EQ(question.defaultButton, MsgAnswer::No);
  EXPECT_TRUE(question.text.startsWith("Vuoi creare un nuovo ordine (SI="));
  EXPECT_EQ(Lines(1, 2026, 5).size(), 1u);
  EXPECT_EQ(Lines(2, 2026, 1).size(), 1u);
  EXPECT_EQ(common::G().numero_ordine, 1);  // slot 2's order was the last written
  EXPECT_EQ(Packages(8001, 1), 0);
  EXPECT_EQ(Packages(8002, 2), 0);
  EXPECT_EQ(MainValue("select sel from articoli where vedovo = '0000000008001'").str(), " ");
}

TEST_F(Cnf02OrdersTest, MissingDatabaseIsShownAndTheOtherSlotsGoOn) {
  AddSupplier(3, "DIZA", 0, /*makeDatabase=*/false);
  AddComparisonRow(Row(Ean(8001)).Cost(3, 2).Packages(3, 1));
  AddComparisonRow(Row(Ean(8002)).Cost(2, 2).Packages(2, 2));
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::No);
  w->cnf02_Command4_Click();

  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[0].text,
            "Attenzione ... archivio dati C:\\forn3\\dati.mdb non esiste.");
  EXPECT_EQ(boxes_->Boxes()[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(Lines(2, 2026, 1).size(), 1u);
  EXPECT_FALSE(boxes_->Boxes()[1].text.contains("successo"));
  EXPECT_TRUE(boxes_->Boxes()[1].text.contains("DIZA"));
}

TEST_F(Cnf02OrdersTest, FailedSlotKeepsItsPackagesWhenTheOthersAreCleared) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Cost(2, 2).Packages(1, 1).Packages(2, 4));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Packages(1, 2));
  Supplier(2)->Execute("drop table movimenti");
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::Yes);
  w->cnf02_Command4_Click();

  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(boxes_->Boxes()[0].text.contains("APULIA"));
  EXPECT_TRUE(boxes_->Boxes()[1].text.contains("APULIA"));
  EXPECT_FALSE(boxes_->Boxes()[1].text.contains("successo"));
  // Slot 1's order is written and its packages cleared; slot 2's order is not, and its
  // packages and the mark of their row stay.
  EXPECT_EQ(Lines(1, 2026, 1).size(), 2u);
  EXPECT_TRUE(Headers(2).empty());
  EXPECT_EQ(Packages(8001, 1), 0);
  EXPECT_EQ(Packages(8002, 1), 0);
  EXPECT_EQ(Packages(8001, 2), 4);
  EXPECT_EQ(MainValue("select sel from articoli where vedovo = '0000000008001'").str(), "X");
  EXPECT_EQ(MainValue("select sel from articoli where vedovo = '0000000008002'").str(), " ");
}

// Denies, once, the first statement prepared on the database that reads articoli.colliN:
// the view's search for the first slot (whose statement reads every column of the view) then
// fails as a locked or damaged database makes it fail.
class FailOnceReading {
 public:
  FailOnceReading(db::Database& db, int slot)
      : db_(db), column_(QStringLiteral("colli%1").arg(slot).toUtf8()) {
    sqlite3_set_authorizer(db_.handle(), &FailOnceReading::Check, this);
  }
  ~FailOnceReading() { sqlite3_set_authorizer(db_.handle(), nullptr, nullptr); }
  bool denied = false;

 private:
  static int Check(void* self, int action, const char* table, const char* column, const char*,
                   const char*) {
    auto* me = static_cast<FailOnceReading*>(self);
    if (me->denied || action != SQLITE_READ || !table || !column) return SQLITE_OK;
    if (qstricmp(table, "articoli") != 0 || qstricmp(column, me->column_.constData()) != 0) {
      return SQLITE_OK;
    }
    me->denied = true;
    return SQLITE_DENY;
  }
  db::Database& db_;
  QByteArray column_;
};

TEST_F(Cnf02OrdersTest, ASlotWhoseViewCannotBeReadIsNotWrittenAndKeepsItsPackages) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Cost(2, 2).Packages(1, 1).Packages(2, 4));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Packages(1, 2));
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::Yes);
  {
    FailOnceReading failing(*main_, 1);
    w->cnf02_Command4_Click();
    EXPECT_TRUE(failing.denied);
  }

  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  EXPECT_EQ(boxes_->Boxes()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes_->Boxes()[1].text,
            "Elaborazione terminata con errori: ordini non creati per VARU. Vuoi pulire i colli "
            "degli ordini creati?");
  // APULIA's order is written and its packages cleared; VARU's packages and marks stay.
  EXPECT_TRUE(Headers(1).empty());
  EXPECT_EQ(Lines(2, 2026, 1).size(), 1u);
  EXPECT_EQ(Packages(8001, 2), 0);
  EXPECT_EQ(Packages(8001, 1), 1);
  EXPECT_EQ(Packages(8002, 1), 2);
  EXPECT_EQ(MainValue("select sel from articoli where vedovo = '0000000008001'").str(), "X");
  EXPECT_EQ(MainValue("select sel from articoli where vedovo = '0000000008002'").str(), "X");
}

TEST_F(Cnf02OrdersTest, ASlotWithoutSupplierRowIsNamedAndKeepsItsPackages) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Cost(3, 2).Packages(1, 1).Packages(3, 4));
  cnf02* w = Open();
  boxes_->Answer(MsgAnswer::Yes);
  w->cnf02_Command4_Click();

  ASSERT_EQ(boxes_->Boxes().size(), 1u);
  EXPECT_EQ(boxes_->Boxes()[0].text,
            "Elaborazione terminata con errori: ordini non creati per n. 3. Vuoi pulire i colli "
            "degli ordini creati?");
  EXPECT_EQ(Packages(8001, 1), 0);
  EXPECT_EQ(Packages(8001, 3), 4);
}

TEST_F(Cnf02OrdersTest, ARetryAfterAStoppedRunAsksBeforeWritingTheOrderAgain) {
  AddComparisonRow(Row(Ean(8001)).Cost(1, 2).Packages(1, 1));
  AddComparisonRow(Row(Ean(8002)).Cost(1, 2).Cost(2, 2).Packages(1, 2).Packages(2, 3));
  // Another run wrote VARU's order and was stopped before its closing question.
  auto writer = StartWriter(/*stop=*/true);
  Release(1);
  ASSERT_TRUE(writer->waitForFinished(60000));
  ASSERT_EQ(Headers(1).size(), 1u);

  cnf02* w = Open();
  // No: VARU's order is not written again; APULIA's is written as usual.
  boxes_->Answer(MsgAnswer::No).Answer(MsgAnswer::No);
  w->Command4->click();
  ASSERT_EQ(boxes_->Boxes().size(), 2u);
  const ui::MessageRecord& ask = boxes_->Boxes()[0];
  EXPECT_TRUE(ask.text.startsWith("ATTENZIONE")) << ask.text.toStdString();
  EXPECT_TRUE(ask.text.contains("VARU (ordine n. 1 del 2026)")) << ask.text.toStdString();
  EXPECT_FALSE(ask.text.contains("APULIA"));
  EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
  EXPECT_EQ(ask.defaultButton, MsgAnswer::No);
  EXPECT_EQ(boxes_->Boxes()[1].text, kSuccess);
  EXPECT_EQ(Headers(1).size(), 1u);
  EXPECT_EQ(Lines(2, 2026, 1).size(), 1u);

  // Yes: written again, as a new order after the question of the year's orders.
  boxes_->Clear();
  boxes_->Answer(MsgAnswer::Yes)
      .Answer(MsgAnswer::Yes)
      .Answer(MsgAnswer::Yes)
      .Answer(MsgAnswer::Yes);
  w->Command4->click();
  ASSERT_EQ(boxes_->Boxes().size(), 4u);
  EXPECT_TRUE(
      boxes_->Boxes()[0].text.contains("VARU (ordine n. 1 del 2026); APULIA (ordine n. "
                                       "1 del 2026)"))
      << boxes_->Boxes()[0].text.toStdString();
  EXPECT_EQ(boxes_->Boxes()[3].text, kSuccess);
  ASSERT_EQ(Headers(1).size(), 2u);
  EXPECT_EQ(Lines(1, 2026, 2).size(), 2u);
  // The packages are cleared, and the record with them: nothing to ask any more.
  EXPECT_EQ(Packages(8002, 1), 0);
  EXPECT_TRUE(WrittenOrdersOf(*main_, 1).empty());
  EXPECT_TRUE(WrittenOrdersOf(*main_, 2).empty());
}

}  // namespace
}  // namespace vx::comparison::testing
