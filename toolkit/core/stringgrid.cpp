// String grid model: cells, column widths, scrolling, selection, and the geometry and mouse
// protocol shared by the native grid and the tests.
#include "toolkit/core/stringgrid.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "toolkit/core/application.h"

namespace toolkit {

namespace {

// A fresh grid, before any layout is applied: the header and four empty rows, 64-px columns.
constexpr int kInitialRows = 5;
constexpr int kInitialColWidth = 64;
constexpr int kWheelRowsPerNotch = 3;
// Without a font to measure (no native side), a fixed estimate per byte.
constexpr int kFallbackCharWidth = 8;

std::string_view WithoutPadding(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

}  // namespace

StringGrid::StringGrid(std::string name, Control* parent, int colCount,
                       const StringGridCreateArgs& args)
    : Control(std::move(name), parent),
      args_(args),
      colCount_(colCount),
      cells_(static_cast<size_t>(kInitialRows) * colCount),
      rowCount_(kInitialRows),
      colWidths_(colCount, kInitialColWidth) {}

StringGridPeer* StringGrid::GridPeer() const {
  // Asked on every cell written; the cast is done again only when the peer changed.
  if (Peer() != castFrom_) {
    castFrom_ = Peer();
    gridPeer_ = dynamic_cast<StringGridPeer*>(castFrom_);
  }
  return gridPeer_;
}

void StringGrid::NotifyLayout() {
  if (StringGridPeer* peer = GridPeer()) peer->LayoutChanged();
}

void StringGrid::NotifyRows() {
  if (StringGridPeer* peer = GridPeer()) peer->RowsChanged();
}

void StringGrid::NotifySelection() {
  if (Peer() != nullptr) Peer()->Invalidate();
}

int StringGrid::LastDataRow() const { return std::max(args_.fixedRows, RowCount() - 1); }

GridCoord StringGrid::ClampToData(GridCoord c) const {
  c.col = std::clamp(c.col, 0, std::max(0, colCount_ - 1));
  c.row = std::clamp(c.row, args_.fixedRows, LastDataRow());
  return c;
}

void StringGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  if (n == RowCount()) return;
  // Rows dropped keep their strings, emptied when they come back: the next listing then writes
  // into storage the last one allocated instead of freeing and allocating it again.
  const size_t used = static_cast<size_t>(n) * colCount_;
  const size_t kept = std::min(used, cells_.size());
  for (size_t i = static_cast<size_t>(rowCount_) * colCount_; i < kept; ++i) cells_[i].clear();
  if (used > cells_.size()) cells_.resize(used);
  if (n < rowCount_) rowData_.EraseFrom(n);
  rowCount_ = n;
  current_ = ClampToData(current_);
  anchor_ = ClampToData(anchor_);
  topRow_ = std::min(topRow_, LastDataRow());
  NotifyLayout();
  NotifyRows();
}

bool StringGrid::InRange(int col, int row) const {
  return col >= 0 && col < colCount_ && row >= 0 && row < RowCount();
}

void StringGrid::SetCell(int col, int row, const std::string& text) {
  SetCell(col, row, text.data(), text.size());
}

void StringGrid::SetCell(int col, int row, std::string&& text) {
  assert(InRange(col, row));
  if (!InRange(col, row)) return;
  std::string& cell = cells_[static_cast<size_t>(row) * colCount_ + col];
  // Copied into the room the cell has, else the text's own storage taken over.
  if (cell.capacity() >= text.size()) {
    cell.assign(text);
  } else {
    cell = std::move(text);
  }
  Changed(col, row);
}

void StringGrid::SetCell(int col, int row, const char* text, size_t length) {
  assert(InRange(col, row));
  if (!InRange(col, row)) return;
  cells_[static_cast<size_t>(row) * colCount_ + col].assign(text, length);
  Changed(col, row);
}

void StringGrid::Changed(int col, int row) {
  // Only this cell: a write made while the header is drawn must not repaint the header.
  if (StringGridPeer* peer = GridPeer()) peer->CellChanged(col, row);
}

void StringGrid::ClearRow(int row) {
  for (int c = 0; c < colCount_; ++c) SetCell(c, row, "", 0);
  rowData_.Erase(row);
  NotifyRows();
}

void StringGrid::SetRowData(int row, std::string data) {
  assert(row >= 0 && row < RowCount());
  if (row >= 0 && row < RowCount()) rowData_.Set(row, std::move(data));
}

void StringGrid::PermuteRows(int first, const std::vector<int>& rows) {
  assert(first >= 0 && first + static_cast<int>(rows.size()) <= RowCount());
  if (first < 0 || first + static_cast<int>(rows.size()) > RowCount()) return;
  // Whatever allocates comes before the first cell moves: memory that runs out leaves the rows
  // as they were, not half moved.
  std::vector<std::string> moved;
  moved.reserve(rows.size() * colCount_);
  if (!rowData_.Empty()) {
    std::vector<int> placeOf(rows.size());
    for (size_t k = 0; k < rows.size(); ++k)
      placeOf[static_cast<size_t>(rows[k] - first)] = first + static_cast<int>(k);
    const int end = first + static_cast<int>(rows.size());
    rowData_.Move([&](int row) {
      return row < first || row >= end ? row : placeOf[static_cast<size_t>(row - first)];
    });
  }
  for (int row : rows) {
    assert(row >= first && row < first + static_cast<int>(rows.size()));
    for (int c = 0; c < colCount_; ++c) {
      moved.push_back(std::move(cells_[static_cast<size_t>(row) * colCount_ + c]));
    }
  }
  std::move(moved.begin(), moved.end(), cells_.begin() + static_cast<ptrdiff_t>(first) * colCount_);
  if (StringGridPeer* peer = GridPeer()) peer->Invalidate();
  NotifyRows();
}

SpokenCell StringGrid::Spoken(int col, int row) const {
  assert(InRange(col, row));
  if (!InRange(col, row)) return {};
  SpokenCell spoken;
  if (row >= args_.fixedRows && args_.fixedRows > 0) {
    spoken.header = WithoutPadding(Cell(col, args_.fixedRows - 1));
  }
  if (col != args_.exactTextColumn || row < args_.fixedRows) {
    spoken.text = WithoutPadding(Cell(col, row));
  } else if (!RowData(row).empty()) {
    spoken.text = RowData(row);
    spoken.exact = true;
  } else {
    spoken.text = Cell(col, row);
  }
  return spoken;
}

void StringGrid::SetColWidth(int col, int width) {
  assert(col >= 0 && col < colCount_);
  if (col < 0 || col >= colCount_) return;
  if (colWidths_[col] == width) return;
  colWidths_[col] = width;
  NotifyLayout();
}

void StringGrid::SetLeftCol(int col) {
  col = std::clamp(col, 0, std::max(0, colCount_ - 1));
  if (col == leftCol_) return;
  leftCol_ = col;
  NotifyLayout();
}

void StringGrid::SetTopRow(int row) {
  row = std::clamp(row, args_.fixedRows, LastDataRow());
  if (row == topRow_) return;
  topRow_ = row;
  NotifyLayout();
}

void StringGrid::SetCurrent(GridCoord c) {
  c = ClampToData(c);
  const bool changed = !(c == current_ && c == anchor_);
  current_ = anchor_ = c;
  ScrollIntoView(c, ClientWidth(), ClientHeight());
  if (changed) NotifySelection();
}

bool StringGrid::IsSelected(int col, int row) const {
  const int left = std::min(anchor_.col, current_.col);
  const int right = std::max(anchor_.col, current_.col);
  const int top = std::min(anchor_.row, current_.row);
  const int bottom = std::max(anchor_.row, current_.row);
  return col >= left && col <= right && row >= top && row <= bottom;
}

int StringGrid::TextWidth(const std::string& text) const {
  if (StringGridPeer* peer = GridPeer()) return peer->TextWidth(text);
  return kFallbackCharWidth * static_cast<int>(text.size());
}

int StringGrid::ColumnLeft(int col) const {
  int x = 0;
  for (int c = leftCol_; c < col; ++c) x += ColExtent(c) + args_.gridLineWidth;
  for (int c = col; c < leftCol_; ++c) x -= ColExtent(c) + args_.gridLineWidth;
  return x;
}

int StringGrid::FixedHeight() const {
  int y = 0;
  for (int r = 0; r < args_.fixedRows; ++r) y += RowHeight(r) + args_.gridLineWidth;
  return y;
}

int StringGrid::RowTop(int row) const {
  if (row < args_.fixedRows) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += RowHeight(r) + args_.gridLineWidth;
    return y;
  }
  // Data rows above the top row lie behind the header, at negative offsets from its end.
  return FixedHeight() + (row - topRow_) * (args_.defaultRowHeight + args_.gridLineWidth);
}

