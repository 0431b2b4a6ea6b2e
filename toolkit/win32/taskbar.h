// The task-bar button's progress through ITaskbarList3 (Windows 7 and later), on the window that
// owns the button: the application window.
#pragma once

#include <windows.h>

#include <shobjidl.h>

#include "toolkit/core/taskbar.h"

namespace toolkit::win32 {

class TaskbarButton : public TaskbarPeer {
 public:
  TaskbarButton() = default;
  ~TaskbarButton() override;
  TaskbarButton(const TaskbarButton&) = delete;
  TaskbarButton& operator=(const TaskbarButton&) = delete;

  // The shell's word that the button exists ("TaskbarButtonCreated", sent again when Explorer
  // restarts); 0 where it cannot be registered.
  static UINT CreatedMessage();
  // Takes the interface, if the system has it, and shows the model's state on the new button
  // of window.
  void ButtonCreated(HWND window);
  void ProgressChanged() override;
  // True once the button shows the model's state (the interface was there).
  bool Showing() const { return list_ != nullptr; }

 private:
  HWND window_ = nullptr;
  // Null until the button exists, and where the system lacks the interface: nothing is shown.
  ITaskbarList3* list_ = nullptr;
};

}  // namespace toolkit::win32
