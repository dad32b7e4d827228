// TStringList: loading a text file as lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "byte_assert.h"
#include "ini_temp_dir.h"
#include "string_list.h"

namespace {

using namespace std::string_literals;
using test_support::TempDir;
using test_support::WriteBytes;

// "ファイル " and " は開けません" in Shift_JIS.
const std::string kFilePrefix = "\x83\x74\x83\x40\x83\x43\x83\x8B\x20";
const std::string kCannotOpen = "\x20\x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1";

TEST(TStringList, LoadFromFileSplitsAtEveryLineEnd) {
  const struct {
    const char* why;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"empty file", "", {}},
      {"CR LF with an empty line", "A\r\n\r\nB\r\n", {"A", "", "B"}},
      {"last line without line end", "A\r\nB", {"A", "B"}},
      {"lone LF and lone CR", "A\nB\rC", {"A", "B", "C"}},
      {"LF CR is two line ends", "A\n\rB", {"A", "", "B"}},
      {"CR CR LF", "A\r\r\nB", {"A", "", "B"}},
      {"only a line end", "\r\n", {""}},
      {"blanks kept", "  A \t\r\n \r\n", {"  A \t", " "}},
      {"NUL ends the text", "A\r\nB\0C\r\nD"s, {"A", "B"}},
      {"NUL first", "\0A"s, {}},
      {"Shift_JIS bytes kept", "\x96\xA2\x8F\xB3\x91\xF8\r\n\x83\x41", {"\x96\xA2\x8F\xB3\x91\xF8", "\x83\x41"}},
  };
  TempDir dir;
  const std::string path = dir.File("ngword.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    WriteBytes(path, c.text);
    TStringList list;
    list.Add("stale");
    list.LoadFromFile(path);
    ASSERT_EQ(list.Count(), static_cast<int>(c.lines.size()));
    for (int i = 0; i < list.Count(); ++i) EXPECT_BYTES_EQ(list[i], c.lines[static_cast<std::size_t>(i)]);
  }
}

TEST(TStringList, UnopenableFileRaisesTheMessageAndKeepsTheList) {
  TempDir dir;
  WriteBytes(dir.File("plain"), "x");
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  for (const std::string& path : {dir.File("ngword.txt"), dir.path(), dir.File("plain/ngword.txt"), dir.File("fifo")}) {
    SCOPED_TRACE(path);
    TStringList list;
    list.Add("kept");
    try {
      list.LoadFromFile(path);
      FAIL() << "no error";
    } catch (const EFOpenError& e) {
      EXPECT_BYTES_EQ(e.what(), kFilePrefix + path + kCannotOpen);
    }
    ASSERT_EQ(list.Count(), 1);
    EXPECT_BYTES_EQ(list[0], "kept");
  }
}

TEST(TStringList, MessageIsShiftJis) {
  EXPECT_BYTES_EQ(
      test_support::Iconv(EFOpenError("/x/ngword.txt").what(), "CP932", "UTF-8"),
      "\u30D5\u30A1\u30A4\u30EB /x/ngword.txt \u306F\u958B\u3051\u307E\u305B\u3093");  // ファイル … は開けません
}

}  // namespace
