// The grid control: double-buffered painting with the draw-cell event after each cell, scroll
// bars, the column-resize sizing line, and mouse, wheel and key input for the model.
#include "toolkit/win32/stringgrid.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/win32/fonts.h"
#include "toolkit/win32/stringgrid_accessible.h"

namespace toolkit::win32 {

namespace {

unsigned ShiftOf(WPARAM keys) {
  unsigned shift = ssNone;
  if ((keys & MK_SHIFT) != 0) shift |= ssShift;
  if ((keys & MK_CONTROL) != 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

unsigned KeyboardShift() {
  unsigned shift = ssNone;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.Right(), r.Bottom()}; }

// Posted to itself once rows changed, so that a screen reader hears of it when the listing or
// sort is over: neither lets a message through while it works.
constexpr UINT kRowsChangedMessage = WM_USER + 1;

}  // namespace

StringGridWindow::StringGridWindow(StringGrid& model, HWND parent)
    : ChildPeer(model), grid_(model), font_(FontOf(model.CreateArgs().font)) {
  RegisterOwnClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr,
                   LoadCursorA(nullptr, IDC_ARROW));
  const Rect& b = model.Bounds();
  CreateOwn(kClassName, WS_EX_CLIENTEDGE, ChildStyle() | WS_TABSTOP, "", b.left, b.top, b.width,
            b.height, parent, nullptr);
  Attach();
  UpdateScrollBars();
}

StringGridWindow::~StringGridWindow() { DropAccessible(); }

void StringGridWindow::Detached() {
  ChildPeer::Detached();
  DropAccessible();
}

void StringGridWindow::DropAccessible() {
  if (accessible_ == nullptr) return;
  accessible_->Detach();
  ReleaseAccessible(accessible_);
  accessible_ = nullptr;
}

LRESULT StringGridWindow::ObjectRequested(WPARAM wParam, LPARAM lParam) {
  if (accessible_ == nullptr && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    accessible_ = GridAccessible::CreateTable(grid_, Handle());
  }
  const LRESULT answer = accessible_ != nullptr ? accessible_->Answer(wParam, lParam) : 0;
  return answer != 0 ? answer : Default(WM_GETOBJECT, wParam, lParam);
}

void StringGridWindow::AnnounceCurrent() {
  if (accessible_ == nullptr || GetFocus() != Handle()) return;
  const GridCoord current = grid_.Current();
  if (current.row >= grid_.RowCount()) return;
  const LONG row = GridAccessible::RowObjectId(current.row);
  if (grid_.SelectionAnchor() == current) {
    NotifyWinEvent(EVENT_OBJECT_SELECTION, Handle(), row, current.col + 1);
  } else {
    NotifyWinEvent(EVENT_OBJECT_SELECTIONWITHIN, Handle(), OBJID_CLIENT, CHILDID_SELF);
  }
  NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), row, current.col + 1);
}

template <typename Input>
void StringGridWindow::Announcing(const Input& input) {
  const GridCoord current = grid_.Current();
  const GridCoord anchor = grid_.SelectionAnchor();
  input();
  if (!(grid_.Current() == current && grid_.SelectionAnchor() == anchor)) AnnounceCurrent();
}

void StringGridWindow::RowsChanged() {
  if (accessible_ == nullptr || rowsChangePosted_ || Handle() == nullptr) return;
  rowsChangePosted_ = PostMessageA(Handle(), kRowsChangedMessage, 0, 0) != FALSE;
}

SIZE StringGridWindow::ClientSize() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return {client.right, client.bottom};
}

int StringGridWindow::TextWidth(const std::string& text) {
  HDC dc = GetDC(Handle());
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, oldFont);
  ReleaseDC(Handle(), dc);
  return size.cx;
}

