// The transfer-encoding and header commands of jconvert, run as users and
// scripts run them: a separate process, bytes in, bytes out, exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Jconvert.h"
#include "byte_assert.h"
#include "jconvert_runner.h"
#include "temp_file.h"

namespace {

using namespace std::string_literals;
using jconvert_test::jconvert;

// Every byte value, and more than one line of each encoding.
std::string sample_data() {
  std::string s;
  for (int i = 0; i < 300; ++i) s += static_cast<char>(i * 7);
  return s;
}

TEST(JconvertTransferCli, CommandsWriteExactlyTheCodecResult) {
  const std::string data = sample_data();
  const std::string sjis = "Re: \x8A\xBF\x8E\x9A (2)";
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string expected;
  } cases[] = {
      {{"base64-encode"}, data, EncodeBase64(data)},
      {{"base64-encode", "--line-break", "\\r\\n"}, data, EncodeBase64R(data, "\r\n")},
      {{"base64-encode", "--line-break=\\n"}, data, EncodeBase64R(data, "\n")},
      {{"base64-encode", "--line-break", ""}, data, EncodeBase64(data)},
      {{"base64-encode"}, "", ""},
      {{"base64-decode"}, EncodeBase64R(data, "\r\n"), data},
      {{"base64-decode"}, "YWJj\r\nYQ==", "abca"},
      {{"header-encode"}, sjis, CreateHeaderString(sjis)},
      {{"header-decode"}, "a =?iso-2022-jp?b?GyRCNEEbKEI=?= b", "a \x1B$B4A\x1B(B\x1B(J b"},
      // One value, folded or not; the line end that closes the input closes the output.
      {{"header-display"},
       "a =?UTF-8?B?5pel5pys?= =?iso-2022-jp?b?GyRCNEEbKEI=?=\r\n",
       "a \x93\xFA\x96\x7B\x8A\xBF\r\n"},
      {{"header-display"}, "=?utf-8?q?x?=\r\n =?utf-8?q?y?=\n", "xy\n"},
      {{"header-display"}, "\x93\xFA\t\x01", "\x93\xFA  "},
      {{"header-display"}, "", ""},
      {{"uu-encode"}, "Cat", "#0V%T\r\n`\r\n"},
      {{"uu-encode", "--line-break", "\\n"}, data, EncodeUU(data, "\n")},
      {{"uu-encode", "--line-break", ""}, "Cat", "#0V%T`"},
      {{"uu-decode"}, EncodeUU(data, "\r\n"), data},
      {{"binhex-encode"}, data, EncodeBinHex(data, "\r\n")},
      {{"binhex-encode", "--line-break", "\\x0D"}, data, EncodeBinHex(data, "\r")},
      {{"binhex-encode"}, "Cat", ":3f&d:"},
      {{"binhex-decode"}, EncodeBinHex(data, "\n"), data},
      {{"binhex-decode"}, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const auto r = jconvert(c.args, c.input);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_BYTES_EQ(r.out, c.expected);
    EXPECT_EQ(r.err, "");
  }
}

TEST(JconvertTransferCli, LineBreakEscapes) {
  const std::string data(57, 'x');  // exactly one Base64 line, then the break
  const struct {
    std::string text;
    std::string line_break;
  } cases[] = {
      {"\\r\\n", "\r\n"}, {"\\t", "\t"}, {"\\\\", "\\"},    {"\\x00\\xff", "\0\xFF"s},
      {"\\xAb", "\xAB"},  {"--", "--"},  {"a\\nb", "a\nb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = jconvert({"base64-encode", "--line-break", c.text}, data);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_BYTES_EQ(r.out, EncodeBase64R(data, c.line_break));
  }
}

TEST(JconvertTransferCli, UsageErrorsExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"base64-encode", "--line-break", "\\q"},
      {"uu-encode", "--line-break", "\\"},
      {"binhex-encode", "--line-break", "\\x4"},
      {"binhex-encode", "--line-break", "\\xZZ"},
      {"uu-encode", "--line-break"},
      {"base64-decode", "--line-break", "\\n"},  // not an option of a decoder
      {"header-encode", "a", "b"},
      {"header-display", "a", "b"},
      {"uu-decode", "--to", "euc"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const auto r = jconvert(args, "abc");
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
}

TEST(JconvertTransferCli, ReadsANamedFileAndReportsAnUnreadableOne) {
  std::string name;
  {
    const test_support::TempFile file("Cat");
    name = file.path();
    const auto r = jconvert({"uu-encode", "--line-break", "\\n", name});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_BYTES_EQ(r.out, "#0V%T\n`\n");
  }  // the file is gone from here on

  const auto missing = jconvert({"binhex-decode", name});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find(name), std::string::npos) << missing.err;
}

TEST(JconvertTransferCli, HelpListsEachCommandOnOneLine) {
  const auto r = jconvert({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  for (const char* command : {"base64-encode", "base64-decode", "header-encode", "header-decode", "header-display",
                              "uu-encode", "uu-decode", "binhex-encode", "binhex-decode"}) {
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = r.out.find(std::string("\n  ") + command + " ", p)) != std::string::npos; ++p) {
      ++lines;
    }
    EXPECT_EQ(lines, 1u) << command;
  }
}

TEST(JconvertTransferCli, LargeDataRoundTripsThroughPipes) {
  std::string data;
  for (int i = 0; i < 400000; ++i) data += static_cast<char>(i * 31 + i / 7);
  for (const auto& [encode, decode] : {std::pair{"base64-encode", "base64-decode"}, std::pair{"uu-encode", "uu-decode"},
                                       std::pair{"binhex-encode", "binhex-decode"}}) {
    SCOPED_TRACE(encode);
    const auto text = jconvert({encode, "--line-break", "\\r\\n"}, data);
    ASSERT_EQ(text.exit_code, 0) << text.err;
    const auto back = jconvert({decode}, text.out);
    ASSERT_EQ(back.exit_code, 0) << back.err;
    EXPECT_TRUE(back.out == data);
  }
}

}  // namespace
