// Panels draw their bevel themselves; the children lay out inside it (the model's border inset).
#include "toolkit/win32/panel.h"

namespace toolkit::win32 {

PanelWindow::PanelWindow(Panel& model, HWND parent) : ChildPeer(model), panel_(model) {
  RegisterOwnClass(kClassName, CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                   LoadCursorA(nullptr, IDC_ARROW));
  const Rect& b = model.Bounds();
  CreateOwn(kClassName, 0, ChildStyle() | WS_CLIPCHILDREN, "", b.left, b.top, b.width, b.height,
            parent, nullptr);
  Attach();
}

LRESULT PanelWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return Default(msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  if (panel_.GetBevel() == Bevel::Raised) DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
  if (panel_.GetBevel() == Bevel::Lowered) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  EndPaint(Handle(), &ps);
  return 0;
}

}  // namespace toolkit::win32
