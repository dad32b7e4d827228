// Plain, slow models of the character-code rules, written from the rule
// text independently of the codec's sources, to compare the codec against.
//
// A conversion model returns its output and whether that output is the
// whole answer. At a spot where the rules leave the bytes to the
// implementation (a lead byte with nothing after it, an EUC 0x8E pair that
// names no katakana) the model stops: its output is then only a prefix that
// the codec's output must start with.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz::ref {

struct Result {
  std::string out;
  bool complete = true;
};

inline bool In(int c, int lo, int hi) { return c >= lo && c <= hi; }

inline unsigned char U(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

inline void Put(std::string& out, int b) { out += static_cast<char>(b & 0xFF); }

// Arithmetic in int, truncated to 8 bits at the end.
inline std::string ToSjis(int row, int cell) {
  const int lead = (row + 1) / 2 + (row < 0x5F ? 0x70 : 0xB0);
  const int trail = row % 2 == 0 ? cell + 0x7E : cell + (cell <= 0x5F ? 0x1F : 0x20);
  std::string r;
  Put(r, lead);
  Put(r, trail);
  return r;
}

inline std::string ToJis(int lead, int trail) {
  int row = lead < 0xA0 ? 2 * (lead - 0x70) : 2 * (lead - 0xB0);
  int cell;
  if (trail < 0x9F) {
    row -= 1;
    cell = trail <= 0x7F ? trail - 0x1F : trail - 0x20;
  } else {
    cell = trail - 0x7E;
  }
  std::string r;
  Put(r, row);
  Put(r, cell);
  return r;
}

// --- Detection --------------------------------------------------------------

inline int InCodeCheck(const std::string& s, std::int32_t strict_check_len) {
  const std::int64_t n = static_cast<std::int64_t>(s.size());
  const std::int64_t k = std::min<std::int64_t>(strict_check_len, n - 1);
  for (std::int64_t i = 0; i < k; ++i) {
    const int c = U(s, static_cast<std::size_t>(i));
    if (c < 0x08 || c == 0xFF) return 1;
  }
  // A byte past the end matches no value.
  auto at = [&](std::int64_t j) { return j < n ? static_cast<int>(U(s, static_cast<std::size_t>(j))) : -1; };
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
    } else if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9F)) {
      result = 5;
      i += 1;
    } else if (c == 0x8E) {
      if (In(d, 0x40, 0x7E) || In(d, 0x80, 0xA0) || In(d, 0xE0, 0xFC)) result = 5;
      else if (In(d, 0xA1, 0xDF)) result = 6;
      i += 2;
    } else if (In(c, 0xA1, 0xDF)) {
      if (In(d, 0xF0, 0xFE)) {
        result = 4;
        i += 2;
      } else if (In(d, 0xA1, 0xDF)) {
        result = 6;
        i += 2;
      } else if (In(d, 0xE0, 0xEF)) {
        result = 6;
        std::int64_t j = i + 1;
        while (j < n && at(j) >= 0x40 && result == 6) {
          const int r = at(j);
          if (In(r, 0x81, 0x8D) || In(r, 0x8F, 0x9C)) result = 5;
          else if (r == 0xFD || r == 0xFE) result = 4;
          ++j;
        }
        i = j + 1;  // the byte that ended the run is not classified
      } else if (In(d, 0x00, 0x9F)) {
        result = 5;
        i += 2;
      } else {  // 0xA0, 0xFF
        i += 2;
      }
    } else if (In(c, 0xE0, 0xEF)) {
      if (In(d, 0x40, 0x7E) || In(d, 0x80, 0xA0)) result = 5;
      else if (d == 0xFD || d == 0xFE) result = 4;
      else if (In(d, 0xA1, 0xFC)) result = 6;
      i += 2;
    } else {  // 0xF0..0xFE
      result = 4;
      i += 1;
    }
  }
  return result;
}

// --- JIS to EUC-JP and Shift_JIS --------------------------------------------

inline Result JisDecode(const std::string& s, bool to_sjis) {
  Result r;
  const std::size_t n = s.size();
  bool two_byte = false;
  std::size_t i = 0;
  while (i < n) {
    if (U(s, i) == 0x1B) {
      if (i + 1 < n) {
        if (U(s, i + 1) == 0x24) two_byte = true;
        else if (U(s, i + 1) == 0x28) two_byte = false;
      }
      i += 3;
      if (i >= n) break;
      // The byte after an escape sequence is a character, even ESC.
    }
    const int c = U(s, i);
    if (!to_sjis) {
      Put(r.out, two_byte && In(c, 0x21, 0x7E) ? c + 0x80 : c);
      i += 1;
    } else if (!two_byte) {
      Put(r.out, c);
      i += 1;
    } else if (i + 1 < n) {
      r.out += ToSjis(c, U(s, i + 1));
      i += 2;
    } else {
      r.complete = false;
      break;
    }
  }
  return r;
}

