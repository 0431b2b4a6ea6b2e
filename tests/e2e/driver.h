// Drives a running Kestrune.exe from another process, as a user would: menu commands, the
// file-open dialog, our message dialogs, keys, and reading the status line and window state.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// A fresh folder under the temp folder, with Kestrune.exe copied into it (so its settings file
// is its own). Removed with everything below it when the object goes.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  const std::string& Folder() const { return folder_; }  // ends with '\'
  std::string ExePath() const { return folder_ + "Kestrune.exe"; }

 private:
  std::string folder_;
};

class Kestrune {
 public:
  explicit Kestrune(const std::string& exePath);
  ~Kestrune();  // closes the program if it still runs
  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Process() const { return pi_.hProcess; }
  HANDLE MainThread() const { return pi_.hThread; }
  HWND Main() const { return main_; }
  // Waits for the main window (caption "Kestrune Ver.1.00") to be visible.
  bool WaitForMain(int timeoutMs = 10000);
  bool Exited(int timeoutMs);
  DWORD ExitCode() const;

  std::string StatusText() const;
  bool WaitForStatus(const std::function<bool(const std::string&)>& done, int timeoutMs);
  // Chooses the item caption of the top-level menu topCaption with the keyboard mnemonics.
  bool ChooseMenu(const char* topCaption, const char* caption);
  // The visible top-level windows of the program with this caption (dialogs, message boxes).
  HWND WaitForTopLevel(const char* caption, int timeoutMs, const char* className = nullptr);
  // Clicks the button of a dialog whose text is text.
  static bool ClickButton(HWND dialog, const char* text);
  // Puts path into the file-open dialog's name field and presses Open.
  bool ChooseFolder(const std::string& path, int timeoutMs = 10000);
  // Text of a window of this process (a cross-process WM_GETTEXT works for ordinary windows).
  static std::string WindowText(HWND hwnd);
  // Text of a static child of a dialog (the message).
  static std::string DialogMessage(HWND dialog);
  // Drops files or folders on the main window, as Explorer's drop arrives: the drop is made
  // and posted from inside the program's process, by a helper DLL the test loads there.
  bool DropFiles(const std::vector<std::string>& paths);
  // Saves a picture of the main window as a 24-bit BMP.
  bool SaveScreenshot(const std::string& bmpPath) const;

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
};

// The accessibility events of one process's windows, as a screen reader's hook gets them: out
// of context, queued to this thread, which takes them while it waits.
class WinEvents {
 public:
  struct Event {
    DWORD event;
    HWND hwnd;
    LONG object;
    LONG child;
  };
  explicit WinEvents(DWORD processId);
  ~WinEvents();
  WinEvents(const WinEvents&) = delete;
  WinEvents& operator=(const WinEvents&) = delete;
  // Forgets what came so far.
  void Clear();
  // Waits until an event from hwnd has come since the last Clear that done accepts.
  bool WaitFor(HWND hwnd, const std::function<bool(const Event&)>& done, int timeoutMs);

 private:
  static void CALLBACK Record(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child,
                              DWORD thread, DWORD time);
  HWINEVENTHOOK hook_;
  size_t seen_ = 0;
};

// The first descendant window of a class (and with a text, if given), or null.
HWND ChildWindow(HWND parent, const char* className, const char* text = nullptr);

// Presses and holds a key for holdMs, then releases it (SendInput).
void HoldKey(WORD vk, int holdMs);
void KeyDown(WORD vk);
void KeyUp(WORD vk);

// File helpers.
bool MakeFolder(const std::string& path);
bool WriteFile(const std::string& path, const std::string& data);
std::vector<std::string> NamesIn(const std::string& folder);  // without "." and ".."
bool Exists(const std::string& path);
// A link to a folder (a Unix symbolic link under Wine); link's own name in ASCII.
bool MakeFolderLink(const std::string& link, const std::string& target);
// An empty file or folder beside one whose name differs only in letter case (made on the Unix
// side under Wine: a Windows call would open the other one); ASCII names only.
bool MakeCaseTwin(const std::string& path, bool folder);
void RemoveTree(const std::string& path);
// Names the code page lacks are reached only in UTF-16: these take and give wide paths.
std::wstring WideOf(const std::string& text);  // code-page text
bool MakeFolderW(const std::wstring& path);
bool WriteFileW(const std::wstring& path, const std::string& data);
std::vector<std::wstring> NamesInW(const std::wstring& folder);  // without "." and ".."

}  // namespace e2e
