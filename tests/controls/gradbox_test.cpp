#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "GradBox.h"
#include "canvas.h"
#include "drawtext.h"
#include "widget_pixels.h"

namespace {

using platform::TColor;
using test_support::pixel;
using test_support::settle;

constexpr TColor kForm = 0x204060;

// A box that counts its paints.
class CountingBox : public TGradBox {
 public:
  using TGradBox::TGradBox;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TGradBox::Paint();
  }
};

TEST(GradBoxColours, ExtendedArithmeticDecidesTheLowBits) {
  const struct {
    TColor first, last;
    TGradStyle style;
    int entry;
    TColor expected;
  } cases[] = {
      {0xD0B0B0, 0xF5E0E0, gsTopBottom, 85, 0xDCBFBF},   // exact arithmetic: 0xDCC0C0
      {0xD0B0B0, 0xF5E0E0, gsTopBottom, 170, 0xE8CFCF},  // exact arithmetic: 0xE8D0D0
      {0xFFFFFF, 0x9090AA, gsTopBottom, 3, 0xFDFDFE},    // double: 0xFDFDFD
      {0xFFFFFF, 0x9090AA, gsTopBottom, 85, 0xDADAE2},   // double: 0xD9D9E2
      {0xD0B0B0, 0xF5E0E0, gsBottomTop, 85, 0xE8D0D0},   // not the forward table mirrored
      {0xD0B0B0, 0xF5E0E0, gsRightLeft, 85, 0xE8D0D0},  {0xD0B0B0, 0xF5E0E0, gsLeftRight, 170, 0xE8CFCF},
      {0x008000, 0x00FF00, gsTopBottom, 1, 0x008000},   {0x008000, 0x00FF00, gsTopBottom, 2, 0x008000},
      {0x008000, 0x00FF00, gsTopBottom, 3, 0x008100},   {0x008000, 0x00FF00, gsTopBottom, 0, 0x008000},
      {0x008000, 0x00FF00, gsTopBottom, 255, 0x00FF00}, {0xD0B0B0, 0xF5E0E0, gsBottomTop, 0, 0xF5E0E0},
      {0xD0B0B0, 0xF5E0E0, gsBottomTop, 255, 0xD0B0B0},
  };
  TGradBox box;
  for (const auto& c : cases) {
    box.SetColarray(c.first, c.last, c.style);
    EXPECT_COLOR_EQ(box.Colarray()[static_cast<std::size_t>(c.entry)], c.expected)
        << test_support::color_hex(c.first) << " -> " << test_support::color_hex(c.last) << " style " << int{c.style}
        << " entry " << c.entry;
  }
}

TEST(GradBoxColours, ASystemColourStaysOneOnlyAtTheEnds) {
  TGradBox box;
  box.SetColarray(0x8000000F, 0x000000, gsTopBottom);
  EXPECT_COLOR_EQ(box.Colarray()[0], 0x8000000Fu);
  // Button face is 0xC0C0C0: 192 - 192/255 = 191.247...
  EXPECT_COLOR_EQ(box.Colarray()[1], 0xBFBFBFu);
  EXPECT_COLOR_EQ(box.Colarray()[255], 0x000000u);
}

TEST(GradBoxColours, NoneLeavesTheTableAsItIs) {
  TGradBox box;
  box.SetColarray(0x000000, 0xFFFFFF, gsTopBottom);
  const auto before = box.Colarray();
  box.SetColarray(0x123456, 0x654321, gsNone);
  EXPECT_EQ(box.Colarray(), before);
}

TEST(GradBoxColours, GetRGBSplitsAndResolves) {
  std::uint8_t r, g, b;
  TGradBox::GetRGB(0x9090AA, r, g, b);
  EXPECT_EQ(r, 0xAA);
  EXPECT_EQ(g, 0x90);
  EXPECT_EQ(b, 0x90);
  TGradBox::GetRGB(0x80000010, r, g, b);  // button shadow
  EXPECT_EQ(r, 0x80);
  TGradBox::GetRGB(0x80000019, r, g, b);  // past the table: bits as they are
  EXPECT_EQ(r, 0x19);
  EXPECT_EQ(b, 0x00);
}

