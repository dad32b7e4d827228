// The profile text rules on whole-file bytes: file text -> value read, and
// file text + one write -> exact new bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "byte_assert.h"
#include "ini_parser.h"

namespace {

using tolvane::ini::EncodeValue;
using tolvane::ini::FindValue;
using tolvane::ini::SetValue;
using namespace std::string_literals;

const std::optional<std::string> kAbsent;

TEST(IniFindValue, FollowsTheWindowsReader) {
  const struct {
    const char* why;
    std::string text, section, key;
    std::optional<std::string> expected;
  } cases[] = {
      {"plain", "[Option]\r\nStop=1\r\n", "Option", "Stop", "1"},
      {"names fold case, value keeps it", "[OPTION]\r\nsTOP=VaLuE\r\n", "option", "Stop", "VaLuE"},
      {"LF line ends", "[s]\nk=v\n", "s", "k", "v"},
      {"CR line ends", "[s]\rk=v\r", "s", "k", "v"},
      {"mixed, no final line end", "[a]\r\nk=1\n[s]\rk=v", "s", "k", "v"},
      {"blanks around key and value", "[s]\r\n \t\vk \v= \t v w \t\r\n", "s", "k", "v w"},
      {"blanks around and inside the header", " \t[ \vs\t ]  \r\nk=v", "s", "k", "v"},
      {"header without ]", "[s\r\nk=v", "s", "k", "v"},
      {"name ends at the first ]", "[s]t]\r\nk=v", "s", "k", "v"},
      {"rest of a header line is no key", "[s]k=v\r\n", "s", "k", kAbsent},
      {"[ inside a name", "[a[b]\r\nk=v", "a[b", "k", "v"},
      {"empty section name", "[]\r\nk=v", "", "k", "v"},
      {"lines before the first header are unreachable", "k=v\r\n[s]\r\n", "", "k", kAbsent},
      {"comment is no key", "[s]\r\n;k=v\r\n", "s", "k", kAbsent},
      {"comment is not found as ;key", "[s]\r\n  ;k=v\r\n", "s", ";k", kAbsent},
      {"; inside a value", "[s]\r\nk=a ;b\r\n", "s", "k", "a ;b"},
      {"# is ordinary", "[s]\r\n#k=v\r\n", "s", "#k", "v"},
      {"line without =", "[s]\r\nk\r\n", "s", "k", kAbsent},
      {"empty key name", "[s]\r\n=v\r\n", "s", "", "v"},
      {"split at the first =", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"empty value is a value", "[s]\r\nk=\r\n", "s", "k", ""},
      {"first duplicate key wins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
      {"only the first copy of a section", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", "b", kAbsent},
      {"first copy still found", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", "a", "1"},
      {"missing section", "[s]\r\nk=v\r\n", "t", "k", kAbsent},
      {"missing key", "[s]\r\nk=v\r\n[t]\r\nx=1\r\n", "s", "x", kAbsent},
      {"double quotes removed", "[s]\r\nk=\"v w\"\r\n", "s", "k", "v w"},
      {"blanks inside quotes stay", "[s]\r\nk= ' v ' \r\n", "s", "k", " v "},
      {"one pair only", "[s]\r\nk=''x''\r\n", "s", "k", "'x'"},
      {"mismatched quotes stay", "[s]\r\nk=\"x'\r\n", "s", "k", "\"x'"},
      {"lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"empty quotes", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
      {"argument spaces ignored", "[s]\r\nk=v\r\n", "  s ", " k  ", "v"},
      {"argument tab kept", "[s]\r\nk=v\r\n", "\ts", "k", kAbsent},
      {"quotes in names are literal", "[\"s\"]\r\n'k'=v\r\n", "\"s\"", "'k'", "v"},
      {"quoted section name is not the bare one", "[\"s\"]\r\nk=v\r\n", "s", "k", kAbsent},
      {"UTF-8 BOM hides line 1", "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w\r\n", "s", "k", kAbsent},
      {"UTF-8 BOM, later sections read", "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w\r\n", "t", "k", "w"},
      {"NUL after the last line", "[s]\r\nk=v\r\n\0"s, "s", "k", "v"},
      {"Shift_JIS value bytes kept", "[s]\r\nk=\x83\x65\x83\x58\x83\x67\r\n", "s", "k", "\x83\x65\x83\x58\x83\x67"},
      // ゾ is 83 5D: its trail byte is no ']'.
      {"trail byte 5D is no ]", "[\x83\x5D]\r\nk=v\r\n", "\x83\x5D", "k", "v"},
      // ア is 83 41, ヂ is 83 61: trail bytes are not case-folded.
      {"trail byte not folded", "[s]\r\n\x83\x61=v\r\n", "s", "\x83\x41", kAbsent},
      {"ASCII after Shift_JIS folded", "[s]\r\n\x83\x41x=v\r\n", "s", "\x83\x41X", "v"},
      {"half-width kana compare exactly", "[s]\r\n\xB1=v\r\n", "s", "\xB1", "v"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const std::optional<std::string> got = FindValue(c.text, c.section, c.key);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_BYTES_EQ(*got, *c.expected);
    }
  }
}

TEST(IniFindValue, Utf8TextHasNoDoubleBytePairs) {
  // ぁ is E3 81 81 in UTF-8; read as Shift_JIS, 81 would pair with the ']'.
  const std::string text = "[\xE3\x81\x81]\r\nk=v\r\n";
  EXPECT_EQ(FindValue(text, "\xE3\x81\x81", "k", tolvane::ini::TextCode::kUtf8), std::optional<std::string>("v"));
  EXPECT_EQ(FindValue(text, "\xE3\x81\x81", "k"), kAbsent);
  EXPECT_BYTES_EQ(SetValue(text, "\xE3\x81\x81", "k", "w", tolvane::ini::TextCode::kUtf8), "[\xE3\x81\x81]\r\nk=w\r\n");
}

TEST(IniSetValue, EditsInPlaceAndKeepsEveryOtherByte) {
  const struct {
    const char* why;
    std::string text, section, key, value, expected;
  } cases[] = {
      {"new file", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"empty value", "", "s", "k", "", "[s]\r\nk=\r\n"},
      {"argument spaces dropped", "", " s ", "  k ", "v", "[s]\r\nk=v\r\n"},
      {"replaced in place, spelling kept", "[Sec]\r\nKEY=old\r\nz=1\r\n", "sec", "key", "new",
       "[Sec]\r\nKEY=new\r\nz=1\r\n"},
      {"blanks before the value go with it", "[s]\r\n  k = old  \r\n", "s", "k", "new", "[s]\r\n  k =new\r\n"},
      {"last line gets CR LF", "[s]\r\nk=old", "s", "k", "new", "[s]\r\nk=new\r\n"},
      {"LF of the line kept", "[s]\nk=old\nx=1\n", "s", "k", "new", "[s]\nk=new\nx=1\n"},
      {"CR of the line kept", "[s]\rk=old\r", "s", "k", "new", "[s]\rk=new\r"},
      {"new key after the last key line", "[s]\r\na=1\r\n;c\r\n\r\n[t]\r\n", "s", "b", "2",
       "[s]\r\na=1\r\nb=2\r\n;c\r\n\r\n[t]\r\n"},
      {"section of comments only", "[s]\r\n;c\r\n", "s", "k", "v", "[s]\r\nk=v\r\n;c\r\n"},
      {"line without = is no key line", "[s]\r\na=1\r\nk\r\n", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\nk\r\n"},
      {"header at the end without line end", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"last key without line end", "[s]\r\na=1", "s", "b", "2", "[s]\r\na=1\r\nb=2\r\n"},
      {"new section appended", "[s]\r\na=1\r\n", "t", "k", "v", "[s]\r\na=1\r\n[t]\r\nk=v\r\n"},
      {"appended after text without line end", "[s]\r\na=1", "t", "k", "v", "[s]\r\na=1\r\n[t]\r\nk=v\r\n"},
      {"appended after LF", "[s]\na=1\n", "t", "k", "v", "[s]\na=1\n[t]\r\nk=v\r\n"},
      {"appended after CR", "[s]\ra=1\r", "t", "k", "v", "[s]\ra=1\r[t]\r\nk=v\r\n"},
      {"comments, blanks, other sections, Shift_JIS kept",
       "; \x83\x65\r\n\r\n[x]\r\nq=\x83\x58 \r\n\r\n[s]\r\n a=1\r\n\r\n", "s", "a", "2",
       "; \x83\x65\r\n\r\n[x]\r\nq=\x83\x58 \r\n\r\n[s]\r\n a=2\r\n\r\n"},
      {"first copy of the section", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", "b", "3",
       "[s]\r\na=1\r\nb=3\r\n[t]\r\n[s]\r\nb=2\r\n"},
      {"first copy of the key", "[s]\r\nk=1\r\nk=2\r\n", "S", "K", "3", "[s]\r\nk=3\r\nk=2\r\n"},
      {"text before the first header kept", "k=1\r\n[s]\r\n", "s", "k", "2", "k=1\r\n[s]\r\nk=2\r\n"},
      {"UTF-8 BOM kept, section appended", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "2",
       "\xEF\xBB\xBF[s]\r\nk=1\r\n[s]\r\nk=2\r\n"},
      {"trailing NUL kept, key replaced", "[s]\r\na=1\r\n\0"s, "s", "a", "2", "[s]\r\na=2\r\n\0"s},
      {"trailing NUL kept, section appended", "[s]\r\na=1\r\n\0"s, "t", "k", "v",
       "[s]\r\na=1\r\n\0\r\n[t]\r\nk=v\r\n"s},
      {"value bytes as given", "", "s", "k", "\x83\x70\x83\x58 \"x\" '", "[s]\r\nk=\x83\x70\x83\x58 \"x\" '\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_BYTES_EQ(SetValue(c.text, c.section, c.key, c.value), c.expected);
  }
}

TEST(IniSetValue, NewKeysKeepTheOrderOfTheCalls) {
  std::string text = "[s]\r\n;end of s\r\n[t]\r\n";
  for (const char* key : {"c", "a", "b"}) text = SetValue(text, "s", key, "1");
  text = SetValue(text, "s", ";note", "x");  // a comment line, not a key line
  text = SetValue(text, "s", "d", "1");
  EXPECT_BYTES_EQ(text, "[s]\r\nc=1\r\na=1\r\nb=1\r\nd=1\r\n;note=x\r\n;end of s\r\n[t]\r\n");
}

TEST(IniEncodeValue, QuotesOnlyWhatTheReaderWouldStrip) {
  const struct {
    std::string value, stored;
  } cases[] = {
      {"abc", "abc"},       {"", ""},
      {"a b", "a b"},       {"\"", "\""},
      {"\"x'", "\"x'"},     {"x\"", "x\""},
      {" abc", "\" abc\""}, {"abc\t", "\"abc\t\""},
      {"\vx", "\"\vx\""},   {"\"abc\"", "\"\"abc\"\""},
      {"'a'", "\"'a'\""},   {"a\r\n[Option]\r\nStop=1", "a"},
      {"a\nb", "a"},        {"a\rb", "a"},
      {"a\0b"s, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test_support::hex_dump(c.value));
    EXPECT_BYTES_EQ(EncodeValue(c.value), c.stored);
  }
}

TEST(IniEncodeValue, EveryStorableValueReadsBackUnchanged) {
  const std::string values[] = {"",      " ",    "  x  ", "\t",     "\"",      "''",      "\"\"",      "'x'",
                                "\"x\"", "\"x'", "'",     "a\"b",   " \"x\" ", "x ",      "\x83\x41 ", "\v",
                                "=",     ";x",   "[x]",   "\"\"\"", "' '",     "\x81\x40"};
  for (const std::string& v : values) {
    SCOPED_TRACE(test_support::hex_dump(v));
    const std::string text = SetValue("[s]\r\nk=old\r\n", "s", "k", EncodeValue(v));
    const std::optional<std::string> back = FindValue(text, "s", "k");
    ASSERT_TRUE(back.has_value());
    EXPECT_BYTES_EQ(*back, v);
  }
}

}  // namespace
