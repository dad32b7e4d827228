// Drawing a cell: its fill, its text, its lines by the grid-line options,
// then the grid's cell-drawing event on the same canvas.
#include <QPainter>

#include "string_grid_impl.h"

namespace platform {
namespace {

// Lines between fixed cells must show against clBtnFace, the usual fixed colour.
constexpr TColor kFixedLine = clBtnShadow;
constexpr TColor kLine = clBtnFace;

}  // namespace

void TStringGrid::Impl::Delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  impl_.PaintCell(*painter, option.rect, index.column(), index.row());
}

void TStringGrid::Impl::PaintCell(QPainter& p, const QRect& section, int col, int row) {
  const bool fixed = IsFixed(col, row);
  const QRect area = CellArea(section);
  const TRect rect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
  TGridDrawState state = fixed ? gdFixed : 0;
  const bool focused = !read_only && grid.hasFocus();
  if (!fixed && CurrentIs(col, row)) state |= gdSelected | (focused ? gdFocused : 0);
  const bool highlight = (state & gdFocused) != 0;
  const TColor base = fixed ? fixed_color : color;
  const TColor fill = highlight ? clHighlight : base;

  p.save();
  const bool vert_drawn = options & (fixed ? goFixedVertLine : goVertLine);
  const bool horz_drawn = options & (fixed ? goFixedHorzLine : goHorzLine);
  const QColor line = ToQColor(fixed ? kFixedLine : kLine);
  if (VertLine()) p.fillRect(QRect(rect.Right, section.top(), 1, section.height()), vert_drawn ? line : ToQColor(base));
  if (HorzLine())
    p.fillRect(QRect(section.left(), rect.Bottom, section.width(), 1), horz_drawn ? line : ToQColor(base));
  p.setClipRect(area, Qt::IntersectClip);

  TCanvas canvas(p);
  canvas.SetBrushColor(fill);
  canvas.Font().Assign(font);
  if (highlight) canvas.Font().SetColor(clHighlightText);
  canvas.FillRect(rect);
  canvas.TextOut(rect.Left + 2, rect.Top + 2, Cell(col, row));
  if (grid.OnDrawCell) {
    struct Reset {
      TCanvas*& slot;
      ~Reset() { slot = nullptr; }
    } reset{current_canvas};
    current_canvas = &canvas;
    grid.OnDrawCell(&grid, col, row, rect, state);
  }
  p.restore();
}

void TStringGrid::Impl::ApplyColors() {
  QPalette pal = grid.palette();
  // The part of the view beyond the last cells shows the grid's colour.
  pal.setColor(QPalette::Base, ToQColor(color));
  grid.setPalette(pal);
}

}  // namespace platform
