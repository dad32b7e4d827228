// The screen's cursor table: cursor numbers to pointer shapes. Numbers below
// 1 are the built-in shapes; a program registers its own under positive ones.
#pragma once

#include <QCursor>

namespace platform {

inline constexpr int crDefault = 0;
inline constexpr int crArrow = -2;
inline constexpr int crIBeam = -4;
inline constexpr int crHourGlass = -11;
inline constexpr int crHandPoint = -21;

// Puts `cursor` into the table under `number`, replacing what was there.
void SetScreenCursor(int number, const QCursor& cursor);
// The shape under `number`; the arrow for a number nobody registered.
QCursor ScreenCursor(int number);

}  // namespace platform
