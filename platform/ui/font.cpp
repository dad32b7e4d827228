#include "font.h"

#include <QStringList>

#include <cstdlib>

#include "sjis_text.h"

namespace platform {
namespace {

// "ＭＳ Ｐゴシック" in Shift_JIS: the desktop's default interface face.
const char kDefaultFace[] = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

QStringList standins(const QString& face) {
  const QString f = face.toCaseFolded();
  if (f.contains(QStringLiteral("gothic")) || f.contains(QString::fromUtf8("ゴシック")))
    return {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")};
  if (f.contains(QStringLiteral("mincho")) || f.contains(QString::fromUtf8("明朝")))
    return {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")};
  if (f == QStringLiteral("arial") || f == QStringLiteral("ms sans serif") || f == QStringLiteral("tahoma"))
    return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
  return {};
}

}  // namespace

TFont::TFont() : name_(kDefaultFace), height_(-12) {}

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      style_(other.style_),
      color_(other.color_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
  if (this == &other) return *this;
  const bool same = name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
                    color_ == other.color_ && charset_ == other.charset_;
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  charset_ = other.charset_;
  if (!same) Changed();
  return *this;
}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

QFont TFont::ToQFont() const {
  const QString face = SjisToQString(name_);
  QStringList families{face};
  families += standins(face);
  if (charset_ == SHIFTJIS_CHARSET) families += {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
  QFont f;
  f.setFamilies(families);
  // A positive height counts the whole cell; the pixel size is the nearest
  // stand-in for both conventions.
  const int px = std::abs(height_);
  f.setPixelSize(px > 0 ? px : 12);
  f.setBold((style_ & fsBold) != 0);
  f.setItalic((style_ & fsItalic) != 0);
  f.setUnderline((style_ & fsUnderline) != 0);
  f.setStrikeOut((style_ & fsStrikeOut) != 0);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setKerning(false);
  return f;
}

}  // namespace platform
