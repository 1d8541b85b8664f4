// The message boxes of the windows: refusals (critical, OK), notices (information or
// exclamation, OK) and Yes/No questions with a default button.
//
// The Qt implementation shows a QMessageBox. Tests install a responder that records each box
// and gives the answer the test chose, so that no test waits on a modal box.
#pragma once

#include <QString>
#include <functional>

namespace vx::ui {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRecord {
  QString text;
  QString title;  // the application's name when the caller gives none
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  MsgAnswer defaultButton = MsgAnswer::Ok;
};

// Shows the box and returns the operator's answer. Closing a Yes/No box without choosing
// counts as No.
MsgAnswer MsgBox(const MessageRecord& box);

// Shorthands for the boxes the windows use.
void MsgCritical(const QString& text, const QString& title = {});
void MsgInformation(const QString& text, const QString& title = {});
void MsgExclamation(const QString& text, const QString& title = {});
// True only when the operator answers Yes.
bool AskYesNo(const QString& text, const QString& title, MsgIcon icon = MsgIcon::Question,
              MsgAnswer defaultButton = MsgAnswer::No);

// Replaces the Qt boxes by a responder; an empty function restores them.
using MessageResponder = std::function<MsgAnswer(const MessageRecord&)>;
void SetMessageResponder(MessageResponder responder);

}  // namespace vx::ui
