// The application's own window: invisible in size, it carries the application title and the
// program icon on the task bar, and owns the main window, whose caption may differ.
#pragma once

#include "toolkit/win32/taskbar.h"
#include "toolkit/win32/window.h"

namespace toolkit::win32 {

class ApplicationWindow : public Window {
 public:
  static constexpr char kClassName[] = "KestruneApplication";
  // The one application window, made on first use with the application title.
  static ApplicationWindow& Get();
  // The window the task bar button gives the activation to.
  void SetMainWindow(HWND main) {
    main_ = main;
    mainHidden_ = false;
  }
  // The program minimizes as a whole: the task bar button goes down and the main window, which
  // has no button of its own, is hidden until Restore shows and activates it again.
  void Minimize();
  void Restore();
  // The progress shown on the button.
  TaskbarButton& Taskbar() { return taskbar_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  ApplicationWindow();
  bool MainUsable() const;
  HWND main_ = nullptr;
  bool mainHidden_ = false;  // by Minimize
  TaskbarButton taskbar_;
};

}  // namespace toolkit::win32
