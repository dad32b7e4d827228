// Sounds that are recorded and never played; every request succeeds.
#pragma once

#include <string>
#include <vector>

#include "sound.h"

namespace test_support {

class RecordingSound final : public platform::SoundService {
 public:
  struct Request {
    bool beep;      // MessageBeep, else a file
    unsigned type;  // beep type or play flags
    std::string file;
  };
  bool MessageBeep(unsigned type) override;
  bool PlaySoundFile(const std::string& file, unsigned flags) override;
  std::vector<Request> requests;
};

}  // namespace test_support
