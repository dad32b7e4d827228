// The conversions checked against glibc iconv over every character that iconv
// defines in JIS X 0208, and against Unicode's full-width forms for the
// half-width katakana.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Jconvert.h"
#include "byte_assert.h"
#include "iconv_oracle.h"

namespace {

using test_support::iconv_convert;

struct Character {
  unsigned char row, cell;
  std::string utf8;
  std::string euc() const { return {static_cast<char>(row | 0x80), static_cast<char>(cell | 0x80)}; }
};

// Every JIS X 0208 code point that iconv's EUC-JP knows.
const std::vector<Character>& jis_x0208() {
  static const std::vector<Character> chars = [] {
    std::vector<Character> v;
    for (int row = 0x21; row <= 0x7E; ++row) {
      for (int cell = 0x21; cell <= 0x7E; ++cell) {
        Character c{static_cast<unsigned char>(row), static_cast<unsigned char>(cell), {}};
        if (auto u = iconv_convert(c.euc(), "EUC-JP", "UTF-8")) {
          c.utf8 = *u;
          v.push_back(c);
        }
      }
    }
    return v;
  }();
  return chars;
}

TEST(IconvCrossCheck, OracleCoversJisX0208) {
  // JIS X 0208-1990 assigns 6879 characters; glibc may add a few extensions.
  EXPECT_GE(jis_x0208().size(), 6879u);
}

TEST(IconvCrossCheck, EucAndShiftJisAgreeWithIconv) {
  int compared = 0;
  std::vector<std::string> iconv_differs;
  for (const Character& c : jis_x0208()) {
    const auto sjis = iconv_convert(c.utf8, "UTF-8", "SHIFT_JIS");
    if (!sjis) {
      // glibc's SHIFT_JIS maps a few codes to other Unicode characters than
      // its EUC-JP does (the reverse solidus, for one); nothing to compare.
      iconv_differs.push_back(test_support::hex_dump(c.euc()));
      continue;
    }
    ++compared;
    ASSERT_BYTES_EQ(euc2sjis(c.euc()), *sjis) << c.utf8;
    ASSERT_BYTES_EQ(sjis2euc(*sjis), c.euc()) << c.utf8;
    ASSERT_BYTES_EQ(ToSjis(c.row, c.cell), *sjis) << c.utf8;
    ASSERT_BYTES_EQ(ToJis(static_cast<unsigned char>((*sjis)[0]), static_cast<unsigned char>((*sjis)[1])),
                    std::string({static_cast<char>(c.row), static_cast<char>(c.cell)}));
  }
  EXPECT_GE(compared, 6870);
  EXPECT_LE(iconv_differs.size(), 10u) << "codes iconv maps differently: " << ::testing::PrintToString(iconv_differs);
}

// One row of text: the characters of a JIS row with ASCII letters and line
// ends between some of them, so every mode switch gets exercised. Letters
// only: ESC ( J makes 0x5C and 0x7E mean other characters than in ASCII.
struct MixedText {
  std::string utf8, euc, sjis;
};

std::vector<MixedText> mixed_rows() {
  std::vector<MixedText> rows;
  MixedText t;
  unsigned char last_row = 0;
  int n = 0;
  for (const Character& c : jis_x0208()) {
    if (c.row != last_row && !t.utf8.empty()) {
      rows.push_back(t);
      t = {};
    }
    last_row = c.row;
    t.utf8 += c.utf8;
    t.euc += c.euc();
    if (auto s = iconv_convert(c.utf8, "UTF-8", "SHIFT_JIS")) t.sjis += *s;
    else t.sjis += ToSjis(c.row, c.cell);
    const char* sep = (++n % 7 == 0) ? "ab" : (n % 11 == 0) ? "\r\n" : (n % 13 == 0) ? "x\n" : "";
    t.utf8 += sep;
    t.euc += sep;
    t.sjis += sep;
  }
  rows.push_back(t);
  return rows;
}

TEST(IconvCrossCheck, JisTextsDecodeLikeIconvDoes) {
  for (const MixedText& t : mixed_rows()) {
    // Our JIS output, read back by iconv, is the same text.
    const auto from_euc = iconv_convert(euc2jis83(t.euc), "ISO-2022-JP", "EUC-JP");
    ASSERT_TRUE(from_euc.has_value()) << "iconv rejects euc2jis83 output";
    EXPECT_BYTES_EQ(*from_euc, t.euc);
    const auto from_sjis = iconv_convert(sjis2jis83(t.sjis), "ISO-2022-JP", "EUC-JP");
    ASSERT_TRUE(from_sjis.has_value()) << "iconv rejects sjis2jis83 output";
    EXPECT_BYTES_EQ(*from_sjis, t.euc);

    // iconv's JIS (closing with ESC ( B) read by our decoders.
    const auto jis = iconv_convert(t.euc, "EUC-JP", "ISO-2022-JP");
    ASSERT_TRUE(jis.has_value());
    EXPECT_BYTES_EQ(jis2euc(*jis), t.euc);
    EXPECT_BYTES_EQ(jis2sjis(*jis), t.sjis);
    EXPECT_EQ(InCodeCheck(*jis), JCODE_JIS83);
  }
}

// Half-width katakana 0xA1..0xDF and the full-width characters they become on
// the way to JIS, written out independently of the codec's table.
const char kFullWidthKatakana[] =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリル"
    "レロワン゛゜";

TEST(IconvCrossCheck, HalfWidthKatakana) {
  std::string hankana;
  for (int k = 0xA1; k <= 0xDF; ++k) hankana += static_cast<char>(k);
  ASSERT_TRUE(iconv_convert(hankana, "SHIFT_JIS", "UTF-8").has_value());

  // EUC-JP and Shift_JIS keep them half-width, as iconv does.
  const auto euc = iconv_convert(hankana, "SHIFT_JIS", "EUC-JP");
  ASSERT_TRUE(euc.has_value());
  EXPECT_BYTES_EQ(sjis2euc(hankana), *euc);
  EXPECT_BYTES_EQ(euc2sjis(*euc), hankana);

  // JIS has no half-width form: they become full-width, one by one (no two
  // neighbours here combine with a sound mark except the last pair, which
  // are the marks themselves).
  const auto expected = iconv_convert(kFullWidthKatakana, "UTF-8", "ISO-2022-JP");
  ASSERT_TRUE(expected.has_value());
  const auto ours_from_sjis = iconv_convert(sjis2jis83(hankana), "ISO-2022-JP", "UTF-8");
  const auto ours_from_euc = iconv_convert(euc2jis83(*euc), "ISO-2022-JP", "UTF-8");
  ASSERT_TRUE(ours_from_sjis.has_value());
  ASSERT_TRUE(ours_from_euc.has_value());
  EXPECT_EQ(*ours_from_sjis, kFullWidthKatakana);
  EXPECT_EQ(*ours_from_euc, kFullWidthKatakana);
}

TEST(IconvCrossCheck, VoicedHalfWidthKatakanaCombine) {
  // Each katakana that takes a mark, followed by it: one full-width character.
  const struct {
    std::string sjis;
    const char* utf8;
  } cases[] = {
      {"\xB3\xDE", "ヴ"}, {"\xB6\xDE", "ガ"},   {"\xBB\xDE", "ザ"},   {"\xC0\xDE", "ダ"},
      {"\xC4\xDE", "ド"}, {"\xCA\xDE", "バ"},   {"\xCE\xDE", "ボ"},   {"\xCA\xDF", "パ"},
      {"\xCE\xDF", "ポ"}, {"\xCF\xDE", "マ゛"}, {"\xB6\xDF", "カ゜"}, {"\xB1\xDE", "ア゛"},
  };
  for (const auto& c : cases) {
    const auto decoded = iconv_convert(sjis2jis83(c.sjis), "ISO-2022-JP", "UTF-8");
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, c.utf8);
    std::string euc;
    for (char k : c.sjis) euc += std::string("\x8E") + k;
    EXPECT_BYTES_EQ(euc2jis83(euc), sjis2jis83(c.sjis));
  }
}

