// Loaded into a running Kestrune.exe by the end-to-end tests, to drop files on its window from
// inside its process. A drop from Explorer arrives as WM_DROPFILES whose HDROP is memory of the
// receiving process, which the test's own process cannot hand it.
#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <cwchar>

#include "tests/e2e/drop_request.h"

extern "C" DWORD WINAPI PostDrop(void* request) {
  const auto* r = static_cast<const e2e::DropRequest*>(request);
  // As Explorer's drop: wide names, each ending with a zero, and one more zero at the end.
  size_t chars = 0;
  while (r->paths[chars] != L'\0') chars += std::wcslen(r->paths + chars) + 1;
  const size_t bytes = (chars + 1) * sizeof(WCHAR);
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  if (memory == nullptr) return 1;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = {20, 20};
  drop->fNC = FALSE;
  drop->fWide = TRUE;
  std::memcpy(drop + 1, r->paths, bytes);
  GlobalUnlock(memory);
  // The window frees it with DragFinish once it has taken the drop.
  if (!PostMessageW(r->window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
    GlobalFree(memory);
    return 1;
  }
  return 0;
}
