#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using vx::ui::MessageRecord;
using vx::ui::MsgAnswer;
using vx::ui::MsgButtons;

ScriptedMessages::ScriptedMessages() {
  vx::ui::SetMessageResponder([this](const MessageRecord& box) {
    boxes_.push_back(box);
    if (look_) look_(box);
    if (box.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected question box: " << box.text.toStdString();
      return MsgAnswer::No;
    }
    const MsgAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  });
}

ScriptedMessages::~ScriptedMessages() {
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never asked for";
  InstallFailingMessageResponder();
}

ScriptedMessages& ScriptedMessages::Answer(MsgAnswer answer) {
  answers_.push_back(answer);
  return *this;
}

QStringList ScriptedMessages::Texts() const {
  QStringList texts;
  for (const MessageRecord& box : boxes_) texts << box.text;
  return texts;
}

void InstallFailingMessageResponder() {
  vx::ui::SetMessageResponder([](const MessageRecord& box) {
    ADD_FAILURE() << "message box shown without a script: " << box.text.toStdString();
    return box.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
  });
}
