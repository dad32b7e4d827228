#include <gtest/gtest.h>

#include "recording_shell.h"
#include "shell_open.h"

namespace {

TEST(ShellOpen, TargetsBecomeDesktopAddresses) {
  const struct {
    std::string target;
    const char* url;
  } cases[] = {
      {"http://www.example.jp/", "http://www.example.jp/"},       {"www.example.jp", "http://www.example.jp"},
      {"mailto:someone@example.jp", "mailto:someone@example.jp"}, {"MAILTO:a@b.jp", "mailto:a@b.jp"},
      {"mailto:mailto:a@b.jp", "mailto:mailto:a@b.jp"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::ShellTargetUrl(c.target).toString().toStdString(), c.url) << c.target;
  EXPECT_TRUE(platform::ShellTargetUrl("").isEmpty());
}

TEST(ShellOpen, TheRecordingShellSeesEveryRequest) {
  test_support::RecordingShell fake;
  platform::SetShell(&fake);
  platform::Shell().ShellExecute("OPEN", "www.example.jp");
  platform::Shell().ShellExecute("OPEN", "");
  platform::SetShell(nullptr);
  ASSERT_EQ(fake.requests.size(), 2u);
  EXPECT_EQ(fake.requests[0].verb, "OPEN");
  EXPECT_EQ(fake.requests[0].target, "www.example.jp");
  EXPECT_EQ(fake.requests[1].target, "");
  EXPECT_NE(&platform::Shell(), static_cast<platform::ShellService*>(&fake));
}

}  // namespace
