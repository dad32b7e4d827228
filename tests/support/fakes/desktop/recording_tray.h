// A notification area that records each call and shows nothing. It answers
// as the shell does for one icon: adding it twice, or changing or deleting
// it while it is not there, fails.
#pragma once

#include <QIcon>

#include <cstdint>
#include <string>
#include <vector>

#include "tray_icon.h"

namespace test_support {

class RecordingTray final : public platform::TrayService {
 public:
  struct Call {
    std::uint32_t message;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    QIcon icon;
    std::string tip;
  };
  bool NotifyIcon(std::uint32_t message, const platform::NOTIFYICONDATA& data) override;
  std::vector<Call> calls;
  // Whether an icon is there now (added and not deleted).
  bool shown = false;
};

}  // namespace test_support
