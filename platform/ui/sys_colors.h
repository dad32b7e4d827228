// Colour values: 0x00BBGGRR for a plain colour, 0x80000000 + n for entry n
// of the desktop's user-interface colour table (the GetSysColor indexes).
#pragma once

#include <cstdint>

namespace platform {

using TColor = std::uint32_t;

inline constexpr TColor kSystemColorBase = 0x80000000u;
inline constexpr int kSystemColorCount = 25;

constexpr TColor SystemColor(int index) { return kSystemColorBase + static_cast<TColor>(index); }

inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// The plain colour of system colour `index`: the classic desktop scheme.
// An index outside 0..24 gives 0 (black).
TColor GetSysColor(int index);

// Resolves 0x80000000 .. 0x80000018 to the plain colour of that table entry;
// every other value comes back unchanged.
TColor ColorToRGB(TColor color);

}  // namespace platform
