// COM on the windows' thread.
#include "toolkit/win32/com.h"

#include <windows.h>

#include <objbase.h>

namespace toolkit::win32 {

bool StartCom() {
  // Never uninitialised: a screen reader may ask again at any time, and the process's end
  // releases what is left.
  static const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  return started;
}

}  // namespace toolkit::win32
