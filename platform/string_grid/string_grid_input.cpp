// Mouse and wheel input ahead of the view: read-only lists ignore it, and
// dragging a column's line in the fixed rows sizes the column. Also the
// view's section sizes, which are the cells' sizes and their lines.
#include <QHeaderView>

#include <algorithm>
#include <cstdlib>

#include "string_grid_impl.h"

namespace platform {
namespace {

// How close to a column's right line a press in the fixed rows starts sizing.
constexpr int kSizingSlack = 2;

}  // namespace

bool TStringGrid::Impl::InputFilter::eventFilter(QObject* object, QEvent* event) {
  if (object == &impl_.grid) {
    if (event->type() == QEvent::FocusIn) impl_.QueueShowEditor();
    return false;
  }
  switch (event->type()) {
    case QEvent::Wheel: return impl_.read_only;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return impl_.read_only || impl_.ColSizingMouse(*static_cast<QMouseEvent*>(event));
    default: return false;
  }
}

void TStringGrid::Impl::ApplyColWidths() {
  QHeaderView* h = grid.horizontalHeader();
  h->setDefaultSectionSize(default_col_width + VertLine());
  for (int c = 0; c < col_count; ++c) h->resizeSection(c, col_widths[static_cast<std::size_t>(c)] + VertLine());
}

void TStringGrid::Impl::ApplyRowHeights() {
  QHeaderView* v = grid.verticalHeader();
  v->setDefaultSectionSize(default_row_height + HorzLine());
  for (int r = 0; r < row_count; ++r) v->resizeSection(r, default_row_height + HorzLine());
}

// The column whose right line is under `pos` in the fixed rows, or -1.
int TStringGrid::Impl::SizingColumnAt(QPoint pos) const {
  if (fixed_rows <= 0) return -1;
  const int fixed_bottom = grid.rowViewportPosition(fixed_rows - 1) + grid.rowHeight(fixed_rows - 1);
  if (pos.y() < 0 || pos.y() >= fixed_bottom) return -1;
  int best = -1;
  int best_distance = kSizingSlack + 1;
  for (int c = 0; c < col_count; ++c) {
    const int line = grid.columnViewportPosition(c) + col_widths[static_cast<std::size_t>(c)];
    const int distance = std::abs(pos.x() - line);
    if (distance < best_distance) {
      best = c;
      best_distance = distance;
    }
  }
  return best;
}

// Column sizing by dragging a column's line in the fixed rows; true when
// the event was the sizing's.
bool TStringGrid::Impl::ColSizingMouse(const QMouseEvent& e) {
  if (!(options & goColSizing)) {
    sizing_col = -1;
    return false;
  }
  const QPoint pos = e.position().toPoint();
  switch (e.type()) {
    case QEvent::MouseMove:
      if (sizing_col >= 0) {
        grid.SetColWidths(sizing_col, std::max(0, sizing_width + pos.x() - sizing_x));
        return true;
      }
      if (SizingColumnAt(pos) >= 0) grid.viewport()->setCursor(Qt::SplitHCursor);
      else grid.viewport()->unsetCursor();
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (e.button() != Qt::LeftButton) return false;
      const int c = SizingColumnAt(pos);
      if (c < 0) return false;
      sizing_col = c;
      sizing_x = pos.x();
      sizing_width = col_widths[static_cast<std::size_t>(c)];
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (sizing_col < 0 || e.button() != Qt::LeftButton) return false;
      sizing_col = -1;
      return true;
    default: return false;
  }
}

}  // namespace platform
