// Readers of the header display: each turns text in one encoding into
// characters for a DisplayWriter. None fails on malformed input: a byte
// sequence that is no character gives one geta mark (or U+FFFD), and reading
// goes on behind it.
#pragma once

#include <string_view>

#include "charset_label.h"
#include "display_writer.h"

namespace jconvert_detail {

// ISO-2022-JP and its variants: JIS X 0208 with the code page 932 rows
// (NEC row 13, the NEC-selected IBM extensions), half-width katakana by
// ESC ( I, SO/SI or 8-bit bytes, JIS X 0212 and 0213, the ISO-2022-JP-2 sets.
// An escape sequence it does not know gives a geta mark for its ESC.
void ReadIso2022Jp(std::string_view text, DisplayWriter& out);
// Shift_JIS as code page 932 defines it.
void ReadShiftJis(std::string_view text, DisplayWriter& out);
// EUC-JP, with the code page 932 rows in the JIS X 0208 area.
void ReadEucJp(std::string_view text, DisplayWriter& out);
// UTF-8; each maximal invalid subsequence is one U+FFFD.
void ReadUtf8(std::string_view text, DisplayWriter& out);

// The one character that bytes stand for in a glibc iconv charset. False,
// with nothing written, when they are no whole character of it.
bool ReadOneCharacter(const char* charset, std::string_view bytes, DisplayWriter& out);

// Text in charset. A byte-order mark at the start chooses UTF-8 or UTF-16
// instead, whatever the charset says. False, with nothing written, when
// glibc lacks the converter the charset needs.
bool ReadCharset(const Charset& charset, std::string_view text, DisplayWriter& out);

}  // namespace jconvert_detail
