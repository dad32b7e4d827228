#include "string_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "sjis_text.h"

namespace platform {
namespace {

// Lines between fixed cells must show against clBtnFace, the usual fixed colour.
constexpr TColor kFixedLine = clBtnShadow;
constexpr TColor kLine = clBtnFace;

constexpr TGridOptions kDefaultOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

// How close to a column's right line a press in the fixed rows starts sizing.
constexpr int kSizingSlack = 2;

}  // namespace

struct TStringGrid::Impl {
  // The view's model: counts and flags from the grid; the cells are read
  // straight from `cells` when painting.
  class Model : public QAbstractTableModel {
   public:
    explicit Model(Impl& impl) : impl_(impl) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : impl_.row_count; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : impl_.col_count; }

    QVariant data(const QModelIndex& index, int role) const override {
      if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
      return SjisToQString(impl_.Cell(index.column(), index.row()));
    }

    // Fixed cells are disabled: the view's keyboard navigation and mouse
    // selection pass over disabled cells.
    Qt::ItemFlags flags(const QModelIndex& index) const override {
      if (!index.isValid() || impl_.IsFixed(index.column(), index.row())) return Qt::NoItemFlags;
      Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (impl_.options & goEditing) f |= Qt::ItemIsEditable;
      return f;
    }

    // Count changes are insertions and removals, not resets, so that the
    // view keeps its scroll position and section sizes.
    void SetRowCount(int n) {
      const int old = impl_.row_count;
      if (n > old) {
        beginInsertRows({}, old, n - 1);
        impl_.row_count = n;
        endInsertRows();
      } else if (n < old) {
        beginRemoveRows({}, n, old - 1);
        impl_.row_count = n;
        endRemoveRows();
      }
    }

    void SetColCount(int n) {
      const int old = impl_.col_count;
      if (n > old) {
        beginInsertColumns({}, old, n - 1);
        impl_.col_count = n;
        endInsertColumns();
      } else if (n < old) {
        beginRemoveColumns({}, n, old - 1);
        impl_.col_count = n;
        endRemoveColumns();
      }
    }

    void CellChanged(int col, int row) {
      const QModelIndex i = index(row, col);
      if (i.isValid()) emit dataChanged(i, i);
    }

    void AllChanged() {
      if (impl_.row_count > 0 && impl_.col_count > 0)
        emit dataChanged(index(0, 0), index(impl_.row_count - 1, impl_.col_count - 1));
    }

   private:
    Impl& impl_;
  };

  class Editor : public QLineEdit {
   public:
    using QLineEdit::QLineEdit;
    // The text the cell showed when the editor took it, and its bytes.
    QString shown;
    std::string original;
  };

  class Delegate : public QStyledItemDelegate {
   public:
    explicit Delegate(Impl& impl) : impl_(impl) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
      impl_.PaintCell(*painter, option.rect, index.column(), index.row());
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
      auto* editor = new Editor(parent);
      editor->setFrame(false);
      editor->setFont(impl_.font.ToQFont());
      // What the user types is in the cell at once, as with the desktop
      // grid: whoever reads the cells (a save at exit) gets it even while
      // the editor is still open.
      const int col = index.column(), row = index.row();
      QObject::connect(editor, &QLineEdit::textEdited, editor, [this, col, row](const QString& text) {
        impl_.StoreCell(col, row, QStringToSjis(text));
      });
      return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
      auto* e = static_cast<Editor*>(editor);
      e->original = impl_.Cell(index.column(), index.row());
      e->shown = SjisToQString(e->original);
      e->setText(e->shown);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
      auto* e = static_cast<Editor*>(editor);
      // Only a changed text is written back: a cell whose bytes are no
      // Shift_JIS would otherwise lose them to U+FFFD and "?" when the user
      // merely passes through it.
      if (e->text() == e->shown) {
        impl_.grid.SetCells(index.column(), index.row(), e->original);
        return;
      }
      impl_.grid.SetCells(index.column(), index.row(), QStringToSjis(e->text()));
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
      editor->setGeometry(impl_.CellArea(option.rect));
    }

