// Shift_JIS (code page 932) interface text at the boundary to Qt, which
// wants UTF-16.
#pragma once

#include <QString>

#include <string>

namespace platform {

// Lead bytes of a double-byte character in code page 932.
constexpr bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Decodes Shift_JIS bytes. A byte sequence that is no character becomes one
// U+FFFD per byte, so nothing after it is lost.
QString SjisToQString(const std::string& sjis);

// Encodes to Shift_JIS; a character that code page 932 lacks becomes "?".
std::string QStringToSjis(const QString& text);

}  // namespace platform
