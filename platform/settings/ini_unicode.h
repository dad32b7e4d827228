// Conversions for profile files in UTF-16LE (they begin with FF FE), which
// the Windows profile functions read and write through the ANSI code page.
// The file is edited as UTF-8, so that characters outside Shift_JIS elsewhere
// in it survive a write.
#pragma once

#include <string>
#include <string_view>

namespace tolvane::ini {

// Begins with the UTF-16LE byte order mark FF FE.
bool IsUtf16LeFile(std::string_view bytes);

// Lossless both ways for an even number of bytes: a lone surrogate becomes
// a three-byte sequence of its own and back.
std::string Utf16LeToUtf8(std::string_view utf16);
std::string Utf8ToUtf16Le(std::string_view utf8);

// Through code page 932; what it cannot map becomes '?'.
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace tolvane::ini