    bool eventFilter(QObject* object, QEvent* event) override {
      // Escape takes the edit back: the cell gets its bytes of before.
      if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* e = static_cast<Editor*>(object);
        const QModelIndex index = impl_.grid.currentIndex();
        if (index.isValid()) impl_.grid.SetCells(index.column(), index.row(), e->original);
      }
      // Without goTabs, Tab leaves the grid from the editor as it does from
      // the grid itself, instead of moving to the next cell.
      if (event->type() == QEvent::KeyPress && !(impl_.options & goTabs)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
          auto* editor = static_cast<QWidget*>(object);
          emit commitData(editor);
          emit closeEditor(editor, NoHint);
          impl_.grid.focusNextPrevChild(key == Qt::Key_Tab);
          return true;
        }
      }
      return QStyledItemDelegate::eventFilter(object, event);
    }

   private:
    Impl& impl_;
  };

  // Read-only lists, column sizing and the always-open editor, seen ahead
  // of the view's own handling.
  class InputFilter : public QObject {
   public:
    explicit InputFilter(Impl& impl) : impl_(impl) {}

    bool eventFilter(QObject* object, QEvent* event) override {
      if (object == &impl_.grid) {
        if (event->type() == QEvent::FocusIn) impl_.QueueShowEditor();
        return false;
      }
      switch (event->type()) {
        case QEvent::Wheel:
          return impl_.read_only;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
          return impl_.read_only || impl_.ColSizingMouse(*static_cast<QMouseEvent*>(event));
        default:
          return false;
      }
    }

   private:
    Impl& impl_;
  };

  explicit Impl(TStringGrid& g) : grid(g), model(*this), delegate(*this), filter(*this) {}

  // Stores a cell's bytes without telling the view: an open editor would
  // otherwise be reloaded from the cell on every keystroke.
  void StoreCell(int col, int row, std::string bytes) {
    const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(col);
    if (r >= cells.size()) cells.resize(r + 1);
    if (c >= cells[r].size()) cells[r].resize(c + 1);
    cells[r][c] = std::move(bytes);
  }

  const std::string& Cell(int col, int row) const {
    static const std::string empty;
    if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= cells.size()) return empty;
    const auto& r = cells[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < r.size() ? r[static_cast<std::size_t>(col)] : empty;
  }

  bool IsFixed(int col, int row) const { return col < fixed_cols || row < fixed_rows; }

  // A line takes its pixel when either of its options is on; fixed and
  // normal cells then draw it or not by their own option.
  int VertLine() const { return (options & (goFixedVertLine | goVertLine)) ? 1 : 0; }
  int HorzLine() const { return (options & (goFixedHorzLine | goHorzLine)) ? 1 : 0; }

  // A view section is the cell and its lines; the cell is the part before them.
  QRect CellArea(const QRect& section) const {
    return section.adjusted(0, 0, -VertLine(), -HorzLine());
  }

  bool CurrentIs(int col, int row) const {
    const QModelIndex c = grid.currentIndex();
    return c.isValid() && c.column() == col && c.row() == row;
  }

  void PaintCell(QPainter& p, const QRect& section, int col, int row) {
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
    if (HorzLine()) p.fillRect(QRect(section.left(), rect.Bottom, section.width(), 1), horz_drawn ? line : ToQColor(base));
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

  void ApplyColors() {
    QPalette pal = grid.palette();
    // The part of the view beyond the last cells shows the grid's colour.
    pal.setColor(QPalette::Base, ToQColor(color));
    grid.setPalette(pal);
  }

  void ApplyColWidths() {
    QHeaderView* h = grid.horizontalHeader();
    h->setDefaultSectionSize(default_col_width + VertLine());
    for (int c = 0; c < col_count; ++c) h->resizeSection(c, col_widths[static_cast<std::size_t>(c)] + VertLine());
  }

  void ApplyRowHeights() {
    QHeaderView* v = grid.verticalHeader();
    v->setDefaultSectionSize(default_row_height + HorzLine());
    for (int r = 0; r < row_count; ++r) v->resizeSection(r, default_row_height + HorzLine());
  }

  // Puts the view's current index on (col, row) without scrolling to it:
  // the notification window parks its current cell in a column never shown.
  void ApplyCurrent() {
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

  void CurrentMoved(const QModelIndex& current) {
    if (applying || !current.isValid()) return;
    cur_col = current.column();
    cur_row = current.row();
    // The view has closed the editor on the cell left behind.
    ShowEditorIfAlways();
  }

  bool HasFocusWithin() const {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == &grid || grid.isAncestorOf(f));
  }

  void ShowEditorIfAlways() {
    const TGridOptions both = goEditing | goAlwaysShowEditor;
    if ((options & both) == both && HasFocusWithin() && !grid.EditorMode()) grid.SetEditorMode(true);
  }

  // When focus arrives, also back from an editor that closed; later, since
  // the view is still in the middle of its own handling then.
  void QueueShowEditor() {
    QTimer::singleShot(0, &grid, [g = &grid] { g->impl_->ShowEditorIfAlways(); });
  }

  void CloseEditor(bool commit) {
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    if (!editor) return;
    if (commit) grid.commitData(editor);
    grid.closeEditor(editor, QAbstractItemDelegate::NoHint);
  }

  // The column whose right line is under `pos` in the fixed rows, or -1.
  int SizingColumnAt(QPoint pos) const {
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
  bool ColSizingMouse(const QMouseEvent& e) {
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
        if (SizingColumnAt(pos) >= 0)
          grid.viewport()->setCursor(Qt::SplitHCursor);
        else
          grid.viewport()->unsetCursor();
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
      default:
        return false;
    }
  }

  TStringGrid& grid;
  std::vector<std::vector<std::string>> cells;  // [row][col]; kept when the counts shrink
  int col_count = 5;
  int row_count = 5;
  int fixed_cols = 1;
  int fixed_rows = 1;
  std::vector<int> col_widths;
  int default_col_width = 64;
  int default_row_height = 24;
  TColor fixed_color = clBtnFace;
  TColor color = clWindow;
  TGridOptions options = kDefaultOptions;
  TFont font;
  bool read_only = false;
  int cur_col = 1;  // the current cell
  int cur_row = 1;
  int applying = 0;
  TCanvas* current_canvas = nullptr;
  int sizing_col = -1;
  int sizing_x = 0;
  int sizing_width = 0;

  Model model;
  Delegate delegate;
  InputFilter filter;
};

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
