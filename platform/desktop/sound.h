// Sounds: the desktop's event sounds and sound files played in the
// background.
#pragma once

#include <string>

#include "service_slot.h"

namespace platform {

inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned SND_ASYNC = 0x0001;

class SoundService {
 public:
  virtual ~SoundService() = default;
  // The system sound of a message-box type (MB_ICONASTERISK: "information").
  virtual bool MessageBeep(unsigned type) = 0;
  // Plays a sound file (path in Shift_JIS); false when it does not exist or
  // cannot be played. With SND_ASYNC returns at once and plays in the
  // background. (DesktopSound never waits, SND_ASYNC or not: its caller is
  // the GUI thread.)
  virtual bool PlaySoundFile(const std::string& file, unsigned flags) = 0;
};

// Event sounds of the desktop's sound theme through libcanberra; the
// display's bell where no sound can be played.
class DesktopSound final : public SoundService {
 public:
  DesktopSound();
  ~DesktopSound() override;
  bool MessageBeep(unsigned type) override;
  bool PlaySoundFile(const std::string& file, unsigned flags) override;

 private:
  struct Impl;
  Impl* impl_;
};

using SoundSlot = ServiceSlot<SoundService, DesktopSound>;
inline SoundService& Sound() { return SoundSlot::Get(); }
inline void SetSound(SoundService* service) { SoundSlot::Set(service); }

inline bool MessageBeep(unsigned type) { return Sound().MessageBeep(type); }
inline bool sndPlaySoundA(const std::string& file, unsigned flags) { return Sound().PlaySoundFile(file, flags); }

}  // namespace platform
