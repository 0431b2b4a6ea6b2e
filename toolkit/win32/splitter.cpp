// Splitter dragging: capture, the inverted hatched bar, and the end or cancel of the drag.
#include "toolkit/win32/splitter.h"

#include <windowsx.h>

namespace toolkit::win32 {

SplitterWindow* SplitterWindow::dragging_ = nullptr;
HHOOK SplitterWindow::hook_ = nullptr;

namespace {

// A 50% checker, the usual pattern of a drag bar.
HBRUSH HatchBrush() {
  static HBRUSH brush = [] {
    static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kRows);
    HBRUSH made = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return made;
  }();
  return brush;
}

}  // namespace

SplitterWindow::SplitterWindow(Splitter& model, HWND parent) : ChildPeer(model), splitter_(model) {
  RegisterOwnClass(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                   LoadCursorA(nullptr, IDC_SIZEWE));
  const Rect& b = model.Bounds();
  CreateOwn(kClassName, 0, ChildStyle(), "", b.left, b.top, b.width, b.height, parent, nullptr);
  Attach();
}

SplitterWindow::~SplitterWindow() {
  if (dragging_ == this) {
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    dragging_ = nullptr;
  }
}

int SplitterWindow::ParentX(LPARAM lParam) const {
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  MapWindowPoints(Handle(), GetParent(Handle()), &at, 1);
  return at.x;
}

void SplitterWindow::InvertBar(int x) const {
  HWND parent = GetParent(Handle());
  // No DCX_CLIPCHILDREN: the bar is drawn across the panel and the grid beside us.
  HDC dc = GetDCEx(parent, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  HGDIOBJ oldBrush = SelectObject(dc, HatchBrush());
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  PatBlt(dc, x, splitter_.Top(), splitter_.Width(), splitter_.Height(), PATINVERT);
  SelectObject(dc, oldBrush);
  ReleaseDC(parent, dc);
}

void SplitterWindow::StopDragging(bool apply) {
  if (!splitter_.Dragging()) return;
  InvertBar(barShownAt_);
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  dragging_ = nullptr;
  releasing_ = true;
  if (GetCapture() == Handle()) ReleaseCapture();
  releasing_ = false;
  if (apply) {
    splitter_.EndDrag();
  } else {
    splitter_.CancelDrag();
  }
}

LRESULT CALLBACK SplitterWindow::EscHook(int code, WPARAM wParam, LPARAM lParam) {
  const bool pressed = (lParam & 0x80000000) == 0;
  if (code == HC_ACTION && wParam == VK_ESCAPE && pressed && dragging_ != nullptr) {
    dragging_->StopDragging(false);
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT SplitterWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      SetCapture(Handle());
      splitter_.BeginDrag(ParentX(lParam));
      if (!splitter_.Dragging()) {
        ReleaseCapture();
        return 0;
      }
      barShownAt_ = splitter_.BarX();
      InvertBar(barShownAt_);
      dragging_ = this;
      hook_ = SetWindowsHookExA(WH_KEYBOARD, EscHook, nullptr, GetCurrentThreadId());
      return 0;
    case WM_MOUSEMOVE:
      if (splitter_.Dragging()) {
        splitter_.DragTo(ParentX(lParam));
        if (splitter_.BarX() != barShownAt_) {
          InvertBar(barShownAt_);
          barShownAt_ = splitter_.BarX();
          InvertBar(barShownAt_);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      StopDragging(true);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && splitter_.Dragging()) {
        StopDragging(false);
        return 0;
      }
      return Default(msg, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (!releasing_) StopDragging(false);
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace toolkit::win32
