// TGradButton: a window-less push button with a cached vertical gradient
// face, a black frame, a bevel and a centred caption that changes colour
// while the pointer is over it. Press and click behaviour are the speed
// button's.
#pragma once

#include <cstdint>
#include <memory>

#include "bitmap.h"
#include "speed_button.h"
#include "sys_colors.h"

class TGradButton : public platform::TSpeedButton {
 public:
  using TColor = platform::TColor;

  explicit TGradButton(QWidget* AOwner = nullptr);
  ~TGradButton() override;

  TColor GradColor() const { return FGradColor; }
  void SetGradColor(TColor value);
  TColor FaceColor() const { return FFaceColor; }
  void SetFaceColor(TColor value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetBottomColor(TColor value);
  std::int32_t BevelWidth() const { return FBevelWidth; }
  void SetBevWidth(std::int32_t value);
  std::int32_t BorderWidth() const { return FBorderWidth; }
  void SetRectWidth(std::int32_t value);
  // Read at the next mouse-enter; setting it draws nothing.
  TColor MouseOverColor() const { return FMouseOverColor; }
  void SetMouseOverColor(TColor value) { FMouseOverColor = value; }

  const platform::TBitmap& FaceBitmap() const { return *FFaceBitmap; }

 protected:
  void Paint() override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  // Fills the bitmap with 256 bands from `top` down to `bottom`.
  virtual void GradFill(TColor top, TColor bottom, platform::TBitmap& bitmap);

 private:
  TColor FGradColor = 0xFF0000;
  TColor FFaceColor = 0;
  TColor FHighlightColor = 0xFFFFFF;
  TColor FShadowColor = 0;
  std::int32_t FBevelWidth = 1;
  std::int32_t FBorderWidth = 1;
  TColor FMouseOverColor = 0xFFFFFF;
  TColor FSavedFontColor = 0;
  std::unique_ptr<platform::TBitmap> FFaceBitmap;
};
