// The grid's properties, its current cell and its making and unmaking; the
// other jobs are in the files string_grid_impl.h lists.
#include <QHeaderView>

#include <algorithm>

#include "string_grid_impl.h"

namespace platform {

// Puts the view's current index on (col, row) without scrolling to it:
// the notification window parks its current cell in a column never shown.
void TStringGrid::Impl::ApplyCurrent() {
  QModelIndex index;
  if (cur_col >= fixed_cols && cur_row >= fixed_rows) index = model.index(cur_row, cur_col);
  const bool auto_scroll = grid.hasAutoScroll();
  grid.setAutoScroll(false);
  ++applying;
  grid.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  --applying;
  grid.setAutoScroll(auto_scroll);
  ShowEditorIfAlways();
}

void TStringGrid::Impl::CurrentMoved(const QModelIndex& current) {
  if (applying || !current.isValid()) return;
  cur_col = current.column();
  cur_row = current.row();
  // The view has closed the editor on the cell left behind.
  ShowEditorIfAlways();
}

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), impl_(std::make_unique<Impl>(*this)) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
    h->setMinimumSectionSize(0);
    h->setSectionResizeMode(QHeaderView::Fixed);
  }
  // The cells draw their own lines, which follow the grid-line options.
  setShowGrid(false);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  setSelectionMode(SingleSelection);
  setSelectionBehavior(SelectItems);
  setItemDelegate(&impl_->delegate);
  setModel(&impl_->model);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { impl_->CurrentMoved(current); });
  impl_->font.OnChange = [this] {
    if (QWidget* editor = indexWidget(currentIndex())) editor->setFont(impl_->font.ToQFont());
    viewport()->update();
  };
  impl_->col_widths.assign(static_cast<std::size_t>(impl_->col_count), impl_->default_col_width);
  installEventFilter(&impl_->filter);
  viewport()->installEventFilter(&impl_->filter);
  impl_->ApplyColors();
  SetOptions(impl_->options);
  impl_->ApplyCurrent();
  resize(320, 120);
  // Controls are visible unless hidden, also when put on a form already shown.
  if (parent) show();
}

TStringGrid::~TStringGrid() {
  impl_->font.OnChange = nullptr;
  removeEventFilter(&impl_->filter);
  viewport()->removeEventFilter(&impl_->filter);
  // The view lets go of its editors, model and delegate while the cells
  // they read still exist.
  setModel(nullptr);
  setItemDelegate(nullptr);
}

void TStringGrid::SetBounds(int left, int top, int width, int height) {
  setGeometry(left, top, std::max(width, 0), std::max(height, 0));
}

int TStringGrid::ColCount() const { return impl_->col_count; }

void TStringGrid::SetColCount(int n) {
  n = std::max(n, 1);
  if (n == impl_->col_count) return;
  if (impl_->fixed_cols >= n) impl_->fixed_cols = n - 1;
  impl_->col_widths.resize(static_cast<std::size_t>(n), impl_->default_col_width);
  ++impl_->applying;
  impl_->model.SetColCount(n);
  --impl_->applying;
  impl_->ApplyColWidths();
  impl_->cur_col = std::clamp(impl_->cur_col, impl_->fixed_cols, n - 1);
  impl_->ApplyCurrent();
}

int TStringGrid::RowCount() const { return impl_->row_count; }

void TStringGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == impl_->row_count) return;
  if (impl_->fixed_rows >= n) impl_->fixed_rows = n - 1;
  ++impl_->applying;
  impl_->model.SetRowCount(n);
  --impl_->applying;
  impl_->ApplyRowHeights();
  impl_->cur_row = std::clamp(impl_->cur_row, impl_->fixed_rows, n - 1);
  impl_->ApplyCurrent();
}

int TStringGrid::FixedCols() const { return impl_->fixed_cols; }

void TStringGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, impl_->col_count - 1);
  if (n == impl_->fixed_cols) return;
  impl_->fixed_cols = n;
  impl_->cur_col = std::max(impl_->cur_col, n);
  impl_->model.AllChanged();
  impl_->ApplyCurrent();
}

int TStringGrid::FixedRows() const { return impl_->fixed_rows; }

void TStringGrid::SetFixedRows(int n) {
  n = std::clamp(n, 0, impl_->row_count - 1);
  if (n == impl_->fixed_rows) return;
  impl_->fixed_rows = n;
  impl_->cur_row = std::max(impl_->cur_row, n);
  impl_->model.AllChanged();
  impl_->ApplyCurrent();
}

