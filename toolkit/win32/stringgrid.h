// The string grid peer: our own control, drawn cell by cell into a memory bitmap from the model,
// with scroll bars by whole rows and columns and the mouse and keys handed to the model.
#pragma once

#include <string>

#include "toolkit/core/stringgrid.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class GridAccessible;

class StringGridWindow : public ChildPeer<StringGridPeer> {
 public:
  static constexpr char kClassName[] = "KestruneStringGrid";
  StringGridWindow(StringGrid& model, HWND parent);
  ~StringGridWindow() override;

  void CellChanged(int col, int row) override;
  void LayoutChanged() override;
  int TextWidth(const std::string& text) override;
  void SizingLineMoved(int x) override;
  void RowsChanged() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Detached() override;

 private:
  SIZE ClientSize() const;
  void Paint();
  void DrawOneCell(HDC dc, int col, int row, const RECT& rect, bool focused) const;
  void InvalidateCell(int col, int row);
  // Largest scroll positions that still fill the client area.
  int MaxTopOffset(int clientHeight) const;
  int MaxLeftCol(int clientWidth) const;
  // After the client area grew: no blank space below the last row or right of the last column.
  void ClampScroll();
  void UpdateScrollBars();
  // Scroll bars and scroll position after layout changes, once, before anything reads them.
  void SettleLayout();
  void Scroll(int bar, WORD request);
  void InvertSizingLine(HDC dc, int x) const;
  void MouseDown(MouseButton button, bool doublePress, WPARAM wParam, LPARAM lParam);
  void MouseUp(MouseButton button, WPARAM wParam, LPARAM lParam);
  LRESULT ObjectRequested(WPARAM wParam, LPARAM lParam);
  // Tells a screen reader which cell is current, while the grid has the focus and a reader has
  // asked for the grid.
  void AnnounceCurrent();
  // Runs input, and announces the current cell when the input moved it or the selection.
  template <typename Input>
  void Announcing(const Input& input);
  void DropAccessible();

  StringGrid& grid_;
  HFONT font_;
  int sizingLineX_ = -1;
  bool updatingScrollBars_ = false;
  // Layout changed and the whole grid is invalid; scroll bars not yet settled.
  bool layoutPending_ = false;
  bool releasing_ = false;
  int wheelRemainder_ = 0;
  // Made on the first WM_GETOBJECT: until a screen reader asks, the grid makes no events.
  GridAccessible* accessible_ = nullptr;
  // A listing or a sort changed the rows: told once it has ended, when messages flow again.
  bool rowsChangePosted_ = false;
};

}  // namespace toolkit::win32
