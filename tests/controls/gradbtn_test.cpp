#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <set>

#include "Gradbtn.h"
#include "canvas.h"
#include "muldiv.h"
#include "widget_pixels.h"

namespace {

using platform::TColor;
using test_support::pixel;
using test_support::settle;

constexpr TColor kForm = 0x204060;

// A button that counts its paints and face fills.
class CountingButton : public TGradButton {
 public:
  using TGradButton::TGradButton;
  int paints = 0;
  int fills = 0;

 protected:
  void Paint() override {
    ++paints;
    TGradButton::Paint();
  }
  void GradFill(TColor top, TColor bottom, platform::TBitmap& bitmap) override {
    ++fills;
    TGradButton::GradFill(top, bottom, bitmap);
  }
};

// The main window's button look.
void style_like_the_main_window(TGradButton& b) {
  b.SetGradColor(0xF0E0E0);
  b.SetFaceColor(0x907070);
  b.SetBottomColor(0x806060);
  b.SetMouseOverColor(0xFF2000);
  b.Font().SetColor(0x200000);
}

TColor face_row(const TGradButton& b, int y) { return pixel(b.FaceBitmap().Image(), 0, y); }

TEST(GradButtonFace, TheDefaultButtonsBitmap) {
  test_support::TestForm form(120, 40, kForm);
  auto* b = new TGradButton(&form);
  EXPECT_EQ(b->Width(), 100);
  EXPECT_EQ(b->Height(), 30);
  EXPECT_EQ(b->FaceBitmap().Width(), 100);  // until the first paint
  (void)form.picture();
  ASSERT_EQ(b->FaceBitmap().Width(), 98);
  ASSERT_EQ(b->FaceBitmap().Height(), 28);
  EXPECT_COLOR_EQ(face_row(*b, 0), 0xFB0000u);   // band 4
  EXPECT_COLOR_EQ(face_row(*b, 27), 0x040000u);  // band 251
}

TEST(GradButtonFace, TheMainWindowsFirstButton) {
  test_support::TestForm form(130, 40, kForm);
  auto* b = new TGradButton(&form);
  style_like_the_main_window(*b);
  b->SetBounds(5, 5, 113, 25);
  (void)form.picture();
  ASSERT_EQ(b->FaceBitmap().Width(), 111);
  ASSERT_EQ(b->FaceBitmap().Height(), 23);
  EXPECT_COLOR_EQ(face_row(*b, 0), 0xEEDEDEu);   // band 5
  EXPECT_COLOR_EQ(face_row(*b, 1), 0xEAD9D9u);   // band 16
  EXPECT_COLOR_EQ(face_row(*b, 22), 0x927272u);  // band 250
  for (int y = 0; y < 23; ++y) EXPECT_NE(face_row(*b, y), 0x907070u) << "row " << y;
  // Every row is one colour across.
  const QImage& face = b->FaceBitmap().Image();
  for (int y = 0; y < 23; ++y) EXPECT_COLOR_EQ(pixel(face, 110, y), face_row(*b, y));
}

TEST(GradButtonFace, BandsTileTheBitmapByTheMulDivRule) {
  // From 129 rows on both end colours show; 128 rows lose band 255, fewer lose band 0 too.
  const struct {
    int height;
    int row;
    TColor colour;
  } cases[] = {
      {258, 0, 0xFF0000}, {258, 257, 0x000000}, {129, 128, 0x000000}, {128, 127, 0x010000},
      {128, 0, 0xFF0000}, {127, 0, 0xFE0000},   {50, 0, 0xFD0000},  // 50 rows: bands 0 and 1 empty
  };
  for (const auto& c : cases) {
    test_support::TestForm form(20, c.height + 4, kForm);
    auto* b = new TGradButton(&form);
    b->SetBounds(0, 0, 12, c.height + 2);
    (void)form.picture();
    EXPECT_COLOR_EQ(face_row(*b, c.row), c.colour) << "height " << c.height << " row " << c.row;
  }
}

class GradButtonLook : public ::testing::Test {
 protected:
  static constexpr int W = 40, H = 20;
  static constexpr TColor kHighlight = 0x00FF00, kShadow = 0x0000FF, kFace = 0x00FFFF;
  test_support::TestForm form{60, 40, kForm};
  TGradButton* b = new TGradButton(&form);

