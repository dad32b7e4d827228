#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <string>

#include "recording_sound.h"
#include "sound.h"
#include "temp_file.h"

namespace {

using platform::SND_ASYNC;

// Sounds are started, never waited for: the caller is the GUI thread.
constexpr qint64 kBoundMs = 1000;

TEST(DesktopSound, FilesThatCannotBePlayedAreRefusedAtOnce) {
  const test_support::TempFile not_a_sound("This is a mail checker, not a sound.\n");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"empty", ""},
      {"missing", "/nonexistent/tolvane/new-mail.wav"},
      {"missing, Shift_JIS name", "/nonexistent/\x90\x56\x92\x85.wav"},
      {"a folder", "/tmp"},
      {"not a sound", not_a_sound.path()},
  };
  platform::DesktopSound sound;
  for (const auto& c : cases) {
    for (const unsigned flags : {SND_ASYNC, 0u}) {
      QElapsedTimer elapsed;
      elapsed.start();
      EXPECT_FALSE(sound.PlaySoundFile(c.path, flags)) << c.name << " flags " << flags;
      EXPECT_LT(elapsed.elapsed(), kBoundMs) << c.name << " flags " << flags;
    }
  }
}

TEST(DesktopSound, MessageBeepReturnsWithoutWaiting) {
  // Whether a sound server answers or only the display's bell is there,
  // the call comes back at once.
  platform::DesktopSound sound;
  for (const unsigned type : {platform::MB_ICONASTERISK, 0x30u, 0x10u, 0u, 0xFFFFFFFFu}) {
    QElapsedTimer elapsed;
    elapsed.start();
    (void)sound.MessageBeep(type);
    EXPECT_LT(elapsed.elapsed(), kBoundMs) << "type " << type;
  }
}

TEST(SoundService, TheProgramsCallsGoToTheInstalledService) {
  test_support::RecordingSound fake;
  platform::SetSound(&fake);
  EXPECT_TRUE(platform::MessageBeep(platform::MB_ICONASTERISK));
  EXPECT_TRUE(platform::sndPlaySoundA("C:\\mail.wav", SND_ASYNC));
  platform::SetSound(nullptr);
  ASSERT_EQ(fake.requests.size(), 2u);
  EXPECT_TRUE(fake.requests[0].beep);
  EXPECT_EQ(fake.requests[0].type, platform::MB_ICONASTERISK);
  EXPECT_FALSE(fake.requests[1].beep);
  EXPECT_EQ(fake.requests[1].type, SND_ASYNC);
  EXPECT_EQ(fake.requests[1].file, "C:\\mail.wav");
  EXPECT_NE(&platform::Sound(), static_cast<platform::SoundService*>(&fake));
}

}  // namespace
