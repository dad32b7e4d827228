#include "drawtext.h"

#include <QFontMetrics>

#include <algorithm>

namespace platform {

int DrawText(TCanvas& canvas, const std::string& text, TRect& r, unsigned flags) {
  const QFont qf = canvas.Font().ToQFont();
  const FontMeasure measure(qf);
  const std::vector<TextLine> lines = LayoutText(text, r.Width(), flags, measure);
  const int h = measure.LineHeight();
  const int total = static_cast<int>(lines.size()) * h;

  if (flags & DT_CALCRECT) {
    int widest = 0;
    for (const TextLine& l : lines) widest = std::max(widest, l.width);
    r.Right = r.Left + widest;
    r.Bottom = r.Top + total;
    return total;
  }
  if (lines.empty()) return 0;

  QPainter& p = canvas.Painter();
  p.save();
  if (!(flags & DT_NOCLIP))
    p.setClipRect(QRect(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0)), Qt::IntersectClip);
  p.setFont(qf);
  const QColor ink = ToQColor(canvas.Font().Color());
  const QColor back = ToQColor(canvas.BkColor());
  const bool opaque = canvas.BkMode() == TBkMode::bkOpaque;
  const int ascent = measure.Ascent();

  int top = r.Top;
  for (const TextLine& line : lines) {
    // Lines are drawn down to the first one that reaches past the bottom.
    if (!(flags & DT_NOCLIP) && top >= r.Bottom) break;
    int left = r.Left;
    if (flags & DT_CENTER) left += (r.Width() - line.width) / 2;
    else if (flags & DT_RIGHT) left += r.Width() - line.width;
    for (const TextPiece& piece : line.pieces) {
      if (opaque) p.fillRect(QRect(left + piece.x, top, measure.Advance(piece.text), h), back);
      p.setPen(ink);
      p.drawText(QPoint(left + piece.x, top + ascent), piece.text);
    }
    for (const TextUnderline& u : line.underlines)
      if (u.width > 1) p.fillRect(QRect(left + u.x, top + ascent + 1, u.width - 1, 1), ink);
    top += h;
  }
  p.restore();
  return total;
}

}  // namespace platform
