#include "sys_colors.h"

#include <array>

namespace platform {
namespace {

// The classic 16-colour-era defaults, which every system colour in the
// interface texts was chosen against.
constexpr std::array<TColor, kSystemColorCount> kClassicScheme = {
    RGB(192, 192, 192),  //  0 scroll bar
    RGB(0, 128, 128),    //  1 desktop background
    RGB(0, 0, 128),      //  2 active caption
    RGB(128, 128, 128),  //  3 inactive caption
    RGB(192, 192, 192),  //  4 menu
    RGB(255, 255, 255),  //  5 window
    RGB(0, 0, 0),        //  6 window frame
    RGB(0, 0, 0),        //  7 menu text
    RGB(0, 0, 0),        //  8 window text
    RGB(255, 255, 255),  //  9 caption text
    RGB(192, 192, 192),  // 10 active border
    RGB(192, 192, 192),  // 11 inactive border
    RGB(128, 128, 128),  // 12 application workspace
    RGB(0, 0, 128),      // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(192, 192, 192),  // 15 button face
    RGB(128, 128, 128),  // 16 button shadow
    RGB(128, 128, 128),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(192, 192, 192),  // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(0, 0, 0),        // 21 3D dark shadow
    RGB(223, 223, 223),  // 22 3D light
    RGB(0, 0, 0),        // 23 tooltip text
    RGB(255, 255, 225),  // 24 tooltip background
};

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= kSystemColorCount) return 0;
  return kClassicScheme[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color) {
  if (color >= kSystemColorBase && color < kSystemColorBase + kSystemColorCount)
    return GetSysColor(static_cast<int>(color - kSystemColorBase));
  return color;
}

}  // namespace platform
