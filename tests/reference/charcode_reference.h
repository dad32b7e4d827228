// Plain, slow models of the character-code rules, one byte at a time,
// written apart from the codec's sources: the GoogleTest suites and the fuzz
// targets compare the codec's fast paths against them.
//
// Where the rules leave the bytes open, the models give what the codec
// chose, so that a change of those choices shows too: a lead byte with
// nothing after it is copied by euc2sjis, sjis2euc and jis2sjis and dropped
// by the JIS encoders, and an EUC 0x8E pair that names no katakana becomes
// the JIS X 0208 geta mark.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace reference {

namespace detail {

inline bool in(int c, int lo, int hi) { return c >= lo && c <= hi; }

inline unsigned char at(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

inline void put(std::string& out, int b) { out += static_cast<char>(b & 0xFF); }

// Arithmetic in int, truncated to 8 bits when written.
inline void put_sjis(std::string& out, int row, int cell) {
  put(out, (row + 1) / 2 + (row < 0x5F ? 0x70 : 0xB0));
  put(out, row % 2 == 0 ? cell + 0x7E : cell + (cell <= 0x5F ? 0x1F : 0x20));
}

// Row and cell of a Shift_JIS pair, each plus add (0x80 gives EUC-JP).
inline void put_jis(std::string& out, int lead, int trail, int add) {
  int row = 2 * (lead - (lead < 0xA0 ? 0x70 : 0xB0));
  int cell;
  if (trail < 0x9F) {
    row -= 1;
    cell = trail - (trail <= 0x7F ? 0x1F : 0x20);
  } else {
    cell = trail - 0x7E;
  }
  put(out, row + add);
  put(out, cell + add);
}

// JIS X 0208 code of each half-width katakana 0xA1..0xDF (index k - 0xA0).
// Eight a row, as the code chart lays them out.
// clang-format off
inline constexpr std::uint16_t kHankana[64] = {
    0x0000, 0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521,
    0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567, 0x2543,
    0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D,
    0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D,
    0x253F, 0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C,
    0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E,
    0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,
};
// clang-format on

// The voiced code of katakana k followed by mark, or 0 when they stay apart.
inline int voiced(int k, int mark) {
  const int code = kHankana[k - 0xA0];
  if (mark == 0xDE) {
    if (k == 0xB3) return 0x2574;
    if (in(k, 0xB6, 0xC4) || in(k, 0xCA, 0xCE)) return code + 1;
  }
  if (mark == 0xDF && in(k, 0xCA, 0xCE)) return code + 2;
  return 0;
}

inline constexpr int kGeta = 0x222E;

inline std::string jis_decode(const std::string& s, bool to_sjis) {
  std::string out;
  const std::size_t n = s.size();
  bool two_byte = false;
  std::size_t i = 0;
  while (i < n) {
    if (at(s, i) == 0x1B) {
      if (i + 1 < n) {
        if (at(s, i + 1) == 0x24) two_byte = true;
        else if (at(s, i + 1) == 0x28) two_byte = false;
      }
      i += 3;
      if (i >= n) break;
      // The byte after an escape sequence is a character, even ESC.
    }
    const int c = at(s, i);
    if (!two_byte) {
      put(out, c);
      i += 1;
    } else if (!to_sjis) {
      put(out, in(c, 0x21, 0x7E) ? c + 0x80 : c);
      i += 1;
    } else if (i + 1 < n) {
      put_sjis(out, c, at(s, i + 1));
      i += 2;
    } else {
      put(out, c);  // a row byte with no cell after it
      i += 1;
    }
  }
  return out;
}

inline std::string jis_encode(const std::string& s, bool from_euc) {
  std::string out;
  const std::size_t n = s.size();
  bool two_byte = false;
  auto single = [&](int c) {
    if (two_byte) out += "\x1B(J";
    two_byte = false;
    put(out, c);
  };
  auto pair = [&](int code) {
    if (!two_byte) out += "\x1B$B";
    two_byte = true;
    put(out, code >> 8);
    put(out, code);
  };
  std::size_t i = 0;
  while (i < n) {
    const int c = at(s, i);
    if (c < 0x80) {
      single(c);
      i += 1;
    } else if (!from_euc && in(c, 0xA1, 0xDF)) {
      const int v = i + 1 < n ? voiced(c, at(s, i + 1)) : 0;
      pair(v ? v : kHankana[c - 0xA0]);
      i += v ? 2 : 1;
    } else if (i + 1 >= n) {
      i += 1;  // a lead byte with nothing after it has no 7-bit form
    } else if (!from_euc) {
      std::string two;
      put_jis(two, c, at(s, i + 1), 0);
      pair((at(two, 0) << 8) | at(two, 1));
      i += 2;
    } else if (c != 0x8E) {
      pair(((c & 0x7F) << 8) | (at(s, i + 1) & 0x7F));
      i += 2;
    } else {
      const int k = (at(s, i + 1) & 0x7F) | 0x80;
      if (!in(k, 0xA1, 0xDF)) {
        pair(kGeta);
        i += 2;
        continue;
      }
      const int v = i + 3 < n && at(s, i + 2) == 0x8E ? voiced(k, at(s, i + 3)) : 0;
      pair(v ? v : kHankana[k - 0xA0]);
      i += v ? 4 : 2;
    }
  }
  return out;
}

}  // namespace detail

// --- The models, each named after the codec function it models -------------

inline std::string ToSjis(int row, int cell) {
  std::string out;
  detail::put_sjis(out, row, cell);
  return out;
}

inline std::string ToJis(int lead, int trail) {
  std::string out;
  detail::put_jis(out, lead, trail, 0);
  return out;
}

// Detection under the given STRICT_CHECK_LEN.
inline int InCodeCheck(const std::string& s, std::int32_t strict_check_len) {
  using detail::in;
  const std::int64_t n = static_cast<std::int64_t>(s.size());
  const std::int64_t k = std::min<std::int64_t>(strict_check_len, n - 1);
  for (std::int64_t i = 0; i < k; ++i) {
    const int c = detail::at(s, static_cast<std::size_t>(i));
    if (c < 0x08 || c == 0xFF) return 1;
  }
  // A byte past the end matches no value.
  auto at = [&](std::int64_t j) { return j < n ? static_cast<int>(detail::at(s, static_cast<std::size_t>(j))) : -1; };
  int result = 0;
  std::int64_t i = 0;
  while ((result == 0 || result == 6) && i < n - 1) {
    const int c = at(i);
    const int d = at(i + 1);
    if (c == 0x1B) {
      if (d == 0x24) {
        if (at(i + 2) == 0x42) result = 2;
        else if (at(i + 2) == 0x40) result = 3;
        i += 3;
      } else {
        i += 2;
      }
    } else if (c <= 0x07 || c == 0xFF) {
      result = 1;
      i += 1;
    } else if (c <= 0x7F || c == 0x80 || c == 0xA0) {
      i += 1;
    } else if (in(c, 0x81, 0x8D) || in(c, 0x8F, 0x9F)) {
      result = 5;
      i += 1;
    } else if (c == 0x8E) {
      if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0) || in(d, 0xE0, 0xFC)) result = 5;
      else if (in(d, 0xA1, 0xDF)) result = 6;
      i += 2;
    } else if (in(c, 0xA1, 0xDF)) {
      if (in(d, 0xF0, 0xFE)) {
        result = 4;
        i += 2;
      } else if (in(d, 0xA1, 0xDF)) {
        result = 6;
        i += 2;
      } else if (in(d, 0xE0, 0xEF)) {
        result = 6;
        std::int64_t j = i + 1;
        while (j < n && at(j) >= 0x40 && result == 6) {
          const int r = at(j);
          if (in(r, 0x81, 0x8D) || in(r, 0x8F, 0x9C)) result = 5;
          else if (r == 0xFD || r == 0xFE) result = 4;
          ++j;
        }
        i = j + 1;  // the byte that ended the run is not classified
      } else if (in(d, 0x00, 0x9F)) {
        result = 5;
        i += 2;
      } else {  // 0xA0, 0xFF
        i += 2;
      }
    } else if (in(c, 0xE0, 0xEF)) {
      if (in(d, 0x40, 0x7E) || in(d, 0x80, 0xA0)) result = 5;
      else if (d == 0xFD || d == 0xFE) result = 4;
      else if (in(d, 0xA1, 0xFC)) result = 6;
      i += 2;
    } else {  // 0xF0..0xFE
      result = 4;
      i += 1;
    }
  }
  return result;
}

