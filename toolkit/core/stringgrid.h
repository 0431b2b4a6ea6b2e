// String grid model: a table of text cells with one fixed header row, column widths, scroll
// position, current cell and selection, and the pure geometry the native side and the tests
// share (cell rectangles, hit-testing, the column-resize grab zone and the mouse protocol).
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/control.h"
#include "toolkit/core/item_data.h"

namespace toolkit {

class StringGridPeer : public ControlPeer {
 public:
  virtual void CellChanged(int /*col*/, int /*row*/) {}
  // Row count, column widths or scroll position changed: scroll bars and everything repaint.
  virtual void LayoutChanged() {}
  // Width in pixels of text in the grid's font.
  virtual int TextWidth(const std::string& text) = 0;
  // While a column border is dragged: where the sizing line stands (-1: none).
  virtual void SizingLineMoved(int /*x*/) {}
  // Rows were added, dropped, emptied or moved (a listing, a sort): what a screen reader was
  // told of them no longer holds. Cells written one by one come without it.
  virtual void RowsChanged() {}
};

struct GridCoord {
  int col = -1;
  int row = -1;
  bool operator==(const GridCoord& o) const { return col == o.col && row == o.row; }
};

// How the grid is made. The native grid reads these when it is created and the model's geometry
// on every question, so they hold for the grid's life: a change later would leave the native
// scroll bars and paint behind.
struct StringGridCreateArgs {
  FontSpec font;
  int defaultRowHeight = 24;
  int gridLineWidth = 0;
  int fixedRows = 1;
  int textInset = 2;
  // Grab zone around a column border in the header row.
  int grabLeft = 3;
  int grabRight = 4;
  // The column whose text a row's data gives exactly (UTF-8) where the shown text is only its
  // code-page form; -1 where row data is nothing the user reads.
  int exactTextColumn = -1;
};

// What a screen reader is told of a cell, from the model as it stands: the header of its
// column (empty for a header cell) and its own text.
struct SpokenCell {
  std::string_view header;  // code page
  std::string_view text;    // code page, or UTF-8 where exact
  bool exact = false;
};

class StringGrid : public Control {
 public:
  StringGrid(std::string name, Control* parent, int colCount,
             const StringGridCreateArgs& args = {});
  const StringGridCreateArgs& CreateArgs() const { return args_; }
  int FixedRows() const { return args_.fixedRows; }
  int GridLineWidth() const { return args_.gridLineWidth; }

  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  // Grows with empty rows or drops rows from the end.
  void SetRowCount(int n);

  const std::string& Cell(int col, int row) const {
    return cells_[static_cast<size_t>(row) * colCount_ + col];
  }
  void SetCell(int col, int row, const std::string& text);
  void SetCell(int col, int row, std::string&& text);
  void SetCell(int col, int row, const char* text, size_t length);
  // Empties the row's cells and drops its data.
  void ClearRow(int row);
  // A row's data: text the program keeps with the row, out of sight, that follows it through
  // sorts (as a grid's per-row object does); empty where none was set. Rows without data cost
  // nothing: a grid where no row has any holds none.
  void SetRowData(int row, std::string data);
  const std::string& RowData(int row) const { return rowData_.Get(row); }
  // A cell as a screen reader says it: without the spaces that pad it for the eye (sizes are
  // right-justified with them), but the exact-text column as it is, a name, and there a row's
  // data in place of the shown text.
  SpokenCell Spoken(int col, int row) const;
  // Puts row rows[k] at row first + k, for every k (rows holds first .. first + size - 1, each
  // once), with its data, in one pass; the whole grid repaints.
  void PermuteRows(int first, const std::vector<int>& rows);

  // A column's width as set, negative included: a stored setting keeps its value.
  int ColWidth(int col) const { return colWidths_[col]; }
  void SetColWidth(int col, int width);
  // The width the column takes on screen: a negative width is drawn as none.
  int ColExtent(int col) const { return std::max(colWidths_[col], 0); }
  int RowHeight(int /*row*/) const { return args_.defaultRowHeight; }

  // Scroll position: the first non-fixed column shown at x = 0 (no fixed columns) and the
  // first data row shown below the header.
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);

  GridCoord Current() const { return current_; }
  void SetCurrent(GridCoord c);  // also collapses the selection to it and scrolls it into view
  // The selected range runs from this corner to the current cell, both included; IsSelected
  // tests the normalised range.
  GridCoord SelectionAnchor() const { return anchor_; }
  bool IsSelected(int col, int row) const;

