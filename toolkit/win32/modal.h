// While a dialog or message box is open every other window of the program is disabled, and the
// window that was active before is activated again afterwards.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/core/dialogs.h"

namespace toolkit::win32 {

class ModalScope {
 public:
  // Disables the visible, enabled top-level windows of this thread.
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // The window active before: the owner for the dialog.
  HWND PreviousActive() const { return previous_; }
  // Enables the windows again (before the dialog goes, so activation can fall back to them).
  void EnableAgain();
  // Enables them if still needed and activates the window that was active before, with the
  // focus where it was.
  void Restore();

 private:
  static BOOL CALLBACK DisableOne(HWND hwnd, LPARAM self);
  // The model's word for it: drops the dialog's loop dispatches are not taken.
  DialogScope open_;
  HWND previous_;
  HWND previousFocus_;
  std::vector<HWND> disabled_;
  bool restored_ = false;
};

}  // namespace toolkit::win32
