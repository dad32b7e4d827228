#include <gtest/gtest.h>

#include <memory>

#include "speed_button.h"
#include "widget_pixels.h"

namespace {

using platform::bsDisabled;
using platform::bsDown;
using platform::bsExclusive;
using platform::bsUp;
using platform::TSpeedButton;
using test_support::send_move;
using test_support::send_press;
using test_support::send_release;

class SpeedButtonTest : public ::testing::Test {
 protected:
  test_support::TestForm form{200, 100};
  TSpeedButton* button = new TSpeedButton(&form);
  int clicks = 0;
  void SetUp() override {
    button->SetBounds(10, 10, 40, 20);
    button->OnClick = [this](platform::TGraphicControl*) { ++clicks; };
  }
};

TEST_F(SpeedButtonTest, PressGoesDownAndReleaseInsideClicks) {
  EXPECT_EQ(button->State(), bsUp);
  send_press(*button, {5, 5});
  EXPECT_EQ(button->State(), bsDown);
  EXPECT_EQ(clicks, 0);  // nothing at press time
  send_release(*button, {5, 5});
  EXPECT_EQ(button->State(), bsUp);
  EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonTest, TheStateFollowsThePointerWhileHeld) {
  const struct {
    QPoint at;
    platform::TButtonState state;
  } path[] = {
      {{39, 19}, bsDown}, {{40, 5}, bsUp}, {{5, 20}, bsDown},  // the lower edge still counts
      {{5, 21}, bsUp},    {{-1, 5}, bsUp}, {{0, 0}, bsDown},  {{5, -1}, bsUp},
  };
  send_press(*button, {5, 5});
  for (const auto& p : path) {
    send_move(*button, p.at);
    EXPECT_EQ(button->State(), p.state) << p.at.x() << "," << p.at.y();
  }
}

TEST_F(SpeedButtonTest, ReleaseOutsideDoesNotClick) {
  send_press(*button, {5, 5});
  send_move(*button, {60, 5});
  send_release(*button, {60, 5});
  EXPECT_EQ(button->State(), bsUp);
  EXPECT_EQ(clicks, 0);
  // Coming back before the release does click; y = height is inside.
  send_press(*button, {5, 5});
  send_move(*button, {60, 5});
  send_release(*button, {5, 20});
  EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonTest, OnlyTheLeftButtonPresses) {
  send_press(*button, {5, 5}, Qt::RightButton);
  EXPECT_EQ(button->State(), bsUp);
  send_release(*button, {5, 5}, Qt::RightButton);
  send_press(*button, {5, 5}, Qt::MiddleButton);
  send_release(*button, {5, 5}, Qt::MiddleButton);
  EXPECT_EQ(clicks, 0);
}

TEST_F(SpeedButtonTest, ADisabledButtonRefusesThePress) {
  button->SetEnabled(false);
  EXPECT_EQ(button->State(), bsDisabled);
  send_press(*button, {5, 5});
  send_release(*button, {5, 5});
  EXPECT_EQ(button->State(), bsDisabled);
  EXPECT_EQ(clicks, 0);
  button->SetEnabled(true);
  EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButtonTest, DisablingWhilePressedEndsTheDrag) {
  send_press(*button, {5, 5});
  button->SetEnabled(false);
  button->SetEnabled(true);
  send_release(*button, {5, 5});
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButtonTest, DownNeedsAGroup) {
  button->SetDown(true);
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButtonTest, AGroupKeepsOneButtonDown) {
  auto* other = new TSpeedButton(&form);
  other->SetBounds(60, 10, 40, 20);
  button->SetGroupIndex(1);
  other->SetGroupIndex(1);

  send_press(*button, {5, 5});
  send_release(*button, {5, 5});
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->State(), bsExclusive);
  EXPECT_EQ(clicks, 1);

  // Pressing the down one again leaves it down (no AllowAllUp).
  send_press(*button, {5, 5});
  EXPECT_EQ(button->State(), bsExclusive);
  send_release(*button, {5, 5});
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(clicks, 2);

  other->SetDown(true);
  EXPECT_TRUE(other->Down());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButtonTest, AllowAllUpLetsTheLastButtonComeUp) {
  auto* other = new TSpeedButton(&form);
  button->SetGroupIndex(2);
  other->SetGroupIndex(2);
  button->SetAllowAllUp(true);
  EXPECT_TRUE(other->AllowAllUp());  // shared by the group
  button->SetDown(true);
  send_press(*button, {5, 5});
  send_release(*button, {5, 5});
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButtonTest, DoubleClickIsTwoPressesAndTwoClicks) {
  send_press(*button, {5, 5});
  send_release(*button, {5, 5});
  send_press(*button, {5, 5}, Qt::LeftButton, /*dbl=*/true);
  EXPECT_EQ(button->State(), bsDown);
  send_release(*button, {5, 5});
  EXPECT_EQ(clicks, 2);
}

}  // namespace
