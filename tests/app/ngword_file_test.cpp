// The NG-word file in the encodings editors write it in.
#include <gtest/gtest.h>

#include <string>

#include "byte_assert.h"
#include "ngword_file.h"
#include "temp_file.h"

namespace {

using namespace std::string_literals;

constexpr char kAdvertSjis[] = "\x8d\x4c\x8d\x90";  // 広告
constexpr char kAdvertUtf8[] = "\xe5\xba\x83\xe5\x91\x8a";

TEST(NgWordFile, UnicodeFilesBecomeShiftJisLineByLine) {
  const std::string sjis_lines = std::string(kAdvertSjis) + "\r\nsale\r\n";
  const struct {
    const char* name;
    std::string file;
    std::string sjis;
  } cases[] = {
      {"Shift_JIS stays", sjis_lines, sjis_lines},
      {"ASCII stays, control characters too", "sale\tnow\r\n", "sale\tnow\r\n"},
      {"UTF-8 without a byte-order mark", std::string(kAdvertUtf8) + "\r\nsale\r\n", sjis_lines},
      {"UTF-8 with a byte-order mark", "\xef\xbb\xbf" + std::string(kAdvertUtf8) + "\r\nsale\r\n", sjis_lines},
      {"UTF-8 byte-order mark before ASCII", "\xef\xbb\xbfsale\n", "sale\n"},
      {"UTF-16LE", "\xff\xfe\x83\x5e\x4a\x54\r\0\n\0s\0a\0l\0e\0\r\0\n\0"s, sjis_lines},
      {"UTF-16BE", "\xfe\xff\x5e\x83\x54\x4a\0\r\0\n\0s\0a\0l\0e\0\n"s, std::string(kAdvertSjis) + "\r\nsale\n"},
      {"NUL kept to end the list",
       "\xef\xbb\xbf"
       "a\0b"s,
       "a\0b"s},
      {"not valid UTF-8: Shift_JIS", "\x93\xfa\x96\x7b\n", "\x93\xfa\x96\x7b\n"},
      {"character code page 932 lacks", "\xef\xbb\xbf\xf0\x9f\x98\x80\n", "\x81\xac\n"},
      {"wave dash as code page 932 holds it", "\xe3\x80\x9c\n", "\x81\x60\n"},
      {"lone surrogate and odd byte in UTF-16",
       "\xff\xfe\x00\xd8"
       "a\0b"s,
       "\x81\xac"
       "a\x81\xac"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(NgWordFileToSjis(c.file), c.sjis);
  }
}

TEST(NgWordFile, LoadsLinesAndReportsAFileItCannotRead) {
  const test_support::TempFile file("\xff\xfe\x83\x5e\x4a\x54\r\0\n\0\r\0\n\0x\0"s);
  TStringList list;
  LoadNgWords(list, file.path());
  ASSERT_EQ(list.Count(), 3);
  EXPECT_BYTES_EQ(list[0], kAdvertSjis);
  EXPECT_EQ(list[1], "");
  EXPECT_EQ(list[2], "x");

  const std::string missing = file.path() + "-missing";
  try {
    LoadNgWords(list, missing);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
  }
  EXPECT_EQ(list.Count(), 3);  // left as it was
}

}  // namespace
