// A window-less push button: press, drag and release with the pointer
// deciding the state, OnClick on a release inside, and grouped buttons that
// latch down with at most one down per group.
#pragma once

#include "graphic_control.h"

namespace platform {

enum TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(QWidget* parent = nullptr);

  TButtonState State() const { return state_; }

  bool Down() const { return down_; }
  void SetDown(bool down);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int index);
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool allow);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // Where a glyph would sit beside the caption; kept for the look of
  // buttons that draw one.
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void CMEnabledChanged() override;

  void SetState(TButtonState state) { state_ = state; }
  bool MouseInControl() const { return mouse_in_control_; }

 private:
  // The pressed area: the bottom row's lower edge still counts.
  bool InPressArea(int x, int y) const { return x >= 0 && x < Width() && y >= 0 && y <= Height(); }
  void ReleaseOthersInGroup();

  TButtonState state_ = bsUp;
  bool down_ = false;
  bool dragging_ = false;
  bool mouse_in_control_ = false;
  int group_index_ = 0;
  bool allow_all_up_ = false;
  bool transparent_ = true;
  TButtonLayout layout_ = blGlyphLeft;
};

}  // namespace platform
