// The edit field: text from the model, the window colours although read-only, and the click.
#include "toolkit/win32/edit.h"

#include <windowsx.h>

#include "toolkit/win32/accessible.h"

namespace toolkit::win32 {

EditWindow::EditWindow(Edit& model, HWND parent, HFONT font) : ChildPeer(model), edit_(model) {
  DWORD style = ChildStyle() | ES_LEFT | ES_AUTOHSCROLL;
  if (model.CreateArgs().readOnly) style |= ES_READONLY;
  if (model.CreateArgs().tabStop) style |= WS_TABSTOP;
  const Rect& b = model.Bounds();
  CreateSubclassed("EDIT", WS_EX_CLIENTEDGE, style, model.Text().c_str(), b.left, b.top, b.width,
                   b.height, parent);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Attach();
}

EditWindow::~EditWindow() { ReleaseAccessible(accessible_); }

void EditWindow::TextChanged() {
  if (Handle() != nullptr) SetWindowTextA(Handle(), edit_.Text().c_str());
}

bool EditWindow::HandleReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  // A read-only edit asks for the static colours; it keeps the colours of an editable one.
  if (msg != WM_CTLCOLORSTATIC) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  return true;
}

LRESULT EditWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_GETOBJECT: {
      const std::string& name = edit_.CreateArgs().accessibleName;
      if (static_cast<LONG>(lParam) != OBJID_CLIENT || name.empty()) {
        return Default(msg, wParam, lParam);
      }
      if (accessible_ == nullptr) accessible_ = NamedClientObject::Create(Handle(), name);
      const LRESULT answer = AnswerGetObject(accessible_, wParam);
      return answer != 0 ? answer : Default(msg, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      return Default(msg, wParam, lParam);
    case WM_LBUTTONUP: {
      // The edit ends its own mouse selection (and capture) first; the click may then open a
      // modal dialog.
      const bool wasPressed = pressed_;
      pressed_ = false;
      const LRESULT result = Default(msg, wParam, lParam);
      RECT client;
      GetClientRect(Handle(), &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (wasPressed && PtInRect(&client, at)) edit_.Click();
      return result;
    }
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace toolkit::win32
