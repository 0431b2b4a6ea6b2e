// Esc polling and the message pump. Under Wine an empty PeekMessage costs tens of microseconds
// and GetAsyncKeyState can too after an idle spell, against a few per directory entry, so the
// real state is read at most every few milliseconds; in between the last answer stands.
#include "platform/input.h"

#include <windows.h>

namespace {

constexpr ULONGLONG kPollIntervalMs = 4;

// Says when to look again; the first call always looks. GetTickCount64 costs nanoseconds.
class PollClock {
 public:
  bool Due() {
    const ULONGLONG now = GetTickCount64();
    if (looked_ && now - last_ < kPollIntervalMs) return false;
    looked_ = true;
    last_ = now;
    return true;
  }

 private:
  bool looked_ = false;
  ULONGLONG last_ = 0;
};

}  // namespace

bool EscDown() {
  static PollClock clock;
  static bool down = false;
  if (clock.Due()) down = (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
  return down;
}

void PumpMessages() {
  static PollClock clock;
  if (!clock.Due()) return;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Taken off the queue here, it must still reach the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

uint32_t MillisecondsNow() { return static_cast<uint32_t>(GetTickCount64()); }
