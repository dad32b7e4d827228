// Where the mouse pointer is, in screen coordinates. Tests put their own
// source in place, since an offscreen session has no real pointer.
#pragma once

#include <QPoint>

#include <functional>

namespace platform {

QPoint GetCursorPos();

// Replaces the pointer source; an empty function restores the real one.
void SetCursorPosSource(std::function<QPoint()> source);

}  // namespace platform
