#include "URLLabel.h"

#include <QCursor>

#include "pointer_pos.h"
#include "screen_cursors.h"
#include "shell_open.h"
#include "sjis_text.h"

TURLLabel::TURLLabel(QWidget* AOwner) : TLabel(AOwner) {
  // Each label registers the hand again, replacing what was there.
  platform::SetScreenCursor(crHandPointer, QCursor(Qt::PointingHandCursor));
  SetCursor(crHandPointer);
}

void TURLLabel::SetHotTrack(bool value) {
  if (value == FHotTrack) return;
  FHotTrack = value;
  Invalidate();
}

void TURLLabel::SetHotColor(TColor value) {
  if (value == FHotColor) return;
  FHotColor = value;
  Invalidate();
}

void TURLLabel::SetPushedColor(TColor value) {
  if (value == FPushedColor) return;
  FPushedColor = value;
  Invalidate();
}

void TURLLabel::CMMouseEnter() {
  TLabel::CMMouseEnter();
  if (!FHotTrack) return;
  FSavedFontColor = Font().Color();
  Font().SetColor(FHotColor);
  Invalidate();
}

void TURLLabel::CMMouseLeave() {
  TLabel::CMMouseLeave();
  if (!FHotTrack) return;
  Font().SetColor(FSavedFontColor);
  Invalidate();
}

void TURLLabel::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) {
  TLabel::MouseDown(button, shift, x, y);
  if (FHotTrack) {
    Font().SetColor(FPushedColor);
    Invalidate();
  }
  if (FExecutable) OpenTarget();
}

void TURLLabel::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) {
  TLabel::MouseUp(button, shift, x, y);
  if (!FHotTrack) return;
  // Where the pointer is now, not where the release was reported.
  const QPoint p = ScreenToClient(platform::GetCursorPos());
  Font().SetColor(ClientRect().Contains({p.x(), p.y()}) ? FHotColor : FSavedFontColor);
  Invalidate();
}

namespace {

// "@" as a character: the second byte of a double-byte character can be
// 0x40 too (the full-width space is 81 40) and is no mail address sign.
bool has_at_sign(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (platform::IsSjisLeadByte(c)) ++i;
    else if (c == '@') return true;
  }
  return false;
}

}  // namespace

void TURLLabel::OpenTarget() {
  std::string target = Caption();
  if (has_at_sign(target)) target = "mailto:" + target;
  platform::Shell().ShellExecute("OPEN", target);
}
