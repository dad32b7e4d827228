// TForm: a top-level window whose caption is Shift_JIS text. Closing runs
// FormCloseQuery (which may refuse) and then FormClose; closing the
// application's main form ends the message loop, any other form is only
// hidden. Window messages that the desktop sends to the form (the tray's
// callback) arrive through Dispatch.
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>

namespace platform {

struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;      // 514
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;  // 515
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;    // 516

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm : public QWidget {
 public:
  explicit TForm(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

  std::string Caption() const;
  void SetCaption(const std::string& sjis);

  // The shown state as this window object records it (Show, Hide, a close).
  bool Visible() const { return isVisible(); }
  void Show();
  void Hide() { hide(); }
  // Asks the form to close: FormCloseQuery, then FormClose.
  void Close() { close(); }
  // Raises the window and gives it the keyboard focus.
  void SetForegroundWindow();

  void SetClientSize(int width, int height) { resize(width, height); }
  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }

  // Sends a message to the form at once; returns its Result.
  std::intptr_t Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);

 protected:
  virtual void Dispatch(TMessage& message) { (void)message; }
  virtual void FormCloseQuery(bool& CanClose) { (void)CanClose; }
  virtual void FormClose(TCloseAction& Action) { (void)Action; }

  void closeEvent(QCloseEvent* event) override;
};

}  // namespace platform
