// The shared window procedure, the subclass hook for system controls, and the reflection of
// child notifications to the child's own peer.
#include "toolkit/win32/window.h"

#include <commctrl.h>

#include "toolkit/core/application.h"

namespace toolkit::win32 {

namespace {
constexpr UINT_PTR kSubclassId = 1;
// A subclassed control's peer, found from its handle (GWLP_USERDATA belongs to the control's
// own user, and comctl32 exports no lookup of subclass data by name).
constexpr char kPeerProperty[] = "KestrunePeer";
}  // namespace

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

Window::~Window() {
  // A peer outliving its window is normal; one dying before it must not leave a dangling `this`.
  if (hwnd_ != nullptr) {
    if (subclassed_) {
      RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
      RemovePropA(hwnd_, kPeerProperty);
    } else {
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    }
    DestroyWindow(hwnd_);
  }
}

Window* Window::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == WindowProc) {
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  return static_cast<Window*>(GetPropA(hwnd, kPeerProperty));
}

void Window::RegisterOwnClass(const char* className, UINT style, HBRUSH background, HCURSOR cursor,
                              HICON icon, HICON smallIcon) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(ModuleInstance(), className, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ModuleInstance();
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

HWND Window::CreateOwn(const char* className, DWORD exStyle, DWORD style, const char* text, int x,
                       int y, int width, int height, HWND parent, HMENU menu) {
  return CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, menu,
                         ModuleInstance(), this);
}

HWND Window::CreateSubclassed(const char* className, DWORD exStyle, DWORD style, const char* text,
                              int x, int y, int width, int height, HWND parent) {
  HWND hwnd = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, nullptr,
                              ModuleInstance(), nullptr);
  if (hwnd == nullptr) return nullptr;
  hwnd_ = hwnd;
  subclassed_ = true;
  SetPropA(hwnd, kPeerProperty, this);
  SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return hwnd;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return Default(msg, wParam, lParam);
}

bool Window::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (subclassed_) return DefSubclassProc(hwnd_, msg, wParam, lParam);
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT Window::Route(Window* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  struct Call {
    Window* self;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
  } call{self, msg, wParam, lParam, 0};
  // Whatever escapes a message is reported like an escaping handler error; the program goes on.
  // (One reference captured: the handler wrapper needs no allocation per message.)
  RunHandler([&call] {
    HWND child = nullptr;
    switch (call.msg) {
      case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(call.lParam)->hwndFrom;
        break;
      case WM_COMMAND:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
        child = reinterpret_cast<HWND>(call.lParam);
        break;
      default:
        break;
    }
    if (child != nullptr && child != call.self->hwnd_) {
      Window* peer = FromHandle(child);
      if (peer != nullptr &&
          peer->HandleReflected(call.msg, call.wParam, call.lParam, call.result)) {
        return;
      }
    }
    call.result = call.self->HandleMessage(call.msg, call.wParam, call.lParam);
  });
  return call.result;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self != nullptr) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg != WM_NCDESTROY) return Route(self, msg, wParam, lParam);

  LRESULT result = Route(self, msg, wParam, lParam);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  self->hwnd_ = nullptr;
  self->Detached();
  return result;
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR refData) {
  Window* self = reinterpret_cast<Window*>(refData);
  if (msg != WM_NCDESTROY) return Route(self, msg, wParam, lParam);

  LRESULT result = Route(self, msg, wParam, lParam);
  RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
  RemovePropA(hwnd, kPeerProperty);
  self->hwnd_ = nullptr;
  self->subclassed_ = false;
  self->Detached();
  return result;
}

}  // namespace toolkit::win32