Rect StringGrid::CellRect(int col, int row) const {
  return {ColumnLeft(col), RowTop(row), ColExtent(col), RowHeight(row)};
}

GridCoord StringGrid::CellAt(int x, int y) const {
  // Half-open spans: a cell owns [left, left + width) and [top, top + height); grid-line pixels
  // and the area right of the last column or below the last row belong to no cell.
  if (x < 0 || y < 0) return {};
  int col = -1;
  for (int c = leftCol_, left = 0; c < colCount_; ++c) {
    if (x < left) break;
    if (x < left + ColExtent(c)) {
      col = c;
      break;
    }
    left += ColExtent(c) + args_.gridLineWidth;
  }
  if (col < 0) return {};
  int row = -1;
  for (int r = 0, top = 0; r < args_.fixedRows && r < RowCount(); ++r) {
    if (y >= top && y < top + RowHeight(r)) row = r;
    top += RowHeight(r) + args_.gridLineWidth;
  }
  const int fixedHeight = FixedHeight();
  if (row < 0 && y >= fixedHeight) {
    const int pitch = args_.defaultRowHeight + args_.gridLineWidth;
    const int r = topRow_ + (y - fixedHeight) / pitch;
    if ((y - fixedHeight) % pitch < args_.defaultRowHeight && r < RowCount()) row = r;
  }
  if (row < 0) return {};
  return {col, row};
}

