// JIS (ISO-2022-JP style, 7-bit) to EUC-JP and Shift_JIS.
#include "Jconvert.h"
#include "byte_writer.h"
#include "jis_arith.h"

namespace {

using jconvert_detail::ByteWriter;

constexpr unsigned char ESC = 0x1B;

// Walks text, handling escape sequences, and hands every other byte to
// on_byte(s, i, two_byte_mode, writer), which returns how many bytes it took.
// An escape sequence is always three bytes; the byte right after one is taken
// as a character even if it is ESC itself.
template <typename OnByte>
std::string decode_jis(const std::string& text, OnByte on_byte) {
  const unsigned char* s = jconvert_detail::bytes(text);
  const std::size_t n = text.size();
  ByteWriter out(n);
  bool two_byte = false;
  std::size_t i = 0;
  while (i < n) {
    if (s[i] == ESC) {
      if (i + 1 < n) {
        if (s[i + 1] == 0x24) two_byte = true;
        else if (s[i + 1] == 0x28) two_byte = false;
      }
      i += 3;
      if (i >= n) break;
    } else if (!two_byte) {
      // Copy the single-byte stretch up to the next escape in one go.
      const void* esc = std::memchr(s + i, ESC, n - i);
      const std::size_t end = esc ? static_cast<std::size_t>(static_cast<const unsigned char*>(esc) - s) : n;
      out.append(reinterpret_cast<const char*>(s + i), end - i);
      i = end;
      continue;
    }
    i += on_byte(s, n, i, two_byte, out);
  }
  return std::move(out).finish();
}

}  // namespace

std::string jis2euc(const std::string& text) {
  return decode_jis(text, [](const unsigned char* s, std::size_t, std::size_t i, bool two_byte,
                             ByteWriter& out) -> std::size_t {
    const unsigned char c = s[i];
    out.put(two_byte && c >= 0x21 && c <= 0x7E ? static_cast<unsigned char>(c + 0x80) : c);
    return 1;
  });
}

std::string jis2sjis(const std::string& text) {
  return decode_jis(text, [](const unsigned char* s, std::size_t n, std::size_t i, bool two_byte,
                             ByteWriter& out) -> std::size_t {
    if (!two_byte) {
      out.put(s[i]);
      return 1;
    }
    if (i + 1 >= n) {
      // A row byte with no cell after it: kept as it is.
      out.put(s[i]);
      return 1;
    }
    const auto p = jconvert_detail::jis_to_sjis(s[i], s[i + 1]);
    out.put2(p.first, p.second);
    return 2;
  });
}
