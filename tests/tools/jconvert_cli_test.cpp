// jconvert as users and scripts reach it: a separate process, bytes in,
// bytes out, exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Jconvert.h"
#include "byte_assert.h"
#include "jconvert_runner.h"
#include "temp_dir.h"
#include "temp_file.h"

namespace {

using jconvert_test::jconvert;
using test_support::TempFile;

TEST(JconvertCli, ConversionsWriteExactlyTheResultBytes) {
  const std::string sjis = "a\x82\xA0\xB1\r\n";
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::string expected;
  } cases[] = {
      {{"convert", "--to", "euc"}, sjis, sjis2euc(sjis)},
      {{"convert", "--to", "jis"}, sjis, "a\x1B$B\x24\x22\x25\x22\x1B(J\r\n"},
      {{"convert", "--to", "jis83"}, sjis, sjis2jis83(sjis)},
      {{"convert", "--to=5", "--from", "euc"}, "\xA4\xA2", "\x82\xA0"},
      {{"convert", "--from", "sjis", "--to", "euc"}, "\xA4\xA2", "\x8E\xA4\x8E\xA2"},
      {{"convert", "--to", "sjis"}, "\xA4\xA2", "\xA4\xA2"},  // undecided: unchanged
      {{"convert", "--to", "sjis", "--from", "7"}, "\xA4\xA2", ""},
      {{"convert", "--to", "-1"}, sjis, sjis},
      {{"convert", "--to", "euc"}, "", ""},
      {{"guess"}, sjis, "JCODE_SJIS\n"},
      {{"guess"}, "", "JCODE_ASCII\n"},
      {{"guess"}, "\xA4\xA2\xA4\xA4", "JCODE_EUC_OR_SJIS\n"},
      {{"guess"}, "x\x1B$@", "JCODE_JIS78\n"},
      {{"--strict-check-len", "0", "guess"}, std::string("\x1B$B\0zz", 6), "JCODE_JIS83\n"},
      {{"guess"}, std::string("\x1B$B\0zz", 6), "JCODE_BINARY\n"},
      {{"eol-guess"}, "x\r\ny", "RETCODE_CRLF\n"},
      {{"eol-guess"}, "xy", "RETCODE_NONE\n"},
      {{"eol", "--to", "lf"}, "x\r\ny\r\n", "x\ny\n"},
      {{"eol", "--to", "crlf", "--from", "cr"}, "x\ry\n", "x\r\ny\n"},
      {{"eol", "--to", "none"}, "x\r\ny", "xy"},
      {{"eol", "--to", "9"}, "x\ny", "xy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const auto r = jconvert(c.args, c.input);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_BYTES_EQ(r.out, c.expected);
    EXPECT_EQ(r.err, "");
  }
}

TEST(JconvertCli, ReadsANamedFile) {
  TempFile file("\x82\xA0");
  const auto r = jconvert({"convert", "--to", "euc", file.path()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_BYTES_EQ(r.out, "\xA4\xA2");
  const auto dash = jconvert({"guess", "-"}, "\x82\xA0");
  EXPECT_EQ(dash.out, "JCODE_SJIS\n");
}

TEST(JconvertCli, UsageErrorsExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"convert"},  // --to is required
      {"convert", "--to", "klingon"},
      {"convert", "--to", "99999999999"},  // not an int
      {"convert", "--to"},
      {"convert", "--to", "euc", "--bogus", "1"},
      {"guess", "a", "b"},
      {"eol", "--to", "crlf", "--from", "lfcr"},
      {"--strict-check-len", "x", "guess"},
      {"guess", "--to", "euc"},  // not an option of guess
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

TEST(JconvertCli, UnreadableFileExitsOneNamingIt) {
  const test_support::TempDir dir;
  for (const std::string& path : {dir.File("no-such-file"), dir.path()}) {
    const auto r = jconvert({"convert", "--to", "euc", path});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
  }
}

TEST(JconvertCli, HelpListsEveryCommand) {
  const auto r = jconvert({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  for (const char* command : {"guess", "convert", "eol-guess", "eol --to"}) {
    EXPECT_NE(r.out.find(command), std::string::npos) << command;
  }
  EXPECT_EQ(jconvert({"convert", "--help"}).exit_code, 0);
}

TEST(JconvertCli, LargeInputThroughPipes) {
  // Several pipe buffers' worth each way, in one process run.
  std::string sjis;
  for (int i = 0; i < 200000; ++i) sjis += "\x8A\xBF\x8E\x9A abc\r\n";
  const auto r = jconvert({"convert", "--to", "euc"}, sjis);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.size(), sjis2euc(sjis).size());
  EXPECT_TRUE(r.out == sjis2euc(sjis));
}

}  // namespace
