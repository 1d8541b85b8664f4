#include "platform/ui/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace vx::ui {

namespace {

MessageResponder& Responder() {
  static MessageResponder responder;
  return responder;
}

QMessageBox::Icon QtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

MsgAnswer ShowQtBox(const MessageRecord& box) {
  // The box lives on the heap and is watched: its parent window may be destroyed while the
  // box is open (it then takes the box with it), and either may go first. A box gone that
  // way answers as its escape button would.
  QPointer<QMessageBox> mb = new QMessageBox(QtIcon(box.icon), box.title, box.text,
                                             QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* yes = nullptr;
  if (box.buttons == MsgButtons::YesNo) {
    yes = mb->addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
    QPushButton* no = mb->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    mb->setDefaultButton(box.defaultButton == MsgAnswer::Yes ? yes : no);
    mb->setEscapeButton(no);
  } else {
    mb->addButton(QMessageBox::Ok);
  }
  mb->exec();
  const bool answeredYes = mb && yes && mb->clickedButton() == yes;
  delete mb.data();
  if (box.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  return answeredYes ? MsgAnswer::Yes : MsgAnswer::No;
}

void Notice(const QString& text, const QString& title, MsgIcon icon) {
  MsgBox(MessageRecord{text, title, icon, MsgButtons::Ok, MsgAnswer::Ok});
}

}  // namespace

MsgAnswer MsgBox(const MessageRecord& request) {
  MessageRecord box = request;
  if (box.title.isEmpty()) box.title = QCoreApplication::applicationName();
  if (Responder()) {
    const MsgAnswer answer = Responder()(box);
    // A responder cannot give an answer the box does not offer.
    if (box.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return answer == MsgAnswer::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  }
  return ShowQtBox(box);
}

void MsgCritical(const QString& text, const QString& title) {
  Notice(text, title, MsgIcon::Critical);
}

void MsgInformation(const QString& text, const QString& title) {
  Notice(text, title, MsgIcon::Information);
}

void MsgExclamation(const QString& text, const QString& title) {
  Notice(text, title, MsgIcon::Exclamation);
}

bool AskYesNo(const QString& text, const QString& title, MsgIcon icon, MsgAnswer defaultButton) {
  return MsgBox(MessageRecord{text, title, icon, MsgButtons::YesNo, defaultButton}) ==
         MsgAnswer::Yes;
}

void SetMessageResponder(MessageResponder responder) { Responder() = std::move(responder); }

}  // namespace vx::ui
