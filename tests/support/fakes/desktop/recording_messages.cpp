#include "recording_messages.h"

namespace test_support {

void RecordingMessages::ShowError(const std::string& title, const std::string& text) { boxes.push_back({title, text}); }

}  // namespace test_support
