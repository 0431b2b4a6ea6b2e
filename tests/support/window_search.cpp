// The window search the GUI and end-to-end tests share.
#include "tests/support/window_search.h"

namespace testsupport {

std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_BLOCK | SMTO_ABORTIFHUNG, 2000, &copied);
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char buffer[256] = {};
  GetClassNameA(hwnd, buffer, sizeof buffer);
  return buffer;
}

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (search->processId != 0) {
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId != search->processId) return TRUE;
  }
  if (search->className != nullptr && ClassOf(hwnd) != search->className) return TRUE;
  if (search->caption != nullptr && TextOf(hwnd) != search->caption) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace testsupport
