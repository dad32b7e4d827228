#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "byte_assert.h"
#include "canvas.h"
#include "drawtext.h"
#include "widget_pixels.h"

namespace {

using platform::DT_CALCRECT;
using platform::DT_EXPANDTABS;
using platform::DT_NOPREFIX;
using platform::DT_WORDBREAK;
using platform::LayoutText;
using platform::TextLine;

constexpr unsigned kFlags = DT_WORDBREAK | DT_EXPANDTABS;

// Every half-width character 6 pixels wide, every other one 12; lines of
// 10 pixels; tab stops every 8 x 5 = 40 pixels.
class FixedMeasure final : public platform::TextMeasure {
 public:
  int Advance(const QString& text) const override {
    int w = 0;
    for (QChar c : text) w += c.unicode() < 0x100 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 6 : 12;
    return w;
  }
  int LineHeight() const override { return 10; }
  int Ascent() const override { return 8; }
  int AveCharWidth() const override { return 5; }
};

// Each line as its pieces joined with "|" and prefixed by their x.
std::vector<std::string> render(const std::vector<TextLine>& lines) {
  std::vector<std::string> out;
  for (const TextLine& l : lines) {
    std::string s;
    for (const auto& p : l.pieces) {
      if (!s.empty()) s += '|';
      s += std::to_string(p.x) + ":" + p.text.toStdString();
    }
    out.push_back(s);
  }
  return out;
}

std::vector<std::string> layout(const std::string& text, int width, unsigned flags = kFlags) {
  return render(LayoutText(text, width, flags, FixedMeasure()));
}

using Lines = std::vector<std::string>;

TEST(DrawTextLayout, BreaksBetweenWordsWhereTheNextWouldPassTheEdge) {
  const struct {
    const char* name;
    std::string text;
    int width;
    Lines lines;
    unsigned flags = kFlags;
  } cases[] = {
      {"fits exactly", "ab cd", 30, {"0:ab|12: |18:cd"}},
      {"one pixel short", "ab cd", 29, {"0:ab|12: ", "0:cd"}},
      {"space at the break swallowed", "ab cd", 12, {"0:ab", "0:cd"}},
      {"further spaces start the line", "ab   cd", 12, {"0:ab", "0: |6: ", "0:cd"}},
      {"spaces that fit stay", "ab  cd", 24, {"0:ab|12: |18: ", "0:cd"}},
      {"long word not broken", "abcdefgh ij", 20, {"0:abcdefgh", "0:ij"}},
      {"long word after a break", "ab abcdefgh", 20, {"0:ab|12: ", "0:abcdefgh"}},
      {"one pixel wide: two lines", "line1 line2", 1, {"0:line1", "0:line2"}},
      {"no word break flag", "ab cd ef", 6, {"0:ab|12: |18:cd|30: |36:ef"}, DT_EXPANDTABS},
  };
  for (const auto& c : cases) EXPECT_EQ(layout(c.text, c.width, c.flags), c.lines) << c.name;
}

TEST(DrawTextLayout, FullWidthCharactersAreBreakPoints) {
  // "あいう" then "ab": each full-width character 12 pixels.
  const std::string text =
      "\x82\xa0\x82\xa2\x82\xa4"
      "ab";
  EXPECT_EQ(layout(text, 30), (Lines{"0:\xE3\x81\x82|12:\xE3\x81\x84", "0:\xE3\x81\x86|12:ab"}));
  EXPECT_EQ(layout(text, 11), (Lines{"0:\xE3\x81\x82", "0:\xE3\x81\x84", "0:\xE3\x81\x86", "0:ab"}));
  // Half-width katakana are no break points.
  EXPECT_EQ(layout("\xb1\xb2\xb3", 6), (Lines{"0:\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"}));
}

TEST(DrawTextLayout, LineBreaksInTheText) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"a\r\nb", {"0:a", "0:b"}},
      {"a\rb", {"0:a", "0:b"}},
      {"a\nb", {"0:a", "0:b"}},
      {"a\n\rb", {"0:a", "0:b"}},
      {"a\n\nb", {"0:a", "", "0:b"}},
      {"a\r\rb", {"0:a", "", "0:b"}},
      {"a\r\n", {"0:a"}},  // a break at the very end adds no line
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(layout(c.text, 100), c.lines) << test_support::hex_dump(c.text);
}

TEST(DrawTextLayout, TabsGoToTheNextStopStrictlyRight) {
  EXPECT_EQ(layout("ab\tx", 200), (Lines{"0:ab|40:x"}));
  EXPECT_EQ(layout("\tx", 200), (Lines{"40:x"}));
  EXPECT_EQ(layout("a\t\tx", 200), (Lines{"0:a|80:x"}));
  EXPECT_EQ(layout("abcdefghijklmn\tx", 200), (Lines{"0:abcdefghijklmn|120:x"}));
  // Text ending exactly on a stop moves a full tab on.
  EXPECT_EQ(layout("abcdefghijklmnopqrst\tx", 200), (Lines{"0:abcdefghijklmnopqrst|160:x"}));
  // A word right after a tab is not broken off.
  EXPECT_EQ(layout("ab\tcdefgh", 50), (Lines{"0:ab|40:cdefgh"}));
  // Without DT_EXPANDTABS a tab is an ordinary character.
  EXPECT_EQ(layout("a\tb", 200, DT_WORDBREAK), (Lines{"0:a\tb"}));
}

