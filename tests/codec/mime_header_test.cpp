#include <gtest/gtest.h>

#include <string>

#include "Jconvert.h"
#include "byte_assert.h"
#include "src/mime_header.h"

namespace {

using namespace std::string_literals;

struct BytesCase {
  const char* name;
  std::string input;
  std::string expected;
};

const std::string kEscRoman = "\x1B(J";
const std::string kKanJis = "\x1B$B4A\x1B(B";  // a JIS word as mailers write it

std::string word(const std::string& jis) { return "=?ISO-2022-JP?B?" + EncodeBase64(jis) + "?="; }

TEST(CodePage932LeadBytes, AnswerAsTheCodePageDoes) {
  int leads = 0;
  for (int c = 0; c < 256; ++c) {
    const bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    EXPECT_EQ(jconvert_detail::is_cp932_lead_byte(static_cast<unsigned char>(c)), expected) << c;
    leads += expected;
  }
  EXPECT_EQ(leads, 31 + 29);
  for (int edge : {0x80, 0xA0, 0xA1, 0xDF, 0xFD, 0xFF}) {
    EXPECT_FALSE(jconvert_detail::is_cp932_lead_byte(static_cast<unsigned char>(edge))) << edge;
  }
}

TEST(DecodeHeaderString, ReplacesEachWordByItsBytesAndEscRoman) {
  const BytesCase cases[] = {
      {"no word", "Hello, world", "Hello, world"},
      {"empty", "", ""},
      {"lower-case prefix", "=?iso-2022-jp?b?GyRCNEEbKEI=?=", kKanJis + kEscRoman},
      {"mixed-case prefix", "=?Iso-2022-Jp?B?GyRCNEEbKEI=?=", kKanJis + kEscRoman},
      {"text around a word", "Re: " + word(kKanJis) + " (2)", "Re: " + kKanJis + kEscRoman + " (2)"},
      {"two words and a space", word("ab") + " " + word("cd"), "ab" + kEscRoman + " cd" + kEscRoman},
      {"folded words keep the fold", word("ab") + "\r\n " + word("cd"), "ab" + kEscRoman + "\r\n cd" + kEscRoman},
      {"empty encoded text",
       "x=?ISO-2022-JP?B?"
       "?=y",
       "x" + kEscRoman + "y"},
      {"no closing ?= loses the prefix", "Subj =?ISO-2022-JP?B?GyRC", "Subj GyRC"},
      {"?= before the word does not end it", "a?= " + word("abc"), "a?= abc" + kEscRoman},
      {"?= in an earlier word's bytes", word("?=") + " " + word("abc"), "?=" + kEscRoman + " abc" + kEscRoman},
      {"other charset passes", "=?UTF-8?B?YWJj?=", "=?UTF-8?B?YWJj?="},
      {"Q encoding passes", "=?ISO-2022-JP?Q?abc?=", "=?ISO-2022-JP?Q?abc?="},
      {"prefix cut off at the end", "x =?ISO-2022-JP?", "x =?ISO-2022-JP?"},
      {"two unclosed prefixes", "=?ISO-2022-JP?B?=?ISO-2022-JP?B?YQ", "YQ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(DecodeHeaderString(c.input), c.expected);
  }
}

// Decoded bytes are data, not header text: they are never searched for
// further words, and removing a prefix never joins the text around it
// into a new one.
TEST(DecodeHeaderString, DecodedBytesAreNotReadAgain) {
  const std::string inner = word("abc");
  EXPECT_BYTES_EQ(DecodeHeaderString(word(inner)), inner + kEscRoman);
  EXPECT_BYTES_EQ(DecodeHeaderString("=?ISO-2022-=?ISO-2022-JP?B?JP?B?YWJj"), "=?ISO-2022-JP?B?YWJj");
  // A prefix split between the text and a word's bytes stays as it is.
  EXPECT_BYTES_EQ(DecodeHeaderString("=?ISO-2022-JP" + word("?B?") + "YWJj?="),
                  "=?ISO-2022-JP?B?" + kEscRoman + "YWJj?=");
}

TEST(DecodeHeaderString, ManyUnclosedPrefixesAllGo) {
  std::string value, expected;
  for (int i = 0; i < 100000; ++i) {
    value += "=?iso-2022-jp?b?ab";
    expected += "ab";
  }
  EXPECT_BYTES_EQ(DecodeHeaderString(value), expected);
  EXPECT_BYTES_EQ(DecodeHeaderString(word("abc") + value), "abc" + kEscRoman + expected);
}

TEST(DecodeHeaderString, MalformedBase64KeepsItsCountedLength) {
  // Five characters count as three bytes; the space is not in the alphabet.
  EXPECT_BYTES_EQ(DecodeHeaderString("=?ISO-2022-JP?B?YW Jj?="), "abc" + kEscRoman);
  EXPECT_BYTES_EQ(DecodeHeaderString("=?ISO-2022-JP?B?YQ==YQ==?="), "aa\0"s + kEscRoman);
}

TEST(CreateHeaderString, RunsOfDoubleByteCharactersBecomeWords) {
  const std::string kan = "\x8A\xBF";  // Shift_JIS for the JIS X 0208 character 0x3441
  const BytesCase cases[] = {
      {"ASCII unchanged", "Hello, world", "Hello, world"},
      {"empty", "", ""},
      {"one character", kan, "=?ISO-2022-JP?B?GyRCNEE=?="},
      {"no spaces added", "abc" + kan + "def", "abc=?ISO-2022-JP?B?GyRCNEE=?=def"},
      {"a space between two runs", kan + " " + kan, "=?ISO-2022-JP?B?GyRCNEE=?= =?ISO-2022-JP?B?GyRCNEE=?="},
      {"one word for a run", kan + kan + "\x82\xA0", "=?ISO-2022-JP?B?" + EncodeBase64("\x1B$B4A4A$\"") + "?="},
      {"half-width katakana stay", "\xB1\xB2 \xDF", "\xB1\xB2 \xDF"},
      {"katakana ends a run", kan + "\xB1", "=?ISO-2022-JP?B?GyRCNEE=?=\xB1"},
      {"control bytes stay", "a\tb\r\n", "a\tb\r\n"},
      {"lone lead byte at the end stays", "a\x8A", "a\x8A"},
      {"lone lead byte after a run", kan + "\x8A", "=?ISO-2022-JP?B?GyRCNEE=?=\x8A"},
      {"trail byte of any value", "\x81\x0A", "=?ISO-2022-JP?B?" + EncodeBase64(sjis2jis83("\x81\x0A")) + "?="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(CreateHeaderString(c.input), c.expected);
  }
}

TEST(CreateHeaderString, DecodesBackToTheShiftJisText) {
  const std::string texts[] = {
      "\x8A\xBF\x8E\x9A",
      "Re: \x82\xA0\x82\xA2 (\x8A\xBF) end",
      "\x83\x65\x83\x58\x83\x67 mail \x81\x99",
      "plain",
      "\x88\x9F\xEA\xA4 x \xE0\x40",
  };
  for (const std::string& sjis : texts) {
    SCOPED_TRACE(test_support::hex_dump(sjis));
    const std::string decoded = DecodeHeaderString(CreateHeaderString(sjis));
    EXPECT_BYTES_EQ(StrictConvertJCode(decoded, JCODE_JIS83, JCODE_SJIS), sjis);
  }
}

}  // namespace
