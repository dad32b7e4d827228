// TGradBox: a window-less panel filled with a 256-band two-colour gradient,
// optionally outlined, with a caption drawn plainly, embossed when disabled,
// or with a shadow or stepped 3D copies in a second colour.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "geometry.h"
#include "graphic_control.h"
#include "sys_colors.h"

enum TGradStyle : std::uint8_t { gsTopBottom = 0, gsBottomTop = 1, gsLeftRight = 2, gsRightLeft = 3, gsNone = 4 };

enum TFontStyle3D : std::uint8_t { fsLowShadow = 0, fsRaiseShadow = 1, fsLow3D = 2, fsRaise3D = 3 };

class TGradBox : public platform::TGraphicControl {
 public:
  using TColor = platform::TColor;

  explicit TGradBox(QWidget* AOwner = nullptr);

  std::int32_t CaptionLeft() const { return FCaptionLeft; }
  void SetCaptionLeft(std::int32_t value);
  std::int32_t CaptionTop() const { return FCaptionTop; }
  void SetCaptionTop(std::int32_t value);
  TColor TopColor() const { return FTopColor; }
  void SetTopColor(TColor value);
  TColor LastColor() const { return FLastColor; }
  void SetLastColor(TColor value);
  TColor OutLineColor() const { return FOutLineColor; }
  void SetOutLineColor(TColor value);
  bool DrawOutLine() const { return FDrawOutLine; }
  void SetDrawOutLine(bool value);
  TGradStyle GradStyle() const { return FGradStyle; }
  void SetGradStyle(TGradStyle value);
  bool Font3D() const { return FFont3D; }
  void SetFont3D(bool value);
  std::uint8_t FontDepth() const { return FFontDepth; }
  void SetFontDepth(std::uint8_t value);
  TFontStyle3D Style3D() const { return FStyle3D; }
  void SetStyle3D(TFontStyle3D value);
  TColor BackFont() const { return FBackFont; }
  void SetBackFont(TColor value);

  // Fired at the end of every paint, so that a handler can draw over the box.
  std::function<void(TGradBox* Sender)> OnPaint;

  // Fills the colour table from `top` to `last` in the order `style` gives.
  void SetColarray(TColor top, TColor last, TGradStyle style);
  const std::array<TColor, 256>& Colarray() const { return FColarray; }

  // Splits a colour into its bytes, a system colour resolved first.
  static void GetRGB(TColor color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);

 protected:
  void Paint() override;
  void CMTextChanged() override;
  void DrawCaptionText(platform::TRect textRect);

 private:
  void FillBands();

  std::int32_t FCaptionLeft = 10;
  std::int32_t FCaptionTop = 10;
  TColor FTopColor = 0x008000;
  TColor FLastColor = 0x00FF00;
  TColor FOutLineColor = 0;
  bool FDrawOutLine = false;
  TGradStyle FGradStyle = gsTopBottom;
  bool FFont3D = false;
  std::uint8_t FFontDepth = 1;
  TFontStyle3D FStyle3D = fsRaise3D;
  TColor FBackFont = 0x00FFFF;
  std::array<TColor, 256> FColarray{};
};
