// A window-less control: it has no native window of its own and paints on
// its parent's surface inside its bounds. Mouse input, the pointer entering
// and leaving, caption, font and enabled-state changes arrive as virtual
// handlers named after the desktop's notifications.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "canvas.h"
#include "font.h"
#include "geometry.h"

namespace platform {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;
inline constexpr TShiftState ssDouble = 0x40;

class TGraphicControl : public QWidget {
 public:
  using TNotifyEvent = std::function<void(TGraphicControl* sender)>;
  using TMouseEvent = std::function<void(TGraphicControl* sender, TMouseButton, TShiftState, int x, int y)>;
  using TMouseMoveEvent = std::function<void(TGraphicControl* sender, TShiftState, int x, int y)>;

  explicit TGraphicControl(QWidget* parent = nullptr);
  ~TGraphicControl() override;

  int Left() const { return x(); }
  int Top() const { return y(); }
  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }

  // The control's own enabled state. A disabled control gets no mouse
  // presses, releases or moves, but still hears the pointer enter and leave.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TColor Color() const { return color_; }
  void SetColor(TColor color);

  int Cursor() const { return cursor_; }
  void SetCursor(int number);

  // A repaint request, served later.
  void Invalidate() { update(); }
  // Paints now, when the control can be seen.
  void Repaint() { repaint(); }

  QPoint ScreenToClient(QPoint screen) const { return mapFromGlobal(screen); }
  QPoint ClientToScreen(QPoint client) const { return mapToGlobal(client); }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  // The canvas of the paint in progress; null outside Paint.
  TCanvas* Canvas() { return canvas_; }

  virtual void Paint() {}
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  virtual void CMMouseEnter();
  virtual void CMMouseLeave();
  virtual void CMTextChanged();
  virtual void CMFontChanged();
  virtual void CMEnabledChanged();

  // Whether a left press and release inside the control is a click of the
  // base (a speed button decides that itself).
  void SetClicksOnRelease(bool on) { clicks_on_release_ = on; }
  // Whether the parent is painted under the control before Paint.
  void SetOpaque(bool opaque);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  std::string caption_;
  TFont font_;
  TColor color_ = clBtnFace;
  bool enabled_ = true;
  int cursor_ = 0;
  bool clicks_on_release_ = true;
  bool left_pressed_ = false;
  TCanvas* canvas_ = nullptr;
};

}  // namespace platform