// Rows (or columns) of a painted box against the entries of its table.
TEST(GradBoxBands, EachRowShowsTheLastEntryPaintedOverIt) {
  const struct {
    int size;
    int row;
    int entry;
  } cases[] = {
      {100, 0, 3}, {100, 1, 6}, {100, 99, 255},  // band height 1
      {203, 0, 2}, {203, 1, 3}, {203, 202, 255}, {35, 0, 8},  {35, 1, 15}, {35, 34, 255},
      {255, 0, 1}, {255, 1, 2}, {255, 254, 255},                                             // band height 2
      {600, 0, 1}, {600, 1, 1}, {600, 2, 2},     {600, 3, 2}, {600, 4, 3}, {600, 599, 255},  // band height 3
  };
  for (const TGradStyle style : {gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft}) {
    for (const auto& c : cases) {
      const bool vertical = style == gsTopBottom || style == gsBottomTop;
      test_support::TestForm form(vertical ? 20 : c.size, vertical ? c.size : 20, kForm);
      auto* box = new TGradBox(&form);
      box->SetBounds(0, 0, vertical ? 20 : c.size, vertical ? c.size : 20);
      box->SetTopColor(0x000000);
      box->SetLastColor(0xFFFFFF);
      box->SetGradStyle(style);
      const QImage img = form.picture();
      const auto& table = box->Colarray();
      const auto e = static_cast<std::size_t>(c.entry);
      // The entry must be told apart from its neighbours for the row to say anything.
      ASSERT_NE(table[e], table[e - 1]);
      const TColor got = vertical ? pixel(img, 7, c.row) : pixel(img, c.row, 7);
      EXPECT_COLOR_EQ(got, table[e]) << "size " << c.size << " row " << c.row << " style " << int{style};
    }
  }
}

TEST(GradBoxBands, EntryZeroIsNeverVisible) {
  for (int h : {1, 2, 3, 100, 254, 255, 256, 510, 1000}) {
    test_support::TestForm form(4, h, kForm);
    auto* box = new TGradBox(&form);
    box->SetBounds(0, 0, 4, h);
    box->SetTopColor(0x0000FF);
    box->SetLastColor(0x00FF00);
    const QImage img = form.picture();
    for (int y = 0; y < h; ++y) ASSERT_NE(pixel(img, 1, y), 0x0000FFu) << "height " << h << " row " << y;
  }
}

TEST(GradBoxBands, TheDefaultBox) {
  test_support::TestForm form(220, 120, kForm);
  auto* box = new TGradBox(&form);
  box->SetCaption("");
  EXPECT_EQ(box->Width(), 200);
  EXPECT_EQ(box->Height(), 100);
  const QImage img = form.picture();
  EXPECT_COLOR_EQ(pixel(img, 0, 0), 0x008100u);     // entry 3
  EXPECT_COLOR_EQ(pixel(img, 199, 99), 0x00FF00u);  // entry 255
  EXPECT_COLOR_EQ(pixel(img, 200, 50), kForm);      // nothing outside the bounds
  EXPECT_COLOR_EQ(pixel(img, 50, 100), kForm);
}

TEST(GradBoxBands, AnEmptyBoxShowsNothing) {
  test_support::TestForm form(60, 40, kForm);
  auto* wide = new TGradBox(&form);
  wide->SetBounds(5, 5, 30, 0);
  wide->SetDrawOutLine(true);
  auto* tall = new TGradBox(&form);
  tall->SetBounds(5, 5, 0, 30);
  tall->SetCaption("x");
  const QImage img = form.picture();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) ASSERT_COLOR_EQ(pixel(img, x, y), kForm) << x << "," << y;
}

TEST(GradBoxOutline, OnePixelFrameAndTheInsideUntouched) {
  test_support::TestForm form(60, 40, kForm);
  auto* box = new TGradBox(&form);
  box->SetBounds(5, 5, 30, 20);
  box->SetTopColor(0x00FF00);
  box->SetLastColor(0x00FF00);
  box->SetOutLineColor(0x606090);
  box->SetDrawOutLine(true);
  const QImage img = form.picture();
  for (int x = 5; x < 35; ++x) {
    EXPECT_COLOR_EQ(pixel(img, x, 5), 0x606090u) << x;
    EXPECT_COLOR_EQ(pixel(img, x, 24), 0x606090u) << x;
  }
  for (int y = 5; y < 25; ++y) {
    EXPECT_COLOR_EQ(pixel(img, 5, y), 0x606090u) << y;
    EXPECT_COLOR_EQ(pixel(img, 34, y), 0x606090u) << y;
  }
  EXPECT_COLOR_EQ(pixel(img, 6, 6), 0x00FF00u);
  EXPECT_COLOR_EQ(pixel(img, 33, 23), 0x00FF00u);
}

TEST(GradBoxOutline, NoneFillsNothingButStillOutlines) {
  test_support::TestForm form(60, 40, kForm);
  auto* box = new TGradBox(&form);
  box->SetBounds(5, 5, 30, 20);
  box->SetGradStyle(gsNone);
  box->SetDrawOutLine(true);
  const QImage img = form.picture();
  EXPECT_COLOR_EQ(pixel(img, 5, 5), 0x000000u);
  EXPECT_COLOR_EQ(pixel(img, 20, 15), kForm);  // the parent shows through
}

