// Turning raw header values into the notification list's text, and the
// NG-word test on subjects.
#pragma once

#include <string>
#include <vector>

// The Shift_JIS text shown for a raw header value: its encoded-words in any
// charset decoded, raw 8-bit text read as UTF-8 or the Japanese code it is
// in (DecodeHeaderForDisplay).
std::string DecodeForDisplay(const std::string& raw);

// Whether the subject holds one of the words, byte for byte, where a
// character that code page 932 holds twice matches in either form. An empty
// word ends the list: it and every word after it are not used.
bool HasNgWord(const std::string& subject, const std::vector<std::string>& words);
