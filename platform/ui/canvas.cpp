#include "canvas.h"

#include <QFontMetrics>

#include <cstdlib>

#include "bitmap.h"
#include "sjis_text.h"

namespace platform {

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQRgb(QRgb rgb) {
  return RGB(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
             static_cast<std::uint8_t>(qBlue(rgb)));
}

TCanvas::TCanvas(QPainter& painter) : painter_(&painter) {}

TCanvas::TCanvas(QImage& image) : painter_(nullptr), image_(&image) {}

TCanvas::~TCanvas() { Release(); }

void TCanvas::Release() {
  if (own_) {
    own_.reset();
    painter_ = nullptr;
  }
}

QPainter& TCanvas::Painter() {
  if (!painter_) {
    own_ = std::make_unique<QPainter>(image_);
    painter_ = own_.get();
  }
  return *painter_;
}

void TCanvas::SetBrushColor(TColor color) {
  brush_color_ = color;
  SetBrushStyle(TBrushStyle::bsSolid);
}

void TCanvas::SetBrushStyle(TBrushStyle style) {
  brush_style_ = style;
  if (style == TBrushStyle::bsSolid) {
    bk_color_ = brush_color_;
    bk_mode_ = TBkMode::bkOpaque;
  } else {
    bk_mode_ = TBkMode::bkTransparent;
  }
}

void TCanvas::FillRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  Painter().fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), ToQColor(brush_color_));
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  QPainter& p = Painter();
  const QColor c = ToQColor(brush_color_);
  p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
  p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
  p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
  p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  if (brush_style_ == TBrushStyle::bsSolid && right - left > 2 && bottom - top > 2)
    Painter().fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), ToQColor(brush_color_));
  const TColor brush = brush_color_;
  brush_color_ = pen_color_;
  FrameRect({left, top, right, bottom});
  brush_color_ = brush;
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  QPainter& p = Painter();
  const QColor c = ToQColor(pen_color_);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    // Bresenham from a to b, b itself excluded.
    int x = points[i].X, y = points[i].Y;
    const int x1 = points[i + 1].X, y1 = points[i + 1].Y;
    const int dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    int err = dx + dy;
    while (x != x1 || y != y1) {
      p.fillRect(QRect(x, y, 1, 1), c);
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  const QImage& image = bitmap.Image();
  if (image.isNull()) return;
  Painter().drawImage(QPoint(x, y), image);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  const QString s = SjisToQString(text);
  const QFont qf = font_.ToQFont();
  const QFontMetrics fm(qf);
  QPainter& p = Painter();
  if (bk_mode_ == TBkMode::bkOpaque) p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(bk_color_));
  p.setFont(qf);
  p.setPen(ToQColor(font_.Color()));
  p.drawText(QPoint(x, y + fm.ascent()), s);
}

int TCanvas::TextWidth(const std::string& text) const {
  return QFontMetrics(font_.ToQFont()).horizontalAdvance(SjisToQString(text));
}

int TCanvas::TextHeight(const std::string&) const { return QFontMetrics(font_.ToQFont()).height(); }

}  // namespace platform
