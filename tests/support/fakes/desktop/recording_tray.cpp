#include "recording_tray.h"

namespace test_support {

bool RecordingTray::NotifyIcon(std::uint32_t message, const platform::NOTIFYICONDATA& data) {
  calls.push_back({message, data.uID, data.uFlags, data.uCallbackMessage, data.hIcon, platform::TipText(data)});
  switch (message) {
    case platform::NIM_ADD:
      if (shown) return false;
      shown = true;
      return true;
    case platform::NIM_MODIFY: return shown;
    case platform::NIM_DELETE:
      if (!shown) return false;
      shown = false;
      return true;
    default: return false;
  }
}

}  // namespace test_support
