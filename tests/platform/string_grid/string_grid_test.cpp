#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <string>
#include <utility>
#include <vector>

#include "byte_assert.h"
#include "sjis_text.h"
#include "string_grid.h"
#include "widget_pixels.h"

namespace {

using platform::TColor;
using platform::TRect;
using platform::TStringGrid;
using test_support::has_color;
using test_support::pixel;

constexpr TColor kFixed = 14662655;  // RGB(255, 187, 223)
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kMask = 128;  // RGB(128, 0, 0)
// "あ", a lone 0xFF and a lead byte cut off by the end: no Shift_JIS after "あ".
const std::string kBadSjis =
    "\x82\xA0\xFF"
    "ab\x82";

QRect ToQRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }

void send_key(QWidget& w, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent e(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(&w, &e);
}

class StringGridTest : public ::testing::Test {
 protected:
  test_support::TestForm form{400, 220};
  TStringGrid* grid = new TStringGrid(&form);

  void SetUp() override {
    grid->SetFlat(true);
    grid->SetScrollBars(false);
    grid->SetBounds(0, 0, 330, 200);
    grid->SetFixedColor(kFixed);
    grid->SetColor(kWhite);
  }

  QImage picture() { return grid->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QLineEdit* editor() { return qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex())); }

  std::pair<int, int> current() const { return {grid->Col(), grid->Row()}; }
};

TEST_F(StringGridTest, Defaults) {
  TStringGrid g;
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_EQ(g.FixedCols(), 1);
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_EQ(g.DefaultColWidth(), 64);
  EXPECT_EQ(g.DefaultRowHeight(), 24);
  EXPECT_EQ(g.FixedColor(), platform::clBtnFace);
  EXPECT_EQ(g.Color(), platform::clWindow);
  EXPECT_EQ(std::make_pair(g.Col(), g.Row()), std::make_pair(1, 1));
  EXPECT_EQ(g.Canvas(), nullptr);
}

