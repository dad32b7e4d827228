#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Jconvert.h"
#include "byte_assert.h"
#include "src/transfer_length.h"
#include "transfer_test_util.h"

namespace {

using namespace std::string_literals;
using jconvert_detail::base64_decoded_length;
using jconvert_detail::base64_encoded_length;
using transfer_test::kLineBreaks;
using transfer_test::random_bytes;

struct BytesCase {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(EncodeBase64, GroupsAndPadding) {
  const BytesCase cases[] = {
      {"empty", "", ""},
      {"one byte", "a", "YQ=="},
      {"two bytes", "ab", "YWI="},
      {"three bytes", "abc", "YWJj"},
      {"RFC 4648 foobar", "foobar", "Zm9vYmFy"},
      {"RFC 4648 fooba", "fooba", "Zm9vYmE="},
      {"all bits set", "\xFF\xFF\xFF", "////"},
      {"top values", "\xFB\xEF\xBE", "++++"},
      {"zero bytes", "\0\0\0\0"s, "AAAAAA=="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(EncodeBase64(c.input), c.expected);
  }
}

TEST(EncodeBase64R, BreaksAfterEveryFullLineButNeverAfterThePaddedGroup) {
  const std::string line(76, 'A');  // 57 zero bytes
  const struct {
    std::size_t n;
    std::string line_break;
    std::string expected;
  } cases[] = {
      {56, "\r\n", std::string(72, 'A') + "AAA="},
      {57, "\r\n", line + "\r\n"},
      {58, "\r\n", line + "\r\n" + "AA=="},
      {59, "\r\n", line + "\r\n" + "AAA="},
      {114, "\r\n", line + "\r\n" + line + "\r\n"},
      {115, "\n", line + "\n" + line + "\n" + "AA=="},
      {57, "<->", line + "<->"},
      {58, "", line + "AA=="},
      {0, "\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    EXPECT_BYTES_EQ(EncodeBase64R(std::string(c.n, '\0'), c.line_break), c.expected);
  }
}

TEST(EncodeBase64R, EmptyLineBreakEqualsEncodeBase64) {
  for (std::size_t n = 0; n <= 200; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n));
    EXPECT_BYTES_EQ(EncodeBase64R(data, ""), EncodeBase64(data)) << n;
  }
}

TEST(EncodeBase64R, LinesHold76CharactersAndTheLineBreakBytes) {
  const std::string data = random_bytes(1000, 7);
  const std::string text = EncodeBase64R(data, "\x01\x02\x03");
  std::size_t lines = 0, pos = 0;
  for (std::size_t next; (next = text.find("\x01\x02\x03", pos)) != std::string::npos; pos = next + 3) {
    EXPECT_EQ(next - pos, 76u);
    ++lines;
  }
  EXPECT_EQ(lines, 1000u / 57);
  EXPECT_EQ(text.size() - pos, EncodeBase64(data).size() - lines * 76);
}

TEST(Base64Length, EncodedLengthIsTheRealOutputSize) {
  for (std::size_t n = 0; n <= 400; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n));
    for (const std::string lb : {"", "\r\n", "\n", "\r", "<->"}) {
      ASSERT_EQ(base64_encoded_length(n, lb.size()), EncodeBase64R(data, lb).size()) << n << " " << lb.size();
    }
    ASSERT_EQ(base64_encoded_length(n, 0), EncodeBase64(data).size());
  }
  EXPECT_EQ(base64_encoded_length(57, 2), 78u);
  EXPECT_EQ(base64_encoded_length(58, 2), 82u);
  EXPECT_EQ(base64_encoded_length(56, 2), 76u);
}

