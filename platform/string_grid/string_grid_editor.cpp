// The in-place editor: shows a cell as text and writes Shift_JIS back, and
// leaves a cell the user did not change with its bytes exactly.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "sjis_text.h"
#include "string_grid_impl.h"

namespace platform {

QWidget* TStringGrid::Impl::Delegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                   const QModelIndex& index) const {
  auto* editor = new Editor(parent);
  editor->setFrame(false);
  editor->setFont(impl_.font.ToQFont());
  // What the user types is in the cell at once, as with the desktop
  // grid: whoever reads the cells (a save at exit) gets it even while
  // the editor is still open.
  const int col = index.column(), row = index.row();
  QObject::connect(editor, &QLineEdit::textEdited, editor,
                   [this, col, row](const QString& text) { impl_.StoreCell(col, row, QStringToSjis(text)); });
  return editor;
}

void TStringGrid::Impl::Delegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* e = static_cast<Editor*>(editor);
  e->original = impl_.Cell(index.column(), index.row());
  e->shown = SjisToQString(e->original);
  e->setText(e->shown);
}

void TStringGrid::Impl::Delegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
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

void TStringGrid::Impl::Delegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                       const QModelIndex&) const {
  editor->setGeometry(impl_.CellArea(option.rect));
}

bool TStringGrid::Impl::Delegate::eventFilter(QObject* object, QEvent* event) {
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

bool TStringGrid::Impl::HasFocusWithin() const {
  const QWidget* f = QApplication::focusWidget();
  return f && (f == &grid || grid.isAncestorOf(f));
}

void TStringGrid::Impl::ShowEditorIfAlways() {
  const TGridOptions both = goEditing | goAlwaysShowEditor;
  if ((options & both) == both && HasFocusWithin() && !grid.EditorMode()) grid.SetEditorMode(true);
}

// When focus arrives, also back from an editor that closed; later, since
// the view is still in the middle of its own handling then.
void TStringGrid::Impl::QueueShowEditor() {
  QTimer::singleShot(0, &grid, [g = &grid] { g->impl_->ShowEditorIfAlways(); });
}

void TStringGrid::Impl::CloseEditor(bool commit) {
  QWidget* editor = grid.indexWidget(grid.currentIndex());
  if (!editor) return;
  if (commit) grid.commitData(editor);
  grid.closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace platform
