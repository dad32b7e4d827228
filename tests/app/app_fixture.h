// The two windows as the program creates them, in a folder of their own
// (an empty settings file and NG-word file beside a pretend executable), with the
// tray, sounds and message boxes replaced by recorders and the timers on a
// clock the test moves.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "Unit1.h"
#include "Unit2.h"
#include "application.h"
#include "message_box.h"
#include "recording_messages.h"
#include "recording_sound.h"
#include "recording_tray.h"
#include "sound.h"
#include "temp_dir.h"
#include "timer.h"
#include "tray_icon.h"

namespace app_test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// One account row of the settings file.
struct Account {
  std::string short_name, server, account, password;
};

inline std::string SettingsText(const std::map<int, Account>& accounts, const std::string& option = "") {
  std::string text = "[Option]\r\n" + option;
  for (const auto& [row, a] : accounts) {
    text += "[Account:" + std::to_string(row) + "]\r\nShortName=" + a.short_name + "\r\nPOPServer=" + a.server +
            "\r\nAccount=" + a.account + "\r\nPassword=" + a.password + "\r\n";
  }
  return text;
}

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Application().SetExeDir(dir_.string() + "/");
    // A settings file beside the pretend executable keeps both files in its
    // folder; the user's folder is one of the test's own all the same.
    WriteFile(dir_ / "tolvane.ini", "");
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    platform::Application().SetTitle("Tolvane");
    platform::SetTray(&tray);
    platform::SetSound(&sound);
    platform::SetMessages(&messages);
    clock = std::make_unique<platform::ManualClock>();
    WriteFile(dir_ / "ngword.txt", "");
    LastMailCount = 0;
  }

  void TearDown() override {
    DestroyWindows();
    clock.reset();
    platform::SetTray(nullptr);
    platform::SetSound(nullptr);
    platform::SetMessages(nullptr);
    platform::Application().SetExeDir("");
    unsetenv("XDG_CONFIG_HOME");
  }

  // Creates the windows in the program's order.
  void Start() {
    Form1 = new TForm1();
    platform::Application().SetMainForm(Form1);
    Form_POPMES = new TForm_POPMES();
  }

  void DestroyWindows() {
    delete Form_POPMES;
    Form_POPMES = nullptr;
    delete Form1;
    Form1 = nullptr;
    platform::Application().SetMainForm(nullptr);
  }

  std::filesystem::path Path(const std::string& name) const { return dir_ / name; }

  std::string TrayTip() const { return tray.calls.empty() ? "" : tray.calls.back().tip; }
  qint64 TrayIcon() const { return tray.calls.empty() ? 0 : tray.calls.back().icon.cacheKey(); }

  test_support::RecordingTray tray;
  test_support::RecordingSound sound;
  test_support::RecordingMessages messages;
  std::unique_ptr<platform::ManualClock> clock;

 private:
  test_support::TempDir scratch_;
  const std::filesystem::path dir_{scratch_.path()};
};

}  // namespace app_test
