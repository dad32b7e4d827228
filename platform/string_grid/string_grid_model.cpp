// The cells, and the model through which the view sees their counts and
// flags.
#include "sjis_text.h"
#include "string_grid_impl.h"

namespace platform {

// Stores a cell's bytes without telling the view: an open editor would
// otherwise be reloaded from the cell on every keystroke.
void TStringGrid::Impl::StoreCell(int col, int row, std::string bytes) {
  const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(col);
  if (r >= cells.size()) cells.resize(r + 1);
  if (c >= cells[r].size()) cells[r].resize(c + 1);
  cells[r][c] = std::move(bytes);
}

const std::string& TStringGrid::Impl::Cell(int col, int row) const {
  static const std::string empty;
  if (row < 0 || col < 0 || static_cast<std::size_t>(row) >= cells.size()) return empty;
  const auto& r = cells[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(col) < r.size() ? r[static_cast<std::size_t>(col)] : empty;
}

QVariant TStringGrid::Impl::Model::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return SjisToQString(impl_.Cell(index.column(), index.row()));
}

// Fixed cells are disabled: the view's keyboard navigation and mouse
// selection pass over disabled cells.
Qt::ItemFlags TStringGrid::Impl::Model::flags(const QModelIndex& index) const {
  if (!index.isValid() || impl_.IsFixed(index.column(), index.row())) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (impl_.options & goEditing) f |= Qt::ItemIsEditable;
  return f;
}

// Count changes are insertions and removals, not resets, so that the
// view keeps its scroll position and section sizes.
void TStringGrid::Impl::Model::SetRowCount(int n) {
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

void TStringGrid::Impl::Model::SetColCount(int n) {
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

void TStringGrid::Impl::Model::CellChanged(int col, int row) {
  const QModelIndex i = index(row, col);
  if (i.isValid()) emit dataChanged(i, i);
}

void TStringGrid::Impl::Model::AllChanged() {
  if (impl_.row_count > 0 && impl_.col_count > 0)
    emit dataChanged(index(0, 0), index(impl_.row_count - 1, impl_.col_count - 1));
}

}  // namespace platform
