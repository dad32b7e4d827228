#include <gtest/gtest.h>

#include <string>

#include "byte_assert.h"
#include "sjis_text.h"

namespace {

TEST(SjisText, DecodesDoubleByteCharactersWhoseTrailIsABackslash) {
  // "再表示": the second character's trail byte is 0x5C.
  EXPECT_EQ(platform::SjisToQString("\x8d\xc4\x95\x5c\x8e\xa6"), QString::fromUtf8("再表示"));
  EXPECT_EQ(platform::SjisToQString("(\x81\x4f-\x81\x4f)/"), QString::fromUtf8("(＾-＾)/"));
  EXPECT_EQ(platform::SjisToQString("\xb1\xdd"), QString::fromUtf8("ｱﾝ"));  // half-width katakana
}

TEST(SjisText, BadBytesBecomeReplacementCharactersAndNothingIsLost) {
  EXPECT_EQ(platform::SjisToQString(std::string("a\xff"
                                                "b",
                                                3)),
            QString::fromUtf8("a\xEF\xBF\xBD"
                              "b"));
  // A lead byte at the very end.
  EXPECT_EQ(platform::SjisToQString("ab\x82"), QString::fromUtf8("ab\xEF\xBF\xBD"));
  EXPECT_EQ(platform::SjisToQString(std::string("x\0y", 3)), QString::fromUtf8("x\0y", 3));
  EXPECT_TRUE(platform::SjisToQString("").isEmpty());
}

TEST(SjisText, EncodesBackAndMarksWhatCodePage932Lacks) {
  EXPECT_BYTES_EQ(platform::QStringToSjis(QString::fromUtf8("今すぐチェック")),
                  std::string("\x8d\xa1\x82\xb7\x82\xae\x83\x60\x83\x46\x83\x62\x83\x4e"));
  EXPECT_BYTES_EQ(platform::QStringToSjis(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                            "b")),
                  std::string("a?b"));
}

TEST(SjisText, LeadBytesOfCodePage932) {
  const struct {
    unsigned char byte;
    bool lead;
  } cases[] = {{0x80, false}, {0x81, true}, {0x9F, true},  {0xA0, false}, {0xDF, false},
               {0xE0, true},  {0xFC, true}, {0xFD, false}, {0x40, false}};
  for (const auto& c : cases) EXPECT_EQ(platform::IsSjisLeadByte(c.byte), c.lead) << int{c.byte};
}

}  // namespace
