#include "Gradbtn.h"

#include <algorithm>

#include "canvas.h"
#include "frame3d.h"
#include "muldiv.h"

using platform::MulDiv;
using platform::TCanvas;
using platform::TRect;

TGradButton::TGradButton(QWidget* AOwner) : TSpeedButton(AOwner) {
  SetBounds(Left(), Top(), 100, 30);
  FFaceBitmap = std::make_unique<platform::TBitmap>(Width(), Height());
  GradFill(FGradColor, FFaceColor, *FFaceBitmap);
  Font().SetColor(0xFFFFFF);
  SetCaption("TGradButton");
  // Paint covers the whole button itself.
  SetOpaque(true);
}

TGradButton::~TGradButton() = default;

void TGradButton::SetGradColor(TColor value) {
  if (value != FGradColor) {
    FGradColor = value;
    GradFill(FGradColor, FFaceColor, *FFaceBitmap);
  }
  Repaint();
}

void TGradButton::SetFaceColor(TColor value) {
  if (value != FFaceColor) {
    FFaceColor = value;
    GradFill(FGradColor, FFaceColor, *FFaceBitmap);
  }
  Repaint();
}

void TGradButton::SetHighlightColor(TColor value) {
  FHighlightColor = value;
  Repaint();
}

void TGradButton::SetBottomColor(TColor value) {
  FShadowColor = value;
  Repaint();
}

void TGradButton::SetBevWidth(std::int32_t value) {
  FBevelWidth = value;
  Repaint();
}

void TGradButton::SetRectWidth(std::int32_t value) {
  FBorderWidth = value;
  Repaint();
}

void TGradButton::CMMouseEnter() {
  // Not passed on to the speed button: the face has no flat look to track.
  FSavedFontColor = Font().Color();
  Font().SetColor(FMouseOverColor);
}

void TGradButton::CMMouseLeave() { Font().SetColor(FSavedFontColor); }

void TGradButton::GradFill(TColor top, TColor bottom, platform::TBitmap& bitmap) {
  const TColor c1 = platform::ColorToRGB(top);
  const TColor c2 = platform::ColorToRGB(bottom);
  const int r1 = platform::GetRValue(c1), g1 = platform::GetGValue(c1), b1 = platform::GetBValue(c1);
  const int dr = platform::GetRValue(c2) - r1;
  const int dg = platform::GetGValue(c2) - g1;
  const int db = platform::GetBValue(c2) - b1;
  const int h = bitmap.Height();
  TCanvas& c = bitmap.Canvas();
  for (int i = 0; i <= 255; ++i) {
    c.SetBrushColor(platform::RGB(static_cast<std::uint8_t>(r1 + MulDiv(i, dr, 255)),
                                  static_cast<std::uint8_t>(g1 + MulDiv(i, dg, 255)),
                                  static_cast<std::uint8_t>(b1 + MulDiv(i, db, 255))));
    c.FillRect({0, MulDiv(i, h, 256), bitmap.Width(), MulDiv(i + 1, h, 256)});
  }
  c.Release();
}

void TGradButton::Paint() {
  TCanvas& c = *Canvas();
  const int W = Width();
  const int H = Height();
  // Past the button's own size every border width looks the same; the clamp
  // keeps the arithmetic below in range.
  const int BW = std::clamp(FBorderWidth, -32768, 32767);
  const TRect CR{0, 0, W, H};
  TRect inner{BW, BW, W - BW, H - BW};

  c.Font().Assign(Font());
  int X = (W - c.TextWidth(Caption())) / 2;
  int Y = (H - c.TextHeight(Caption())) / 2;

  const int faceW = std::max(W - 2 * BW, 0);
  const int faceH = std::max(H - 2 * BW, 0);
  if (FFaceBitmap->Width() != faceW || FFaceBitmap->Height() != faceH) {
    FFaceBitmap->SetWidth(faceW);
    FFaceBitmap->SetHeight(faceH);
    GradFill(FGradColor, FFaceColor, *FFaceBitmap);
  }

  if (State() == platform::bsDown) {
    if (BW == 1) {
      inner.Right = W;
      inner.Bottom = H;
    }
    c.SetBrushColor(0x000000);
    c.FrameRect(CR);
    c.SetBrushColor(FFaceColor);
    c.Draw(BW + 1, BW + 1, *FFaceBitmap);
    platform::Frame3D(c, inner, FShadowColor, FFaceColor, FBevelWidth);
    ++X;
    ++Y;
  } else {
    c.SetBrushColor(0x000000);
    c.FrameRect(CR);
    c.SetBrushColor(FFaceColor);
    c.Draw(BW, BW, *FFaceBitmap);
    platform::Frame3D(c, inner, FHighlightColor, FShadowColor, FBevelWidth);
  }

  // Opaque text takes the last brush colour, the face colour, as background.
  c.SetBkMode(Transparent() ? platform::TBkMode::bkTransparent : platform::TBkMode::bkOpaque);
  c.TextOut(X, Y, Caption());
  c.SetBkMode(platform::TBkMode::bkOpaque);
}
