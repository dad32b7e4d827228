// The desktop shell's open request: a web address, or a "mailto:" address,
// handed to the user's browser or mail program. The result is not reported.
#pragma once

#include <QUrl>

#include <string>

#include "service_slot.h"

namespace platform {

class ShellService {
 public:
  virtual ~ShellService() = default;
  // verb as the caller names it ("OPEN"); target in Shift_JIS.
  virtual void ShellExecute(const std::string& verb, const std::string& target) = 0;
};

// Opens through Qt's desktop services (xdg-open on a Linux desktop).
class DesktopShell final : public ShellService {
 public:
  void ShellExecute(const std::string& verb, const std::string& target) override;
};

// The service requests go to; the desktop one unless replaced.
using ShellSlot = ServiceSlot<ShellService, DesktopShell>;
inline ShellService& Shell() { return ShellSlot::Get(); }
inline void SetShell(ShellService* service) { ShellSlot::Set(service); }

// The address a target stands for: "mailto:..." as it is, a bare host such
// as "www.example.jp" as an http address; empty for an empty target.
QUrl ShellTargetUrl(const std::string& target);

}  // namespace platform
