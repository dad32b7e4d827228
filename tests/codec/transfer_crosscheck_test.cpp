// The transfer encodings against the tools users would otherwise reach for,
// run as child processes: coreutils base64, sharutils uuencode, macutils
// binhex and nkf's MIME decoding.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Jconvert.h"
#include "byte_assert.h"
#include "temp_file.h"
#include "run_process.h"
#include "transfer_test_util.h"

namespace {

using test_support::run_process;
using transfer_test::random_bytes;

bool on_path(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/" + tool;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

#define REQUIRE_TOOL(tool) \
  if (!on_path(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh test)"

std::string tool_output(const std::vector<std::string>& argv, const std::string& input) {
  const auto r = run_process(argv, input);
  EXPECT_EQ(r.exit_code, 0) << argv[0] << ": " << r.err;
  return r.out;
}

// Lengths around the line and group edges, and one of many lines.
std::vector<std::size_t> sample_lengths() {
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n <= 8; ++n) lengths.push_back(n);
  for (std::size_t n = 43; n <= 49; ++n) lengths.push_back(n);  // a UU line, a BinHex line
  for (std::size_t n = 55; n <= 60; ++n) lengths.push_back(n);  // a Base64 line
  for (std::size_t n : {89u, 90u, 91u, 113u, 114u, 115u, 135u, 171u, 1000u, 4096u, 10007u}) lengths.push_back(n);
  return lengths;
}

using test_support::TempFile;

TEST(Base64CrossCheck, CoreutilsWritesTheSameLinesUpToTheFinalLineBreak) {
  REQUIRE_TOOL("base64");
  for (std::size_t n : sample_lengths()) {
    SCOPED_TRACE(n);
    const std::string data = random_bytes(n, static_cast<unsigned>(n) + 1);
    std::string ours = EncodeBase64R(data, "\n");
    // coreutils ends every non-empty output with a line break.
    if (!ours.empty() && ours.back() != '\n') ours += '\n';
    ASSERT_BYTES_EQ(tool_output({"base64", "-w", "76"}, data), ours);
    std::string unbroken = tool_output({"base64", "-w", "0"}, data);
    ASSERT_BYTES_EQ(unbroken, EncodeBase64(data));
    ASSERT_BYTES_EQ(tool_output({"base64", "-d"}, EncodeBase64R(data, "\n")), data);
    ASSERT_BYTES_EQ(DecodeBase64(tool_output({"base64", "-w", "76"}, data)), data);
  }
}

TEST(UUCrossCheck, SharutilsWritesTheSameBodyLines) {
  REQUIRE_TOOL("uuencode");
  for (std::size_t n : sample_lengths()) {
    SCOPED_TRACE(n);
    const std::string data = random_bytes(n, static_cast<unsigned>(n) + 2);
    const std::string full = tool_output({"uuencode", "data"}, data);
    // "begin 644 data" line, body lines, "end" line.
    const std::size_t body = full.find('\n') + 1;
    const std::size_t end = full.rfind("end\n");
    ASSERT_NE(end, std::string::npos);
    std::string theirs = full.substr(body, end - body);
    std::string ours = EncodeUU(data, "\n");
    // Ours has an empty line before the backquote line when the data fills
    // its last line.
    if (n % 45 == 0) {
      ASSERT_EQ(ours.compare(ours.size() - 3, 3, "\n`\n"), 0);
      ours.erase(ours.size() - 3, 1);
    }
    ASSERT_BYTES_EQ(theirs, ours);
    ASSERT_BYTES_EQ(DecodeUU(theirs), data);
  }
}

// macutils binhex writes a comment line and then the colon-framed text of
// its header, forks and CRCs, run-length coded (0x90). Our layer is the
// six-bit text beneath that: decoding the framed text and encoding the
// bytes again must give the same text, line layout included. The
// run-length coding lives in the bytes, so data with 0x90 and long runs is
// taken as well as plain random data.
TEST(BinHexCrossCheck, MacutilsTextDecodesAndEncodesBackUnchanged) {
  REQUIRE_TOOL("binhex");
  for (std::size_t n : sample_lengths()) {
    for (int kind = 0; kind < 2; ++kind) {
      SCOPED_TRACE(std::to_string(n) + (kind ? " with runs and 0x90" : " random"));
      std::string data = random_bytes(n, static_cast<unsigned>(n) + 3);
      for (std::size_t i = 0; i < n; ++i) {
        if (kind) {
          data[i] = "ab\x90\x90\x00"[static_cast<unsigned char>(data[i]) % 5];
        } else {
          // Nothing for the run-length coder: the data stands in the stream as it is.
          while (data[i] == '\x90' || (i > 0 && data[i] == data[i - 1])) ++data[i];
        }
      }
      TempFile file(data);
      const std::string out = tool_output({"binhex", "-d", file.path()}, "");
      const std::size_t open = out.find("\n:");
      const std::size_t close = out.rfind(':');
      ASSERT_NE(open, std::string::npos);
      ASSERT_GT(close, open + 1);
      const std::string text = out.substr(open + 1, close - open);
      const std::string bytes = DecodeBinHex(text);
      ASSERT_BYTES_EQ(EncodeBinHex(bytes, "\n"), text);
      // Without runs the data fork stands in the stream unchanged.
      if (kind == 0) {
        ASSERT_NE(bytes.find(data), std::string::npos);
      }
    }
  }
}

// nkf drops the white space between adjacent encoded-words; the header
// functions keep it. Headers with adjacent words are compared with white
// space left out on both sides, all others exactly.
std::string without_white_space(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  }
  return out;
}

// The mailbox listing's road: decode the words, drop every ESC ( J, convert.
std::string subject_as_shift_jis(const std::string& header) {
  std::string text = DecodeHeaderString(header);
  for (std::size_t p; (p = text.find("\x1B(J")) != std::string::npos;) text.erase(p, 3);
  return ConvertJCode(text, JCODE_SJIS);
}

TEST(HeaderCrossCheck, NkfDecodesSubjectsTheSame) {
  REQUIRE_TOOL("nkf");
  const std::string kan = "\x1B$B4A;z\x1B(B";  // two kanji as mailers write them
  const std::string kana = "\x1B$B%F%9%H\x1B(B";
  auto word = [](const std::string& jis) { return "=?ISO-2022-JP?B?" + EncodeBase64(jis) + "?="; };
  const struct {
    std::string header;
    bool adjacent_words;
  } cases[] = {
      {word(kan), false},
      {"Re: " + word(kan) + " and more", false},
      {"=?iso-2022-jp?b?" + EncodeBase64(kana) + "?=", false},
      {"[ml:0042] " + word(kana + "abc" + kan) + " (fwd)", false},
      {word(std::string(60, 'x')), false},
      {word(kan) + " " + word(kana), true},
      {word(kan) + "\r\n " + word(kana) + "\r\n\t" + word(kan), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test_support::hex_dump(c.header));
    const std::string theirs = tool_output({"nkf", "-m", "-s"}, c.header);
    const std::string ours = subject_as_shift_jis(c.header);
    if (c.adjacent_words) {
      EXPECT_BYTES_EQ(without_white_space(ours), without_white_space(theirs));
      EXPECT_NE(ours, theirs);  // the white space between the words stays
    } else {
      EXPECT_BYTES_EQ(ours, theirs);
    }
  }
}

TEST(HeaderCrossCheck, NkfDecodesCreatedHeadersBackToTheText) {
  REQUIRE_TOOL("nkf");
  const std::string texts[] = {
      "\x8A\xBF\x8E\x9A",
      "Re: \x82\xA0\x82\xA2 (\x8A\xBF) end",
      "\x83\x65\x83\x58\x83\x67 mail \x81\x99",
      "abc\x8A\xBF"
      "def",
      std::string(30, 'a') + "\x88\x9F\xEA\xA4\xE0\x40\x82\xA0\x82\xA2\x82\xA4",
  };
  for (const std::string& sjis : texts) {
    SCOPED_TRACE(test_support::hex_dump(sjis));
    const std::string header = CreateHeaderString(sjis);
    EXPECT_BYTES_EQ(tool_output({"nkf", "-m", "-s"}, header), sjis);
    // A created word has no closing escape; its ESC ( J ends it.
    EXPECT_BYTES_EQ(StrictConvertJCode(DecodeHeaderString(header), JCODE_JIS83, JCODE_SJIS), sjis);
  }
}

}  // namespace
