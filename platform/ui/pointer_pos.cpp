#include "pointer_pos.h"

#include <QCursor>

namespace platform {
namespace {

std::function<QPoint()>& source() {
  static std::function<QPoint()> s;
  return s;
}

}  // namespace

QPoint GetCursorPos() { return source() ? source()() : QCursor::pos(); }

void SetCursorPosSource(std::function<QPoint()> s) { source() = std::move(s); }

}  // namespace platform
