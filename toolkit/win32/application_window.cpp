// The application window: a zero-size, visible popup with the application title, so that the
// task bar shows "the application" apart from the main window's caption.
#include "toolkit/win32/application_window.h"

#include "toolkit/core/application.h"

namespace toolkit::win32 {

ApplicationWindow& ApplicationWindow::Get() {
  static ApplicationWindow* window = new ApplicationWindow();  // lives as long as the process
  return *window;
}

ApplicationWindow::ApplicationWindow() {
  const int iconId = Application::Get().IconId();
  HICON icon = iconId != 0 ? LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(iconId)) : nullptr;
  RegisterOwnClass(kClassName, 0, nullptr, LoadCursorA(nullptr, IDC_ARROW), icon, icon);
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  CreateOwn(kClassName, 0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
            Application::Get().Title().c_str(), x, y, 0, 0, nullptr, nullptr);
  // Shown without taking the activation: the main window is the one the user works in.
  if (Handle() != nullptr) ShowWindow(Handle(), SW_SHOWNA);
}

bool ApplicationWindow::MainUsable() const { return main_ != nullptr && IsWindow(main_); }

void ApplicationWindow::Minimize() {
  if (IsIconic(Handle())) return;
  if (MainUsable() && IsWindowVisible(main_)) {
    ShowWindow(main_, SW_HIDE);
    mainHidden_ = true;
  }
  ShowWindow(Handle(), SW_MINIMIZE);
}

void ApplicationWindow::Restore() {
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  if (!mainHidden_ || !MainUsable()) return;
  mainHidden_ = false;
  ShowWindow(main_, SW_SHOW);
  if (IsWindowEnabled(main_)) SetActiveWindow(main_);
}

LRESULT ApplicationWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != 0 && msg == TaskbarButton::CreatedMessage()) {
    taskbar_.ButtonCreated(Handle());
    return 0;
  }
  switch (msg) {
    case WM_ACTIVATE:
      // A click on the task bar button activates this window; the user means the program.
      if (LOWORD(wParam) != WA_INACTIVE && MainUsable() && IsWindowVisible(main_) &&
          IsWindowEnabled(main_)) {
        SetActiveWindow(main_);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing from the task bar closes the main window, through its own close sequence.
      if (main_ != nullptr) PostMessageA(main_, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSCOMMAND:
      // The task bar button's own commands, and its menu's.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return 0;
      }
      if ((wParam & 0xFFF0) == SC_RESTORE) {
        Restore();
        return 0;
      }
      break;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace toolkit::win32
