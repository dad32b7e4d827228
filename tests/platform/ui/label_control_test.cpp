#include <gtest/gtest.h>

#include <QImage>

#include "label_control.h"
#include "screen_cursors.h"
#include "widget_pixels.h"

namespace {

using platform::TLabel;
using test_support::has_color;
using test_support::pixel;

constexpr platform::TColor kForm = 0x808080;

TEST(Label, AutoSizeFitsTheCaption) {
  test_support::TestForm form(200, 60, kForm);
  auto* label = new TLabel(&form);
  label->SetBounds(5, 5, 10, 10);
  label->SetCaption("Tolvane");
  const QFontMetrics fm(label->Font().ToQFont());
  EXPECT_EQ(label->Width(), fm.horizontalAdvance(QStringLiteral("Tolvane")));
  EXPECT_EQ(label->Height(), fm.height());
  // "&" takes no width; an empty caption keeps one line's height.
  label->SetCaption("&Tolvane");
  EXPECT_EQ(label->Width(), fm.horizontalAdvance(QStringLiteral("Tolvane")));
  label->SetCaption("");
  EXPECT_EQ(label->Height(), fm.height());
  label->SetAutoSize(false);
  label->SetBounds(5, 5, 7, 3);
  label->SetCaption("longer text");
  EXPECT_EQ(label->Width(), 7);
}

TEST(Label, FontChangesResizeAndRepaint) {
  test_support::TestForm form(300, 80, kForm);
  auto* label = new TLabel(&form);
  label->SetCaption("Tolvane");
  const int before = label->Height();
  label->Font().SetHeight(-24);
  EXPECT_GT(label->Height(), before);
  label->Font().SetColor(0x0000FF);
  const QImage img = form.picture();
  EXPECT_TRUE(has_color(img, label->geometry(), 0x0000FF));
}

TEST(Label, OpaqueFillsItsBoundsTransparentShowsTheForm) {
  test_support::TestForm form(200, 60, kForm);
  auto* label = new TLabel(&form);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 20);
  label->SetCaption("x");
  label->SetColor(0x00FFFF);
  QImage img = form.picture();
  EXPECT_COLOR_EQ(pixel(img, 59, 29), 0x00FFFFu);
  EXPECT_COLOR_EQ(pixel(img, 60, 29), kForm);
  label->SetTransparent(true);
  img = form.picture();
  EXPECT_COLOR_EQ(pixel(img, 59, 29), kForm);
  EXPECT_TRUE(has_color(img, label->geometry(), 0x000000));  // the text still shows
}

TEST(Label, DisabledTextIsEmbossed) {
  test_support::TestForm form(200, 60, 0x204060);
  auto* label = new TLabel(&form);
  label->SetTransparent(true);
  label->SetCaption("MMMM");
  label->SetEnabled(false);
  const QImage img = form.picture();
  EXPECT_TRUE(has_color(img, label->geometry(), 0xFFFFFF));
  EXPECT_TRUE(has_color(img, label->geometry(), 0x808080));
  EXPECT_FALSE(has_color(img, label->geometry(), 0x000000));
}

TEST(Label, AlignmentAndLayoutPlaceTheText) {
  test_support::TestForm form(200, 80, kForm);
  auto* label = new TLabel(&form);
  label->SetTransparent(true);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 200, 80);
  label->SetCaption("MM");
  const int w = QFontMetrics(label->Font().ToQFont()).horizontalAdvance(QStringLiteral("MM"));
  const int h = QFontMetrics(label->Font().ToQFont()).height();
  const auto ink = [&] {
    const QImage img = form.picture();
    QRect r;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 200; ++x)
        if (pixel(img, x, y) != kForm) r |= QRect(x, y, 1, 1);
    return r;
  };
  const QRect left = ink();
  ASSERT_FALSE(left.isEmpty());
  EXPECT_LT(left.right(), w);
  label->SetAlignment(platform::taRightJustify);
  EXPECT_EQ(ink(), left.translated(200 - w, 0));
  label->SetAlignment(platform::taCenter);
  EXPECT_EQ(ink(), left.translated((200 - w) / 2, 0));
  label->SetLayout(platform::tlBottom);
  EXPECT_EQ(ink(), left.translated((200 - w) / 2, 80 - h));
}

TEST(Label, MouseAndClickEvents) {
  test_support::TestForm form(200, 60, kForm);
  auto* label = new TLabel(&form);
  label->SetCaption("click");
  int clicks = 0, downs = 0, ups = 0, enters = 0, leaves = 0;
  label->OnClick = [&](platform::TGraphicControl*) { ++clicks; };
  label->OnMouseDown = [&](platform::TGraphicControl*, platform::TMouseButton, platform::TShiftState, int, int) {
    ++downs;
  };
  label->OnMouseUp = [&](platform::TGraphicControl*, platform::TMouseButton, platform::TShiftState, int, int) {
    ++ups;
  };
  label->OnMouseEnter = [&](platform::TGraphicControl*) { ++enters; };
  label->OnMouseLeave = [&](platform::TGraphicControl*) { ++leaves; };
  test_support::send_enter(*label);
  test_support::send_press(*label, {1, 1});
  test_support::send_release(*label, {1, 1});
  test_support::send_press(*label, {1, 1}, Qt::RightButton);
  test_support::send_release(*label, {1, 1}, Qt::RightButton);
  test_support::send_press(*label, {1, 1});
  test_support::send_release(*label, {500, 1});  // released outside: no click
  test_support::send_leave(*label);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(ups, 3);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST(Label, CursorNumberPicksTheRegisteredShape) {
  test_support::TestForm form(100, 40, kForm);
  auto* label = new TLabel(&form);
  platform::SetScreenCursor(5, QCursor(Qt::CrossCursor));
  label->SetCursor(5);
  EXPECT_EQ(label->cursor().shape(), Qt::CrossCursor);
  label->SetCursor(12345);  // nobody registered it
  EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
