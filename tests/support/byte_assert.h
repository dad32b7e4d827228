// Byte-string assertions whose failures show the bytes in hex, with ESC, CR
// and LF named, and point at the first byte that differs. Shift_JIS and
// ISO-2022-JP are unreadable as raw terminal text.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace test_support {

inline std::string hex_dump(const std::string& s, std::size_t mark = std::string::npos) {
  std::string out;
  char buf[8];
  const std::size_t shown = s.size() > 256 ? 256 : s.size();
  for (std::size_t i = 0; i < shown; ++i) {
    if (i) out += ' ';
    if (i == mark) out += '>';
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == 0x1B) out += "ESC";
    else if (c == '\r') out += "CR";
    else if (c == '\n') out += "LF";
    else {
      std::snprintf(buf, sizeof buf, "%02X", c);
      out += buf;
    }
  }
  if (shown < s.size()) out += " ... (" + std::to_string(s.size()) + " bytes)";
  return out;
}

inline ::testing::AssertionResult BytesEqual(const char* actual_expr, const char* expected_expr,
                                             const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t diff = 0;
  while (diff < actual.size() && diff < expected.size() && actual[diff] == expected[diff]) ++diff;
  return ::testing::AssertionFailure() << actual_expr << " differs from " << expected_expr << " at byte " << diff
                                       << "\n"
                                       << "  actual   (" << actual.size() << "): " << hex_dump(actual, diff) << "\n"
                                       << "  expected (" << expected.size() << "): " << hex_dump(expected, diff);
}

}  // namespace test_support

#define EXPECT_BYTES_EQ(actual, expected) EXPECT_PRED_FORMAT2(::test_support::BytesEqual, actual, expected)
#define ASSERT_BYTES_EQ(actual, expected) ASSERT_PRED_FORMAT2(::test_support::BytesEqual, actual, expected)