// The caption against the same drawing done by hand: the gradient of a box
// without caption, then DrawText copies at the offsets the style asks for.
class GradBoxCaption : public ::testing::Test {
 protected:
  static constexpr const char* kText = "Tolvane \x8d\xc4\x95\x5c\x8e\xa6 WWW";  // "再表示"
  test_support::TestForm form{160, 60, kForm};
  TGradBox* box = new TGradBox(&form);

  void SetUp() override {
    box->SetBounds(0, 0, 160, 60);
    box->SetTopColor(0x303030);
    box->SetLastColor(0x707070);
    box->SetCaptionLeft(12);
    box->SetCaptionTop(9);
    box->Font().SetColor(0x0000FF);
    box->SetBackFont(0x00FFFF);
  }

  // copies: (offset, colour) in drawing order.
  QImage expected(const std::vector<std::pair<int, TColor>>& copies) {
    const std::string caption = box->Caption();
    box->SetCaption("");
    QImage img = form.picture();
    box->SetCaption(caption);
    platform::TCanvas c(img);
    c.Font().Assign(box->Font());
    c.SetBrushStyle(platform::TBrushStyle::bsClear);
    for (const auto& [d, colour] : copies) {
      c.Font().SetColor(colour);
      platform::TRect r{12 + d, 9 + d, 160 + d, 60 + d};
      c.Painter().setClipRect(QRect(0, 0, 160, 60));
      platform::DrawText(c, caption, r, platform::DT_WORDBREAK | platform::DT_EXPANDTABS);
    }
    c.Release();
    return img;
  }
};

TEST_F(GradBoxCaption, PlainAndThreeDStyles) {
  box->SetCaption(kText);
  const struct {
    bool font3d;
    TFontStyle3D style;
    std::uint8_t depth;
    std::vector<std::pair<int, TColor>> copies;
  } cases[] = {
      {false, fsRaise3D, 3, {{0, 0x0000FF}}},
      {true, fsLowShadow, 2, {{2, 0x00FFFF}, {0, 0x0000FF}}},
      {true, fsRaiseShadow, 2, {{-2, 0x00FFFF}, {0, 0x0000FF}}},
      {true, fsLow3D, 3, {{1, 0x00FFFF}, {2, 0x00FFFF}, {3, 0x00FFFF}, {0, 0x0000FF}}},
      {true, fsRaise3D, 3, {{-1, 0x00FFFF}, {-2, 0x00FFFF}, {-3, 0x00FFFF}, {0, 0x0000FF}}},
      {true, fsLowShadow, 0, {{0, 0x00FFFF}, {0, 0x0000FF}}},
      {true, fsLow3D, 0, {{0, 0x0000FF}}},
      {true, fsRaise3D, 0, {{0, 0x0000FF}}},
  };
  for (const auto& c : cases) {
    box->SetFont3D(c.font3d);
    box->SetStyle3D(c.style);
    box->SetFontDepth(c.depth);
    EXPECT_TRUE(form.picture() == expected(c.copies)) << "style " << int{c.style} << " depth " << int{c.depth};
  }
}

TEST_F(GradBoxCaption, DisabledIsEmbossedWhatever3DSays) {
  box->SetCaption(kText);
  box->SetFont3D(true);
  box->SetStyle3D(fsLow3D);
  box->SetFontDepth(4);
  box->SetEnabled(false);
  EXPECT_TRUE(form.picture() == expected({{1, 0xFFFFFF}, {0, 0x808080}}));
  EXPECT_FALSE(test_support::has_color(form.picture(), QRect(0, 0, 160, 60), 0x00FFFF));
}

TEST_F(GradBoxCaption, EmptyCaptionDrawsNothing) {
  box->SetCaption("");
  box->SetFont3D(true);
  EXPECT_FALSE(test_support::has_color(form.picture(), QRect(0, 0, 160, 60), 0x0000FF));
  EXPECT_FALSE(test_support::has_color(form.picture(), QRect(0, 0, 160, 60), 0x00FFFF));
}