void StringGridWindow::InvalidateCell(int col, int row) {
  if (Handle() == nullptr || col < 0 || col >= grid_.ColCount() || row < 0) return;
  if (layoutPending_) return;  // the whole grid repaints already
  const SIZE client = ClientSize();
  // Rows scrolled away cost nothing: a listing writes every cell of thousands of rows.
  if (row >= grid_.FixedRows() && (row < grid_.TopRow() || grid_.RowTop(row) >= client.cy)) return;
  const RECT rect = ToRECT(grid_.CellRect(col, row));
  if (rect.right <= 0 || rect.left >= client.cx) return;
  InvalidateRect(Handle(), &rect, FALSE);
}

void StringGridWindow::CellChanged(int col, int row) { InvalidateCell(col, row); }

void StringGridWindow::LayoutChanged() {
  if (Handle() == nullptr || layoutPending_) return;
  // A listing grows the grid one row per entry and lets no message through meanwhile; scroll
  // bars set per row would cost more than the enumeration itself (server calls under Wine).
  // So the layout settles once, before the next paint or input reads it.
  layoutPending_ = true;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void StringGridWindow::SettleLayout() {
  if (!layoutPending_ || Handle() == nullptr) return;
  layoutPending_ = false;
  // Narrower columns or fewer rows may leave the scroll position past its end.
  ClampScroll();
  UpdateScrollBars();
}

void StringGridWindow::SizingLineMoved(int x) {
  if (Handle() == nullptr) return;
  HDC dc = GetDC(Handle());
  if (sizingLineX_ >= 0) InvertSizingLine(dc, sizingLineX_);
  sizingLineX_ = x;
  if (sizingLineX_ >= 0) InvertSizingLine(dc, sizingLineX_);
  ReleaseDC(Handle(), dc);
}

void StringGridWindow::InvertSizingLine(HDC dc, int x) const {
  PatBlt(dc, x, 0, 1, ClientSize().cy, DSTINVERT);
}

int StringGridWindow::MaxTopOffset(int clientHeight) const {
  const int dataRows = std::max(0, grid_.RowCount() - grid_.FixedRows());
  return std::max(0, dataRows - grid_.VisibleDataRows(clientHeight));
}

int StringGridWindow::MaxLeftCol(int clientWidth) const {
  // The first column from which all the rest fit; the last column when even it alone does not.
  int width = 0;
  int left = grid_.ColCount();
  while (left > 0) {
    width += grid_.ColExtent(left - 1) + (left < grid_.ColCount() ? grid_.GridLineWidth() : 0);
    if (width > clientWidth) break;
    --left;
  }
  return std::min(left, grid_.ColCount() - 1);
}

void StringGridWindow::ClampScroll() {
  const SIZE client = ClientSize();
  if (client.cx <= 0 || client.cy <= 0) return;
  const int maxTop = grid_.FixedRows() + MaxTopOffset(client.cy);
  if (grid_.TopRow() > maxTop) grid_.SetTopRow(maxTop);
  const int maxLeft = MaxLeftCol(client.cx);
  if (grid_.LeftCol() > maxLeft) grid_.SetLeftCol(maxLeft);
}

void StringGridWindow::UpdateScrollBars() {
  if (Handle() == nullptr || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  // Showing one bar narrows the client area, which may call for the other: settle in passes.
  for (int pass = 0; pass < 3; ++pass) {
    const SIZE before = ClientSize();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;

    const int dataRows = std::max(0, grid_.RowCount() - grid_.FixedRows());
    info.nMin = 0;
    info.nMax = std::max(0, dataRows - 1);
    info.nPage = static_cast<UINT>(grid_.VisibleDataRows(before.cy));
    info.nPos = grid_.TopRow() - grid_.FixedRows();
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);

    const int maxLeft = MaxLeftCol(before.cx);
    info.nMin = 0;
    info.nMax = grid_.ColCount() - 1;
    info.nPage = static_cast<UINT>(grid_.ColCount() - maxLeft);
    info.nPos = grid_.LeftCol();
    SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);

    const SIZE after = ClientSize();
    if (after.cx == before.cx && after.cy == before.cy) break;
  }
  updatingScrollBars_ = false;
}

