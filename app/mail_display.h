// Turning raw header values into the notification list's text, and the
// NG-word test on subjects.
#pragma once

#include <string>
#include <vector>

// Decodes the ISO-2022-JP encoded-words of a raw header value and returns
// Shift_JIS display text; plain text passes through unchanged.
std::string DecodeForDisplay(const std::string& raw);

// Whether the subject holds one of the words, byte for byte. An empty word
// ends the list: it and every word after it are not used.
bool HasNgWord(const std::string& subject, const std::vector<std::string>& words);
