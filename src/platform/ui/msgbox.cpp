#include "platform/ui/msgbox.h"

#include <QApplication>
#include <QMessageBox>
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
  QMessageBox mb(QtIcon(box.icon), box.title, box.text, QMessageBox::NoButton,
                 QApplication::activeWindow());
  if (box.buttons == MsgButtons::YesNo) {
    QPushButton* yes = mb.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
    QPushButton* no = mb.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    mb.setDefaultButton(box.defaultButton == MsgAnswer::Yes ? yes : no);
    mb.setEscapeButton(no);
    mb.exec();
    return mb.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
  }
  mb.addButton(QMessageBox::Ok);
  mb.exec();
  return MsgAnswer::Ok;
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
