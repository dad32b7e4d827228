#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Jconvert.h"
#include "byte_assert.h"
#include "src/transfer_length.h"
#include "transfer_test_util.h"

namespace {

using namespace std::string_literals;
using jconvert_detail::binhex_decoded_length;
using jconvert_detail::binhex_encoded_length;
using jconvert_detail::uu_decoded_length;
using jconvert_detail::uu_encoded_length;
using transfer_test::kLineBreaks;
using transfer_test::random_bytes;

struct BytesCase {
  const char* name;
  std::string input;
  std::string expected;
};

const std::string kFullZeroLine = "M" + std::string(60, '`');

// Random text over the characters that steer the decoders.
std::string random_text(std::mt19937& rng, const std::string& chars, std::size_t max_len) {
  std::string text(rng() % (max_len + 1), ' ');
  for (char& c : text) c = chars[rng() % chars.size()];
  return text;
}

// --- UU --------------------------------------------------------------------

TEST(EncodeUU, LinesAndTheClosingBackquoteLine) {
  const struct {
    const char* name;
    std::string data;
    std::string line_break;
    std::string expected;
  } cases[] = {
      {"Cat", "Cat", "\r\n", "#0V%T\r\n`\r\n"},
      {"one byte", "C", "\r\n", "!0P``\r\n`\r\n"},
      {"two bytes", "Ca", "\r\n", "\"0V$`\r\n`\r\n"},
      {"empty", "", "\r\n", "\r\n`\r\n"},
      {"45 bytes: empty line before the backquote", std::string(45, '\0'), "\r\n", kFullZeroLine + "\r\n\r\n`\r\n"},
      {"47 bytes", std::string(47, '\0'), "\r\n", kFullZeroLine + "\r\n\"````\r\n`\r\n"},
      {"90 bytes", std::string(90, '\0'), "\n", kFullZeroLine + "\n" + kFullZeroLine + "\n\n`\n"},
      {"LF", "Cat", "\n", "#0V%T\n`\n"},
      {"no line break", "Cat", "", "#0V%T`"},
      {"three-byte line break", "Cat", "<->", "#0V%T<->`<->"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(EncodeUU(c.data, c.line_break), c.expected);
  }
  EXPECT_EQ(EncodeUU(std::string(45, 'x'), "\r\n").size(), 68u);
}

TEST(DecodeUU, BodyLinesAsTheEncoderWritesThem) {
  const BytesCase cases[] = {
      {"Cat", "#0V%T\r\n`\r\n", "Cat"},
      {"empty data", "\r\n`\r\n", ""},
      {"empty text", "", ""},
      {"space is 0 in a group", "\"0V$ \r\n`\r\n", "Ca"},
      {"space line carries no data", "#0V%T\r\n \r\n", "Cat"},
      {"space length character", " \r\n", ""},
      {"backquote length character", "`\r\n", ""},
      {"full line then space line", kFullZeroLine + "\r\n \r\n", std::string(45, '\0')},
      {"bare CR", "#0V%T\r`\r", "Cat"},
      {"no line breaks", "#0V%T`", "Cat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeUU(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), uu_decoded_length(c.input));
  }
}

// Text outside the encoder's own form: the length is the counted one; a
// line cut short reads its missing characters as spaces, what stands after
// a line's groups is ignored, and a control character as length carries no
// data instead of taking bytes off the full lines before it.
TEST(DecodeUU, MalformedTextKeepsTheCountedLength) {
  const std::string data45 = random_bytes(42, 9) + "\0\0\0"s;
  std::string stripped = EncodeUU(data45, "\r\n");  // last group "````"
  stripped.erase(57, 4);
  std::string tab_line = EncodeUU(data45, "\r\n");
  tab_line[kFullZeroLine.size() + 4] = '\t';  // the backquote line
  const BytesCase cases[] = {
      {"trailing spaces stripped from a short line", "!0P\r\n`\r\n", "C"},
      {"trailing spaces stripped from a full line", stripped, data45},
      {"a check character after the groups", "!0P``Z\r\n`\r\n", "C"},
      {"control character as length", tab_line, data45},
      {"lines after the counted one", "#0V%T\r\n`\r\n#0V%T\r\n", "Cat"},
      {"text ends inside a group", "#0V", "C`\0"s},
      {"length character only", "#", "\0\0\0"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeUU(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), uu_decoded_length(c.input));
  }
  // A begin line is no body text: its first character is read as a length.
  const std::string with_begin = "begin 644 cat\r\n#0V%T\r\n`\r\nend\r\n";
  EXPECT_EQ(DecodeUU(with_begin).size(), std::size_t{'b' - 0x20});
}

TEST(UULength, CountedLengthFollowsTheLines) {
  const struct {
    std::string text;
    std::size_t expected;
  } cases[] = {
      {kFullZeroLine + "\r\n" + kFullZeroLine + "\r\n#0V%T\r\n", 93},
      {kFullZeroLine + kFullZeroLine + "`", 90},  // no separators
      {"M", 45},                                  // a full line cut off
      {"\r\n\r\n#", 3},
      {"\x01\r\n", 0},
      {"\xFF", 0xFF - 0x20},
      {"\r\n", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test_support::hex_dump(c.text));
    EXPECT_EQ(uu_decoded_length(c.text), c.expected);
    EXPECT_EQ(DecodeUU(c.text).size(), c.expected);
  }
}

TEST(UULength, EncodedAndDecodedLengthsAreTheRealSizes) {
  for (std::size_t n = 0; n <= 300; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n));
    for (const std::string lb : {"", "\r\n", "\n", "\r", "<->"}) {
      const std::string text = EncodeUU(data, lb);
      ASSERT_EQ(uu_encoded_length(n, lb.size()), text.size()) << n;
    }
  }
  std::mt19937 rng(21);
  const std::string chars = "M`!# 0V%T\r\n\x01\xFF";
  for (int round = 0; round < 3000; ++round) {
    const std::string text = random_text(rng, chars, 150);
    ASSERT_EQ(DecodeUU(text).size(), uu_decoded_length(text)) << test_support::hex_dump(text);
  }
}

TEST(DecodeUU, RoundTripsEveryLengthWithEveryLineBreak) {
  for (std::size_t n = 0; n <= 200; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n) + 500);
    for (const std::string& lb : kLineBreaks) ASSERT_BYTES_EQ(DecodeUU(EncodeUU(data, lb)), data) << n;
    // Written without separators the lines still come apart.
    ASSERT_BYTES_EQ(DecodeUU(EncodeUU(data, "")), data) << n;
  }
  const std::string big = random_bytes(100000, 1);
  EXPECT_BYTES_EQ(DecodeUU(EncodeUU(big, "\r\n")), big);
}

