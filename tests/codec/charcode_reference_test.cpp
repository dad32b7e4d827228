// The conversions against plain byte-at-a-time versions of the same rules.
// The codec converts stretches of pairs sixteen bytes at a time, uses tables
// for the arithmetic and writes its output in blocks; these tests feed it
// well-formed, malformed and random text, every pair value and block edges,
// and expect exactly what the one-byte-at-a-time rules give.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "Jconvert.h"
#include "byte_assert.h"

namespace {

// --- Reference: the rules, one byte at a time -------------------------------

namespace ref {

using Bytes = std::string;
constexpr unsigned char ESC = 0x1B;

unsigned char at(const Bytes& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }
void put(Bytes& out, int b) { out += static_cast<char>(b & 0xFF); }

void to_sjis(Bytes& out, int row, int cell) {
  put(out, (row + 1) / 2 + (row < 0x5F ? 0x70 : 0xB0));
  put(out, row % 2 == 0 ? cell + 0x7E : cell + (cell <= 0x5F ? 0x1F : 0x20));
}

void to_jis(Bytes& out, int lead, int trail, int add) {
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

Bytes jis_decode(const Bytes& s, bool to_euc) {
  Bytes out;
  bool two_byte = false;
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    if (at(s, i) == ESC) {
      if (i + 1 < n && at(s, i + 1) == 0x24) two_byte = true;
      if (i + 1 < n && at(s, i + 1) == 0x28) two_byte = false;
      i += 3;
      if (i >= n) break;
    }
    const unsigned char c = at(s, i);
    if (!two_byte) {
      put(out, c);
      i += 1;
    } else if (to_euc) {
      put(out, c >= 0x21 && c <= 0x7E ? c + 0x80 : c);
      i += 1;
    } else if (i + 1 >= n) {
      put(out, c);
      i += 1;
    } else {
      to_sjis(out, c, at(s, i + 1));
      i += 2;
    }
  }
  return out;
}

// JIS X 0208 code of half-width katakana 0xA1..0xDF, from the standard table.
int hankana_code(int k) {
  static const int table[63] = {
      0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529, 0x2563, 0x2565,
      0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F, 0x2531, 0x2533,
      0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C,
      0x254D, 0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564,
      0x2566, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C};
  return table[k - 0xA1];
}

// Code of k combined with the mark, or 0.
int voiced(int k, int mark) {
  if (mark == 0xDE && k == 0xB3) return 0x2574;
  if (mark == 0xDE && ((k >= 0xB6 && k <= 0xC4) || (k >= 0xCA && k <= 0xCE))) return hankana_code(k) + 1;
  if (mark == 0xDF && k >= 0xCA && k <= 0xCE) return hankana_code(k) + 2;
  return 0;
}

Bytes jis_encode(const Bytes& s, bool from_euc) {
  Bytes out;
  bool two_byte = false;
  auto single = [&](int c) {
    if (two_byte) out += "\x1B(J";
    two_byte = false;
    put(out, c);
  };
  auto pair = [&](int a, int b) {
    if (!two_byte) out += "\x1B$B";
    two_byte = true;
    put(out, a);
    put(out, b);
  };
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = at(s, i);
    if (c < 0x80) {
      single(c);
      i += 1;
    } else if (!from_euc && c >= 0xA1 && c <= 0xDF) {
      const int v = i + 1 < n ? voiced(c, at(s, i + 1)) : 0;
      const int code = v ? v : hankana_code(c);
      pair(code >> 8, code & 0xFF);
      i += v ? 2 : 1;
    } else if (i + 1 >= n) {
      i += 1;  // a lone lead byte has no 7-bit form
    } else if (!from_euc) {
      Bytes two;
      to_jis(two, c, at(s, i + 1), 0);
      pair(at(two, 0), at(two, 1));
      i += 2;
    } else if (c != 0x8E) {
      pair(c & 0x7F, at(s, i + 1) & 0x7F);
      i += 2;
    } else {
      const int k = (at(s, i + 1) & 0x7F) | 0x80;
      if (k < 0xA1 || k > 0xDF) {
        pair(0x22, 0x2E);
        i += 2;
        continue;
      }
      const bool mark = i + 3 < n && at(s, i + 2) == 0x8E;
      const int v = mark ? voiced(k, at(s, i + 3)) : 0;
      const int code = v ? v : hankana_code(k);
      pair(code >> 8, code & 0xFF);
      i += v ? 4 : 2;
    }
  }
  return out;
}

Bytes euc2sjis(const Bytes& s) {
  Bytes out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = at(s, i);
    if (c <= 0x80 || c == 0xFF || i + 1 >= s.size()) {
      put(out, c);
      i += 1;
    } else if (c == 0x8E) {
      put(out, at(s, i + 1));
      i += 2;
    } else {
      to_sjis(out, c & 0x7F, at(s, i + 1) & 0x7F);
      i += 2;
    }
  }
  return out;
}