int StringGrid::HeaderColumnAt(int x, int y) const {
  const GridCoord cell = CellAt(x, y);
  if (cell.row < 0 || cell.row >= args_.fixedRows || x == ColumnLeft(cell.col)) return -1;
  return cell.col;
}

int StringGrid::ResizeBorderAt(int x, int y) const {
  if (y < 0 || y >= RowHeight(0)) return -1;
  // A border's zone runs from grabLeft pixels left of it to grabRight pixels right of it, both
  // ends included. Where narrow columns make zones overlap, the nearest border wins and a tie
  // goes to the left one, so that every border stays grabbable from its own side.
  int best = -1;
  int bestDistance = 0;
  int border = 0;
  for (int c = leftCol_; c < colCount_; ++c) {
    border += ColExtent(c);
    if (x >= border - args_.grabLeft && x <= border + args_.grabRight) {
      const int distance = std::abs(x - border);
      if (best < 0 || distance < bestDistance) {
        best = c;
        bestDistance = distance;
      }
    } else if (x < border - args_.grabLeft) {
      break;  // borders only grow to the right
    }
    border += args_.gridLineWidth;
  }
  return best;
}

int StringGrid::LastVisibleCol(int clientWidth) const {
  int last = leftCol_ - 1;
  for (int c = leftCol_; c < colCount_ && ColumnLeft(c) < clientWidth; ++c) last = c;
  return last;
}

int StringGrid::LastVisibleRow(int clientHeight) const {
  int last = -1;
  for (int r = 0; r < args_.fixedRows && r < RowCount() && RowTop(r) < clientHeight; ++r) last = r;
  if (last < args_.fixedRows - 1) return last;
  for (int r = topRow_; r < RowCount() && RowTop(r) < clientHeight; ++r) last = r;
  return last;
}

int StringGrid::VisibleDataRows(int clientHeight) const {
  const int rows = (clientHeight - FixedHeight()) / (args_.defaultRowHeight + args_.gridLineWidth);
  return std::max(rows, 1);
}

void StringGrid::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  // While a border is dragged the other buttons do nothing, not even press the header.
  if (Sizing()) return;
  const bool doublePress = (shift & ssDouble) != 0;
  if (button == MouseButton::Left && !doublePress) {
    const int col = ResizeBorderAt(x, y);
    if (col >= 0) {
      // The grid keeps this press to itself: a border drag is not a click on the header.
      sizingCol_ = col;
      sizingStartX_ = x;
      sizingStartWidth_ = ColExtent(col);
      sizingX_ = x;
      if (StringGridPeer* peer = GridPeer()) peer->SizingLineMoved(SizingLineX());
      return;
    }
    const GridCoord cell = CellAt(x, y);
    if (cell.row >= args_.fixedRows && cell.col >= 0) {
      current_ = cell;
      if ((shift & ssShift) == 0) anchor_ = cell;
      selecting_ = true;
      NotifySelection();
    }
  }
  // The handler sees the selection the press made, as the native grid would show it.
  if (OnMouseDown) RunHandler([&] { OnMouseDown(button, shift, x, y); });
}