TEST(DecodeBase64, WellFormedText) {
  const BytesCase cases[] = {
      {"empty", "", ""},
      {"line breaks only", "\r\n\n\r\r\n", ""},
      {"one group", "YWJj", "abc"},
      {"padded", "YQ==", "a"},
      {"padded once", "YWI=", "ab"},
      {"lines of CR LF", "YWJj\r\nYQ==", "abca"},
      {"goes on after a padded group", "YQ==YWJj", "aabc"},
      {"padded group then line", "YQ==\r\nYWI=", "aab"},
      {"break before the first group", "\r\nYWJj\r\n", "abc"},
      {"all bits", "////", "\xFF\xFF\xFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeBase64(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), base64_decoded_length(c.input));
  }
}

TEST(DecodeBase64, LinesDecodeTheSameWithEveryLineBreak) {
  const std::string data = random_bytes(500, 3);
  const std::string crlf = EncodeBase64R(data, "\r\n");
  for (const std::string lb : {"\r\n", "\n", "\r"}) {
    std::string text = EncodeBase64R(data, lb);
    EXPECT_BYTES_EQ(DecodeBase64(text), data);
  }
  EXPECT_BYTES_EQ(DecodeBase64(crlf + "\r\n\r\n"), data);
}

// Malformed text keeps the counted length: characters other than CR, LF
// and "=", three bytes for every four, k - 1 for a short tail. Within it
// the decoder ignores what is outside the alphabet and line breaks
// anywhere, lets "=" end its group, reads a group cut short by the end as
// padded, and leaves positions no group fills zero.
TEST(DecodeBase64, MalformedTextKeepsTheCountedLength) {
  const BytesCase cases[] = {
      {"space inside a group is ignored", "YW Jj", "abc"},
      {"tab and high bytes are ignored", "Y\tWJ\xFFj", "abc\0"s},
      {"line break inside a group is ignored", "YW\r\nJj", "abc"},
      {"line of five characters", "YWJjY\r\nQ==", "abca"},
      {"tail of three characters", "YWJjYWI", "abcab"},
      {"tail of two characters", "YWJjYQ", "abca"},
      {"tail of one character gives nothing", "YWJjY", "abc"},
      {"= opening a group", "=YWJj", "abc"},
      {"= in the second place ends a group of one", "Y=WJj", "X\x98\0"s},
      {"two padded groups leave a zero", "YQ==YQ==", "aa\0"s},
      {"characters after = in a group", "YQ=A", "a\0"s},
      {"only padding", "====", ""},
      {"garbage only", "!!!!", "\0\0\0"s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = DecodeBase64(c.input);
    EXPECT_BYTES_EQ(out, c.expected);
    EXPECT_EQ(out.size(), base64_decoded_length(c.input));
  }
}

// The counting rule written out plainly, against the decoder's real size
// for random text over the characters that matter.
TEST(Base64Length, DecodedLengthIsTheRealOutputSize) {
  std::mt19937 rng(11);
  const std::string chars = "AZaz09+/=\r\n \x80\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 40, ' ');
    for (char& c : text) c = chars[rng() % chars.size()];
    std::size_t n = 0;
    for (char c : text) n += c != '\r' && c != '\n' && c != '=';
    const std::size_t expected = 3 * (n / 4) + (n % 4 ? n % 4 - 1 : 0);
    ASSERT_EQ(base64_decoded_length(text), expected) << test_support::hex_dump(text);
    ASSERT_EQ(DecodeBase64(text).size(), expected) << test_support::hex_dump(text);
  }
  // Long enough for the wide counting loops and their tails.
  const std::string data = random_bytes(9999, 5);
  const std::string text = EncodeBase64R(data, "\r\n") + "YQ";
  EXPECT_EQ(base64_decoded_length(text), 10000u);
  EXPECT_BYTES_EQ(DecodeBase64(text), data + "a");
}

TEST(DecodeBase64, RoundTripsEveryLengthWithEveryLineBreak) {
  for (std::size_t n = 0; n <= 200; ++n) {
    const std::string data = random_bytes(n, static_cast<unsigned>(n) + 1000);
    ASSERT_BYTES_EQ(DecodeBase64(EncodeBase64(data)), data) << n;
    for (const std::string& lb : kLineBreaks) {
      ASSERT_BYTES_EQ(DecodeBase64(EncodeBase64R(data, lb)), data) << n;
    }
  }
}

}  // namespace