Bytes sjis2euc(const Bytes& s) {
  Bytes out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = at(s, i);
    if (c >= 0xA1 && c <= 0xDF) {
      put(out, 0x8E);
      put(out, c);
      i += 1;
    } else if (c < 0x80 || i + 1 >= s.size()) {
      put(out, c);
      i += 1;
    } else {
      to_jis(out, c, at(s, i + 1), 0x80);
      i += 2;
    }
  }
  return out;
}

}  // namespace ref

// --- The pairs of (fast, reference) -----------------------------------------

using Conversion = std::function<std::string(const std::string&)>;

struct Pair {
  const char* name;
  Conversion fast;
  Conversion reference;
};

const std::vector<Pair>& conversions() {
  static const std::vector<Pair> all = {
      {"jis2euc", jis2euc, [](const std::string& s) { return ref::jis_decode(s, true); }},
      {"jis2sjis", jis2sjis, [](const std::string& s) { return ref::jis_decode(s, false); }},
      {"euc2jis83", euc2jis83, [](const std::string& s) { return ref::jis_encode(s, true); }},
      {"sjis2jis83", sjis2jis83, [](const std::string& s) { return ref::jis_encode(s, false); }},
      {"euc2sjis", euc2sjis, ref::euc2sjis},
      {"sjis2euc", sjis2euc, ref::sjis2euc},
  };
  return all;
}

// Checks every conversion on text; reports the first failure of each.
void expect_all_match(const std::string& text, const std::string& what) {
  for (const Pair& c : conversions()) {
    const std::string expected = c.reference(text);
    const std::string actual = c.fast(text);
    if (actual != expected) {
      ADD_FAILURE() << c.name << " on " << what;
      EXPECT_BYTES_EQ(actual, expected);
    }
  }
}

// Text generators, each aimed at one code's structure and its malformed forms.
using Generator = std::function<void(std::mt19937&, std::string&)>;

const std::string kSpecial("\x1B$B(J@\r\n a\x21\x7E\x7F\x80\x8E\x8F\x9F\xA0\xA1\xB6\xCA\xDE\xDF\xE0\xEF\xF0\xFD\xFE\xFF\x00\x40\x9E",
                           33);

unsigned draw(std::mt19937& rng) { return static_cast<unsigned>(rng()); }
unsigned pick(std::mt19937& rng, unsigned lo, unsigned hi) { return lo + draw(rng) % (hi - lo + 1); }

void add(std::string& s, unsigned b) { s += static_cast<char>(b); }

