#include "tray_icon.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSystemTrayIcon>

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "application.h"
#include "form.h"
#include "sjis_text.h"

namespace platform {
namespace {

constexpr std::size_t kTipBytes = sizeof(NOTIFYICONDATA::szTip) - 1;

unsigned MouseMessage(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: return WM_LBUTTONUP;
    case QSystemTrayIcon::DoubleClick: return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context: return WM_RBUTTONDOWN;
    default: return 0;
  }
}

// Sends the owner its callback message. Nothing may unwind through Qt's
// signal delivery, so an error from the owner's handler is shown here.
void Deliver(const QPointer<TForm>& owner, unsigned callback, std::uint32_t id, unsigned mouse) {
  if (!owner || callback == 0 || mouse == 0) return;
  try {
    owner->Perform(callback, id, static_cast<std::intptr_t>(mouse));
  } catch (const std::exception& e) {
    Application().ShowException(e);
  } catch (...) {
    Application().ShowException(std::runtime_error("Unknown exception in the tray icon handler"));
  }
}

}  // namespace

void SetTip(NOTIFYICONDATA& data, const std::string& sjis) {
  // Walk character by character from the start: only there is it known
  // which byte is a lead byte. A double-byte character that does not fit
  // whole is left out rather than cut in half.
  const std::size_t len = std::min(sjis.size(), std::strlen(sjis.c_str()));
  std::size_t end = 0;
  while (end < len && end < kTipBytes) {
    const std::size_t width = IsSjisLeadByte(static_cast<unsigned char>(sjis[end])) && end + 1 < len ? 2 : 1;
    if (end + width > kTipBytes) break;
    end += width;
  }
  std::memset(data.szTip, 0, sizeof data.szTip);
  std::memcpy(data.szTip, sjis.data(), end);
}

std::string TipText(const NOTIFYICONDATA& data) {
  return std::string(data.szTip, ::strnlen(data.szTip, sizeof data.szTip));
}

// ---------------------------------------------------------------------------

struct DesktopTray::Impl {
  struct Entry {
    QPointer<TForm> owner;
    // Parented to the owner: a form that goes away takes its icons along,
    // and no activation can reach it afterwards.
    QPointer<QSystemTrayIcon> icon;
    // Shared with the icon's activation handler, so that a later
    // NIF_MESSAGE reaches it.
    std::shared_ptr<unsigned> callback;
  };
  using Key = std::pair<const TForm*, std::uint32_t>;
  std::map<Key, Entry> icons;

  // The live entry for the record's icon; entries of destroyed owners are
  // dropped on the way, so a new form at a reused address starts afresh.
  Entry* Find(const NOTIFYICONDATA& data) {
    const auto it = icons.find({data.hWnd, data.uID});
    if (it == icons.end()) return nullptr;
    if (!it->second.owner || !it->second.icon) {
      icons.erase(it);
      return nullptr;
    }
    return &it->second;
  }

  bool Add(const NOTIFYICONDATA& data) {
    if (!data.hWnd || Find(data)) return false;
    Entry entry;
    entry.owner = data.hWnd;
    entry.callback = std::make_shared<unsigned>(0);
    auto* icon = new QSystemTrayIcon(data.hWnd);
    entry.icon = icon;
    QObject::connect(icon, &QSystemTrayIcon::activated, icon,
                     [owner = entry.owner, callback = entry.callback, id = data.uID](
                         QSystemTrayIcon::ActivationReason r) { Deliver(owner, *callback, id, MouseMessage(r)); });
    Apply(entry, data);
    icon->show();
    icons.emplace(Key{data.hWnd, data.uID}, std::move(entry));
    return true;
  }

  static void Apply(Entry& entry, const NOTIFYICONDATA& data) {
    if (data.uFlags & NIF_MESSAGE) *entry.callback = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) entry.icon->setIcon(data.hIcon);
    if (data.uFlags & NIF_TIP) entry.icon->setToolTip(SjisToQString(TipText(data)));
  }

  bool Modify(const NOTIFYICONDATA& data) {
    Entry* entry = Find(data);
    if (!entry) return false;
    Apply(*entry, data);
    return true;
  }

  bool Delete(const NOTIFYICONDATA& data) {
    Entry* entry = Find(data);
    if (!entry) return false;
    QSystemTrayIcon* icon = entry->icon;
    icons.erase({data.hWnd, data.uID});
    icon->hide();
    // The owner may delete its icon from inside the icon's own activation
    // (a menu's "exit"), so the object goes when control is back in the loop.
    icon->deleteLater();
    return true;
  }
};

DesktopTray::DesktopTray() : impl_(new Impl) {}

DesktopTray::~DesktopTray() {
  // Icons still shown belong to forms that are still alive; without an
  // application object left there is nothing that could take them down.
  if (QCoreApplication::instance())
    for (auto& [key, entry] : impl_->icons) delete entry.icon.data();
  delete impl_;
}

bool DesktopTray::NotifyIcon(std::uint32_t message, const NOTIFYICONDATA& data) {
  switch (message) {
    case NIM_ADD: return impl_->Add(data);
    case NIM_MODIFY: return impl_->Modify(data);
    case NIM_DELETE: return impl_->Delete(data);
    default: return false;
  }
}

bool Shell_NotifyIconA(std::uint32_t message, const NOTIFYICONDATA* data) {
  return data ? Tray().NotifyIcon(message, *data) : false;
}

}  // namespace platform