  void SetUp() override {
    b->SetBounds(0, 0, W, H);
    b->SetCaption("");
    b->SetGradColor(0x400000);
    b->SetFaceColor(kFace);
    b->SetHighlightColor(kHighlight);
    b->SetBottomColor(kShadow);
  }
};

TEST_F(GradButtonLook, RaisedBevelAndFace) {
  const QImage img = form.picture();
  const QImage& face = b->FaceBitmap().Image();
  for (int x = 0; x < W; ++x) {
    EXPECT_COLOR_EQ(pixel(img, x, 0), 0u) << x;
    EXPECT_COLOR_EQ(pixel(img, x, H - 1), 0u) << x;
  }
  for (int y = 0; y < H; ++y) {
    EXPECT_COLOR_EQ(pixel(img, 0, y), 0u) << y;
    EXPECT_COLOR_EQ(pixel(img, W - 1, y), 0u) << y;
  }
  for (int y = 1; y <= H - 3; ++y) {
    EXPECT_COLOR_EQ(pixel(img, 1, y), kHighlight) << y;
    EXPECT_COLOR_EQ(pixel(img, W - 2, y), kShadow) << y;
  }
  for (int x = 1; x <= W - 3; ++x) EXPECT_COLOR_EQ(pixel(img, x, 1), kHighlight) << x;
  for (int x = 1; x <= W - 2; ++x) EXPECT_COLOR_EQ(pixel(img, x, H - 2), kShadow) << x;
  for (int y = 2; y <= H - 3; ++y)
    for (int x = 2; x <= W - 3; ++x) ASSERT_COLOR_EQ(pixel(img, x, y), pixel(face, x - 1, y - 1)) << x << "," << y;
}

TEST_F(GradButtonLook, PressedBevelAndFace) {
  test_support::send_press(*b, {5, 5});
  ASSERT_EQ(b->State(), platform::bsDown);
  const QImage img = form.picture();
  const QImage& face = b->FaceBitmap().Image();
  for (int x = 0; x < W; ++x) EXPECT_COLOR_EQ(pixel(img, x, 0), 0u) << x;
  for (int y = 0; y < H; ++y) EXPECT_COLOR_EQ(pixel(img, 0, y), 0u) << y;
  for (int y = 1; y <= H - 2; ++y) EXPECT_COLOR_EQ(pixel(img, 1, y), kShadow) << y;
  for (int x = 1; x <= W - 2; ++x) EXPECT_COLOR_EQ(pixel(img, x, 1), kShadow) << x;
  for (int y = 1; y <= H - 1; ++y) EXPECT_COLOR_EQ(pixel(img, W - 1, y), kFace) << y;
  for (int x = 1; x <= W - 1; ++x) EXPECT_COLOR_EQ(pixel(img, x, H - 1), kFace) << x;
  for (int y = 2; y <= H - 2; ++y)
    for (int x = 2; x <= W - 2; ++x) ASSERT_COLOR_EQ(pixel(img, x, y), pixel(face, x - 2, y - 2)) << x << "," << y;
  // Released: raised again.
  test_support::send_release(*b, {5, 5});
  EXPECT_COLOR_EQ(pixel(form.picture(), 1, 1), kHighlight);
}

TEST_F(GradButtonLook, BorderWidthZeroHidesTheBlackFrame) {
  b->SetRectWidth(0);
  const QImage img = form.picture();
  EXPECT_EQ(b->FaceBitmap().Width(), W);
  EXPECT_EQ(b->FaceBitmap().Height(), H);
  EXPECT_FALSE(test_support::has_color(img, QRect(0, 0, W, H), 0x000000));
  EXPECT_COLOR_EQ(pixel(img, 0, 0), kHighlight);
  EXPECT_COLOR_EQ(pixel(img, W - 1, H - 1), kShadow);
}

TEST_F(GradButtonLook, WiderBorderAndBevel) {
  b->SetRectWidth(3);
  b->SetBevWidth(2);
  const QImage img = form.picture();
  EXPECT_EQ(b->FaceBitmap().Width(), W - 6);
  EXPECT_EQ(b->FaceBitmap().Height(), H - 6);
  EXPECT_COLOR_EQ(pixel(img, 0, 0), 0u);
  EXPECT_COLOR_EQ(pixel(img, 3, 3), kHighlight);
  EXPECT_COLOR_EQ(pixel(img, 4, 4), kHighlight);
  EXPECT_COLOR_EQ(pixel(img, W - 4, H - 4), kShadow);
  EXPECT_COLOR_EQ(pixel(img, W - 5, H - 5), kShadow);
  EXPECT_COLOR_EQ(pixel(img, 5, 5), pixel(b->FaceBitmap().Image(), 2, 2));
}

TEST_F(GradButtonLook, DisabledLooksTheSame) {
  b->SetCaption("OK");
  const QImage enabled = form.picture();
  b->SetEnabled(false);
  EXPECT_TRUE(form.picture() == enabled);
  test_support::send_press(*b, {5, 5});
  EXPECT_NE(b->State(), platform::bsDown);
  EXPECT_TRUE(form.picture() == enabled);
}

TEST_F(GradButtonLook, GlyphLayoutPlaysNoPart) {
  b->SetCaption("OK");
  const QImage left = form.picture();
  b->SetLayout(platform::blGlyphRight);
  EXPECT_TRUE(form.picture() == left);
}

// The caption is centred by its measured size, one pixel lower and further
// right when pressed, and "&" is an ordinary character.
TEST_F(GradButtonLook, CaptionPlacement) {
  b->SetCaption("&x");
  b->Font().SetColor(0xFF00FF);
  const QImage raised = form.picture();
  // The same face without caption, and the caption drawn by hand.
  b->SetCaption("");
  QImage want = form.picture();
  b->SetCaption("&x");
  {
    platform::TCanvas c(want);
    c.Font().Assign(b->Font());
    c.SetBkMode(platform::TBkMode::bkTransparent);
    c.Painter().setClipRect(QRect(0, 0, W, H));
    c.TextOut((W - c.TextWidth("&x")) / 2, (H - c.TextHeight("&x")) / 2, "&x");
  }
  EXPECT_TRUE(raised == want);

  test_support::send_press(*b, {5, 5});
  const QImage pressed = form.picture();
  QRect ink_raised, ink_pressed;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (pixel(raised, x, y) == 0xFF00FF) ink_raised |= QRect(x, y, 1, 1);
      if (pixel(pressed, x, y) == 0xFF00FF) ink_pressed |= QRect(x, y, 1, 1);
    }
  ASSERT_FALSE(ink_raised.isEmpty());
  EXPECT_EQ(ink_pressed, ink_raised.translated(1, 1));
}

