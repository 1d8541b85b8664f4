#include "platform/ui/msgbox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include "support/scripted_messages.h"

using namespace vx::ui;

namespace {

TEST(MsgBoxTest, QuestionsTakeTheScriptedAnswersInOrder) {
  ScriptedMessages boxes;
  boxes.Answer(MsgAnswer::Yes).Answer(MsgAnswer::No);
  EXPECT_TRUE(AskYesNo("Stampare?", "Stampa Confronto Fornitori", MsgIcon::Information));
  EXPECT_FALSE(AskYesNo("Eliminare?", "Elimina Confronto Fornitori"));
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  const MessageRecord& first = boxes.Boxes()[0];
  EXPECT_EQ(first.text, "Stampare?");
  EXPECT_EQ(first.title, "Stampa Confronto Fornitori");
  EXPECT_EQ(first.icon, MsgIcon::Information);
  EXPECT_EQ(first.buttons, MsgButtons::YesNo);
  EXPECT_EQ(first.defaultButton, MsgAnswer::No);
  EXPECT_EQ(boxes.Boxes()[1].icon, MsgIcon::Question);
}

TEST(MsgBoxTest, RefusalsAreCriticalOkBoxesWithTheApplicationTitleByDefault) {
  ScriptedMessages boxes;
  QCoreApplication::setApplicationName("vantorelix");
  MsgCritical("ATTENZIONE!!! Selezionare l'operatore desiderato...");
  MsgInformation("Fatto", "Aggiornamento");
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Boxes()[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(boxes.Boxes()[0].title, "vantorelix");
  EXPECT_EQ(boxes.Boxes()[1].title, "Aggiornamento");
  EXPECT_EQ(boxes.Texts(),
            (QStringList{"ATTENZIONE!!! Selezionare l'operatore desiderato...", "Fatto"}));
}

TEST(MsgBoxTest, AnOkBoxAnswersOkWhateverTheResponderSays) {
  SetMessageResponder([](const MessageRecord&) { return MsgAnswer::Yes; });
  EXPECT_EQ(MsgBox({"x", "t", MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok}), MsgAnswer::Ok);
  EXPECT_EQ(MsgBox({"q", "t", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No}),
            MsgAnswer::Yes);
  InstallFailingMessageResponder();
}

TEST(MsgBoxTest, TheParentWindowMayGoWhileItsBoxIsOpen) {
  SetMessageResponder({});  // the real box
  auto* parent = new QWidget;
  parent->show();
  QApplication::setActiveWindow(parent);
  ASSERT_EQ(QApplication::activeWindow(), parent);
  QTimer::singleShot(0, [parent] { delete parent; });
  // The box went with its window: the question counts as not answered Yes.
  EXPECT_FALSE(AskYesNo("Vuoi pulire i colli?", "Crea Ordini"));
  InstallFailingMessageResponder();
}

}  // namespace
