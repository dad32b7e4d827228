#include "speed_button.h"

namespace platform {

TSpeedButton::TSpeedButton(QWidget* parent) : TGraphicControl(parent) {
  SetClicksOnRelease(false);
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetDown(bool down) {
  if (group_index_ == 0) down = false;
  if (down == down_) return;
  if (down_ && !allow_all_up_) return;  // the group's last down button stays down
  down_ = down;
  if (down) {
    state_ = bsExclusive;
    ReleaseOthersInGroup();
  } else {
    state_ = bsUp;
  }
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
  if (index == group_index_) return;
  group_index_ = index;
  if (index == 0 && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
}

void TSpeedButton::SetAllowAllUp(bool allow) {
  if (allow == allow_all_up_) return;
  allow_all_up_ = allow;
  // The whole group shares the setting.
  if (group_index_ == 0 || !parentWidget()) return;
  for (TSpeedButton* b : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly))
    if (b != this && b->group_index_ == group_index_) b->allow_all_up_ = allow;
}

void TSpeedButton::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void TSpeedButton::ReleaseOthersInGroup() {
  if (group_index_ == 0 || !parentWidget()) return;
  for (TSpeedButton* b : parentWidget()->findChildren<TSpeedButton*>(Qt::FindDirectChildrenOnly)) {
    if (b == this || b->group_index_ != group_index_ || !b->down_) continue;
    b->down_ = false;
    b->state_ = b->Enabled() ? bsUp : bsDisabled;
    b->Invalidate();
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  TButtonState next = bsUp;
  if (InPressArea(x, y)) next = down_ ? bsExclusive : bsDown;
  else if (down_) next = bsExclusive;
  if (next != state_) {
    state_ = next;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !dragging_) return;
  dragging_ = false;
  const bool click = InPressArea(x, y);
  if (group_index_ == 0) {
    state_ = bsUp;
    Invalidate();
  } else {
    if (click) SetDown(!down_);
    state_ = down_ ? bsExclusive : bsUp;
    Invalidate();
  }
  if (click) Click();
}

void TSpeedButton::CMMouseEnter() {
  TGraphicControl::CMMouseEnter();
  mouse_in_control_ = true;
}

void TSpeedButton::CMMouseLeave() {
  TGraphicControl::CMMouseLeave();
  mouse_in_control_ = false;
}

void TSpeedButton::CMEnabledChanged() {
  dragging_ = false;
  if (!Enabled()) state_ = bsDisabled;
  else state_ = down_ ? bsExclusive : bsUp;
  TGraphicControl::CMEnabledChanged();
}

}  // namespace platform
