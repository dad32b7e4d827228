// The grid's inside, shared by its sources only: the cells and settings,
// the view's model, the in-place editor's delegate and the input filter.
// Each job's code is in a file of its own:
//   string_grid_model.cpp   cells and the model the view reads them through
//   string_grid_editor.cpp  the in-place editor that keeps Shift_JIS bytes
//   string_grid_input.cpp   read-only lists, column sizing, section sizes
//   string_grid_paint.cpp   drawing a cell and the grid's colours
//   string_grid.cpp         the grid's properties and the current cell
#pragma once

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

#include "string_grid.h"

namespace platform {

inline constexpr TGridOptions kDefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

struct TStringGrid::Impl {
  // The view's model: counts and flags from the grid; the cells are read
  // straight from `cells` when painting.
  class Model : public QAbstractTableModel {
   public:
    explicit Model(Impl& impl) : impl_(impl) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : impl_.row_count; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : impl_.col_count; }
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetRowCount(int n);
    void SetColCount(int n);
    void CellChanged(int col, int row);
    void AllChanged();

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

  // Paints the cells and runs the in-place editor.
  class Delegate : public QStyledItemDelegate {
   public:
    explicit Delegate(Impl& impl) : impl_(impl) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

   private:
    Impl& impl_;
  };

  // Read-only lists, column sizing and the always-open editor, seen ahead
  // of the view's own handling.
  class InputFilter : public QObject {
   public:
    explicit InputFilter(Impl& impl) : impl_(impl) {}
    bool eventFilter(QObject* object, QEvent* event) override;

   private:
    Impl& impl_;
  };

  explicit Impl(TStringGrid& g) : grid(g), model(*this), delegate(*this), filter(*this) {}

  // Cells (string_grid_model.cpp).
  void StoreCell(int col, int row, std::string bytes);
  const std::string& Cell(int col, int row) const;
  bool IsFixed(int col, int row) const { return col < fixed_cols || row < fixed_rows; }

  // A line takes its pixel when either of its options is on; fixed and
  // normal cells then draw it or not by their own option.
  int VertLine() const { return (options & (goFixedVertLine | goVertLine)) ? 1 : 0; }
  int HorzLine() const { return (options & (goFixedHorzLine | goHorzLine)) ? 1 : 0; }

  // A view section is the cell and its lines; the cell is the part before them.
  QRect CellArea(const QRect& section) const { return section.adjusted(0, 0, -VertLine(), -HorzLine()); }

  bool CurrentIs(int col, int row) const {
    const QModelIndex c = grid.currentIndex();
    return c.isValid() && c.column() == col && c.row() == row;
  }

  // Painting (string_grid_paint.cpp).
  void PaintCell(QPainter& p, const QRect& section, int col, int row);
  void ApplyColors();

  // Section sizes and column sizing (string_grid_input.cpp).
  void ApplyColWidths();
  void ApplyRowHeights();
  int SizingColumnAt(QPoint pos) const;
  bool ColSizingMouse(const QMouseEvent& e);

  // The current cell (string_grid.cpp).
  void ApplyCurrent();
  void CurrentMoved(const QModelIndex& current);

  // The in-place editor (string_grid_editor.cpp).
  bool HasFocusWithin() const;
  void ShowEditorIfAlways();
  void QueueShowEditor();
  void CloseEditor(bool commit);

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
  TGridOptions options = kDefaultGridOptions;
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

}  // namespace platform