inline std::string jis2euc(const std::string& s) { return detail::jis_decode(s, false); }
inline std::string jis2sjis(const std::string& s) { return detail::jis_decode(s, true); }
inline std::string euc2jis83(const std::string& s) { return detail::jis_encode(s, true); }
inline std::string sjis2jis83(const std::string& s) { return detail::jis_encode(s, false); }

inline std::string euc2sjis(const std::string& s) {
  std::string out;
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    const int c = detail::at(s, i);
    if (c <= 0x80 || c == 0xFF || i + 1 >= n) {
      detail::put(out, c);
      i += 1;
    } else if (c == 0x8E) {
      detail::put(out, detail::at(s, i + 1));
      i += 2;
    } else {
      detail::put_sjis(out, c & 0x7F, detail::at(s, i + 1) & 0x7F);
      i += 2;
    }
  }
  return out;
}

inline std::string sjis2euc(const std::string& s) {
  std::string out;
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    const int c = detail::at(s, i);
    if (detail::in(c, 0xA1, 0xDF)) {
      detail::put(out, 0x8E);
      detail::put(out, c);
      i += 1;
    } else if (c < 0x80 || i + 1 >= n) {
      detail::put(out, c);
      i += 1;
    } else {
      detail::put_jis(out, c, detail::at(s, i + 1), 0x80);
      i += 2;
    }
  }
  return out;
}

}  // namespace reference
