#include "graphic_control.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "screen_cursors.h"

namespace platform {
namespace {

bool to_button(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

TShiftState to_shift(const QMouseEvent* e) {
  TShiftState s = 0;
  const Qt::KeyboardModifiers m = e->modifiers();
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  const Qt::MouseButtons b = e->buttons();
  if (b & Qt::LeftButton) s |= ssLeft;
  if (b & Qt::RightButton) s |= ssRight;
  if (b & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

}  // namespace

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  font_.OnChange = [this] { CMFontChanged(); };
  // Controls are visible unless hidden, also when put on a form already shown.
  if (parent) show();
}

TGraphicControl::~TGraphicControl() { font_.OnChange = nullptr; }

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
  setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

void TGraphicControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  CMTextChanged();
}

void TGraphicControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  left_pressed_ = false;
  CMEnabledChanged();
}

void TGraphicControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

void TGraphicControl::SetCursor(int number) {
  cursor_ = number;
  setCursor(ScreenCursor(number));
}

void TGraphicControl::SetOpaque(bool opaque) { setAttribute(Qt::WA_OpaquePaintEvent, opaque); }

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TGraphicControl::Click() {
  if (OnClick) OnClick(this);
}

void TGraphicControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TGraphicControl::CMMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TGraphicControl::CMMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TGraphicControl::CMTextChanged() { Invalidate(); }
void TGraphicControl::CMFontChanged() { Invalidate(); }
void TGraphicControl::CMEnabledChanged() { Invalidate(); }

void TGraphicControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas canvas(painter);
  canvas_ = &canvas;
  Paint();
  canvas_ = nullptr;
}

void TGraphicControl::mousePressEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!enabled_ || !to_button(e->button(), b)) return;
  if (b == TMouseButton::mbLeft) left_pressed_ = true;
  const QPoint p = e->position().toPoint();
  MouseDown(b, to_shift(e), p.x(), p.y());
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click is a press too, marked as double.
  TMouseButton b;
  if (!enabled_ || !to_button(e->button(), b)) return;
  if (b == TMouseButton::mbLeft) {
    left_pressed_ = true;
    DblClick();
  }
  const QPoint p = e->position().toPoint();
  MouseDown(b, to_shift(e) | ssDouble, p.x(), p.y());
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* e) {
  TMouseButton b;
  if (!enabled_ || !to_button(e->button(), b)) return;
  const QPoint p = e->position().toPoint();
  const bool click = b == TMouseButton::mbLeft && left_pressed_ && clicks_on_release_ && rect().contains(p);
  if (b == TMouseButton::mbLeft) left_pressed_ = false;
  if (click) Click();
  MouseUp(b, to_shift(e), p.x(), p.y());
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* e) {
  if (!enabled_) return;
  const QPoint p = e->position().toPoint();
  MouseMove(to_shift(e), p.x(), p.y());
}

void TGraphicControl::enterEvent(QEnterEvent*) { CMMouseEnter(); }
void TGraphicControl::leaveEvent(QEvent*) { CMMouseLeave(); }

}  // namespace platform
