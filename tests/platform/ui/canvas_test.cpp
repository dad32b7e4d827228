#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <set>
#include <utility>

#include "bitmap.h"
#include "canvas.h"
#include "frame3d.h"
#include "widget_pixels.h"

namespace {

using platform::TBitmap;
using platform::TCanvas;
using platform::TColor;
using platform::TPoint;
using test_support::pixel;

constexpr TColor kPaper = 0xFFFFFF;
constexpr TColor kInk = 0x3366CC;

// A 12 x 10 white image and a canvas on it.
struct Surface {
  QImage image{12, 10, QImage::Format_RGB32};
  TCanvas canvas{image};
  Surface() { image.fill(Qt::white); }
  // The set of pixels that are not paper.
  std::set<std::pair<int, int>> inked() {
    canvas.Release();
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (pixel(image, x, y) != kPaper) out.insert({x, y});
    return out;
  }
};

std::set<std::pair<int, int>> box(int l, int t, int r, int b) {
  std::set<std::pair<int, int>> out;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) out.insert({x, y});
  return out;
}

TEST(Canvas, FillRectLeavesOutTheRightColumnAndBottomRow) {
  Surface s;
  s.canvas.SetBrushColor(kInk);
  s.canvas.FillRect({2, 3, 5, 7});
  EXPECT_EQ(s.inked(), box(2, 3, 5, 7));
  EXPECT_COLOR_EQ(pixel(s.image, 4, 6), kInk);
  EXPECT_COLOR_EQ(pixel(s.image, 5, 6), kPaper);
  EXPECT_COLOR_EQ(pixel(s.image, 4, 7), kPaper);
}

TEST(Canvas, EmptyAndInvertedRectanglesPaintNothing) {
  Surface s;
  s.canvas.SetBrushColor(kInk);
  s.canvas.FillRect({3, 3, 3, 8});
  s.canvas.FillRect({6, 6, 2, 2});
  s.canvas.FrameRect({4, 4, 4, 4});
  s.canvas.Rectangle(5, 5, 5, 9);
  EXPECT_TRUE(s.inked().empty());
}

TEST(Canvas, FrameRectIsTheOnePixelBorderInTheBrushColour) {
  Surface s;
  s.canvas.SetBrushColor(kInk);
  s.canvas.FrameRect({1, 1, 6, 5});
  std::set<std::pair<int, int>> expected = box(1, 1, 6, 5);
  for (const auto& p : box(2, 2, 5, 4)) expected.erase(p);
  EXPECT_EQ(s.inked(), expected);
}

TEST(Canvas, RectangleWithAClearBrushDrawsOnlyThePenOutline) {
  Surface s;
  s.canvas.SetBrushColor(0x00FF00);
  s.canvas.SetBrushStyle(platform::TBrushStyle::bsClear);
  s.canvas.SetPenColor(kInk);
  s.canvas.Rectangle(0, 0, 12, 10);
  std::set<std::pair<int, int>> expected = box(0, 0, 12, 10);
  for (const auto& p : box(1, 1, 11, 9)) expected.erase(p);
  EXPECT_EQ(s.inked(), expected);
  EXPECT_COLOR_EQ(pixel(s.image, 11, 9), kInk);
}

TEST(Canvas, RectangleWithASolidBrushFillsTheInside) {
  Surface s;
  s.canvas.SetPenColor(kInk);
  s.canvas.SetBrushColor(0x00FF00);
  s.canvas.Rectangle(2, 2, 6, 6);
  EXPECT_COLOR_EQ(pixel(s.image, 2, 2), kInk);
  EXPECT_COLOR_EQ(pixel(s.image, 5, 5), kInk);
  EXPECT_COLOR_EQ(pixel(s.image, 3, 4), 0x00FF00u);
  EXPECT_EQ(s.inked(), box(2, 2, 6, 6));
}

