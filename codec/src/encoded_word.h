// One RFC 2047 encoded-word, "=?charset?B|Q?text?=", with the RFC 2231
// language suffix ("=?UTF-8*ja?B?...?=").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jconvert_detail {

struct EncodedWord {
  std::string_view charset;  // the label, without the language suffix
  char encoding;             // 'B' or 'Q', upper case
  std::string_view text;     // between the third "?" and the closing "?="
  std::size_t end;           // just past the closing "?="
};

// Reads the word that begins at value[at] (the "=?"). False when none does:
// an empty charset, an encoding other than B or Q, or no "?=" before a "?",
// a blank or a control character. Raw 8-bit bytes in the text are taken as
// they are. Looks no further than the first "?" after the encoding.
bool ParseEncodedWord(std::string_view value, std::size_t at, EncodedWord& word);

// Appends the bytes that the word's text stands for. False, with out as it
// was, when the text is no valid B (Base64, padding optional) or Q text.
bool AppendWordBytes(const EncodedWord& word, std::string& out);

}  // namespace jconvert_detail
