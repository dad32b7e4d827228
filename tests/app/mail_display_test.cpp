// Header values to display text, and the NG-word test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_assert.h"
#include "mail_display.h"

namespace {

// 会議 in ISO-2022-JP: ESC $ B 2q 5D ESC ( B, Base64 below.
constexpr char kMeetingWord[] = "=?ISO-2022-JP?B?GyRCMnE1RBsoQg==?=";
constexpr char kMeetingSjis[] = "\x89\xef\x8b\x63";  // 会議
constexpr char kAdvert[] = "\x8d\x4c\x8d\x90";       // 広告

TEST(DecodeForDisplay, TurnsHeaderValuesIntoShiftJis) {
  const struct {
    const char* name;
    std::string raw;
    std::string display;
  } cases[] = {
      {"encoded word", std::string(" ") + kMeetingWord, std::string(" ") + kMeetingSjis},
      {"plain text keeps its leading blank", " hello", " hello"},
      {"text around a word", std::string(" Re: ") + kMeetingWord + " (2)",
       std::string(" Re: ") + kMeetingSjis + " (2)"},
      {"two words side by side", std::string(kMeetingWord) + kMeetingWord, std::string(kMeetingSjis) + kMeetingSjis},
      {"the blank between two words goes", std::string(kMeetingWord) + " " + kMeetingWord,
       std::string(kMeetingSjis) + kMeetingSjis},
      {"empty", "", ""},
      // Plain text with escape sequences is JIS: ESC ( J switches to
      // one-byte mode and shows nothing; a broken sequence shows the geta
      // mark for its ESC.
      {"ESC ( J inside plain text", "a\x1b(Jb", "ab"},
      {"broken escape sequence", "a\x1b(\x1b(JJb", "a\x81\xac(Jb"},
      {"Shift_JIS text passes unchanged", std::string(" ") + kAdvert, std::string(" ") + kAdvert},
      // 会議 as a UTF-8 B word and a UTF-8 Q word split inside a character.
      {"UTF-8 word", " =?UTF-8?B?5Lya6K2w?=", std::string(" ") + kMeetingSjis},
      {"UTF-8 character split across words",
       " =?utf-8?q?=E4=BC=9A=E8?=\r\n =?utf-8?q?=AD=B0?=", std::string(" ") + kMeetingSjis},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_BYTES_EQ(DecodeForDisplay(c.raw), c.display);
  }
}

TEST(NgWords, FirstMatchDecidesAndAnEmptyEntryEndsTheList) {
  const std::vector<std::string> x_empty_y = {"X", "", "Y"};
  const struct {
    const char* name;
    std::string subject;
    std::vector<std::string> words;
    bool excluded;
  } cases[] = {
      {"word anywhere", std::string(" sale ") + kAdvert + "!", {kAdvert}, true},
      {"no word", " meeting", {kAdvert}, false},
      {"case-sensitive", " SALE", {"sale"}, false},
      {"entry before the empty one", " X marks", x_empty_y, true},
      {"entry after the empty one is not used", " only Y", x_empty_y, false},
      {"empty subject", "", {"a"}, false},
      {"empty list", " anything", {}, false},
      {"blanks count", " a b", {" b"}, true},
      // Byte-wise: a match across a character boundary counts.
      {"across characters", "\x82\xa0\x82\xa2", {"\xa0\x82"}, true},
      // Characters code page 932 holds twice match in either form.
      {"NEC-selected kanji in the subject", " \xee\xe0\x8b\xb4", {"\xfb\xfc\x8b\xb4"}, true},  // 髙橋
      {"IBM kanji in the subject", " \xfb\xfc\x8b\xb4", {"\xee\xe0\x8b\xb4"}, true},
      {"NEC row 13 and IBM numeral", "\xfa\x4a", {"\x87\x54"}, true},                // Ⅰ
      {"row 2 and the IBM copy", "\xee\xf9", {"\x81\xca"}, true},                    // ¬
      {"other kanji stay apart", " \x8d\x82\x8b\xb4", {"\xfb\xfc\x8b\xb4"}, false},  // 高橋 is not 髙橋
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.excluded, HasNgWord(c.subject, c.words));
  }
}

}  // namespace
