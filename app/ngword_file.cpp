#include "ngword_file.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

#include "Jconvert.h"
#include "atomic_file.h"

namespace {

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

bool is_valid_utf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = at(s, i);
    std::size_t need = 0;
    unsigned char lower = 0x80, upper = 0xBF;
    if (c < 0x80) need = 0;
    else if (c >= 0xC2 && c <= 0xDF) need = 1;
    else if (c >= 0xE0 && c <= 0xEF) need = 2, lower = c == 0xE0 ? 0xA0 : 0x80, upper = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) need = 3, lower = c == 0xF0 ? 0x90 : 0x80, upper = c == 0xF4 ? 0x8F : 0xBF;
    else return false;
    for (std::size_t k = 1; k <= need; ++k, lower = 0x80, upper = 0xBF) {
      if (i + k >= s.size() || at(s, i + k) < lower || at(s, i + k) > upper) return false;
    }
    i += need + 1;
  }
  return true;
}

void put_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// A lone surrogate or an odd last byte becomes U+FFFD, shown as the geta mark.
std::string utf16_to_utf8(std::string_view s, bool big_endian) {
  const auto unit = [&](std::size_t i) -> std::uint32_t {
    return big_endian ? (at(s, i) << 8 | at(s, i + 1)) : (at(s, i + 1) << 8 | at(s, i));
  };
  std::string out;
  std::size_t i = 0;
  for (; i + 1 < s.size(); i += 2) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < s.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    put_utf8(out, u);
  }
  if (i < s.size()) put_utf8(out, 0xFFFD);
  return out;
}

// Each line on its own, so the line breaks (and a NUL, which ends the list)
// are not turned into blanks.
std::string utf8_lines_to_sjis(std::string_view utf8) {
  std::string out;
  std::size_t from = 0;
  while (from <= utf8.size()) {
    std::size_t to = utf8.find_first_of(std::string_view("\r\n\0", 3), from);
    if (to == std::string_view::npos) to = utf8.size();
    out += Utf8ToDisplaySjis(std::string(utf8.substr(from, to - from)));
    if (to < utf8.size()) out += utf8[to];
    from = to + 1;
  }
  return out;
}

}  // namespace

std::string NgWordFileToSjis(const std::string& bytes) {
  const std::string_view text(bytes);
  if (text.substr(0, 2) == "\xFF\xFE") return utf8_lines_to_sjis(utf16_to_utf8(text.substr(2), false));
  if (text.substr(0, 2) == "\xFE\xFF") return utf8_lines_to_sjis(utf16_to_utf8(text.substr(2), true));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") return utf8_lines_to_sjis(text.substr(3));
  bool eight_bit = false;
  for (const char c : text) eight_bit = eight_bit || static_cast<unsigned char>(c) >= 0x80;
  return eight_bit && is_valid_utf8(text) ? utf8_lines_to_sjis(text) : bytes;
}

void LoadNgWords(TStringList& list, const std::string& path) {
  std::error_code ec;
  const std::optional<std::string> bytes = tolvane::platform::ReadFileBytes(path, ec);
  if (!bytes) throw EFOpenError(path);
  list.SetText(NgWordFileToSjis(*bytes));
}
