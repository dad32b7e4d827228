// A drawing surface with the desktop's pixel rules: integer geometry, no
// antialiasing, right and bottom edges excluded, a line's end point left out.
// Colours are colour values (system colours are resolved when drawn).
#pragma once

#include <QImage>
#include <QPainter>

#include <memory>
#include <span>
#include <string>

#include "font.h"
#include "geometry.h"
#include "sys_colors.h"

namespace platform {

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };
enum class TBkMode { bkTransparent, bkOpaque };

class TCanvas {
 public:
  // Draws through an active painter, e.g. inside a control's paint.
  explicit TCanvas(QPainter& painter);
  // Draws into an image; the painter is opened on first use and closed by
  // Release() (or the destructor) before the image is read or resized.
  explicit TCanvas(QImage& image);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  void Release();

  // A brush colour makes the brush solid. A solid brush turns the background
  // mode opaque with the brush colour as background, a clear one transparent.
  void SetBrushColor(TColor color);
  void SetBrushStyle(TBrushStyle style);
  TColor BrushColor() const { return brush_color_; }
  TBrushStyle BrushStyle() const { return brush_style_; }

  void SetPenColor(TColor color) { pen_color_ = color; }
  TColor PenColor() const { return pen_color_; }

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  void SetBkMode(TBkMode mode) { bk_mode_ = mode; }
  TBkMode BkMode() const { return bk_mode_; }
  TColor BkColor() const { return bk_color_; }

  // Pixels r.Left .. r.Right - 1, r.Top .. r.Bottom - 1 in the brush colour.
  void FillRect(const TRect& r);
  // The one-pixel border of r in the brush colour.
  void FrameRect(const TRect& r);
  // One-pixel outline in the pen colour; the inside filled when the brush
  // is solid, untouched when it is clear.
  void Rectangle(int left, int top, int right, int bottom);
  // A one-pixel line from each point to the next without its end point.
  void Polyline(std::span<const TPoint> points);
  // Copies the bitmap unchanged with its top-left pixel at (x, y).
  void Draw(int x, int y, const TBitmap& bitmap);
  // The text's cell top-left at (x, y); "&" is an ordinary character. In
  // opaque mode the cell is filled with the background colour first.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;

  QPainter& Painter();

 private:
  QPainter* painter_;
  QImage* image_ = nullptr;
  std::unique_ptr<QPainter> own_;
  TColor brush_color_ = 0xFFFFFF;
  TBrushStyle brush_style_ = TBrushStyle::bsSolid;
  TColor pen_color_ = 0;
  TColor bk_color_ = 0xFFFFFF;
  TBkMode bk_mode_ = TBkMode::bkOpaque;
  TFont font_;
};

QColor ToQColor(TColor color);
// A pixel read back as a plain colour value.
TColor FromQRgb(QRgb rgb);

}  // namespace platform