TEST(Canvas, PolylineLeavesOutEachSegmentsEndPoint) {
  Surface s;
  s.canvas.SetPenColor(kInk);
  const std::array<TPoint, 3> pts{{{1, 8}, {1, 1}, {9, 1}}};
  s.canvas.Polyline(pts);
  std::set<std::pair<int, int>> expected;
  for (int y = 2; y <= 8; ++y) expected.insert({1, y});
  for (int x = 1; x <= 8; ++x) expected.insert({x, 1});
  EXPECT_EQ(s.inked(), expected);  // (9, 1), the last point, is not drawn
}

TEST(Canvas, PolylineRunsLeftwardsAndDiagonally) {
  Surface s;
  s.canvas.SetPenColor(kInk);
  const std::array<TPoint, 3> pts{{{6, 2}, {2, 2}, {5, 5}}};
  s.canvas.Polyline(pts);
  EXPECT_EQ(s.inked(), (std::set<std::pair<int, int>>{{6, 2}, {5, 2}, {4, 2}, {3, 2}, {2, 2}, {3, 3}, {4, 4}}));
}

TEST(Canvas, OnePointPolylineDrawsNothing) {
  Surface s;
  const std::array<TPoint, 1> pts{{{3, 3}}};
  s.canvas.Polyline(pts);
  EXPECT_TRUE(s.inked().empty());
}

TEST(Canvas, DrawCopiesTheBitmapPixelForPixel) {
  TBitmap bmp(3, 2);
  bmp.Canvas().SetBrushColor(0x010203);
  bmp.Canvas().FillRect({0, 0, 3, 1});
  bmp.Canvas().SetBrushColor(0xFEFDFC);
  bmp.Canvas().FillRect({0, 1, 3, 2});
  Surface s;
  s.canvas.Draw(4, 5, bmp);
  EXPECT_EQ(s.inked(), box(4, 5, 7, 7));
  EXPECT_COLOR_EQ(pixel(s.image, 6, 5), 0x010203u);
  EXPECT_COLOR_EQ(pixel(s.image, 4, 6), 0xFEFDFCu);
}

TEST(Canvas, SystemColoursResolveWhenDrawn) {
  Surface s;
  s.canvas.SetBrushColor(platform::clBtnFace);
  s.canvas.FillRect({0, 0, 1, 1});
  EXPECT_COLOR_EQ(pixel(s.image, 0, 0), 0xC0C0C0u);
}

TEST(Canvas, BrushStyleSetsTheBackgroundMode) {
  Surface s;
  s.canvas.SetBrushColor(0x123456);
  EXPECT_EQ(s.canvas.BkMode(), platform::TBkMode::bkOpaque);
  EXPECT_COLOR_EQ(s.canvas.BkColor(), 0x123456u);
  s.canvas.SetBrushStyle(platform::TBrushStyle::bsClear);
  EXPECT_EQ(s.canvas.BkMode(), platform::TBkMode::bkTransparent);
  s.canvas.SetBrushColor(0x654321);  // a colour makes the brush solid again
  EXPECT_EQ(s.canvas.BrushStyle(), platform::TBrushStyle::bsSolid);
  EXPECT_EQ(s.canvas.BkMode(), platform::TBkMode::bkOpaque);
}

