#include <gtest/gtest.h>

#include <string>

#include "Jconvert.h"
#include "byte_assert.h"

namespace {

struct DetectCase {
  const char* name;
  std::string text;
  int expected;
};

std::string letters(std::size_t n) { return std::string(n, 'a'); }

class StrictCheckLenGuard {
 public:
  explicit StrictCheckLenGuard(std::int32_t value) : saved_(STRICT_CHECK_LEN) { STRICT_CHECK_LEN = value; }
  ~StrictCheckLenGuard() { STRICT_CHECK_LEN = saved_; }

 private:
  std::int32_t saved_;
};

TEST(InCodeCheck, DecidesByTheFirstEvidence) {
  using namespace std::string_literals;
  const DetectCase cases[] = {
      {"empty", "", JCODE_ASCII},
      {"one byte 0xFF", "\xFF", JCODE_ASCII},
      {"one byte ESC", "\x1B", JCODE_ASCII},
      {"last byte never examined", "abc\xFF", JCODE_ASCII},
      {"0xFF inside",
       "ab\xFF"
       "c",
       JCODE_BINARY},
      {"NUL inside", "a\0b"s, JCODE_BINARY},
      {"0x07 inside", "a\x07z", JCODE_BINARY},
      {"0x08 is text", "a\x08z", JCODE_ASCII},
      {"ESC $ B", "x\x1B$B$\"", JCODE_JIS83},
      {"ESC $ @", "\x1B$@$\"", JCODE_JIS78},
      {"ESC ( B only", "abc\x1B(Bdef", JCODE_ASCII},
      {"ESC $ other", "\x1B$Dxx", JCODE_ASCII},
      {"ESC $ at end", "ab\x1B$", JCODE_ASCII},
      {"JIS behind ESC ( B", "\x1B(B\x1B$B", JCODE_JIS83},
      {"ESC $ B then NUL", "\x1B$B\0zz"s, JCODE_BINARY},
      {"EUC hiragana", "\xA4\xA2\xA4\xA4", JCODE_EUC_OR_SJIS},
      {"SJIS hiragana", "\x82\xA0", JCODE_SJIS},
      {"EUC high trail", "\xA4\xF0", JCODE_EUC},
      {"halfwidth katakana alone", "\xB1\xB2\xB3", JCODE_EUC_OR_SJIS},
      {"halfwidth katakana then letters",
       "\xB1\xB2\xB3"
       "abc",
       JCODE_SJIS},
      {"run: 0x9C is SJIS", "\xA4\xE0\xE0\x9C", JCODE_SJIS},
      {"run: 0x9D decides nothing", "\xA4\xE0\xE0\x9D", JCODE_EUC_OR_SJIS},
      {"run: 0x9F decides nothing", "\xA4\xE0\xE0\x9F", JCODE_EUC_OR_SJIS},
      {"run: 0xFD is EUC", "\xA4\xE0\xE0\xFD", JCODE_EUC},
      {"run ends at space, SJIS lead after", "\xA4\xE0 \x82x", JCODE_SJIS},
      {"ESC ending a run is passed over", "\xA4\xE0\x1B$B", JCODE_EUC_OR_SJIS},
      {"ESC after the byte ending a run", "\xA4\xE0 \x1B$Bx", JCODE_JIS83},
      {"E0 3F undecided", "\xE0\x3Fx", JCODE_ASCII},
      {"A4 A0 undecided", "\xA4\xA0x", JCODE_ASCII},
      {"A4 FF at the end undecided", "\xA4\xFF", JCODE_ASCII},
      {"8E 41 is SJIS", "\x8E\x41x", JCODE_SJIS},
      {"8E B1 undecided", "\x8E\xB1x", JCODE_EUC_OR_SJIS},
      {"8E 3F unchanged", "\x8E\x3Fx", JCODE_ASCII},
      {"E0 40 is SJIS", "\xE0\x40x", JCODE_SJIS},
      {"E0 FD is EUC", "\xE0\xFDx", JCODE_EUC},
      {"E0 A1 undecided", "\xE0\xA1x", JCODE_EUC_OR_SJIS},
      {"F0 is EUC", "\xF0\xA1", JCODE_EUC},
      {"F0 as last byte", "ab\xF0", JCODE_ASCII},
      {"0x80 and 0xA0 are neutral", "\x80\xA0xy", JCODE_ASCII},
      {"only the first evidence counts", "\x82\xA0\x1B$B", JCODE_SJIS},
      {"A1..DF followed by 0x00..0x9F", "\xB1\x9F", JCODE_SJIS},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InCodeCheck(c.text), c.expected) << c.name;
  }
}

