// Disabling and re-enabling the program's windows around a modal box.
#include "toolkit/win32/modal.h"

namespace toolkit::win32 {

ModalScope::ModalScope() : previous_(GetActiveWindow()), previousFocus_(GetFocus()) {
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
}

ModalScope::~ModalScope() { Restore(); }

BOOL CALLBACK ModalScope::DisableOne(HWND hwnd, LPARAM self) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    reinterpret_cast<ModalScope*>(self)->disabled_.push_back(hwnd);
  }
  return TRUE;
}

void ModalScope::EnableAgain() {
  for (HWND hwnd : disabled_) {
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  }
  disabled_.clear();
}

void ModalScope::Restore() {
  if (restored_) return;
  restored_ = true;
  EnableAgain();
  if (previous_ != nullptr && IsWindow(previous_)) SetActiveWindow(previous_);
  // Disabling the active window took the focus away from it.
  if (previousFocus_ != nullptr && IsWindow(previousFocus_) && IsWindowEnabled(previousFocus_)) {
    SetFocus(previousFocus_);
  }
}

}  // namespace toolkit::win32
