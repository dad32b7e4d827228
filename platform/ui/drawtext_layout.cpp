#include <QFontMetrics>

#include "drawtext.h"
#include "sjis_text.h"

namespace platform {
namespace {

enum class Kind { Normal, Wide, Space, Tab, Break };

struct Glyph {
  QString text;
  Kind kind;
  bool underline;
};

bool is_break_byte(char c) { return c == '\r' || c == '\n'; }

// One character (one or two bytes) starting at s[i]; returns its length.
std::size_t read_char(const std::string& s, std::size_t i, Glyph& g) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (IsSjisLeadByte(c) && i + 1 < s.size()) {
    g.text = SjisToQString(s.substr(i, 2));
    g.kind = g.text.size() == 1 ? Kind::Wide : Kind::Normal;
    if (g.kind == Kind::Normal) {  // not a character: show the lead byte alone
      g.text = SjisToQString(s.substr(i, 1));
      return 1;
    }
    return 2;
  }
  g.text = SjisToQString(s.substr(i, 1));
  g.kind = c == ' ' ? Kind::Space : c == '\t' ? Kind::Tab : Kind::Normal;
  return 1;
}

std::vector<Glyph> decode(const std::string& s, unsigned flags) {
  std::vector<Glyph> out;
  const bool prefix = (flags & DT_NOPREFIX) == 0;
  bool underline_next = false;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (is_break_byte(c)) {
      // CR LF and LF CR are one break each; so is a lone CR or LF.
      const bool pair = i + 1 < s.size() && is_break_byte(s[i + 1]) && s[i + 1] != c;
      out.push_back({QString(), Kind::Break, false});
      i += pair ? 2 : 1;
      underline_next = false;
      continue;
    }
    if (prefix && c == '&') {
      if (i + 1 == s.size()) {
        out.push_back({QStringLiteral("&"), Kind::Normal, false});
        ++i;
        continue;
      }
      if (s[i + 1] == '&') {
        out.push_back({QStringLiteral("&"), Kind::Normal, underline_next});
        underline_next = false;
        i += 2;
        continue;
      }
      ++i;
      underline_next = !(s[i] == '\t' || is_break_byte(s[i]));
      continue;
    }
    Glyph g;
    i += read_char(s, i, g);
    if (g.kind == Kind::Tab && !(flags & DT_EXPANDTABS)) g.kind = Kind::Normal;
    g.underline = underline_next;
    underline_next = false;
    out.push_back(std::move(g));
  }
  return out;
}

struct Token {
  Kind kind;
  std::size_t first;  // glyph range
  std::size_t last;
};

std::vector<Token> tokenize(const std::vector<Glyph>& glyphs, std::size_t from, std::size_t to) {
  std::vector<Token> out;
  for (std::size_t i = from; i < to;) {
    std::size_t j = i + 1;
    if (glyphs[i].kind == Kind::Normal)
      while (j < to && glyphs[j].kind == Kind::Normal) ++j;
    out.push_back({glyphs[i].kind, i, j});
    i = j;
  }
  return out;
}

class LineBuilder {
 public:
  LineBuilder(const std::vector<Glyph>& glyphs, const TextMeasure& m, std::vector<TextLine>& out)
      : glyphs_(glyphs), m_(m), out_(out) {}

  int x() const { return x_; }
  bool empty() const { return empty_; }

  void place(const Token& t, int width) {
    QString text;
    for (std::size_t i = t.first; i < t.last; ++i) {
      if (glyphs_[i].underline) line_.underlines.push_back({x_ + m_.Advance(text), m_.Advance(glyphs_[i].text)});
      text += glyphs_[i].text;
    }
    line_.pieces.push_back({x_, text});
    x_ += width;
    if (t.kind != Kind::Space) line_.width = x_;
    empty_ = false;
  }

  void tab(int stop) {
    x_ = stop;
    empty_ = false;
  }

  void finish() {
    out_.push_back(std::move(line_));
    line_ = TextLine{};
    x_ = 0;
    empty_ = true;
  }

 private:
  const std::vector<Glyph>& glyphs_;
  const TextMeasure& m_;
  std::vector<TextLine>& out_;
  TextLine line_;
  int x_ = 0;
  bool empty_ = true;
};

}  // namespace

FontMeasure::FontMeasure(const QFont& font) : font_(font) {}
int FontMeasure::Advance(const QString& text) const { return QFontMetrics(font_).horizontalAdvance(text); }
int FontMeasure::LineHeight() const { return QFontMetrics(font_).height(); }
int FontMeasure::Ascent() const { return QFontMetrics(font_).ascent(); }
int FontMeasure::AveCharWidth() const { return QFontMetrics(font_).averageCharWidth(); }

std::vector<TextLine> LayoutText(const std::string& text, int width, unsigned flags, const TextMeasure& measure) {
  std::vector<TextLine> lines;
  const std::vector<Glyph> glyphs = decode(text, flags);
  const bool wordbreak = (flags & DT_WORDBREAK) != 0;
  const bool tabs = (flags & DT_EXPANDTABS) != 0;
  const int tab_width = measure.AveCharWidth() * 8 > 0 ? measure.AveCharWidth() * 8 : 1;

  std::size_t start = 0;
  while (start < glyphs.size()) {
    std::size_t end = start;
    while (end < glyphs.size() && glyphs[end].kind != Kind::Break) ++end;
    LineBuilder line(glyphs, measure, lines);
    Kind previous = Kind::Break;  // nothing on the line yet
    for (const Token& t : tokenize(glyphs, start, end)) {
      if (t.kind == Kind::Tab && tabs) {
        // The next stop strictly right of the pen.
        line.tab((line.x() / tab_width + 1) * tab_width);
        previous = Kind::Tab;
        continue;
      }
      QString s;
      for (std::size_t i = t.first; i < t.last; ++i) s += glyphs[i].text;
      const int w = measure.Advance(s);
      if (wordbreak && !line.empty() && line.x() + w > width) {
        if (t.kind == Kind::Space) {
          // The space at the break is swallowed; later ones start the next line.
          line.finish();
          previous = Kind::Break;
          continue;
        }
        // Breaks fall after a space and on either side of a full-width
        // character; a word right after a tab or another word stays.
        const bool may_break = previous == Kind::Space || previous == Kind::Wide || t.kind == Kind::Wide;
        if (may_break) line.finish();
      }
      line.place(t, w);
      previous = t.kind;
    }
    line.finish();
    start = end + 1;  // past the break; a break at the very end adds no line
  }
  return lines;
}

}  // namespace platform
