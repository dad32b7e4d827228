// A window-less text label: caption in the control's font, optionally
// transparent, sized to its text while AutoSize is on, "&" accelerators
// unless ShowAccelChar is off, grey embossed text when disabled.
#pragma once

#include "graphic_control.h"

namespace platform {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(QWidget* parent = nullptr);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool word_wrap);
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool show);

 protected:
  void Paint() override;
  void CMTextChanged() override;
  void CMFontChanged() override;

 private:
  unsigned TextFlags() const;
  void AdjustBounds();

  bool transparent_ = false;
  bool auto_size_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
};

}  // namespace platform
