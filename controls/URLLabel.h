// TURLLabel: a label that acts as a hyperlink. It shows a hand pointer,
// takes a hot colour under the pointer and a pushed colour while pressed,
// and, when Executable, hands its caption to the desktop shell on a press
// (as a "mailto:" address when the caption holds "@").
#pragma once

#include "label_control.h"
#include "sys_colors.h"

class TURLLabel : public platform::TLabel {
 public:
  using TColor = platform::TColor;

  // The screen cursor number the labels register their hand pointer under.
  static constexpr int crHandPointer = 32761;

  explicit TURLLabel(QWidget* AOwner = nullptr);

  bool Executable() const { return FExecutable; }
  void SetExecutable(bool value) { FExecutable = value; }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value);
  TColor HotColor() const { return FHotColor; }
  void SetHotColor(TColor value);
  TColor PushedColor() const { return FPushedColor; }
  void SetPushedColor(TColor value);

 protected:
  void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;

 private:
  void OpenTarget();

  bool FExecutable = false;
  bool FHotTrack = true;
  TColor FHotColor = 0xFFFF00;
  TColor FPushedColor = 0x0000FF;
  TColor FSavedFontColor = 0;
};