TEST(RoundTrips, WholeNinetyFourByNinetyFourSet) {
  std::string euc, sjis;
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const auto r = static_cast<unsigned char>(row), c = static_cast<unsigned char>(cell);
      const std::string s = ToSjis(r, c);
      ASSERT_BYTES_EQ(ToJis(static_cast<unsigned char>(s[0]), static_cast<unsigned char>(s[1])),
                      std::string({static_cast<char>(r), static_cast<char>(c)}));
      euc += static_cast<char>(r | 0x80);
      euc += static_cast<char>(c | 0x80);
      sjis += s;
    }
    euc += "\r\n";
    sjis += "\r\n";
  }
  EXPECT_BYTES_EQ(euc2sjis(euc), sjis);
  EXPECT_BYTES_EQ(sjis2euc(sjis), euc);
  EXPECT_BYTES_EQ(jis2euc(euc2jis83(euc)), euc);
  EXPECT_BYTES_EQ(jis2sjis(sjis2jis83(sjis)), sjis);
  EXPECT_BYTES_EQ(jis2sjis(euc2jis83(euc)), sjis);
  EXPECT_BYTES_EQ(jis2euc(sjis2jis83(sjis)), euc);
  EXPECT_BYTES_EQ(euc2jis83(euc), sjis2jis83(sjis));
}

}  // namespace