std::string TStringGrid::Cells(int col, int row) const { return impl_->Cell(col, row); }

void TStringGrid::SetCells(int col, int row, const std::string& sjis) {
  if (col < 0 || row < 0) return;
  impl_->StoreCell(col, row, sjis);
  impl_->model.CellChanged(col, row);
}

int TStringGrid::ColWidths(int col) const {
  if (col < 0 || col >= impl_->col_count) return impl_->default_col_width;
  return impl_->col_widths[static_cast<std::size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= impl_->col_count) return;
  width = std::max(width, 0);
  impl_->col_widths[static_cast<std::size_t>(col)] = width;
  horizontalHeader()->resizeSection(col, width + impl_->VertLine());
}

int TStringGrid::DefaultColWidth() const { return impl_->default_col_width; }

void TStringGrid::SetDefaultColWidth(int width) {
  // As on the desktop, a new default also replaces every column's own width.
  impl_->default_col_width = std::max(width, 0);
  std::fill(impl_->col_widths.begin(), impl_->col_widths.end(), impl_->default_col_width);
  impl_->ApplyColWidths();
}

int TStringGrid::DefaultRowHeight() const { return impl_->default_row_height; }

void TStringGrid::SetDefaultRowHeight(int height) {
  impl_->default_row_height = std::max(height, 0);
  impl_->ApplyRowHeights();
}

TColor TStringGrid::FixedColor() const { return impl_->fixed_color; }

void TStringGrid::SetFixedColor(TColor color) {
  impl_->fixed_color = color;
  viewport()->update();
}

TColor TStringGrid::Color() const { return impl_->color; }

void TStringGrid::SetColor(TColor color) {
  impl_->color = color;
  impl_->ApplyColors();
  viewport()->update();
}

TGridOptions TStringGrid::Options() const { return impl_->options; }

void TStringGrid::SetOptions(TGridOptions options) {
  const bool editing = options & goEditing;
  if (!editing) impl_->CloseEditor(true);
  impl_->options = options;
  setEditTriggers(editing ? DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed : NoEditTriggers);
  setTabKeyNavigation(options & goTabs);
  viewport()->setMouseTracking(options & goColSizing);
  if (!(options & goColSizing)) viewport()->unsetCursor();
  impl_->ApplyColWidths();
  impl_->ApplyRowHeights();
  impl_->model.AllChanged();
  impl_->ShowEditorIfAlways();
}

int TStringGrid::Col() const { return impl_->cur_col; }

void TStringGrid::SetCol(int col) {
  if (col < impl_->fixed_cols || col >= impl_->col_count) return;
  impl_->cur_col = col;
  impl_->ApplyCurrent();
}

int TStringGrid::Row() const { return impl_->cur_row; }

void TStringGrid::SetRow(int row) {
  if (row < impl_->fixed_rows || row >= impl_->row_count) return;
  impl_->cur_row = row;
  impl_->ApplyCurrent();
}

bool TStringGrid::EditorMode() const { return indexWidget(currentIndex()) != nullptr; }

void TStringGrid::SetEditorMode(bool on) {
  if (on) {
    if ((impl_->options & goEditing) && !EditorMode()) edit(currentIndex());
  } else if (!(impl_->options & goAlwaysShowEditor)) {
    impl_->CloseEditor(true);
  }
}

TFont& TStringGrid::Font() { return impl_->font; }

void TStringGrid::SetFlat(bool flat) { setFrameShape(flat ? QFrame::NoFrame : QFrame::StyledPanel); }

void TStringGrid::SetScrollBars(bool shown) {
  const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setHorizontalScrollBarPolicy(policy);
  setVerticalScrollBarPolicy(policy);
}

void TStringGrid::SetReadOnlyList(bool on) {
  impl_->read_only = on;
  if (on) {
    impl_->CloseEditor(true);
    clearFocus();
  }
  setFocusPolicy(on ? Qt::NoFocus : Qt::StrongFocus);
  viewport()->update();
}

TRect TStringGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= impl_->col_count || row >= impl_->row_count) return {};
  const int x = columnViewportPosition(col);
  const int y = rowViewportPosition(row);
  const QRect r(x, y, impl_->col_widths[static_cast<std::size_t>(col)], impl_->default_row_height);
  if (!r.intersects(viewport()->rect())) return {};
  return {x, y, x + r.width(), y + r.height()};
}

TCanvas* TStringGrid::Canvas() { return impl_->current_canvas; }

}  // namespace platform
