#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <string>
#include <vector>

#include "URLLabel.h"
#include "byte_assert.h"
#include "pointer_pos.h"
#include "recording_shell.h"
#include "screen_cursors.h"
#include "shell_open.h"
#include "widget_pixels.h"

namespace {

using platform::TColor;
using test_support::send_enter;
using test_support::send_leave;
using test_support::send_press;
using test_support::send_release;

constexpr TColor kForm = 0xE0E0F5;
constexpr TColor kInk = 0x606090;
constexpr TColor kHot = 0x1070FF;

class URLLabelTest : public ::testing::Test {
 protected:
  test_support::TestForm form{300, 80, kForm};
  TURLLabel* label = new TURLLabel(&form);
  test_support::RecordingShell shell;
  QPoint pointer;  // in the label's client coordinates

  void SetUp() override {
    platform::SetShell(&shell);
    platform::SetCursorPosSource([this] { return label->ClientToScreen(pointer); });
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 148, 15);
    label->SetTransparent(true);
    label->Font().SetColor(kInk);
    label->SetHotColor(kHot);
    label->SetCaption("http://www.example.jp/");
  }
  void TearDown() override {
    platform::SetShell(nullptr);
    platform::SetCursorPosSource(nullptr);
  }
  std::vector<std::string> targets() const {
    std::vector<std::string> out;
    for (const auto& r : shell.requests) {
      EXPECT_EQ(r.verb, "OPEN");
      out.push_back(r.target);
    }
    return out;
  }
};

