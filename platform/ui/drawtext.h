// DrawText with the desktop's rules for left/top-aligned text: word breaking
// at spaces and at full-width characters, tab stops every eight average
// character widths, "&" accelerators, clipping to the rectangle.
#pragma once

#include <QFont>
#include <QString>

#include <string>
#include <vector>

#include "canvas.h"

namespace platform {

inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_EXPANDTABS = 0x0040;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;

// Text measurement, so that the layout can be checked without a real font.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int Advance(const QString& text) const = 0;
  virtual int LineHeight() const = 0;
  virtual int Ascent() const = 0;
  virtual int AveCharWidth() const = 0;
};

class FontMeasure final : public TextMeasure {
 public:
  explicit FontMeasure(const QFont& font);
  int Advance(const QString& text) const override;
  int LineHeight() const override;
  int Ascent() const override;
  int AveCharWidth() const override;

 private:
  QFont font_;
};

struct TextUnderline {
  int x;      // from the rectangle's left edge
  int width;  // the character's advance
};

struct TextPiece {
  int x;  // from the rectangle's left edge, before alignment
  QString text;
};

struct TextLine {
  std::vector<TextPiece> pieces;
  std::vector<TextUnderline> underlines;
  int width = 0;  // up to the end of the last piece that is not a space
};

// Lays Shift_JIS text out for a rectangle `width` pixels wide.
std::vector<TextLine> LayoutText(const std::string& text, int width, unsigned flags, const TextMeasure& measure);

// Draws text into r in the canvas font, text colour and background mode.
// With DT_CALCRECT nothing is drawn and r's right and bottom edges become
// those of the laid-out text. Returns the height of the text.
int DrawText(TCanvas& canvas, const std::string& text, TRect& r, unsigned flags);

}  // namespace platform
