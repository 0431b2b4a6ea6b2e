// The status line. The model places it (no parent alignment of its own) at its fixed height.
#include "toolkit/win32/statusbar.h"

#include <commctrl.h>

#include "toolkit/win32/fonts.h"

namespace toolkit::win32 {

StatusBarWindow::StatusBarWindow(StatusBar& model, HWND parent) : ChildPeer(model), status_(model) {
  const Rect& b = model.Bounds();
  CreateSubclassed(STATUSCLASSNAMEA, 0,
                   ChildStyle() | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, "", b.left,
                   b.top, b.width, b.height, parent);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(StatusFont()), FALSE);
  SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
  TextChanged();
  PassText();
  Attach();
}

// The system's bar paints a new text before it returns (Wine's does, and each message to it
// costs about 0.2 ms there), while the model promises only the next paint: a run sets a text
// per folder and shows a few a second. So the text reaches the bar when it is painted, or read.
void StatusBarWindow::TextChanged() { textPending_ = true; }

void StatusBarWindow::Invalidate() {
  if (Handle() == nullptr || invalid_) return;
  InvalidateRect(Handle(), nullptr, TRUE);
  invalid_ = true;
}

void StatusBarWindow::Update() {
  if (Handle() == nullptr) return;
  PassText();
  UpdateWindow(Handle());
}

void StatusBarWindow::PassText() {
  if (!textPending_ || Handle() == nullptr) return;
  textPending_ = false;
  // Held drawing, since this may come within a paint; holding it also drops what is invalid.
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID,
               reinterpret_cast<LPARAM>(status_.Text().c_str()));
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT StatusBarWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      invalid_ = false;
      PassText();
      break;
    case SB_GETTEXTA:
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      PassText();
      break;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace toolkit::win32
