#include "recording_sound.h"

namespace test_support {

bool RecordingSound::MessageBeep(unsigned type) {
  requests.push_back({true, type, {}});
  return true;
}

bool RecordingSound::PlaySoundFile(const std::string& file, unsigned flags) {
  requests.push_back({false, flags, file});
  return true;
}

}  // namespace test_support
