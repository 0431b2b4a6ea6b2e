// Finding a visible top-level window by class, caption and process, for the tests that look for
// windows from outside them: the GUI tests' helper thread and the end-to-end driver.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// Window text and class name as code-page bytes. The text is asked with a time limit: from
// another thread or process, the owner may be busy or gone.
std::string TextOf(HWND hwnd);
std::string ClassOf(HWND hwnd);

// What MatchWindow looks for; a null or zero field matches anything.
struct WindowSearch {
  const char* className = nullptr;
  const char* caption = nullptr;
  DWORD processId = 0;
  HWND found = nullptr;  // the first visible match
};

// An EnumWindows or EnumThreadWindows callback; data is the WindowSearch to fill.
BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data);

}  // namespace testsupport
