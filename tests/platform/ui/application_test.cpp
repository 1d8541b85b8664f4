#include "platform/ui/application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/db/database.h"

namespace vx::ui {
namespace {

// A click on a window, as the window system would post it.
void PostClick(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QCoreApplication::postEvent(
        w, new QMouseEvent(type, at, global, Qt::LeftButton,
                           type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                           Qt::NoModifier));
  }
}

TEST(DoEventsTest, AYieldInsideAWriteTransactionRunsTimersButNoUserInputUntilItEnds) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("dati.mdb"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  auto db = db::Database::Open(path);

  QPushButton other(QStringLiteral("Carica"));
  other.resize(120, 40);
  other.show();
  int clicks = 0;
  QObject::connect(&other, &QPushButton::clicked, [&] { ++clicks; });

  // Outside a transaction a yield runs the click: the click posted below is a real one.
  PostClick(&other);
  DoEvents();
  ASSERT_EQ(clicks, 1);

  db::Transaction transaction(*db);
  EXPECT_EQ(db::OpenWriteTransactions(), 1);
  bool timerRan = false;
  QTimer::singleShot(0, [&] { timerRan = true; });
  PostClick(&other);
  for (int i = 0; i < 5; ++i) DoEvents();
  EXPECT_TRUE(timerRan);
  EXPECT_EQ(clicks, 1);  // held back

  transaction.Commit();
  EXPECT_EQ(db::OpenWriteTransactions(), 0);
  DoEvents();
  EXPECT_EQ(clicks, 2);  // delivered once the transaction ended
}

}  // namespace
}  // namespace vx::ui