TEST(GradBoxCaptionPlace, WrapsAtTheBoxsOwnRightEdge) {
  test_support::TestForm form(300, 80, kForm);
  auto* box = new TGradBox(&form);
  box->SetBounds(150, 0, 100, 80);
  box->SetTopColor(0xFFFFFF);
  box->SetLastColor(0xFFFFFF);
  box->SetCaptionLeft(0);
  box->SetCaptionTop(0);
  box->Font().SetColor(0x000000);
  box->SetCaption("IIII IIII");
  const int line = QFontMetrics(box->Font().ToQFont()).height();
  const int word = QFontMetrics(box->Font().ToQFont()).horizontalAdvance(QStringLiteral("IIII IIII"));
  ASSERT_GT(word, 0);
  box->SetBounds(150, 0, word - 1, 80);  // one pixel too narrow for both words
  const QImage img = form.picture();
  EXPECT_TRUE(test_support::has_color(img, QRect(150, line, word, line), 0x000000));
}

TEST(GradBoxPaint, OnPaintComesLastWithTheBox) {
  test_support::TestForm form(100, 60, kForm);
  auto* box = new TGradBox(&form);
  std::vector<TGradBox*> senders;
  box->OnPaint = [&](TGradBox* sender) { senders.push_back(sender); };
  (void)form.picture();
  ASSERT_FALSE(senders.empty());
  EXPECT_EQ(senders.back(), box);
}

TEST(GradBoxPaint, SettersRequestRepaintsOnlyWhenTheySay) {
  test_support::TestForm form(220, 120, kForm);
  auto* box = new CountingBox(&form);
  ASSERT_TRUE(test_support::settle_until([&] { return box->paints > 0; }));  // the first show
  settle();
  const struct {
    const char* what;
    std::function<void()> change;
    bool repaints;
  } steps[] = {
      {"same caption left", [&] { box->SetCaptionLeft(10); }, false},
      {"caption left", [&] { box->SetCaptionLeft(14); }, true},
      {"caption top", [&] { box->SetCaptionTop(3); }, true},
      {"top colour", [&] { box->SetTopColor(0xD0B0B0); }, true},
      {"same top colour", [&] { box->SetTopColor(0xD0B0B0); }, false},
      {"last colour", [&] { box->SetLastColor(0xF5E0E0); }, true},
      {"outline colour without outline", [&] { box->SetOutLineColor(0x606090); }, false},
      {"outline on", [&] { box->SetDrawOutLine(true); }, true},
      {"outline colour with outline", [&] { box->SetOutLineColor(0x000000); }, true},
      {"style", [&] { box->SetGradStyle(gsLeftRight); }, true},
      {"back font without 3D", [&] { box->SetBackFont(0x123456); }, false},
      {"depth without 3D", [&] { box->SetFontDepth(5); }, false},
      {"3D style", [&] { box->SetStyle3D(fsLow3D); }, true},
      {"3D on", [&] { box->SetFont3D(true); }, true},
      {"back font with 3D", [&] { box->SetBackFont(0x654321); }, true},
      {"depth with 3D", [&] { box->SetFontDepth(2); }, true},
      {"caption", [&] { box->SetCaption("x"); }, true},
      {"same caption", [&] { box->SetCaption("x"); }, false},
      {"font", [&] { box->Font().SetColor(0x00FF00); }, true},
      {"enabled", [&] { box->SetEnabled(false); }, true},
  };
  for (const auto& s : steps) {
    const int before = box->paints;
    s.change();
    EXPECT_EQ(box->paints, before) << s.what << ": painted at once";
    if (s.repaints) EXPECT_TRUE(test_support::settle_until([&] { return box->paints > before; })) << s.what;
    else {
      settle();
      EXPECT_EQ(box->paints, before) << s.what;
    }
  }
  EXPECT_COLOR_EQ(box->OutLineColor(), 0x000000u);
  EXPECT_EQ(box->FontDepth(), 2);
}

TEST(GradBoxPaint, DefaultsAfterConstruction) {
  TGradBox box;
  EXPECT_EQ(box.CaptionLeft(), 10);
  EXPECT_EQ(box.CaptionTop(), 10);
  EXPECT_COLOR_EQ(box.TopColor(), 0x008000u);
  EXPECT_COLOR_EQ(box.LastColor(), 0x00FF00u);
  EXPECT_COLOR_EQ(box.OutLineColor(), 0u);
  EXPECT_FALSE(box.DrawOutLine());
  EXPECT_EQ(box.GradStyle(), gsTopBottom);
  EXPECT_FALSE(box.Font3D());
  EXPECT_EQ(box.FontDepth(), 1);
  EXPECT_EQ(box.Style3D(), fsRaise3D);
  EXPECT_COLOR_EQ(box.BackFont(), 0x00FFFFu);
  EXPECT_EQ(sizeof(TGradStyle), 1u);
  EXPECT_EQ(sizeof(TFontStyle3D), 1u);
}

}  // namespace
