#include "label_control.h"

#include <QImage>

#include "drawtext.h"

namespace platform {

TLabel::TLabel(QWidget* parent) : TGraphicControl(parent) {
  SetBounds(0, 0, 65, 17);
  AdjustBounds();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void TLabel::SetAutoSize(bool auto_size) {
  if (auto_size == auto_size_) return;
  auto_size_ = auto_size;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void TLabel::SetWordWrap(bool word_wrap) {
  if (word_wrap == word_wrap_) return;
  word_wrap_ = word_wrap;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool show) {
  if (show == show_accel_char_) return;
  show_accel_char_ = show;
  AdjustBounds();
  Invalidate();
}

unsigned TLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (word_wrap_) flags |= DT_WORDBREAK;
  if (!show_accel_char_) flags |= DT_NOPREFIX;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
}

void TLabel::CMTextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::CMFontChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::AdjustBounds() {
  if (!auto_size_) return;
  // An empty caption still keeps one line's height.
  const std::string text = Caption().empty() ? std::string(" ") : Caption();
  QImage scratch(1, 1, QImage::Format_RGB32);
  TCanvas canvas(scratch);
  canvas.Font().Assign(Font());
  TRect r{0, 0, word_wrap_ ? Width() : 0, 0};
  DrawText(canvas, text, r, TextFlags() | DT_CALCRECT);
  int left = Left();
  if (alignment_ == taRightJustify && !word_wrap_) left += Width() - r.Width();
  SetBounds(left, Top(), word_wrap_ ? Width() : r.Width(), r.Height());
}

void TLabel::Paint() {
  TCanvas& c = *Canvas();
  if (!transparent_) {
    c.SetBrushColor(Color());
    c.FillRect(ClientRect());
  }
  c.SetBrushStyle(TBrushStyle::bsClear);
  c.Font().Assign(Font());
  const unsigned flags = TextFlags();

  TRect r = ClientRect();
  if (layout_ != tlTop) {
    TRect calc = r;
    DrawText(c, Caption(), calc, flags | DT_CALCRECT);
    const int spare = r.Height() - calc.Height();
    r.Top += layout_ == tlCenter ? spare / 2 : spare;
  }
  if (!Enabled()) {
    TRect shifted = r.Offset(1, 1);
    c.Font().SetColor(clBtnHighlight);
    DrawText(c, Caption(), shifted, flags);
    c.Font().SetColor(clBtnShadow);
    DrawText(c, Caption(), r, flags);
    return;
  }
  DrawText(c, Caption(), r, flags);
}

}  // namespace platform
