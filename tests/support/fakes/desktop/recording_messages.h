// Message boxes that are recorded and never shown.
#pragma once

#include <string>
#include <vector>

#include "message_box.h"

namespace test_support {

class RecordingMessages final : public platform::MessageService {
 public:
  struct Box {
    std::string title;
    std::string text;
  };
  void ShowError(const std::string& title, const std::string& text) override;
  std::vector<Box> boxes;
};

}  // namespace test_support
