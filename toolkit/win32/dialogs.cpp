// The refusal beep, the framework's error box and the file-open dialog that chooses a folder.
#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "toolkit/core/application.h"
#include "toolkit/core/dialogs.h"
#include "toolkit/win32/modal.h"

namespace toolkit {

namespace {

// The dialog asks for a hook with OFN_ENABLEHOOK; this one leaves everything to the dialog.
UINT_PTR CALLBACK OpenDialogHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

void Beep(unsigned soundType) { MessageBeep(soundType); }

void ShowErrorBox(const std::string& caption, const std::string& text) {
  win32::ModalScope modal;
  MessageBoxA(modal.PreviousActive(), text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

bool OpenDialog::Execute() {
  std::vector<char> buffer(kBufferSize, '\0');
  FileName.copy(buffer.data(), kBufferSize - 1);

  win32::ModalScope modal;
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = modal.PreviousActive();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = kBufferSize;
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.Flags = kFlags;
  ofn.lpfnHook = OpenDialogHook;
  const bool chosen = GetOpenFileNameA(&ofn) != FALSE;
  if (chosen) FileName = buffer.data();
  return chosen;
}

}  // namespace toolkit
