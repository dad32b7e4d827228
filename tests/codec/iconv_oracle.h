// glibc iconv as an independent oracle for the character-code conversions.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>

namespace test_support {

// Converts text from one iconv charset to another; nullopt when iconv finds a
// character it cannot convert or an invalid sequence.
inline std::optional<std::string> iconv_convert(const std::string& text, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 16, '\0');
  char* in_p = const_cast<char*>(text.data());
  size_t in_left = text.size();
  char* out_p = out.data();
  size_t out_left = out.size();
  bool ok = iconv(cd, &in_p, &in_left, &out_p, &out_left) != static_cast<size_t>(-1);
  // Flush the shift state (ISO-2022-JP writes its closing escape here).
  ok = ok && iconv(cd, nullptr, nullptr, &out_p, &out_left) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace test_support
