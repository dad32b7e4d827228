#include <gtest/gtest.h>

#include <string>

#include "Jconvert.h"
#include "byte_assert.h"

namespace {

TEST(ReturnCodeCheck, JudgesByTheFirstLineEnd) {
  const struct {
    std::string text;
    int expected;
  } cases[] = {
      {"", RETCODE_NONE},       {"xyz", RETCODE_NONE},      {"\r", RETCODE_CR},
      {"x\r", RETCODE_CR},      {"\n\r", RETCODE_LF},       {"x\r\r\n", RETCODE_CR},
      {"xy\n\r\n", RETCODE_LF}, {"x\r\ny\n", RETCODE_CRLF}, {"\r\n", RETCODE_CRLF},
  };
  for (const auto& c : cases) EXPECT_EQ(ReturnCodeCheck(c.text), c.expected) << test_support::hex_dump(c.text);
}

TEST(ConvertReturnCode, RewritesOnlyTheDetectedConvention) {
  const struct {
    std::string text;
    int target;
    std::string expected;
  } cases[] = {
      {"", RETCODE_LF, ""},
      {"x\r\ny", RETCODE_LF, "x\ny"},
      {"x\ny", RETCODE_CRLF, "x\r\ny"},
      {"x\r\ny\r\n", RETCODE_CR, "x\ry\r"},
      {"x\r\ny", RETCODE_CRLF, "x\r\ny"},
      {"x\r\n\r\ny", RETCODE_NONE, "xy"},
      {"x\r\n\r\ny", 7, "xy"},
      {"x\r\n\r\ny", -1, "xy"},
      {"x\ny\r\nz", RETCODE_CRLF, "x\r\ny\r\r\nz"},  // source LF: the LF of CR LF too
      {"x\ry\r\nz", RETCODE_LF, "x\ny\n\nz"},        // source CR: the CR of CR LF too
      {"x\r\ny\rz", RETCODE_LF, "x\ny\rz"},          // source CR LF: the lone CR stays
      {"x\r\ny\nz\r\n", RETCODE_CR, "x\ry\nz\r"},    // and so does the lone LF
      {"\n\n\n", RETCODE_CRLF, "\r\n\r\n\r\n"},
      {"\r\r", RETCODE_CRLF, "\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(test_support::hex_dump(c.text));
    EXPECT_BYTES_EQ(ConvertReturnCode(c.text, c.target), c.expected);
  }
  for (int target : {0, 1, 2, 3, 4, -1}) EXPECT_BYTES_EQ(ConvertReturnCode("abc", target), "abc");
}

TEST(StrictConvertReturnCode, UsesTheStatedSource) {
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\ny\r\nz", RETCODE_CRLF, RETCODE_LF), "x\ny\nz");
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\ny\r\nz", RETCODE_NONE, RETCODE_CR), "x\ny\r\nz");
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\ny\r\nz", RETCODE_LF, RETCODE_LF), "x\ny\r\nz");
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\ry\r", RETCODE_CR, RETCODE_NONE), "xy");
  EXPECT_BYTES_EQ(StrictConvertReturnCode("", RETCODE_CR, RETCODE_LF), "");
  // A source that names no convention leaves the text as it is.
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\r\ny", 9, RETCODE_LF), "x\r\ny");
  EXPECT_BYTES_EQ(StrictConvertReturnCode("x\r\ny", -2, RETCODE_LF), "x\r\ny");
}

}  // namespace
