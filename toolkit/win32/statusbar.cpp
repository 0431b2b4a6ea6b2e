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
  Attach();
}

void StatusBarWindow::TextChanged() {
  if (Handle() == nullptr) return;
  SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID,
               reinterpret_cast<LPARAM>(status_.Text().c_str()));
}

}  // namespace toolkit::win32
