#include <gtest/gtest.h>

#include "sys_colors.h"
#include "widget_pixels.h"

namespace {

using platform::ColorToRGB;
using platform::GetSysColor;
using platform::TColor;

TEST(SysColors, ClassicTableEntries) {
  const struct {
    int index;
    TColor rgb;
  } cases[] = {
      {0, 0xC0C0C0},  {1, 0x808000},  {5, 0xFFFFFF},  {8, 0x000000},  {13, 0x800000},
      {15, 0xC0C0C0}, {16, 0x808080}, {20, 0xFFFFFF}, {22, 0xDFDFDF}, {24, 0xE1FFFF},
  };
  for (const auto& c : cases) EXPECT_COLOR_EQ(GetSysColor(c.index), c.rgb) << "index " << c.index;
}

TEST(SysColors, OutOfRangeIndexIsBlack) {
  EXPECT_COLOR_EQ(GetSysColor(-1), 0u);
  EXPECT_COLOR_EQ(GetSysColor(25), 0u);
}

TEST(SysColors, ResolvesOnlyTheTwentyFiveSystemValues) {
  const struct {
    TColor value;
    TColor resolved;
  } cases[] = {
      {0x80000000, 0xC0C0C0},    // scroll bar
      {0x8000000F, 0xC0C0C0},    // button face
      {0x80000010, 0x808080},    // button shadow
      {0x80000018, 0xE1FFFF},    // tooltip background, the last one
      {0x80000019, 0x80000019},  // past the table: unchanged
      {0x7FFFFFFF, 0x7FFFFFFF}, {0x00D0B0B0, 0x00D0B0B0}, {0x01FFFFFF, 0x01FFFFFF},
  };
  for (const auto& c : cases) EXPECT_COLOR_EQ(ColorToRGB(c.value), c.resolved) << test_support::color_hex(c.value);
}

TEST(SysColors, ChannelsSplitAsBgr) {
  EXPECT_EQ(platform::GetRValue(0x9090AA), 0xAA);
  EXPECT_EQ(platform::GetGValue(0x9090AA), 0x90);
  EXPECT_EQ(platform::GetBValue(0x7F9090AA), 0x90);
  EXPECT_COLOR_EQ(platform::RGB(0xAA, 0x90, 0x91), 0x9190AAu);
}

}  // namespace
