// COM on the thread our windows live on, for the peers that need it (the task-bar button, the
// accessible objects of screen readers).
#pragma once

namespace toolkit::win32 {

// Starts COM (single-threaded apartment) on the calling thread the first time, and keeps it for
// the life of the process: every later call answers at once. False where it cannot be started.
bool StartCom();

}  // namespace toolkit::win32
