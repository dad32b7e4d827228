// Helpers for pixel tests of the window-less controls: a form to put them
// on, its picture, colours compared as 0x00BBGGRR and printed in hex, and
// mouse input sent straight to a control.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "canvas.h"
#include "sys_colors.h"

namespace test_support {

inline std::string color_hex(platform::TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(c));
  return buf;
}

inline ::testing::AssertionResult ColorEqual(const char* actual_expr, const char* expected_expr,
                                             platform::TColor actual, platform::TColor expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual_expr << " is " << color_hex(actual) << ", expected " << expected_expr
                                       << " = " << color_hex(expected);
}

// A plain form of one colour, shown offscreen.
class TestForm : public QWidget {
 public:
  TestForm(int width, int height, platform::TColor color = 0x808080) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, platform::ToQColor(color));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(width, height);
    show();
  }
  QImage picture() { return grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// Serves pending repaint requests. The platform paces window updates with a
// timer of about one frame, so this waits a little more than that.
inline void settle() {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 40) {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

// Serves events until `done` holds or `limit_ms` has passed; for repaints
// that must come, on a machine that may be slow.
template <typename Done>
bool settle_until(Done done, int limit_ms = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < limit_ms) {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return done();
}

inline platform::TColor pixel(const QImage& image, int x, int y) { return platform::FromQRgb(image.pixel(x, y)); }

// Whether some pixel of `area` has colour `c`.
inline bool has_color(const QImage& image, QRect area, platform::TColor c) {
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (pixel(image, x, y) == c) return true;
  return false;
}

inline void send_press(QWidget& w, QPoint at, Qt::MouseButton b = Qt::LeftButton, bool dbl = false) {
  QMouseEvent e(dbl ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, QPointF(at), QPointF(w.mapToGlobal(at)),
                b, b, Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

inline void send_release(QWidget& w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
  QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), QPointF(w.mapToGlobal(at)), b, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

inline void send_move(QWidget& w, QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
  QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(w.mapToGlobal(at)), Qt::NoButton, held, Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

inline void send_enter(QWidget& w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(w.mapToGlobal(QPoint(1, 1))));
  QApplication::sendEvent(&w, &e);
}

inline void send_leave(QWidget& w) {
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(&w, &e);
}

}  // namespace test_support

#define EXPECT_COLOR_EQ(actual, expected) EXPECT_PRED_FORMAT2(::test_support::ColorEqual, actual, expected)
#define ASSERT_COLOR_EQ(actual, expected) ASSERT_PRED_FORMAT2(::test_support::ColorEqual, actual, expected)
