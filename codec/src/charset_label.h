// Charset labels of encoded-words, resolved to the encoding that reads them.
#pragma once

#include <string_view>

namespace jconvert_detail {

enum class Reader : unsigned char {
  kUtf8,
  kUtf16Le,
  kUtf16Be,
  kIso2022Jp,  // every ISO-2022-JP variant, with the code page 932 rows
  kShiftJis,   // code page 932
  kEucJp,
  kIconv,            // glibc iconv, multi-byte
  kSingleByteIconv,  // glibc iconv; a byte it lacks in 0x80..0x9F is a C1 control
  kUserDefined,      // x-user-defined: ASCII, and 0x80..0xFF in the private use area
  kReplacement,      // text that is not to be read: one replacement character
};

struct Charset {
  std::string_view name;  // the encoding's name; words of one charset share it
  Reader reader;
  const char* iconv_name;  // for the iconv readers
};

// The encoding that a label names, as the WHATWG Encoding Standard resolves
// labels (ASCII letters in any case, surrounding white space ignored), plus
// the labels of code page 932 and the ISO-2022-JP variants that mail uses;
// nullptr for a label it does not know.
const Charset* FindCharset(std::string_view label);

}  // namespace jconvert_detail
