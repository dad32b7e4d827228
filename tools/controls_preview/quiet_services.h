// Desktop services that do nothing, so that the preview's window reaches no
// tray, speaker or message box of the desktop it runs on.
#pragma once

#include <cstdint>
#include <string>

#include "message_box.h"
#include "sound.h"
#include "tray_icon.h"

class QuietTray final : public platform::TrayService {
 public:
  bool NotifyIcon(std::uint32_t, const platform::NOTIFYICONDATA&) override { return true; }
};

class QuietSound final : public platform::SoundService {
 public:
  bool MessageBeep(unsigned) override { return true; }
  bool PlaySoundFile(const std::string&, unsigned) override { return true; }
};

class QuietMessages final : public platform::MessageService {
 public:
  void ShowError(const std::string&, const std::string&) override {}
};
