// The notification-area icon, driven the desktop shell's way: one record
// describes the icon (owner window, id, callback message, picture, tip) and
// Shell_NotifyIconA adds, modifies or deletes it. Mouse actions on the icon
// come back to the owner form as its callback message, with the icon id in
// WParam and the mouse message (WM_LBUTTONUP, WM_LBUTTONDBLCLK,
// WM_RBUTTONDOWN) in LParam.
#pragma once

#include <QIcon>

#include <cstdint>
#include <string>

#include "service_slot.h"

namespace platform {

class TForm;

inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;

inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;

struct NOTIFYICONDATA {
  std::uint32_t cbSize = 88;
  TForm* hWnd = nullptr;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  QIcon hIcon;
  char szTip[64] = {};  // Shift_JIS, NUL-terminated
};

// Copies at most 63 bytes of text and a NUL into the tip field; a
// double-byte character that does not fit whole is left out.
void SetTip(NOTIFYICONDATA& data, const std::string& sjis);
std::string TipText(const NOTIFYICONDATA& data);

class TrayService {
 public:
  virtual ~TrayService() = default;
  // The shell's call; false when the operation failed.
  virtual bool NotifyIcon(std::uint32_t message, const NOTIFYICONDATA& data) = 0;
};

// A QSystemTrayIcon per (owner, id), a child of the owner form, so the icons
// go when the form goes. Trigger, DoubleClick and Context activations are
// sent to the owner as WM_LBUTTONUP, WM_LBUTTONDBLCLK and WM_RBUTTONDOWN
// (only once NIF_MESSAGE has given a callback message); the owner opens its
// own menu. An error escaping the owner's handler goes to
// Application().ShowException.
class DesktopTray final : public TrayService {
 public:
  DesktopTray();
  ~DesktopTray() override;
  bool NotifyIcon(std::uint32_t message, const NOTIFYICONDATA& data) override;

 private:
  struct Impl;
  Impl* impl_;
};

using TraySlot = ServiceSlot<TrayService, DesktopTray>;
inline TrayService& Tray() { return TraySlot::Get(); }
inline void SetTray(TrayService* service) { TraySlot::Set(service); }

bool Shell_NotifyIconA(std::uint32_t message, const NOTIFYICONDATA* data);

}  // namespace platform