TEST_F(URLLabelTest, Defaults) {
  TURLLabel fresh;
  EXPECT_FALSE(fresh.Executable());
  EXPECT_TRUE(fresh.HotTrack());
  EXPECT_COLOR_EQ(fresh.HotColor(), 0xFFFF00u);
  EXPECT_COLOR_EQ(fresh.PushedColor(), 0x0000FFu);
  EXPECT_EQ(fresh.Cursor(), 32761);
  EXPECT_EQ(fresh.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(platform::ScreenCursor(32761).shape(), Qt::PointingHandCursor);
}

TEST_F(URLLabelTest, EachLabelRegistersTheHandAgain) {
  platform::SetScreenCursor(32761, QCursor(Qt::CrossCursor));
  TURLLabel another;
  EXPECT_EQ(platform::ScreenCursor(32761).shape(), Qt::PointingHandCursor);
}

TEST_F(URLLabelTest, PressOpensTheCaptionAsWebOrMailAddress) {
  label->SetExecutable(true);
  const struct {
    std::string caption;
    std::string target;
  } cases[] = {
      {"http://www.example.jp/", "http://www.example.jp/"},
      {"someone@example.jp", "mailto:someone@example.jp"},
      {"http://user@www.example.jp/", "mailto:http://user@www.example.jp/"},
      {"mailto:someone@example.jp", "mailto:mailto:someone@example.jp"},
      {"@", "mailto:@"},
      {"", ""},
      // The second byte of the full-width space is 0x40 but no "@".
      {"www.example.jp/\x81\x40", "www.example.jp/\x81\x40"},
      {"\x81\x97"
       "example",
       "\x81\x97"
       "example"},  // full-width "＠" neither
  };
  for (const auto& c : cases) {
    shell.requests.clear();
    label->SetCaption(c.caption);
    send_press(*label, {2, 2});
    send_release(*label, {2, 2});
    ASSERT_EQ(shell.requests.size(), 1u) << c.caption;
    EXPECT_BYTES_EQ(shell.requests[0].target, c.target);
  }
}

TEST_F(URLLabelTest, EveryPressOpensAndNothingElseDoes) {
  label->SetExecutable(true);
  send_enter(*label);
  EXPECT_TRUE(shell.requests.empty());
  send_press(*label, {2, 2}, Qt::RightButton);
  send_release(*label, {2, 2}, Qt::RightButton);
  send_press(*label, {2, 2}, Qt::MiddleButton);
  send_release(*label, {2, 2}, Qt::MiddleButton);
  EXPECT_EQ(shell.requests.size(), 2u);
  // A double click: press, release, second press, release.
  send_press(*label, {2, 2});
  send_release(*label, {2, 2});
  send_press(*label, {2, 2}, Qt::LeftButton, /*dbl=*/true);
  send_release(*label, {2, 2});
  send_leave(*label);
  EXPECT_EQ(targets(), std::vector<std::string>(4, "http://www.example.jp/"));
}

TEST_F(URLLabelTest, OpensAfterTheColourChangeInsideThePress) {
  label->SetExecutable(true);
  struct Probe : platform::ShellService {
    std::function<void()> hook;
    void ShellExecute(const std::string&, const std::string&) override { hook(); }
  } probe;
  std::vector<TColor> colour_at_request;
  probe.hook = [&] { colour_at_request.push_back(label->Font().Color()); };
  platform::SetShell(&probe);
  send_enter(*label);
  send_press(*label, {2, 2});
  EXPECT_EQ(colour_at_request.size(), 1u);  // at press time, not at release
  send_release(*label, {2, 2});
  platform::SetShell(&shell);
  ASSERT_EQ(colour_at_request.size(), 1u);
  EXPECT_COLOR_EQ(colour_at_request[0], 0x0000FFu);
}

TEST_F(URLLabelTest, NotExecutableRecoloursButOpensNothing) {
  send_enter(*label);
  send_press(*label, {2, 2});
  EXPECT_COLOR_EQ(label->Font().Color(), 0x0000FFu);
  send_release(*label, {2, 2});
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(URLLabelTest, ColourPhases) {
  // One step a line.
  // clang-format off
  const struct {
    const char* step;
    std::function<void()> act;
    TColor colour;
  } steps[] = {
      {"enter", [&] { send_enter(*label); }, kHot},
      {"press", [&] { send_press(*label, {3, 3}); }, 0x0000FF},
      {"release with the pointer inside", [&] { pointer = {3, 3}; send_release(*label, {3, 3}); }, kHot},
      {"press", [&] { send_press(*label, {3, 3}); }, 0x0000FF},
      // The pointer has moved out by the time of the release; the event's
      // own position says inside, but the system's position counts.
      {"release outside", [&] { pointer = {148, 3}; send_release(*label, {3, 3}); }, kInk},
      {"leave", [&] { send_leave(*label); }, kInk},
      {"enter", [&] { send_enter(*label); }, kHot},
      {"press", [&] { send_press(*label, {3, 3}); }, 0x0000FF},
      {"leave while held", [&] { send_leave(*label); }, kInk},
      {"back while held", [&] { send_enter(*label); }, kHot},
      {"release on the last row", [&] { pointer = {0, 14}; send_release(*label, {0, 14}); }, kHot},
      {"press", [&] { send_press(*label, {3, 3}); }, 0x0000FF},
      {"release below", [&] { pointer = {0, 15}; send_release(*label, {0, 15}); }, kInk},
  };
  // clang-format on
  for (const auto& s : steps) {
    s.act();
    EXPECT_COLOR_EQ(label->Font().Color(), s.colour) << s.step;
  }
}

TEST_F(URLLabelTest, SavedColourStartsBlack) {
  send_leave(*label);
  EXPECT_COLOR_EQ(label->Font().Color(), 0x000000u);
  label->Font().SetColor(kInk);
  send_press(*label, {3, 3});
  pointer = {-1, 3};
  send_release(*label, {3, 3});
  EXPECT_COLOR_EQ(label->Font().Color(), 0x000000u);
}

TEST_F(URLLabelTest, SecondEnterRemembersTheHotColour) {
  send_enter(*label);
  send_enter(*label);
  send_leave(*label);
  EXPECT_COLOR_EQ(label->Font().Color(), kHot);
}

TEST_F(URLLabelTest, SettersDoNotRecolourOnTheSpot) {
  send_enter(*label);
  label->SetHotColor(0x00FF00);
  EXPECT_COLOR_EQ(label->Font().Color(), kHot);
  label->SetPushedColor(0x112233);
  EXPECT_COLOR_EQ(label->Font().Color(), kHot);
  send_press(*label, {3, 3});
  EXPECT_COLOR_EQ(label->Font().Color(), 0x112233u);
  label->SetHotTrack(false);
  pointer = {3, 3};
  send_release(*label, {3, 3});
  send_leave(*label);
  EXPECT_COLOR_EQ(label->Font().Color(), 0x112233u);  // stays pushed
}

TEST_F(URLLabelTest, WithoutHotTrackTheColourNeverChangesButPressesOpen) {
  label->SetHotTrack(false);
  label->SetExecutable(true);
  send_enter(*label);
  send_press(*label, {3, 3});
  pointer = {3, 3};
  send_release(*label, {3, 3});
  send_leave(*label);
  EXPECT_COLOR_EQ(label->Font().Color(), kInk);
  EXPECT_EQ(shell.requests.size(), 1u);
}

TEST_F(URLLabelTest, SettersRequestARepaintOnlyOnChange) {
  struct Counting : TURLLabel {
    using TURLLabel::TURLLabel;
    int paints = 0;
    void Paint() override {
      ++paints;
      TURLLabel::Paint();
    }
  };
  auto* l = new Counting(&form);
  l->SetCaption("x");
  ASSERT_TRUE(test_support::settle_until([&] { return l->paints > 0; }));  // the first show
  test_support::settle();
  const struct {
    const char* what;
    std::function<void()> change;
    bool repaints;
  } steps[] = {
      {"same hot colour", [&] { l->SetHotColor(0xFFFF00); }, false},
      {"hot colour", [&] { l->SetHotColor(0x00FF00); }, true},
      {"same pushed colour", [&] { l->SetPushedColor(0x0000FF); }, false},
      {"pushed colour", [&] { l->SetPushedColor(0x00FF00); }, true},
      {"same hot track", [&] { l->SetHotTrack(true); }, false},
      {"hot track", [&] { l->SetHotTrack(false); }, true},
      {"executable", [&] { l->SetExecutable(true); }, false},
  };
  for (const auto& s : steps) {
    const int before = l->paints;
    s.change();
    if (s.repaints) EXPECT_TRUE(test_support::settle_until([&] { return l->paints > before; })) << s.what;
    else {
      test_support::settle();
      EXPECT_EQ(l->paints, before) << s.what;
    }
  }
}

TEST_F(URLLabelTest, TheHotColourShowsOnTheScreen) {
  label->Font().SetStyle(platform::fsBold);
  QImage img = form.picture();
  EXPECT_TRUE(test_support::has_color(img, label->geometry(), kInk));
  EXPECT_FALSE(test_support::has_color(img, label->geometry(), kHot));
  send_enter(*label);
  img = form.picture();
  EXPECT_TRUE(test_support::has_color(img, label->geometry(), kHot));
  EXPECT_FALSE(test_support::has_color(img, label->geometry(), kInk));
  // Transparent: the form shows between the letters.
  EXPECT_TRUE(test_support::has_color(img, label->geometry(), kForm));
}

}  // namespace