TEST(DrawTextLayout, AmpersandPrefixes) {
  const FixedMeasure m;
  const auto lines = LayoutText("a&bc&&d", 200, kFlags, m);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(render(lines), (Lines{"0:abc&d"}));
  ASSERT_EQ(lines[0].underlines.size(), 1u);
  EXPECT_EQ(lines[0].underlines[0].x, 6);  // "b", right after "a"
  EXPECT_EQ(lines[0].underlines[0].width, 6);

  EXPECT_EQ(layout("ab&", 200), (Lines{"0:ab&"}));  // a last "&" is drawn
  EXPECT_EQ(layout("a&\tb", 200), (Lines{"0:a|40:b"}));
  EXPECT_TRUE(LayoutText("a&\tb", 200, kFlags, m)[0].underlines.empty());
  EXPECT_EQ(layout("a&\r\nb", 200), (Lines{"0:a", "0:b"}));
  EXPECT_EQ(layout("a&b", 200, kFlags | DT_NOPREFIX), (Lines{"0:a&b"}));
  // A prefixed full-width character is underlined whole.
  const auto wide = LayoutText("&\x82\xa0", 200, kFlags, m);
  ASSERT_EQ(wide[0].underlines.size(), 1u);
  EXPECT_EQ(wide[0].underlines[0].width, 12);
}

TEST(DrawTextLayout, LineWidthLeavesOutTrailingSpaces) {
  const auto lines = LayoutText("ab  cd", 24, kFlags, FixedMeasure());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].width, 12);
  EXPECT_EQ(lines[1].width, 12);
}

// Drawing with a real font: the rectangle clips, and lines go down by the
// font's height.
class DrawTextPixels : public ::testing::Test {
 protected:
  QImage image{120, 60, QImage::Format_RGB32};
  platform::TCanvas canvas{image};
  void SetUp() override {
    image.fill(Qt::white);
    canvas.SetBrushStyle(platform::TBrushStyle::bsClear);
    canvas.Font().SetName("DejaVu Sans");
    canvas.Font().SetColor(0x000000);
  }
  QRect inked() {
    canvas.Release();
    QRect r;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (test_support::pixel(image, x, y) != 0xFFFFFF) r |= QRect(x, y, 1, 1);
    return r;
  }
};

TEST_F(DrawTextPixels, OutputStaysInsideTheRectangle) {
  platform::TRect r{10, 5, 40, 18};
  platform::DrawText(canvas, "WWWWWWWW WWWWWWW WWWWWWW", r, kFlags);
  const QRect ink = inked();
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 10);
  EXPECT_GE(ink.top(), 5);
  EXPECT_LE(ink.right(), 39);
  EXPECT_LE(ink.bottom(), 17);
}

TEST_F(DrawTextPixels, CalcRectMeasuresWithoutDrawing) {
  platform::TRect r{0, 0, 200, 0};
  const int h = platform::DrawText(canvas, "ab\r\ncd", r, kFlags | DT_CALCRECT);
  EXPECT_EQ(h, 2 * canvas.TextHeight("ab"));
  EXPECT_EQ(r.Bottom, h);
  EXPECT_EQ(r.Right, std::max(canvas.TextWidth("ab"), canvas.TextWidth("cd")));
  EXPECT_TRUE(inked().isEmpty());
}

TEST_F(DrawTextPixels, TheSecondLineStartsOneFontHeightLower) {
  platform::TRect r{0, 0, 120, 60};
  platform::DrawText(canvas, "\r\nI", r, kFlags);
  const QRect ink = inked();
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.top(), canvas.TextHeight("I"));
  EXPECT_LT(ink.bottom(), 2 * canvas.TextHeight("I"));
}

TEST_F(DrawTextPixels, UnderlineSitsBelowTheBaseline) {
  platform::TRect r{0, 0, 120, 60};
  platform::DrawText(canvas, "&&&x", r, kFlags);  // "&" then underlined "x"
  canvas.Release();
  const int ascent = QFontMetrics(canvas.Font().ToQFont()).ascent();
  const int x0 = canvas.TextWidth("&");
  const int adv = canvas.TextWidth("x");
  for (int x = x0; x < x0 + adv - 1; ++x) EXPECT_COLOR_EQ(test_support::pixel(image, x, ascent + 1), 0u) << x;
  EXPECT_COLOR_EQ(test_support::pixel(image, x0 + adv - 1, ascent + 1), 0xFFFFFFu);
}

TEST_F(DrawTextPixels, EmptyTextDrawsNothing) {
  platform::TRect r{0, 0, 120, 60};
  EXPECT_EQ(platform::DrawText(canvas, "", r, kFlags), 0);
  EXPECT_TRUE(inked().isEmpty());
}

}  // namespace