TEST(InCodeCheck, BinaryPreScanCoversStrictCheckLenBytes) {
  using namespace std::string_literals;
  const std::string jis = "\x1B$B";
  EXPECT_EQ(InCodeCheck(jis + "\0zz"s), JCODE_BINARY);
  // Behind ESC $ B and past the pre-scan the NUL is never looked at.
  EXPECT_EQ(InCodeCheck(jis + letters(508) + "\0zz"s), JCODE_BINARY) << "NUL is byte 512";
  EXPECT_EQ(InCodeCheck(jis + letters(509) + "\0zz"s), JCODE_JIS83) << "NUL is byte 513";
  // Plain letters: the main scan finds what the pre-scan leaves.
  EXPECT_EQ(InCodeCheck(letters(511) + "\0zz"s), JCODE_BINARY);
  EXPECT_EQ(InCodeCheck(letters(512) + "\0zz"s), JCODE_BINARY);
}

TEST(InCodeCheck, StrictCheckLenIsReadOnEveryCall) {
  using namespace std::string_literals;
  const std::string text = "\x1B$B" + letters(10) + "\0zz"s;
  {
    StrictCheckLenGuard guard(0);
    EXPECT_EQ(InCodeCheck(text), JCODE_JIS83);
  }
  {
    StrictCheckLenGuard guard(-5);
    EXPECT_EQ(InCodeCheck(text), JCODE_JIS83);
  }
  {
    StrictCheckLenGuard guard(14);
    EXPECT_EQ(InCodeCheck(text), JCODE_BINARY);
  }
  {
    StrictCheckLenGuard guard(14);
    EXPECT_EQ(InCodeCheck(text.substr(0, 14)), JCODE_JIS83) << "the last byte is outside the pre-scan";
  }
  EXPECT_EQ(STRICT_CHECK_LEN, 512);
}

TEST(InCodeCheck, SequencesCutShortByTheEndDecideByWhatIsThere) {
  // Each prefix is its own exactly-sized string, so an over-read shows
  // under ASan as well as in the result.
  const struct {
    std::string text;
    int prefix_results[5];  // for the lengths 0 .. size
  } cases[] = {
      {"\x1B$B", {JCODE_ASCII, JCODE_ASCII, JCODE_ASCII, JCODE_JIS83}},
      {"\xA4\xE0\xE0\xE0", {JCODE_ASCII, JCODE_ASCII, JCODE_EUC_OR_SJIS, JCODE_EUC_OR_SJIS, JCODE_EUC_OR_SJIS}},
      {"\xA4\xE0\x9C", {JCODE_ASCII, JCODE_ASCII, JCODE_EUC_OR_SJIS, JCODE_SJIS}},
      {"\x8E\xB1", {JCODE_ASCII, JCODE_ASCII, JCODE_EUC_OR_SJIS}},
      {"\xE0\xFD", {JCODE_ASCII, JCODE_ASCII, JCODE_EUC}},
  };
  for (const auto& c : cases) {
    for (std::size_t len = 0; len <= c.text.size(); ++len) {
      const std::string prefix(c.text.data(), len);
      EXPECT_EQ(InCodeCheck(prefix), c.prefix_results[len]) << test_support::hex_dump(prefix);
    }
  }
}

}  // namespace
