#include "GradBox.h"

#include <limits>

#include "canvas.h"
#include "drawtext.h"

// The colour table's low bits come out of 80-bit x87 arithmetic; another
// long double format would give other colours.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the gradient needs long double in the 64-bit-significand extended format");

using platform::TCanvas;
using platform::TRect;

namespace {

constexpr unsigned kCaptionFlags = platform::DT_WORDBREAK | platform::DT_EXPANDTABS;

int trunc_channel(long double v) {
  // Truncation toward zero; the running values stay within a hair of 0..255.
  if (v <= 0.0L) return 0;
  if (v >= 255.0L) return 255;
  return static_cast<int>(v);
}

}  // namespace

TGradBox::TGradBox(QWidget* AOwner) : TGraphicControl(AOwner) { SetBounds(Left(), Top(), 200, 100); }

void TGradBox::SetCaptionLeft(std::int32_t value) {
  if (value == FCaptionLeft) return;
  FCaptionLeft = value;
  Invalidate();
}

void TGradBox::SetCaptionTop(std::int32_t value) {
  if (value == FCaptionTop) return;
  FCaptionTop = value;
  Invalidate();
}

void TGradBox::SetTopColor(TColor value) {
  if (value == FTopColor) return;
  FTopColor = value;
  Invalidate();
}

void TGradBox::SetLastColor(TColor value) {
  if (value == FLastColor) return;
  FLastColor = value;
  Invalidate();
}

void TGradBox::SetOutLineColor(TColor value) {
  if (value == FOutLineColor) return;
  FOutLineColor = value;
  if (FDrawOutLine) Invalidate();
}

void TGradBox::SetDrawOutLine(bool value) {
  if (value == FDrawOutLine) return;
  FDrawOutLine = value;
  Invalidate();
}

void TGradBox::SetGradStyle(TGradStyle value) {
  if (value == FGradStyle) return;
  FGradStyle = value;
  Invalidate();
}

void TGradBox::SetFont3D(bool value) {
  if (value == FFont3D) return;
  FFont3D = value;
  Invalidate();
}

void TGradBox::SetFontDepth(std::uint8_t value) {
  if (value == FFontDepth) return;
  FFontDepth = value;
  if (FFont3D) Invalidate();
}

void TGradBox::SetStyle3D(TFontStyle3D value) {
  if (value == FStyle3D) return;
  FStyle3D = value;
  Invalidate();
}

void TGradBox::SetBackFont(TColor value) {
  if (value == FBackFont) return;
  FBackFont = value;
  if (FFont3D) Invalidate();
}

void TGradBox::CMTextChanged() {
  TGraphicControl::CMTextChanged();
  Invalidate();
}

void TGradBox::GetRGB(TColor color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
  const TColor c = platform::ColorToRGB(color);
  R = platform::GetRValue(c);
  G = platform::GetGValue(c);
  B = platform::GetBValue(c);
}

void TGradBox::SetColarray(TColor top, TColor last, TGradStyle style) {
  TColor first = top;
  TColor final = last;
  switch (style) {
    case gsTopBottom:
    case gsLeftRight: break;
    case gsBottomTop:
    case gsRightLeft:
      first = last;
      final = top;
      break;
    default: return;  // gsNone keeps the table as it is
  }
  std::uint8_t R1, G1, B1, R2, G2, B2;
  GetRGB(first, R1, G1, B1);
  GetRGB(final, R2, G2, B2);
  const long double dR = static_cast<long double>(R1 - R2) / 255.0L;
  const long double dG = static_cast<long double>(G1 - G2) / 255.0L;
  const long double dB = static_cast<long double>(B1 - B2) / 255.0L;
  FColarray[0] = first;
  FColarray[255] = final;
  // Carried step by step, never recomputed from the start: the rounding of
  // each step is part of the result.
  long double r = R1, g = G1, b = B1;
  for (int i = 1; i <= 254; ++i) {
    r -= dR;
    g -= dG;
    b -= dB;
    FColarray[static_cast<std::size_t>(i)] =
        platform::RGB(static_cast<std::uint8_t>(trunc_channel(r)), static_cast<std::uint8_t>(trunc_channel(g)),
                      static_cast<std::uint8_t>(trunc_channel(b)));
  }
}

void TGradBox::FillBands() {
  TCanvas& c = *Canvas();
  const bool vertical = FGradStyle == gsTopBottom || FGradStyle == gsBottomTop;
  const int extent = vertical ? Height() : Width();
  const long double s = static_cast<long double>(extent) / 255.0L;
  const int band = static_cast<int>(s + 1.0L);
  int start = 0;
  for (int j = 0; j <= 255; ++j) {
    c.SetBrushColor(FColarray[static_cast<std::size_t>(j)]);
    if (vertical) c.FillRect({0, start, Width(), start + band});
    else c.FillRect({start, 0, start + band, Height()});
    // From the current j, not j + 1: each fill starts where the one before
    // started, so entry 0 never shows.
    start = static_cast<int>(static_cast<long double>(j) * s);
  }
}

void TGradBox::Paint() {
  TCanvas& c = *Canvas();
  if (FGradStyle != gsNone) {
    SetColarray(FTopColor, FLastColor, FGradStyle);
    FillBands();
  }
  c.Font().Assign(Font());
  c.SetBrushStyle(platform::TBrushStyle::bsClear);
  c.SetPenColor(FOutLineColor);
  if (FDrawOutLine) c.Rectangle(0, 0, Width(), Height());
  // The caption wraps at the box's own right and bottom edges.
  DrawCaptionText({FCaptionLeft, FCaptionTop, Width(), Height()});
  if (OnPaint) OnPaint(this);
}

void TGradBox::DrawCaptionText(TRect textRect) {
  if (Caption().empty()) return;
  TCanvas& c = *Canvas();
  c.SetBrushStyle(platform::TBrushStyle::bsClear);
  c.Font().Assign(Font());
  const auto draw_at = [&](int d, TColor color) {
    TRect r = textRect.Offset(d, d);
    c.Font().SetColor(color);
    platform::DrawText(c, Caption(), r, kCaptionFlags);
  };
  if (!Enabled()) {
    draw_at(1, 0xFFFFFF);
    draw_at(0, 0x808080);
    return;
  }
  const TColor ink = Font().Color();
  if (FFont3D) {
    const int d = FFontDepth;
    switch (FStyle3D) {
      case fsLowShadow: draw_at(d, FBackFont); break;
      case fsRaiseShadow: draw_at(-d, FBackFont); break;
      case fsLow3D:
        for (int i = 1; i <= d; ++i) draw_at(i, FBackFont);
        break;
      case fsRaise3D:
        for (int i = 1; i <= d; ++i) draw_at(-i, FBackFont);
        break;
    }
  }
  draw_at(0, ink);
}