const std::vector<std::pair<const char*, Generator>>& generators() {
  static const std::vector<std::pair<const char*, Generator>> all = {
      {"any bytes", [](std::mt19937& rng, std::string& s) { add(s, draw(rng) & 0xFF); }},
      {"special bytes", [](std::mt19937& rng, std::string& s) { s += kSpecial[draw(rng) % kSpecial.size()]; }},
      {"Shift_JIS-like",
       [](std::mt19937& rng, std::string& s) {
         const unsigned r = draw(rng) % 100;
         if (r < 75) {
           add(s, draw(rng) % 2 ? pick(rng, 0x81, 0x9F) : pick(rng, 0xE0, 0xFF));
           add(s, r < 65 ? pick(rng, 0x40, 0xFC) : draw(rng) & 0xFF);
         } else if (r < 85) {
           add(s, pick(rng, 0xA1, 0xDF));
         } else {
           s += kSpecial[draw(rng) % kSpecial.size()];
         }
       }},
      {"EUC-JP-like",
       [](std::mt19937& rng, std::string& s) {
         const unsigned r = draw(rng) % 100;
         if (r < 75) {
           add(s, pick(rng, 0x80, 0xFF));
           add(s, r < 70 ? pick(rng, 0xA1, 0xFE) : draw(rng) & 0xFF);
         } else if (r < 85) {
           add(s, 0x8E);
           add(s, r < 83 ? pick(rng, 0xA1, 0xDF) : draw(rng) & 0xFF);
         } else {
           s += kSpecial[draw(rng) % kSpecial.size()];
         }
       }},
      {"JIS-like",
       [](std::mt19937& rng, std::string& s) {
         const unsigned r = draw(rng) % 100;
         if (r < 5) s += "\x1B$B";
         else if (r < 8) s += "\x1B(J";
         else if (r < 10) s += "\x1B";
         else if (r < 80) {
           add(s, pick(rng, 0x21, 0x7E));
           add(s, pick(rng, 0x21, 0x7E));
         } else {
           s += kSpecial[draw(rng) % kSpecial.size()];
         }
       }},
  };
  return all;
}

TEST(FastPaths, MatchTheRulesOnGeneratedText) {
  std::mt19937 rng(20240611);
  for (const auto& [name, generate] : generators()) {
    for (int round = 0; round < 3000 && !HasFailure(); ++round) {
      const std::size_t length = draw(rng) % (round < 2000 ? 48 : 400);
      std::string text;
      while (text.size() < length) generate(rng, text);
      text.resize(length);
      expect_all_match(text, name);
    }
  }
}

// Each pair value repeated fills whole sixteen-byte stretches, then stands
// alone, behind a single byte (odd alignment) and at the very end; once as
// it is and once in JIS two-byte mode.
TEST(FastPaths, MatchTheRulesForEveryPairValue) {
  for (int first = 0; first < 256 && !HasFailure(); ++first) {
    std::string text;
    for (int second = 0; second < 256; ++second) {
      std::string pair{static_cast<char>(first), static_cast<char>(second)};
      for (int k = 0; k < 9; ++k) text += pair;
      text += "a" + pair + "\n";
    }
    text += static_cast<char>(first);
    expect_all_match(text, "pairs led by " + std::to_string(first));
    expect_all_match("\x1B$B" + text, "two-byte mode, pairs led by " + std::to_string(first));
  }
}

// The output is written in blocks of input; characters, sound marks and
// escape sequences that straddle a block edge must come out the same.
TEST(FastPaths, MatchTheRulesAcrossBlockEdges) {
  std::mt19937 rng(7);
  for (const auto& [name, generate] : generators()) {
    std::string text;
    while (text.size() < 70000) generate(rng, text);
    expect_all_match(text, std::string(name) + ", long");
    for (const std::string& piece : {std::string("\x82\xA0"), std::string("\xB6\xDE"), std::string("\x8E\xCA\x8E\xDF"),
                                     std::string("\x1B$B"), std::string("\x1B(J\x1B$B"), std::string("\x1B$B\x1B")}) {
      for (std::size_t edge : {std::size_t{16384}}) {
        for (std::size_t back = 0; back < piece.size() + 2; ++back) {
          std::string t = text.substr(0, edge - back) + piece + text.substr(0, 64);
          expect_all_match(t, std::string(name) + ", piece at a block edge");
        }
      }
    }
  }
}

}  // namespace
