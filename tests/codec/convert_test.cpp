#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Jconvert.h"
#include "byte_assert.h"

namespace {

using namespace std::string_literals;
using Conversion = std::function<std::string(const std::string&)>;

struct ConvertCase {
  const char* name;
  Conversion convert;
  std::string input;
  std::string expected;
};

void run_cases(std::initializer_list<ConvertCase> cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(c.convert(c.input), c.expected);
  }
}

TEST(SingleCharacter, ArithmeticBothWays) {
  EXPECT_BYTES_EQ(ToSjis(0x24, 0x22), "\x82\xA0");
  EXPECT_BYTES_EQ(ToJis(0x82, 0xA0), "\x24\x22");
  EXPECT_BYTES_EQ(ToSjis(0x25, 0x22), "\x83\x41");
  EXPECT_BYTES_EQ(ToSjis(0x21, 0x21), "\x81\x40");
  EXPECT_BYTES_EQ(ToSjis(0x30, 0x21), "\x88\x9F");  // even row: cell + 0x7E
  EXPECT_BYTES_EQ(ToSjis(0x21, 0x60), "\x81\x80");  // odd row, cell from 0x60 skips 0x7F
  EXPECT_BYTES_EQ(ToSjis(0x5F, 0x21), "\xE0\x40");  // row 0x5F moves to the E0 block
  EXPECT_BYTES_EQ(ToSjis(0x74, 0x26), "\xEA\xA4");
  EXPECT_BYTES_EQ(ToJis(0xEA, 0xA4), "\x74\x26");
  EXPECT_BYTES_EQ(ToJis(0x81, 0x80), "\x21\x60");
  // No range check: out-of-range bytes wrap at 8 bits instead of failing.
  EXPECT_EQ(ToSjis(0xFF, 0xFF).size(), 2u);
  EXPECT_EQ(ToJis(0x00, 0x00).size(), 2u);
  EXPECT_BYTES_EQ(ToJis(0x00, 0x00), "\x1F\xE1");
}

TEST(JisDecoders, EscapesAndPairs) {
  run_cases({
      {"jis2sjis basic", jis2sjis, "\x1B$B\x24\x22\x1B(B", "\x82\xA0"},
      {"jis2euc basic", jis2euc, "\x1B$B\x24\x22\x1B(B", "\xA4\xA2"},
      {"jis2euc ESC $ @ like ESC $ B", jis2euc, "\x1B$@\x24\x22", "\xA4\xA2"},
      {"jis2euc ESC ( I leaves two-byte mode", jis2euc, "\x1B$B\x24\x22\x1B(I\x31", "\xA4\xA2\x31"},
      {"second escape behind the first is text", jis2euc, "\x1B(B\x1B$B\x24\x22", "\x1B$B\x24\x22"},
      {"jis2euc keeps CR LF in two-byte mode", jis2euc, "\x1B$B\x24\r\n\x22", "\xA4\r\n\xA2"},
      {"jis2sjis pairs CR LF in two-byte mode", jis2sjis, "\x1B$B\r\n", ToSjis(0x0D, 0x0A)},
      {"jis2euc ESC other keeps mode", jis2euc, "\x1B$B\x24\x22\x1BXY\x24\x22", "\xA4\xA2\xA4\xA2"},
      {"text ends inside an escape", jis2euc, "ab\x1B$", "ab"},
      {"text ends right after an escape", jis2sjis, "ab\x1B$B", "ab"},
      {"lone row byte at the end is kept", jis2sjis, "\x1B$B\x24\x22\x30", "\x82\xA0\x30"},
      {"single-byte mode copies 8-bit bytes", jis2sjis, "a\xB1\x82z", "a\xB1\x82z"},
      {"jis2sjis empty", jis2sjis, "", ""},
      {"jis2euc empty", jis2euc, "", ""},
  });
}

TEST(JisEncoders, ModeSwitchesAndKatakana) {
  run_cases({
      {"euc2jis83 no closing escape", euc2jis83, "\xA4\xA2", "\x1B$B\x24\x22"},
      {"euc2jis83 escape before CR only", euc2jis83, "\xA4\xA2\r\na", "\x1B$B\x24\x22\x1B(J\r\na"},
      {"sjis2jis83 mixed", sjis2jis83,
       "a\x82\xA0\x82\xA2"
       "b",
       "a\x1B$B\x24\x22\x24\x24\x1B(Jb"},
      {"voiced ka", sjis2jis83, "\xB6\xDE", "\x1B$B\x25\x2C"},
      {"semi-voiced ha", sjis2jis83, "\xCA\xDF", "\x1B$B\x25\x51"},
      {"ma does not combine", sjis2jis83, "\xCF\xDE", "\x1B$B\x25\x5E\x21\x2B"},
      {"vu", sjis2jis83, "\xB3\xDE", "\x1B$B\x25\x74"},
      {"ka with semi-voiced mark stays two", sjis2jis83, "\xB6\xDF", "\x1B$B\x25\x2B\x21\x2C"},
      {"to is the last voiced", sjis2jis83, "\xC4\xDE\xC5\xDE", "\x1B$B\x25\x49\x25\x4A\x21\x2B"},
      {"marks alone", sjis2jis83, "\xDE\xDF", "\x1B$B\x21\x2B\x21\x2C"},
      {"ideographic full stop and prolonged mark", sjis2jis83, "\xA1\xB0", "\x1B$B\x21\x23\x21\x3C"},
      {"katakana at the end", sjis2jis83, "\xCA", "\x1B$B\x25\x4F"},
      {"EUC katakana with mark", euc2jis83, "\x8E\xCA\x8E\xDF", "\x1B$B\x25\x51"},
      {"EUC katakana, mark not combining", euc2jis83, "\x8E\xB1\x8E\xDE", "\x1B$B\x25\x22\x21\x2B"},
      {"EUC katakana by low seven bits", euc2jis83, "\x8E\x31", "\x1B$B\x25\x22"},
      {"EUC 0x8E pair with no katakana gives the geta mark", euc2jis83, "\x8E\xA0z", "\x1B$B\x22\x2E\x1B(Jz"},
      {"EUC lone lead byte at the end is dropped", euc2jis83, "a\xA4", "a"},
      {"EUC lone 0x8E at the end is dropped", euc2jis83, "\xA4\xA2\x8E", "\x1B$B\x24\x22"},
      {"SJIS lone lead byte at the end is dropped", sjis2jis83, "a\x82", "a"},
      {"euc2jis83 empty", euc2jis83, "", ""},
      {"sjis2jis83 empty", sjis2jis83, "", ""},
  });
}