  // Width of text in the grid's font (from the peer; 8 px per byte without one).
  int TextWidth(const std::string& text) const;

  // Geometry, in client pixels, from the current scroll position.
  int ColumnLeft(int col) const;  // x of a column's first pixel (may be negative or beyond)
  int RowTop(int row) const;
  Rect CellRect(int col, int row) const;
  // The cell under a point, or {-1,-1}. Cells are half-open: [left, left + width) by
  // [top, top + height); grid-line pixels and the area past the last column or row hit nothing.
  GridCoord CellAt(int x, int y) const;
  // The column whose header cell a press at (x, y) falls in, or -1. Stricter than CellAt: a
  // column's first pixel, its boundary with the column before (or the grid's left edge), picks
  // no column.
  int HeaderColumnAt(int x, int y) const;
  // The column whose right border's grab zone holds x when y is in the header row, or -1. The
  // zone of a border at b is [b - grabLeft, b + grabRight], both ends included; where zones
  // overlap the nearest border wins, a tie going to the left one.
  int ResizeBorderAt(int x, int y) const;
  // Columns and rows at least partly visible in a client area of the given size.
  int LastVisibleCol(int clientWidth) const;
  int LastVisibleRow(int clientHeight) const;
  // Rows fully visible below the header, at least 1.
  int VisibleDataRows(int clientHeight) const;

  // Mouse input from the peer. A single left press in a grab zone starts a column resize and
  // does not fire OnMouseDown; every other press (any button, or the second press of a double
  // click, marked by ssDouble) fires it, except during a resize, when presses are ignored.
  void MouseDown(MouseButton button, unsigned shift, int x, int y);
  void MouseMove(unsigned shift, int x, int y);
  // The left release ends a resize: a new width above 1 pixel applies and the whole grid
  // repaints (LayoutChanged, after SizingLineMoved(-1)), even when the width came out unchanged.
  // Other buttons' releases change nothing.
  void MouseUp(MouseButton button, unsigned shift, int x, int y);
  // Esc during a resize, or the mouse capture lost: the width stays as it was.
  void CancelMode();
  bool Sizing() const { return sizingCol_ >= 0; }
  int SizingColumn() const { return sizingCol_; }

  // Keys: arrows and Page Up/Down move the current cell; Home/End go to the first/last column,
  // with Ctrl to the first/last data row; Shift keeps the selection anchor. The wheel scrolls
  // the top row by three rows per notch.
  enum class Key { Left, Right, Up, Down, PageUp, PageDown, Home, End };
  void KeyDown(Key key, unsigned shift, int clientWidth, int clientHeight);
  void MouseWheel(int notches, int clientHeight);  // positive: up

  // Drawing: the native side draws each cell, then calls this so OnDrawCell runs after it.
  void DrawCell(int col, int row, const Rect& rect);

  std::function<void(int col, int row, const Rect& rect)> OnDrawCell;
  std::function<void(MouseButton button, unsigned shift, int x, int y)> OnMouseDown;

 private:
  StringGridPeer* GridPeer() const;
  void Changed(int col, int row);
  void ScrollIntoView(GridCoord c, int clientWidth, int clientHeight);
  void NotifyLayout();
  void NotifyRows();
  void NotifySelection();
  bool InRange(int col, int row) const;
  int LastDataRow() const;
  GridCoord ClampToData(GridCoord c) const;
  int FixedHeight() const;
  int SizingLineX() const;

  const StringGridCreateArgs args_;
  int colCount_;
  // Row by row in one block: a listing adds a row per entry, and a block per row would cost an
  // allocation each (and its bookkeeping in memory) on top of the cells' own.
  std::vector<std::string> cells_;
  ItemData<int> rowData_;
  int rowCount_ = 0;
  mutable ControlPeer* castFrom_ = nullptr;
  mutable StringGridPeer* gridPeer_ = nullptr;
  std::vector<int> colWidths_;
  int leftCol_ = 0;
  int topRow_ = 1;
  GridCoord current_{0, 1};
  GridCoord anchor_{0, 1};
  bool selecting_ = false;
  int sizingCol_ = -1;
  int sizingStartX_ = 0;
  int sizingStartWidth_ = 0;
  int sizingX_ = 0;
};

}  // namespace toolkit
