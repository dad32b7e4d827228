#include "caret_blink.h"

#include <QApplication>
#include <QEvent>

namespace platform {

CaretBlinkLimit::CaretBlinkLimit(int idle_ms, QObject* parent)
    : QObject(parent), flash_ms_(QApplication::cursorFlashTime()) {
  idle_.setSingleShot(true);
  idle_.setInterval(idle_ms);
  // A flash time of 0 shows a steady caret.
  connect(&idle_, &QTimer::timeout, this, [] { QApplication::setCursorFlashTime(0); });
  idle_.start();
  qApp->installEventFilter(this);
}

CaretBlinkLimit::~CaretBlinkLimit() {
  if (qApp) {
    qApp->removeEventFilter(this);
    QApplication::setCursorFlashTime(flash_ms_);
  }
}

bool CaretBlinkLimit::Blinking() const { return QApplication::cursorFlashTime() != 0; }

void CaretBlinkLimit::Resume() {
  if (!Blinking()) QApplication::setCursorFlashTime(flash_ms_);
  idle_.start();
}

bool CaretBlinkLimit::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn: Resume(); break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace platform
