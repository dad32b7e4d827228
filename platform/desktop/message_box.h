// Message boxes: the error display of the application object.
#pragma once

#include <string>

#include "service_slot.h"

namespace platform {

class MessageService {
 public:
  virtual ~MessageService() = default;
  // A modal box with an error icon and an OK button; returns when closed.
  // Both texts in Shift_JIS.
  virtual void ShowError(const std::string& title, const std::string& text) = 0;
};

class DesktopMessages final : public MessageService {
 public:
  void ShowError(const std::string& title, const std::string& text) override;
};

using MessagesSlot = ServiceSlot<MessageService, DesktopMessages>;
inline MessageService& Messages() { return MessagesSlot::Get(); }
inline void SetMessages(MessageService* service) { MessagesSlot::Set(service); }

}  // namespace platform
