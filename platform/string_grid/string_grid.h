// TStringGrid: a grid of byte-string (Shift_JIS) cells with the desktop
// grid's geometry: column widths and the row height exclude the 1-pixel grid
// line that follows each cell, fixed rows and columns are drawn in
// FixedColor, and a cell-drawing event runs after each cell's normal
// drawing. Cells are shown and edited as text; an edit writes Shift_JIS back
// into the cell, and a cell the user did not change keeps its bytes exactly.
#pragma once

#include <QTableView>

#include <functional>
#include <memory>
#include <string>

#include "canvas.h"
#include "font.h"
#include "geometry.h"
#include "sys_colors.h"

namespace platform {

using TGridOptions = unsigned;
inline constexpr TGridOptions goFixedVertLine = 0x001;
inline constexpr TGridOptions goFixedHorzLine = 0x002;
inline constexpr TGridOptions goVertLine = 0x004;
inline constexpr TGridOptions goHorzLine = 0x008;
inline constexpr TGridOptions goColSizing = 0x010;
inline constexpr TGridOptions goEditing = 0x020;
inline constexpr TGridOptions goTabs = 0x040;
inline constexpr TGridOptions goAlwaysShowEditor = 0x080;
inline constexpr TGridOptions goRangeSelect = 0x100;

using TGridDrawState = unsigned;
inline constexpr TGridDrawState gdSelected = 1;
inline constexpr TGridDrawState gdFocused = 2;
inline constexpr TGridDrawState gdFixed = 4;

class TStringGrid : public QTableView {
 public:
  // (sender, column, row, cell rectangle in grid client coordinates, state);
  // Canvas() is the canvas of the paint in progress, its brush the colour
  // the cell was filled with.
  using TDrawCellEvent = std::function<void(TStringGrid* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;

  explicit TStringGrid(QWidget* parent = nullptr);
  ~TStringGrid() override;

  void SetBounds(int left, int top, int width, int height);

  int ColCount() const;
  void SetColCount(int n);  // default 5
  int RowCount() const;
  void SetRowCount(int n);  // default 5; cells of dropped rows are kept, as the desktop grid does
  int FixedCols() const;
  void SetFixedCols(int n);  // default 1
  int FixedRows() const;
  void SetFixedRows(int n);  // default 1

  // Cell text, column first.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& sjis);

  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int DefaultColWidth() const;
  void SetDefaultColWidth(int width);  // default 64
  int DefaultRowHeight() const;
  void SetDefaultRowHeight(int height);  // default 24
  int GridLineWidth() const { return 1; }

  TColor FixedColor() const;
  void SetFixedColor(TColor color);  // default clBtnFace
  TColor Color() const;
  void SetColor(TColor color);  // default clWindow

  // Default: the four grid-line options and goRangeSelect. A cell's line
  // below it takes a pixel only with goHorzLine, the one to its right only
  // with goVertLine; fixed cells draw theirs with the goFixed* options.
  TGridOptions Options() const;
  void SetOptions(TGridOptions options);

  // The current cell.
  int Col() const;
  void SetCol(int col);
  int Row() const;
  void SetRow(int row);

  // Whether the in-place editor is open on the current cell.
  bool EditorMode() const;
  void SetEditorMode(bool on);

  TFont& Font();
  void SetFlat(bool flat);  // no 3-D border
  void SetScrollBars(bool shown);
  // A list the user only reads: no focus, and mouse presses and the wheel
  // neither select nor scroll (the notification window's listing).
  void SetReadOnlyList(bool on);

  // The cell's rectangle in the grid's client coordinates, grid line
  // excluded; empty when the cell is out of view.
  TRect CellRect(int col, int row) const;

  TCanvas* Canvas();  // during OnDrawCell only, else null
  TDrawCellEvent OnDrawCell;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