TEST(Canvas, OpaqueTextOutFillsTheTextCell) {
  QImage image(80, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  TCanvas c(image);
  c.SetBrushColor(0x00FF00);
  c.Font().SetColor(0x000000);
  const int w = c.TextWidth("Ab");
  const int h = c.TextHeight("Ab");
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  c.TextOut(3, 4, "Ab");
  c.Release();
  // The cell's corners are background (no glyph reaches them); outside is paper.
  EXPECT_COLOR_EQ(pixel(image, 3, 4), 0x00FF00u);
  EXPECT_COLOR_EQ(pixel(image, 3 + w - 1, 4 + h - 1), 0x00FF00u);
  EXPECT_COLOR_EQ(pixel(image, 3 + w, 4), kPaper);
  EXPECT_COLOR_EQ(pixel(image, 3, 4 + h), kPaper);
  EXPECT_COLOR_EQ(pixel(image, 2, 4), kPaper);
  EXPECT_TRUE(test_support::has_color(image, QRect(3, 4, w, h), 0x000000));
}

TEST(Canvas, TransparentTextOutDrawsOnlyGlyphs) {
  QImage image(80, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  TCanvas c(image);
  c.SetBrushStyle(platform::TBrushStyle::bsClear);
  c.Font().SetColor(kInk);
  c.TextOut(3, 4, "&&A");  // "&" is not special here
  const int w = c.TextWidth("&&A");
  c.Release();
  std::set<TColor> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(pixel(image, x, y));
  EXPECT_EQ(colours, (std::set<TColor>{kPaper, kInk}));  // no antialiasing, no background
  EXPECT_GT(w, c.TextWidth("A") * 2);
}

TEST(Frame3D, RingsPaintTopLeftAndBottomRightAsTheButtonsRely) {
  Surface s;
  platform::Frame3D(s.canvas, {1, 1, 9, 8}, 0x0000FF, 0x00FF00, 2);
  s.canvas.Release();
  // Outer ring: left column and top row (no top-right corner) in the top colour.
  EXPECT_COLOR_EQ(pixel(s.image, 1, 1), 0x0000FFu);
  EXPECT_COLOR_EQ(pixel(s.image, 1, 5), 0x0000FFu);
  EXPECT_COLOR_EQ(pixel(s.image, 7, 1), 0x0000FFu);
  EXPECT_COLOR_EQ(pixel(s.image, 8, 1), 0x00FF00u);  // top-right corner
  EXPECT_COLOR_EQ(pixel(s.image, 1, 7), 0x00FF00u);  // bottom-left corner
  EXPECT_COLOR_EQ(pixel(s.image, 8, 7), 0x00FF00u);
  // Second ring.
  EXPECT_COLOR_EQ(pixel(s.image, 2, 2), 0x0000FFu);
  EXPECT_COLOR_EQ(pixel(s.image, 7, 2), 0x00FF00u);
  EXPECT_COLOR_EQ(pixel(s.image, 2, 6), 0x00FF00u);
  // Inside untouched, outside untouched.
  EXPECT_COLOR_EQ(pixel(s.image, 4, 4), kPaper);
  EXPECT_COLOR_EQ(pixel(s.image, 9, 1), kPaper);
  EXPECT_COLOR_EQ(pixel(s.image, 0, 8), kPaper);
}

TEST(Frame3D, ZeroOrNegativeWidthDrawsNothingAndAHugeOneEnds) {
  Surface s;
  platform::Frame3D(s.canvas, {0, 0, 12, 10}, kInk, kInk, 0);
  platform::Frame3D(s.canvas, {0, 0, 12, 10}, kInk, kInk, -3);
  EXPECT_TRUE(s.inked().empty());
  platform::Frame3D(s.canvas, {0, 0, 12, 10}, kInk, kInk, 2000000000);
  EXPECT_EQ(s.inked(), box(0, 0, 12, 10));
}

TEST(Bitmap, ResizeKeepsPixelsAndWhitensNewOnes) {
  TBitmap bmp(2, 2);
  bmp.Canvas().SetBrushColor(kInk);
  bmp.Canvas().FillRect({0, 0, 2, 2});
  bmp.SetWidth(3);
  bmp.SetHeight(1);
  ASSERT_EQ(bmp.Width(), 3);
  ASSERT_EQ(bmp.Height(), 1);
  EXPECT_COLOR_EQ(pixel(bmp.Image(), 1, 0), kInk);
  EXPECT_COLOR_EQ(pixel(bmp.Image(), 2, 0), kPaper);
  bmp.SetWidth(-5);
  EXPECT_EQ(bmp.Width(), 0);
}

}  // namespace
