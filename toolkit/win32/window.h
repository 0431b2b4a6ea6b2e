// The one window procedure behind every native peer: `this` rides in at WM_NCCREATE and leaves
// at WM_NCDESTROY; system controls we extend are subclassed onto the same virtual handler.
#pragma once

#include <windows.h>

namespace toolkit::win32 {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  // The peer behind a window of ours (own class or subclassed control), or null.
  static Window* FromHandle(HWND hwnd);

 protected:
  // Registers one of our classes once per process; all share the one window procedure.
  static void RegisterOwnClass(const char* className, UINT style, HBRUSH background, HCURSOR cursor,
                               HICON icon = nullptr, HICON smallIcon = nullptr);
  // Creates a window of one of our classes; messages reach HandleMessage from WM_NCCREATE on.
  HWND CreateOwn(const char* className, DWORD exStyle, DWORD style, const char* text, int x, int y,
                 int width, int height, HWND parent, HMENU menu);
  // Creates a system control and routes its messages through HandleMessage first.
  HWND CreateSubclassed(const char* className, DWORD exStyle, DWORD style, const char* text, int x,
                        int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Notifications, commands and colour requests a child control sends its parent are handed
  // to the child's own peer first; true means it answered them in result.
  virtual bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The processing the window would get without us.
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
  // Called after WM_NCDESTROY, when the handle is already gone.
  virtual void Detached() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR refData);
  // Reflection, then HandleMessage, inside the error box guard.
  static LRESULT Route(Window* self, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
};

// The instance the program was loaded from (its resources: icons, the folder image).
HINSTANCE ModuleInstance();

}  // namespace toolkit::win32
