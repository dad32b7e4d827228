// Internal to the encoded-word functions, shared with their tests.
#pragma once

namespace jconvert_detail {

// Whether c opens a double-byte character in Shift_JIS as code page 932
// defines it (0x81..0x9F, 0xE0..0xFC); half-width katakana do not.
bool is_cp932_lead_byte(unsigned char c);

}  // namespace jconvert_detail