TEST_F(GradButtonLook, OpaqueCaptionCellTakesTheFaceColour) {
  b->SetCaption("__");
  b->SetTransparent(false);
  const QImage img = form.picture();
  QImage scratch(1, 1, QImage::Format_RGB32);
  platform::TCanvas measure(scratch);
  measure.Font().Assign(b->Font());
  const int x = (W - measure.TextWidth("__")) / 2;
  const int y = (H - measure.TextHeight("__")) / 2;
  EXPECT_COLOR_EQ(pixel(img, x, y), kFace);
  b->SetTransparent(true);
  EXPECT_NE(pixel(form.picture(), x, y), kFace);
}

TEST(GradButtonHover, CaptionColourPhases) {
  test_support::TestForm form(120, 40, kForm);
  auto* b = new TGradButton(&form);
  style_like_the_main_window(*b);
  const struct {
    const char* step;
    std::function<void()> act;
    TColor colour;
  } steps[] = {
      {"leave before any enter", [&] { test_support::send_leave(*b); }, 0x000000},
      {"back to the main window colour", [&] { b->Font().SetColor(0x200000); }, 0x200000},
      {"enter", [&] { test_support::send_enter(*b); }, 0xFF2000},
      {"leave", [&] { test_support::send_leave(*b); }, 0x200000},
      {"enter", [&] { test_support::send_enter(*b); }, 0xFF2000},
      {"second enter", [&] { test_support::send_enter(*b); }, 0xFF2000},
      {"leave keeps the hover colour", [&] { test_support::send_leave(*b); }, 0xFF2000},
      {"disabled",
       [&] {
         b->Font().SetColor(0x200000);
         b->SetEnabled(false);
       },
       0x200000},
      {"enter while disabled", [&] { test_support::send_enter(*b); }, 0xFF2000},
      {"leave while disabled", [&] { test_support::send_leave(*b); }, 0x200000},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_COLOR_EQ(b->Font().Color(), s.colour) << s.step;
  }
  // The hover colour shows on the screen.
  test_support::send_enter(*b);
  EXPECT_TRUE(test_support::has_color(form.picture(), b->geometry(), 0xFF2000));
}