int StringGrid::SizingLineX() const {
  return ColumnLeft(sizingCol_) + sizingStartWidth_ + (sizingX_ - sizingStartX_);
}

void StringGrid::MouseMove(unsigned /*shift*/, int x, int y) {
  if (Sizing()) {
    sizingX_ = x;
    if (StringGridPeer* peer = GridPeer()) peer->SizingLineMoved(SizingLineX());
    return;
  }
  if (!selecting_) return;
  const GridCoord cell = CellAt(x, y);
  if (cell.row >= args_.fixedRows && cell.col >= 0 && !(cell == current_)) {
    current_ = cell;
    NotifySelection();
  }
}

void StringGrid::MouseUp(MouseButton button, unsigned /*shift*/, int x, int /*y*/) {
  // Only the left button, which started them, ends a selection or a border drag.
  if (button != MouseButton::Left) return;
  selecting_ = false;
  if (!Sizing()) return;
  // Everything the end of the drag needs is read before the sizing state is cleared.
  const int col = sizingCol_;
  const int width = sizingStartWidth_ + (x - sizingStartX_);
  sizingCol_ = -1;
  StringGridPeer* peer = GridPeer();
  if (peer != nullptr) peer->SizingLineMoved(-1);
  if (width > 1) {
    // Applied even when unchanged: the end of a drag always repaints the whole grid.
    colWidths_[col] = width;
    NotifyLayout();
  }
}

void StringGrid::CancelMode() {
  selecting_ = false;
  if (!Sizing()) return;
  sizingCol_ = -1;
  if (StringGridPeer* peer = GridPeer()) peer->SizingLineMoved(-1);
}

void StringGrid::KeyDown(Key key, unsigned shift, int clientWidth, int clientHeight) {
  GridCoord c = current_;
  const int page = VisibleDataRows(clientHeight);
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case Key::Left:
      --c.col;
      break;
    case Key::Right:
      ++c.col;
      break;
    case Key::Up:
      --c.row;
      break;
    case Key::Down:
      ++c.row;
      break;
    case Key::PageUp:
      c.row -= page;
      break;
    case Key::PageDown:
      c.row += page;
      break;
    case Key::Home:
      if (ctrl) {
        c.row = args_.fixedRows;
      } else {
        c.col = 0;
      }
      break;
    case Key::End:
      if (ctrl) {
        c.row = LastDataRow();
      } else {
        c.col = colCount_ - 1;
      }
      break;
  }
  c = ClampToData(c);
  const GridCoord before = current_;
  const GridCoord anchorBefore = anchor_;
  current_ = c;
  if ((shift & ssShift) == 0) anchor_ = c;
  ScrollIntoView(c, clientWidth, clientHeight);
  if (!(before == current_) || !(anchorBefore == anchor_)) NotifySelection();
}

void StringGrid::MouseWheel(int notches, int clientHeight) {
  const int maxTop = std::max(args_.fixedRows, RowCount() - VisibleDataRows(clientHeight));
  const int row = std::clamp(topRow_ - notches * kWheelRowsPerNotch, args_.fixedRows, maxTop);
  if (row == topRow_) return;
  topRow_ = row;
  NotifyLayout();
}

void StringGrid::ScrollIntoView(GridCoord c, int clientWidth, int clientHeight) {
  // A grid not laid out yet (no client area on an axis) keeps its scroll position on that axis.
  int top = topRow_;
  if (clientHeight > 0) {
    const int page = VisibleDataRows(clientHeight);
    if (c.row < top) {
      top = c.row;
    } else if (c.row >= top + page) {
      top = c.row - page + 1;
    }
  }
  int left = leftCol_;
  if (clientWidth > 0) {
    if (c.col < left) {
      left = c.col;
    } else {
      // Scroll right until the column ends inside the client area, or it is the first shown.
      int right = 0;
      for (int k = left; k <= c.col; ++k) right += ColExtent(k) + args_.gridLineWidth;
      while (left < c.col && right - args_.gridLineWidth > clientWidth) {
        right -= ColExtent(left) + args_.gridLineWidth;
        ++left;
      }
    }
  }
  if (top == topRow_ && left == leftCol_) return;
  topRow_ = top;
  leftCol_ = left;
  NotifyLayout();
}

void StringGrid::DrawCell(int col, int row, const Rect& rect) {
  if (OnDrawCell) RunHandler([&] { OnDrawCell(col, row, rect); });
}

}  // namespace toolkit