// Widths and the row height leave out the line after each cell; a line
// takes its pixel only while a line option for its direction is on.
TEST_F(StringGridTest, CellsAndLinesTileTheView) {
  const struct {
    platform::TGridOptions options;
    int line;
  } cases[] = {
      {platform::goFixedVertLine | platform::goFixedHorzLine | platform::goVertLine | platform::goHorzLine, 1},
      {0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    grid->SetOptions(c.options);
    grid->SetColCount(4);
    grid->SetRowCount(3);
    grid->SetDefaultRowHeight(16);
    const int widths[] = {32, 123, 80, 80};
    for (int i = 0; i < 4; ++i) grid->SetColWidths(i, widths[i]);

    int left = 0;
    for (int col = 0; col < 4; ++col) {
      for (int row = 0; row < 3; ++row) {
        const int top = row * (16 + c.line);
        EXPECT_EQ(grid->CellRect(col, row), (TRect{left, top, left + widths[col], top + 16})) << col << "," << row;
      }
      left += widths[col] + c.line;
    }

    const QImage img = picture();
    // Row 0 and column 0 are fixed: row 0 covers y 0..15, row 1 starts
    // after the line (if any) below it.
    EXPECT_COLOR_EQ(pixel(img, 40, 0), kFixed);
    EXPECT_COLOR_EQ(pixel(img, 40, 15), kFixed);
    EXPECT_COLOR_EQ(pixel(img, 40, 16 + c.line), kWhite);
    EXPECT_COLOR_EQ(pixel(img, 31, 20), kFixed);
    EXPECT_COLOR_EQ(pixel(img, 32 + c.line, 20), kWhite);
    const TColor between_rows = pixel(img, 40, 16);
    const int after_col1 = 32 + c.line + 123;
    const TColor between_cols = pixel(img, after_col1, 20 + c.line);
    if (c.line) {
      EXPECT_NE(between_rows, kFixed);
      EXPECT_NE(between_rows, kWhite);
      EXPECT_NE(between_cols, kWhite);
      EXPECT_COLOR_EQ(pixel(img, after_col1 - 1, 20 + c.line), kWhite);
      EXPECT_COLOR_EQ(pixel(img, after_col1 + 1 + 80, 40), between_cols);  // the line after column 2
    } else {
      EXPECT_COLOR_EQ(between_rows, kWhite);
      EXPECT_COLOR_EQ(between_cols, kWhite);
    }
  }
}

TEST_F(StringGridTest, TextIsDrawnInTheFontAndClippedToItsCell) {
  grid->SetColWidths(1, 10);
  grid->SetCells(1, 1, "MMMMMMMM");
  grid->SetCells(3, 2, "\x82\xA0");  // "あ"
  grid->Font().SetColor(0x00FF00);
  const QImage img = picture();
  const QRect narrow = ToQRect(grid->CellRect(1, 1));
  EXPECT_TRUE(has_color(img, narrow, 0x00FF00));
  EXPECT_FALSE(has_color(img, QRect(narrow.right() + 1, narrow.top(), 1, narrow.height()), 0x00FF00));  // its line
  EXPECT_FALSE(has_color(img, ToQRect(grid->CellRect(2, 1)), 0x00FF00));
  // The text starts 2 pixels in.
  EXPECT_FALSE(has_color(img, QRect(narrow.left(), narrow.top(), 2, narrow.height()), 0x00FF00));
  EXPECT_FALSE(has_color(img, QRect(narrow.left(), narrow.top(), narrow.width(), 2), 0x00FF00));
  EXPECT_TRUE(has_color(img, ToQRect(grid->CellRect(3, 2)), 0x00FF00));
}

// The notification window masks its password column from OnDrawCell.
TEST_F(StringGridTest, OnDrawCellDrawsOverTheCell) {
  struct Call {
    int col, row;
    TRect rect;
    platform::TGridDrawState state;
    TColor brush;
  };
  std::vector<Call> calls;
  const auto mask = [&calls](TStringGrid* g, int col, int row, TRect rect, platform::TGridDrawState state) {
    ASSERT_NE(g->Canvas(), nullptr);
    calls.push_back({col, row, rect, state, g->Canvas()->BrushColor()});
    if (col != 3 || row == 0) return;
    g->Canvas()->FillRect(rect);
    g->Canvas()->Font().SetColor(kMask);
    g->Canvas()->TextOut(rect.Left + 3, rect.Top + 3, "****");
  };
  TStringGrid plain(&form);
  for (TStringGrid* g : {grid, &plain}) {
    g->SetFlat(true);
    g->SetScrollBars(false);
    g->SetBounds(0, 0, 330, 200);
    g->SetFixedColor(kFixed);
    g->SetColor(kWhite);
    g->OnDrawCell = mask;
  }
  grid->SetCells(3, 1, "secret");
  grid->SetCells(2, 1, "shown");
  const QImage masked = picture();
  const QImage empty = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(grid->Canvas(), nullptr);

  const QRect cell = ToQRect(grid->CellRect(3, 1));
  EXPECT_TRUE(has_color(masked, cell, kMask));
  EXPECT_EQ(masked.copy(cell), empty.copy(cell));  // nothing of "secret" is left
  EXPECT_NE(masked.copy(ToQRect(grid->CellRect(2, 1))), empty.copy(ToQRect(grid->CellRect(2, 1))));

  bool saw_fixed = false, saw_normal = false;
  for (const Call& c : calls) {
    EXPECT_EQ(c.rect, grid->CellRect(c.col, c.row));
    const bool fixed = c.col == 0 || c.row == 0;
    EXPECT_EQ((c.state & platform::gdFixed) != 0, fixed);
    EXPECT_EQ(c.brush, fixed ? kFixed : kWhite);
    (fixed ? saw_fixed : saw_normal) = true;
  }
  EXPECT_TRUE(saw_fixed);
  EXPECT_TRUE(saw_normal);
}

TEST_F(StringGridTest, CellsKeepTheirBytesAndGrowTheGrid) {
  grid->SetCells(2, 1, kBadSjis);
  grid->SetCells(40, 30, "far");  // beyond the counts
  EXPECT_BYTES_EQ(grid->Cells(2, 1), kBadSjis);
  EXPECT_BYTES_EQ(grid->Cells(40, 30), "far");
  EXPECT_BYTES_EQ(grid->Cells(39, 30), "");
  EXPECT_BYTES_EQ(grid->Cells(-1, 0), "");
  EXPECT_EQ(grid->ColCount(), 5);
}

TEST_F(StringGridTest, AnEditorClosedUnchangedKeepsTheCellsBytes) {
  grid->SetOptions(grid->Options() | platform::goEditing);
  grid->SetCells(2, 1, kBadSjis);
  grid->SetCol(2);
  EXPECT_FALSE(grid->EditorMode());
  grid->SetEditorMode(true);
  ASSERT_TRUE(grid->EditorMode());
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(editor()->text(), platform::SjisToQString(kBadSjis));
  EXPECT_EQ(editor()->geometry(), ToQRect(grid->CellRect(2, 1)));
  grid->SetEditorMode(false);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_BYTES_EQ(grid->Cells(2, 1), kBadSjis);
}

TEST_F(StringGridTest, TypedTextIsWrittenAsShiftJisUnlessEscaped) {
  const struct {
    const char* name;
    bool escape;
    std::string expected;
  } cases[] = {
      {"committed", false, "\x82\xA0\x82\xA2x"},  // "あいx"
      {"escaped", true, kBadSjis},
  };
  grid->SetOptions(grid->Options() | platform::goEditing);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetCells(1, 2, kBadSjis);
    grid->SetRow(2);
    grid->SetEditorMode(true);
    ASSERT_NE(editor(), nullptr);
    // The editor opens with its text selected, so typing replaces it.
    send_key(*editor(), 0, QString::fromUtf8("あい"));
    send_key(*editor(), Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(editor()->text(), QString::fromUtf8("あいx"));
    // In the cell already while the editor is open (a save at exit reads
    // it), and typing in the middle keeps the cursor where it is.
    EXPECT_BYTES_EQ(grid->Cells(1, 2), std::string("\x82\xA0\x82\xA2x"));
    editor()->setCursorPosition(1);
    send_key(*editor(), Qt::Key_Y, QStringLiteral("y"));
    send_key(*editor(), Qt::Key_Z, QStringLiteral("z"));
    EXPECT_EQ(editor()->text(), QString::fromUtf8("あyzいx"));
    send_key(*editor(), Qt::Key_Backspace);
    send_key(*editor(), Qt::Key_Backspace);
    if (c.escape) send_key(*editor(), Qt::Key_Escape);
    else grid->SetEditorMode(false);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_BYTES_EQ(grid->Cells(1, 2), c.expected);
  }
}

TEST_F(StringGridTest, WithoutGoEditingNoEditorOpens) {
  grid->SetEditorMode(true);
  EXPECT_FALSE(grid->EditorMode());
  grid->SetOptions(platform::goEditing);
  grid->SetEditorMode(true);
  EXPECT_TRUE(grid->EditorMode());
  grid->SetOptions(0);  // closes it
  EXPECT_FALSE(grid->EditorMode());
}

// Tab walks the non-fixed cells row by row, from the grid or from its
// editor, and Shift+Tab walks back.
TEST_F(StringGridTest, TabMovesThroughTheNonFixedCells) {
  const struct {
    const char* name;
    int fixed_cols;
    bool editing;
    std::vector<std::pair<int, int>> path;  // (col, row) after each Tab
  } cases[] = {
      {"grid", 0, false, {{1, 1}, {2, 1}, {3, 1}, {0, 2}, {1, 2}}},
      {"editor", 0, true, {{1, 1}, {2, 1}, {3, 1}, {0, 2}, {1, 2}}},
      {"fixed column skipped", 1, false, {{2, 1}, {3, 1}, {1, 2}, {2, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TStringGrid g(&form);
    g.SetBounds(0, 0, 330, 200);
    g.SetColCount(4);
    g.SetFixedCols(c.fixed_cols);
    g.SetOptions(platform::goTabs | (c.editing ? platform::goEditing | platform::goAlwaysShowEditor : 0));
    g.SetCol(c.fixed_cols);
    g.SetRow(1);
    if (c.editing) g.SetEditorMode(true);
    const auto target = [&g]() -> QWidget& {
      QWidget* e = g.indexWidget(g.currentIndex());
      return e ? *e : static_cast<QWidget&>(g);
    };
    for (const auto& step : c.path) {
      EXPECT_EQ(&target() != &g, c.editing);
      send_key(target(), Qt::Key_Tab);
      EXPECT_EQ(std::make_pair(g.Col(), g.Row()), step);
    }
    send_key(target(), Qt::Key_Backtab);
    EXPECT_EQ(std::make_pair(g.Col(), g.Row()), c.path[c.path.size() - 2]);
  }
}

TEST_F(StringGridTest, WithoutGoTabsTabLeavesTheCellAlone) {
  grid->SetOptions(platform::goEditing);
  send_key(*grid, Qt::Key_Tab);
  EXPECT_EQ(current(), std::make_pair(1, 1));
  grid->SetEditorMode(true);
  ASSERT_NE(editor(), nullptr);
  editor()->setText(QStringLiteral("typed"));
  send_key(*editor(), Qt::Key_Tab);
  EXPECT_EQ(current(), std::make_pair(1, 1));
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_BYTES_EQ(grid->Cells(1, 1), "typed");
}

TEST_F(StringGridTest, AlwaysShownEditorFollowsTheCurrentCell) {
  grid->SetOptions(platform::goEditing | platform::goAlwaysShowEditor);
  EXPECT_FALSE(grid->EditorMode());  // not before the grid has the focus
  form.activateWindow();
  grid->setFocus();
  ASSERT_TRUE(test_support::settle_until([&] { return grid->EditorMode(); }));
  grid->SetCol(3);
  ASSERT_TRUE(test_support::settle_until([&] { return grid->EditorMode(); }));
  EXPECT_EQ(editor()->geometry(), ToQRect(grid->CellRect(3, 1)));
  // Escape reverts, but the editor comes back.
  send_key(*editor(), Qt::Key_Escape);
  EXPECT_TRUE(test_support::settle_until([&] { return grid->EditorMode(); }));
}

TEST_F(StringGridTest, FocusedCurrentCellIsHighlighted) {
  grid->SetCells(2, 2, "M");
  grid->SetCol(2);
  grid->SetRow(2);
  const QRect cell = ToQRect(grid->CellRect(2, 2));
  EXPECT_COLOR_EQ(pixel(picture(), cell.left(), cell.top()), kWhite);
  form.activateWindow();
  grid->setFocus();
  ASSERT_TRUE(test_support::settle_until([&] { return grid->hasFocus(); }));
  const QImage img = picture();
  EXPECT_COLOR_EQ(pixel(img, cell.left(), cell.top()), platform::ColorToRGB(platform::clHighlight));
  EXPECT_TRUE(has_color(img, cell, kWhite));  // the text in the highlight's text colour
}

TEST_F(StringGridTest, ShrinkingTheRowCountKeepsTheText) {
  grid->SetCells(1, 4, "MMM");
  grid->SetRow(4);
  grid->SetRowCount(3);
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->CellRect(1, 4), TRect{});
  EXPECT_BYTES_EQ(grid->Cells(1, 4), "MMM");
  grid->SetRowCount(5);
  const QRect cell = ToQRect(grid->CellRect(1, 4));
  ASSERT_FALSE(cell.isEmpty());
  EXPECT_TRUE(has_color(picture(), cell, 0x000000));
}

TEST_F(StringGridTest, SetColBeyondTheViewDoesNotScroll) {
  grid->SetColCount(8);
  grid->SetBounds(0, 0, 200, 100);
  const TRect first = grid->CellRect(1, 1);
  grid->SetCol(7);
  test_support::settle();
  EXPECT_EQ(grid->Col(), 7);
  EXPECT_EQ(grid->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(grid->CellRect(1, 1), first);
  EXPECT_EQ(grid->CellRect(7, 1), TRect{});
  // Keyboard moves do scroll to the cell.
  form.activateWindow();
  grid->setFocus();
  send_key(*grid, Qt::Key_Left);
  EXPECT_EQ(grid->Col(), 6);
  EXPECT_NE(grid->CellRect(6, 1), TRect{});
}

TEST_F(StringGridTest, ColumnLinesInTheFixedRowsCanBeDragged) {
  const struct {
    platform::TGridOptions options;
    int width;
  } cases[] = {{platform::goColSizing, 90}, {0, 64}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    grid->SetOptions(c.options | platform::goVertLine | platform::goHorzLine);
    grid->SetColWidths(0, 64);
    QWidget& vp = *grid->viewport();
    test_support::send_move(vp, {65, 5}, Qt::NoButton);
    test_support::send_press(vp, {65, 5});
    test_support::send_move(vp, {91, 5});
    test_support::send_release(vp, {91, 5});
    EXPECT_EQ(grid->ColWidths(0), c.width);
    EXPECT_EQ(grid->CellRect(1, 1).Left, c.width + 1);
  }
  // Lines below the fixed rows do not size.
  grid->SetOptions(platform::goColSizing | platform::goVertLine);
  test_support::send_press(*grid->viewport(), {64, 40});
  test_support::send_move(*grid->viewport(), {120, 40});
  test_support::send_release(*grid->viewport(), {120, 40});
  EXPECT_EQ(grid->ColWidths(0), 64);
}

TEST_F(StringGridTest, ReadOnlyListIgnoresMouseAndWheel) {
  for (const bool read_only : {false, true}) {
    SCOPED_TRACE(read_only);
    TStringGrid g(&form);
    g.SetBounds(0, 0, 330, 100);
    g.SetRowCount(30);
    g.SetScrollBars(false);
    g.SetReadOnlyList(read_only);
    EXPECT_EQ(g.focusPolicy() == Qt::NoFocus, read_only);
    const QPoint inside = ToQRect(g.CellRect(3, 2)).center();
    test_support::send_press(*g.viewport(), inside);
    test_support::send_release(*g.viewport(), inside);
    EXPECT_EQ(std::make_pair(g.Col(), g.Row()), read_only ? std::make_pair(1, 1) : std::make_pair(3, 2));
    QWheelEvent wheel(QPointF(inside), QPointF(g.viewport()->mapToGlobal(inside)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &wheel);
    EXPECT_EQ(g.verticalScrollBar()->value() == 0, read_only);
  }
}

}  // namespace