TEST(EucSjis, BothWays) {
  run_cases({
      {"sjis2euc katakana", sjis2euc, "\xB1", "\x8E\xB1"},
      {"euc2sjis katakana", euc2sjis, "\x8E\xB1", "\xB1"},
      {"sjis2euc kanji", sjis2euc,
       "a\x8A\xBF"
       "b",
       "a\xB4\xC1"
       "b"},
      {"euc2sjis kanji", euc2sjis,
       "a\xB4\xC1"
       "b",
       "a\x8A\xBF"
       "b"},
      {"euc2sjis passes 0x80 and 0xFF", euc2sjis, "\x80\xFF", "\x80\xFF"},
      {"euc2sjis lone lead at the end kept", euc2sjis, "\xA4\xA2\xA4", "\x82\xA0\xA4"},
      {"euc2sjis lone 0x8E at the end kept", euc2sjis, "a\x8E", "a\x8E"},
      {"sjis2euc lone lead at the end kept", sjis2euc, "\x82\xA0\x82", "\xA4\xA2\x82"},
      {"sjis2euc pairs without checking the trail", sjis2euc, "\x82\x0A", "\xA3\x6B"},
      {"sjis2euc empty", sjis2euc, "", ""},
      {"euc2sjis empty", euc2sjis, "", ""},
  });
}

TEST(Dispatch, ConvertJCodeFollowsTheDetectedSource) {
  const std::string euc_hiragana = "\xA4\xA2\xA4\xA4";
  const std::string jis78 = "\x1B$@\x24\x22";
  const std::string sjis = "\x82\xA0";
  const std::string euc = "\xA4\xA2\xA4\xF0";
  for (int target :
       {JCODE_ASCII, JCODE_BINARY, JCODE_JIS83, JCODE_JIS78, JCODE_EUC, JCODE_SJIS, JCODE_EUC_OR_SJIS, 7, -1}) {
    SCOPED_TRACE(target);
    EXPECT_BYTES_EQ(ConvertJCode(euc_hiragana, target), euc_hiragana);  // undecided: unchanged
    EXPECT_BYTES_EQ(ConvertJCode("plain", target), "plain");
  }
  EXPECT_BYTES_EQ(ConvertJCode(jis78, JCODE_JIS83), jis78);
  EXPECT_BYTES_EQ(ConvertJCode(jis78, JCODE_SJIS), "\x82\xA0");
  EXPECT_BYTES_EQ(ConvertJCode(sjis, JCODE_EUC), "\xA4\xA2");
  EXPECT_BYTES_EQ(ConvertJCode(sjis, JCODE_JIS83), "\x1B$B\x24\x22");
  EXPECT_BYTES_EQ(ConvertJCode(sjis, JCODE_JIS78), sjis);
  EXPECT_BYTES_EQ(ConvertJCode(sjis, JCODE_ASCII), sjis);
  EXPECT_BYTES_EQ(ConvertJCode(euc, JCODE_SJIS), "\x82\xA0\x82\xEE");
  EXPECT_BYTES_EQ(ConvertJCode(euc, JCODE_JIS83), "\x1B$B\x24\x22\x24\x70");
  EXPECT_BYTES_EQ(ConvertJCode(sjis, JCODE_SJIS), sjis);
}

TEST(Dispatch, StrictConvertJCodeUsesTheStatedSource) {
  const std::string text = "\xA4\xA2";  // undecided bytes, stated as EUC or SJIS
  EXPECT_BYTES_EQ(StrictConvertJCode(text, JCODE_EUC, JCODE_SJIS), "\x82\xA0");
  EXPECT_BYTES_EQ(StrictConvertJCode(text, JCODE_SJIS, JCODE_EUC), "\x8E\xA4\x8E\xA2");
  EXPECT_BYTES_EQ(StrictConvertJCode(text, JCODE_EUC, JCODE_EUC), text);
  EXPECT_BYTES_EQ(StrictConvertJCode("\x1B$B\x24\x22", JCODE_JIS78, JCODE_EUC), "\xA4\xA2");
  for (int source : {-3, JCODE_ASCII, JCODE_BINARY, JCODE_EUC_OR_SJIS}) {
    EXPECT_BYTES_EQ(StrictConvertJCode(text, source, JCODE_SJIS), text) << source;
  }
  for (int target : {JCODE_JIS83, JCODE_EUC, JCODE_SJIS}) {
    EXPECT_BYTES_EQ(StrictConvertJCode(text, 7, target), "") << target;
    EXPECT_BYTES_EQ(StrictConvertJCode(text, 100, target), "") << target;
  }
  EXPECT_BYTES_EQ(StrictConvertJCode(text, 7, JCODE_JIS78), text);
}

}  // namespace
