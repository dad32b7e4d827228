// A font as the interface describes it: face name (Shift_JIS), height in the
// desktop's convention (negative: character height in pixels), style, colour
// and character set. Changes are reported through OnChange.
#pragma once

#include <QFont>

#include <cstdint>
#include <functional>
#include <string>

#include "sys_colors.h"

namespace platform {

using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;

class TFont {
 public:
  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);  // copies the look, keeps OnChange

  const std::string& Name() const { return name_; }
  int Height() const { return height_; }
  TFontStyles Style() const { return style_; }
  TColor Color() const { return color_; }
  int Charset() const { return charset_; }

  void SetName(const std::string& name);
  void SetHeight(int height);
  void SetStyle(TFontStyles style);
  void SetColor(TColor color);
  void SetCharset(int charset);
  void Assign(const TFont& other) { *this = other; }

  // The Qt font for drawing: the face with local stand-ins for the
  // desktop's Japanese and Latin faces, no antialiasing (the interface was
  // designed for crisp 12-pixel text).
  QFont ToQFont() const;

  std::function<void()> OnChange;

 private:
  void Changed();

  std::string name_;
  int height_;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  int charset_ = SHIFTJIS_CHARSET;
};

}  // namespace platform
