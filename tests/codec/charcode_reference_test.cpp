// The conversions against plain byte-at-a-time versions of the same rules
// (tests/reference/, which the fuzz targets compare against too).
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
#include "charcode_reference.h"

namespace {

// --- The pairs of (fast, reference) -----------------------------------------

using Conversion = std::function<std::string(const std::string&)>;

struct Pair {
  const char* name;
  Conversion fast;
  Conversion reference;
};

const std::vector<Pair>& conversions() {
  static const std::vector<Pair> all = {
      {"jis2euc", jis2euc, reference::jis2euc},       {"jis2sjis", jis2sjis, reference::jis2sjis},
      {"euc2jis83", euc2jis83, reference::euc2jis83}, {"sjis2jis83", sjis2jis83, reference::sjis2jis83},
      {"euc2sjis", euc2sjis, reference::euc2sjis},    {"sjis2euc", sjis2euc, reference::sjis2euc},
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

const std::string kSpecial(
    "\x1B$B(J@\r\n a\x21\x7E\x7F\x80\x8E\x8F\x9F\xA0\xA1\xB6\xCA\xDE\xDF\xE0\xEF\xF0\xFD\xFE\xFF\x00\x40\x9E", 33);

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