void StringGridWindow::Scroll(int bar, WORD request) {
  SettleLayout();
  const SIZE client = ClientSize();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(Handle(), bar, &info);
  const bool vertical = bar == SB_VERT;
  const int current = vertical ? grid_.TopRow() - grid_.FixedRows() : grid_.LeftCol();
  const int maxPos = vertical ? MaxTopOffset(client.cy) : MaxLeftCol(client.cx);
  const int page = vertical ? grid_.VisibleDataRows(client.cy) : 1;
  int pos = current;
  switch (request) {
    case SB_LINEUP:
      pos = current - 1;
      break;
    case SB_LINEDOWN:
      pos = current + 1;
      break;
    case SB_PAGEUP:
      pos = current - page;
      break;
    case SB_PAGEDOWN:
      pos = current + page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = info.nTrackPos;
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = maxPos;
      break;
    default:
      return;
  }
  pos = std::clamp(pos, 0, maxPos);
  if (vertical) {
    grid_.SetTopRow(grid_.FixedRows() + pos);
  } else {
    grid_.SetLeftCol(pos);
  }
}

void StringGridWindow::DrawOneCell(HDC dc, int col, int row, const RECT& rect, bool focused) const {
  const bool fixed = row < grid_.FixedRows();
  const GridCoord current = grid_.Current();
  const bool isCurrent = current.col == col && current.row == row;
  // The focused current cell shows a focus frame instead of the highlight.
  const bool highlighted = !fixed && grid_.IsSelected(col, row) && !(isCurrent && focused);
  const int background = fixed ? COLOR_BTNFACE : highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  const int foreground = fixed         ? COLOR_BTNTEXT
                         : highlighted ? COLOR_HIGHLIGHTTEXT
                                       : COLOR_WINDOWTEXT;
  SetBkColor(dc, GetSysColor(background));
  SetTextColor(dc, GetSysColor(foreground));
  const std::string& text = grid_.Cell(col, row);
  ExtTextOutA(dc, rect.left + grid_.CreateArgs().textInset, rect.top + grid_.CreateArgs().textInset,
              ETO_CLIPPED | ETO_OPAQUE, &rect, text.data(), static_cast<UINT>(text.size()),
              nullptr);
  if (fixed) {
    RECT edge = rect;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
  } else if (isCurrent && focused) {
    DrawFocusRect(dc, &rect);
  }
}

void StringGridWindow::Paint() {
  SettleLayout();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  const SIZE client = ClientSize();
  if (client.cx <= 0 || client.cy <= 0) {
    EndPaint(Handle(), &ps);
    return;
  }
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.cx, client.cy);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HGDIOBJ oldFont = SelectObject(memory, font_);
  const RECT whole{0, 0, client.cx, client.cy};
  FillRect(memory, &whole, GetSysColorBrush(COLOR_WINDOW));

  const bool focused = GetFocus() == Handle();
  const int lastCol = grid_.LastVisibleCol(client.cx);
  const int lastRow = grid_.LastVisibleRow(client.cy);
  const auto paintRow = [&](int row) {
    for (int col = grid_.LeftCol(); col <= lastCol; ++col) {
      const Rect cell = grid_.CellRect(col, row);
      const RECT rect = ToRECT(cell);
      RECT overlap;
      if (!IntersectRect(&overlap, &rect, &ps.rcPaint)) continue;
      DrawOneCell(memory, col, row, rect, focused);
      // The draw-cell event runs after the cell is drawn; it may write cells, which only
      // marks those cells for the next paint.
      grid_.DrawCell(col, row, cell);
    }
  };
  for (int row = 0; row < grid_.FixedRows() && row < grid_.RowCount(); ++row) paintRow(row);
  for (int row = grid_.TopRow(); row <= lastRow; ++row) paintRow(row);

  BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
         ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  // The copy covered the inverted sizing line where it crossed the painted area; put it back.
  if (sizingLineX_ >= 0) {
    HRGN clip = CreateRectRgnIndirect(&ps.rcPaint);
    SelectClipRgn(dc, clip);
    InvertSizingLine(dc, sizingLineX_);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
  }
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(Handle(), &ps);
}

