// Answers the program's message boxes from a script and records every box shown.
//
//   ScriptedMessages boxes;
//   boxes.Answer(vx::ui::MsgAnswer::Yes);   // the next Yes/No box gets Yes
//   ... code that asks ...
//   EXPECT_EQ(boxes.Texts(), QStringList{"Sei sicuro?"});
//
// OK boxes need no script: they are answered OK and recorded. A Yes/No box with no scripted
// answer fails the test and is answered No; answers left unused fail it too. While no
// ScriptedMessages exists, the test program's default responder fails any box (no test ever
// waits on a modal box).
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/ui/msgbox.h"

class ScriptedMessages {
 public:
  ScriptedMessages();
  ~ScriptedMessages();
  ScriptedMessages(const ScriptedMessages&) = delete;
  ScriptedMessages& operator=(const ScriptedMessages&) = delete;

  // Queues the answer for the next Yes/No box.
  ScriptedMessages& Answer(vx::ui::MsgAnswer answer);

  // Runs for every box as it is shown, before it is answered (to look at the state the
  // program is in at that moment).
  void OnShow(std::function<void(const vx::ui::MessageRecord&)> look) { look_ = std::move(look); }

  const std::vector<vx::ui::MessageRecord>& Boxes() const { return boxes_; }
  QStringList Texts() const;
  void Clear() { boxes_.clear(); }

 private:
  std::deque<vx::ui::MsgAnswer> answers_;
  std::vector<vx::ui::MessageRecord> boxes_;
  std::function<void(const vx::ui::MessageRecord&)> look_;
};

// Installs the responder that fails any box shown while no script is installed.
void InstallFailingMessageResponder();
