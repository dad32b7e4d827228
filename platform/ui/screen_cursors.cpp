#include "screen_cursors.h"

#include <map>

namespace platform {
namespace {

std::map<int, QCursor>& table() {
  static std::map<int, QCursor> t{
      {crDefault, QCursor(Qt::ArrowCursor)},
      {crArrow, QCursor(Qt::ArrowCursor)},
      {crIBeam, QCursor(Qt::IBeamCursor)},
      {crHourGlass, QCursor(Qt::WaitCursor)},
      {crHandPoint, QCursor(Qt::PointingHandCursor)},
  };
  return t;
}

}  // namespace

void SetScreenCursor(int number, const QCursor& cursor) { table()[number] = cursor; }

QCursor ScreenCursor(int number) {
  const auto it = table().find(number);
  return it == table().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

}  // namespace platform