// --- BinHex ----------------------------------------------------------------

TEST(EncodeBinHex, ColonFramedGroupsWithoutPadding) {
  const BytesCase cases[] = {
      {"Cat", "Cat", ":3f&d:"},
      {"one byte", "C", ":3`:"},
      {"two bytes", "Ca", ":3f%:"},
      {"empty", "", "::"},
      {"first and last alphabet characters", "\x00\x0F\xFF"s, ":!!rr:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(EncodeBinHex(c.input, "\r\n"), c.expected);
  }
}

TEST(EncodeBinHex, BreaksAfterEvery64thCharacter) {
  const std::string data = random_bytes(48, 4);
  const std::string t46 = EncodeBinHex(data.substr(0, 46), "\r\n");
  EXPECT_EQ(t46.size(), 64u);
  EXPECT_EQ(t46.back(), ':');
  EXPECT_EQ(t46.find('\r'), std::string::npos);

  const std::string t47 = EncodeBinHex(data.substr(0, 47), "\r\n");
  EXPECT_EQ(t47.size(), 64u + 3);
  EXPECT_BYTES_EQ(t47.substr(64), "\r\n:");

  const std::string t48 = EncodeBinHex(data, "\r\n");
  EXPECT_EQ(t48.size(), 64u + 4);
  EXPECT_BYTES_EQ(t48.substr(64, 2), "\r\n");
  EXPECT_EQ(t48.back(), ':');
  // The break stands between the third and fourth character of a group.
  EXPECT_BYTES_EQ(t48.substr(0, 64) + t48.substr(66), EncodeBinHex(data, ""));

  // Later lines hold 64 characters each, and nothing follows the ":".
  const std::string big = EncodeBinHex(random_bytes(1000, 5), "\n");
  std::size_t pos = 0;
  for (std::size_t next; (next = big.find('\n', pos)) != std::string::npos; pos = next + 1) {
    EXPECT_EQ(next - pos, 64u);
  }
  EXPECT_LE(big.size() - pos, 64u);
  EXPECT_EQ(big.back(), ':');
}

TEST(DecodeBinHex, TextAsTheEncoderWritesIt) {
  const BytesCase cases[] = {
      {"Cat", ":3f&d:", "Cat"}, {"one byte", ":3`:", "C"}, {"two bytes", ":3f%:", "Ca"},
      {"two colons", "::", ""}, {"empty text", "", ""},    {"one colon", ":", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeBinHex(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), binhex_decoded_length(c.input));
  }
}

// Outside the encoder's form the length is the counted one. Line breaks
// anywhere and characters outside "!".."r" are ignored, any character left
// out of the alphabet ends the text, and a missing opening ":" costs no
// data character.
TEST(DecodeBinHex, MalformedTextKeepsTheCountedLength) {
  const BytesCase cases[] = {
      {"no closing colon", ":3f&d", "Ca"},
      {"no opening colon", "3f&d:", "Ca"},
      {"space inside a group", ":3f &d:", "Cat"},
      {"line break inside a group", ":3f\r\n&d:", "Cat"},
      {"line break before the opening colon", "\r\n:3f&d:", "Cat"},
      {"character above r", ":3f&ds:", "Cat"},
      {"left-out character ends the text", ":3f7d:", "C\0\0"s},
      {"text after the closing colon", ":3f&d:3f&d:", "Cat\0\0\0"s},
      {"lone character before the colon", ":3f&d3:", "Cat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeBinHex(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), binhex_decoded_length(c.input));
  }
}

TEST(BinHexLength, EncodedAndDecodedLengthsAreTheRealSizes) {
  for (std::size_t n = 0; n <= 300; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n));
    for (const std::string lb : {"", "\r\n", "\n", "\r", "<->"}) {
      ASSERT_EQ(binhex_encoded_length(n, lb.size()), EncodeBinHex(data, lb).size()) << n;
    }
  }
  std::mt19937 rng(31);
  const std::string chars = ":!r3f&d7\r\n s\x80";
  for (int round = 0; round < 3000; ++round) {
    const std::string text = random_text(rng, chars, 60);
    std::size_t rest = 0;
    for (char c : text) rest += c != '\r' && c != '\n';
    const std::size_t n = rest > 2 ? rest - 2 : 0;
    const std::size_t expected = 3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0);
    ASSERT_EQ(binhex_decoded_length(text), expected) << test_support::hex_dump(text);
    ASSERT_EQ(DecodeBinHex(text).size(), expected) << test_support::hex_dump(text);
  }
}

TEST(DecodeBinHex, RoundTripsEveryLengthWithEveryLineBreak) {
  for (std::size_t n = 0; n <= 200; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n) + 700);
    for (const std::string& lb : kLineBreaks) ASSERT_BYTES_EQ(DecodeBinHex(EncodeBinHex(data, lb)), data) << n;
    ASSERT_BYTES_EQ(DecodeBinHex(EncodeBinHex(data, "")), data) << n;
  }
}

}  // namespace