// --- Half-width katakana ----------------------------------------------------

// JIS X 0208 code of each katakana 0xA1..0xDF (index k - 0xA0).
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

// The voiced code of katakana k followed by mark, or 0 when they stay apart.
inline int Voiced(int k, int mark) {
  const int code = kHankana[k - 0xA0];
  if (mark == 0xDE) {
    if (k == 0xB3) return 0x2574;
    if (In(k, 0xB6, 0xC4) || In(k, 0xCA, 0xCE)) return code + 1;
  }
  if (mark == 0xDF && In(k, 0xCA, 0xCE)) return code + 2;
  return 0;
}

// --- EUC-JP and Shift_JIS to JIS --------------------------------------------

inline Result JisEncode(const std::string& s, bool from_euc) {
  Result r;
  const std::size_t n = s.size();
  bool two_byte = false;
  auto leave = [&] {
    if (two_byte) r.out += "\x1B(J";
    two_byte = false;
  };
  auto pair = [&](int code) {
    Put(r.out, code >> 8);
    Put(r.out, code);
  };
  std::size_t i = 0;
  while (i < n) {
    const int c = U(s, i);
    if (c < 0x80) {
      leave();
      Put(r.out, c);
      i += 1;
      continue;
    }
    if (i + 1 >= n && !(!from_euc && In(c, 0xA1, 0xDF))) {
      r.complete = false;  // a lead byte with nothing after it
      break;
    }
    if (from_euc && c == 0x8E) {
      const int k = (U(s, i + 1) & 0x7F) | 0x80;
      if (!In(k, 0xA1, 0xDF)) {
        r.complete = false;
        break;
      }
      if (!two_byte) r.out += "\x1B$B";
      two_byte = true;
      const int mark = i + 3 < n && U(s, i + 2) == 0x8E ? U(s, i + 3) : -1;
      const int voiced = mark >= 0 ? Voiced(k, mark) : 0;
      pair(voiced ? voiced : kHankana[k - 0xA0]);
      i += voiced ? 4 : 2;
      continue;
    }
    if (!two_byte) r.out += "\x1B$B";
    two_byte = true;
    if (!from_euc && In(c, 0xA1, 0xDF)) {
      const int mark = i + 1 < n ? U(s, i + 1) : -1;
      const int voiced = mark >= 0 ? Voiced(c, mark) : 0;
      pair(voiced ? voiced : kHankana[c - 0xA0]);
      i += voiced ? 2 : 1;
    } else if (from_euc) {
      Put(r.out, c & 0x7F);
      Put(r.out, U(s, i + 1) & 0x7F);
      i += 2;
    } else {
      r.out += ToJis(c, U(s, i + 1));
      i += 2;
    }
  }
  return r;
}

// --- EUC-JP and Shift_JIS to each other -------------------------------------

inline Result EucToSjis(const std::string& s) {
  Result r;
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const int c = U(s, i);
    if (c <= 0x80 || c == 0xFF) {
      Put(r.out, c);
      i += 1;
    } else if (i + 1 >= n) {
      r.complete = false;
      break;
    } else if (c == 0x8E) {
      Put(r.out, U(s, i + 1));
      i += 2;
    } else {
      r.out += ToSjis(c & 0x7F, U(s, i + 1) & 0x7F);
      i += 2;
    }
  }
  return r;
}

inline Result SjisToEuc(const std::string& s) {
  Result r;
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const int c = U(s, i);
    if (c <= 0x7F) {
      Put(r.out, c);
      i += 1;
    } else if (In(c, 0xA1, 0xDF)) {
      Put(r.out, 0x8E);
      Put(r.out, c);
      i += 1;
    } else if (i + 1 >= n) {
      r.complete = false;
      break;
    } else {
      const std::string j = ToJis(c, U(s, i + 1));
      Put(r.out, U(j, 0) + 0x80);
      Put(r.out, U(j, 1) + 0x80);
      i += 2;
    }
  }
  return r;
}

}  // namespace fuzz::ref
