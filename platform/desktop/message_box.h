// Message boxes: the error display of the application object.
#pragma once

#include <string>
#include <vector>

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

// Records each box and shows nothing; for tests.
class RecordingMessages final : public MessageService {
 public:
  struct Box {
    std::string title;
    std::string text;
  };
  void ShowError(const std::string& title, const std::string& text) override;
  std::vector<Box> boxes;
};

MessageService& Messages();
// nullptr puts the desktop service back.
void SetMessages(MessageService* service);

}  // namespace platform
