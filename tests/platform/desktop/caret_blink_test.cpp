// The caret stops blinking after the idle time and blinks again on input.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>

#include <gtest/gtest.h>

#include "caret_blink.h"

namespace {

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  return done();
}

TEST(CaretBlinkLimit, StopsWhenIdleAndResumesOnInput) {
  const int flash = QApplication::cursorFlashTime();
  ASSERT_GT(flash, 0);
  QLineEdit edit;
  {
    platform::CaretBlinkLimit limit(50);
    EXPECT_TRUE(limit.Blinking());
    ASSERT_TRUE(WaitFor([&] { return !limit.Blinking(); }, 5000));
    EXPECT_EQ(QApplication::cursorFlashTime(), 0);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&edit, &key);
    EXPECT_EQ(QApplication::cursorFlashTime(), flash);
    // And it stops again after the next idle time.
    EXPECT_TRUE(WaitFor([&] { return !limit.Blinking(); }, 5000));
  }
  // Gone, it leaves the desktop's flash time as it found it.
  EXPECT_EQ(QApplication::cursorFlashTime(), flash);
}

}  // namespace
