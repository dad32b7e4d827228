// Result lengths of the transfer encodings. Each encoder and decoder sizes
// its result with one of these before writing anything, and the decoders
// return exactly that many bytes whatever their input holds.
#pragma once

#include <cstddef>
#include <string>

namespace jconvert_detail {

// Base64 of n bytes with line_break_len bytes after every full line of 76
// characters (0 for no line breaks).
std::size_t base64_encoded_length(std::size_t n, std::size_t line_break_len);
// Counts the characters other than CR, LF and "=": 3 bytes for every four,
// and one byte fewer than the characters of a group cut short.
std::size_t base64_decoded_length(const std::string& text);

// UU body lines of n bytes with a line break of line_break_len bytes.
std::size_t uu_encoded_length(std::size_t n, std::size_t line_break_len);
// 45 for each line opening with "M" (61 characters), then the length value
// of the first line that opens with anything else.
std::size_t uu_decoded_length(const std::string& text);
// Length value of a UU length character: code - 0x20, the backquote 0.
// Control characters carry no data.
int uu_length_value(unsigned char c);

// ":" + BinHex text of n bytes + ":", with line_break_len bytes after every
// 64th character.
std::size_t binhex_encoded_length(std::size_t n, std::size_t line_break_len);
// From the characters other than CR and LF, less the two colons.
std::size_t binhex_decoded_length(const std::string& text);

}  // namespace jconvert_detail