void StringGridWindow::MouseDown(MouseButton button, bool doublePress, WPARAM wParam,
                                 LPARAM lParam) {
  SettleLayout();
  if (GetFocus() != Handle()) SetFocus(Handle());
  if (button == MouseButton::Left && GetCapture() != Handle()) SetCapture(Handle());
  const unsigned shift = ShiftOf(wParam) | (doublePress ? ssDouble : ssNone);
  Announcing([&] { grid_.MouseDown(button, shift, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); });
}

void StringGridWindow::MouseUp(MouseButton button, WPARAM wParam, LPARAM lParam) {
  if (button == MouseButton::Left && GetCapture() == Handle()) {
    releasing_ = true;
    ReleaseCapture();
    releasing_ = false;
  }
  grid_.MouseUp(button, ShiftOf(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

LRESULT StringGridWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_SIZE:
      layoutPending_ = false;
      ClampScroll();
      UpdateScrollBars();
      return 0;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wParam));
      SettleLayout();  // the thumb follows at once
      return 0;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wParam));
      SettleLayout();
      return 0;
    case WM_LBUTTONDOWN:
      MouseDown(MouseButton::Left, false, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      MouseDown(MouseButton::Right, false, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      MouseDown(MouseButton::Middle, false, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      MouseDown(MouseButton::Left, true, wParam, lParam);
      return 0;
    case WM_RBUTTONDBLCLK:
      MouseDown(MouseButton::Right, true, wParam, lParam);
      return 0;
    case WM_MBUTTONDBLCLK:
      MouseDown(MouseButton::Middle, true, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      Announcing(
          [&] { grid_.MouseMove(ShiftOf(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); });
      return 0;
    case WM_LBUTTONUP:
      MouseUp(MouseButton::Left, wParam, lParam);
      return 0;
    case WM_RBUTTONUP:
      MouseUp(MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONUP:
      MouseUp(MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse in mid-drag: the column keeps its width.
      if (!releasing_) grid_.CancelMode();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(Handle(), &at);
        if (grid_.Sizing() || grid_.ResizeBorderAt(at.x, at.y) >= 0) {
          SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      return Default(msg, wParam, lParam);
    case WM_MOUSEWHEEL: {
      SettleLayout();
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ %= WHEEL_DELTA;
      if (notches != 0) grid_.MouseWheel(notches, ClientSize().cy);
      SettleLayout();
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      SettleLayout();
      if (wParam == VK_ESCAPE && grid_.Sizing()) {
        grid_.CancelMode();
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
        return 0;
      }
      StringGrid::Key key;
      switch (wParam) {
        case VK_LEFT:
          key = StringGrid::Key::Left;
          break;
        case VK_RIGHT:
          key = StringGrid::Key::Right;
          break;
        case VK_UP:
          key = StringGrid::Key::Up;
          break;
        case VK_DOWN:
          key = StringGrid::Key::Down;
          break;
        case VK_PRIOR:
          key = StringGrid::Key::PageUp;
          break;
        case VK_NEXT:
          key = StringGrid::Key::PageDown;
          break;
        case VK_HOME:
          key = StringGrid::Key::Home;
          break;
        case VK_END:
          key = StringGrid::Key::End;
          break;
        default:
          return Default(msg, wParam, lParam);
      }
      const SIZE client = ClientSize();
      Announcing([&] { grid_.KeyDown(key, KeyboardShift(), client.cx, client.cy); });
      SettleLayout();
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const GridCoord current = grid_.Current();
      InvalidateCell(current.col, current.row);
      // After the system's event for the window: the reader then hears the cell.
      if (msg == WM_SETFOCUS) AnnounceCurrent();
      return 0;
    }
    case WM_GETOBJECT:
      return ObjectRequested(wParam, lParam);
    case kRowsChangedMessage:
      rowsChangePosted_ = false;
      if (accessible_ != nullptr) {
        NotifyWinEvent(EVENT_OBJECT_REORDER, Handle(), OBJID_CLIENT, CHILDID_SELF);
        // The current cell may hold another entry now, or stand elsewhere.
        AnnounceCurrent();
      }
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace toolkit::win32