TEST(GradButtonPaint, SettersDrawAtOnceAndRefillOnlyForNewFaceColours) {
  test_support::TestForm form(120, 40, kForm);
  auto* b = new CountingButton(&form);
  ASSERT_TRUE(test_support::settle_until([&] { return b->paints > 0; }));
  settle();
  (void)form.picture();
  const struct {
    const char* what;
    std::function<void()> change;
    int fills;
  } steps[] = {
      {"same gradient colour", [&] { b->SetGradColor(0xFF0000); }, 0},
      {"gradient colour", [&] { b->SetGradColor(0xF0E0E0); }, 1},
      {"same face colour", [&] { b->SetFaceColor(0); }, 0},
      {"face colour", [&] { b->SetFaceColor(0x907070); }, 1},
      {"highlight", [&] { b->SetHighlightColor(0xFFFFFF); }, 0},
      {"shadow", [&] { b->SetBottomColor(0x806060); }, 0},
      {"bevel", [&] { b->SetBevWidth(1); }, 0},
      {"border", [&] { b->SetRectWidth(1); }, 0},
  };
  for (const auto& s : steps) {
    const int paints = b->paints, fills = b->fills;
    s.change();
    EXPECT_EQ(b->paints, paints + 1) << s.what;
    EXPECT_EQ(b->fills, fills + s.fills) << s.what;
  }
  const int paints = b->paints;
  b->SetMouseOverColor(0x123456);
  EXPECT_EQ(b->paints, paints);
  // A new size refills at the next paint only.
  const int fills = b->fills;
  b->SetBounds(0, 0, 80, 20);
  EXPECT_EQ(b->fills, fills);
  (void)form.picture();
  EXPECT_EQ(b->fills, fills + 1);
  EXPECT_EQ(b->FaceBitmap().Height(), 18);
  (void)form.picture();
  EXPECT_EQ(b->fills, fills + 1);
}

// Hover recolours only the font; the font's change is what asks for the repaint.
TEST(GradButtonPaint, AFontColourChangeRequestsARepaint) {
  test_support::TestForm form(120, 40, kForm);
  auto* b = new CountingButton(&form);
  ASSERT_TRUE(test_support::settle_until([&] { return b->paints > 0; }));  // the first show
  settle();
  const int paints = b->paints;
  b->Font().SetColor(0xFF2000);
  EXPECT_EQ(b->paints, paints);
  EXPECT_TRUE(test_support::settle_until([&] { return b->paints > paints; }));
}

TEST(GradButtonPaint, ClickFiresOnAReleaseInside) {
  test_support::TestForm form(120, 40, kForm);
  auto* b = new TGradButton(&form);
  int clicks = 0;
  b->OnClick = [&](platform::TGraphicControl* sender) {
    EXPECT_EQ(sender, b);
    ++clicks;
  };
  test_support::send_press(*b, {50, 15});
  test_support::send_release(*b, {50, 15});
  test_support::send_press(*b, {50, 15});
  test_support::send_move(*b, {150, 15});
  test_support::send_release(*b, {150, 15});
  EXPECT_EQ(clicks, 1);
}

TEST(GradButtonPaint, Defaults) {
  TGradButton b;
  EXPECT_COLOR_EQ(b.GradColor(), 0xFF0000u);
  EXPECT_COLOR_EQ(b.FaceColor(), 0u);
  EXPECT_COLOR_EQ(b.HighlightColor(), 0xFFFFFFu);
  EXPECT_COLOR_EQ(b.ShadowColor(), 0u);
  EXPECT_EQ(b.BevelWidth(), 1);
  EXPECT_EQ(b.BorderWidth(), 1);
  EXPECT_COLOR_EQ(b.MouseOverColor(), 0xFFFFFFu);
  EXPECT_COLOR_EQ(b.Font().Color(), 0xFFFFFFu);
  EXPECT_EQ(b.Caption(), "TGradButton");
  EXPECT_TRUE(b.Transparent());
  EXPECT_TRUE(b.testAttribute(Qt::WA_OpaquePaintEvent));
}

}  // namespace
